// An msi.dll of the tests' own, put beside the contract tests in the Windows
// build: were a search of the program's folder ever to load it, its state
// query would answer a value no installer gives. MinGW exports a DLL's
// functions by default.
extern "C" int MsiQueryProductStateW(const wchar_t* productCode) {
    (void)productCode;
    return 77;
}

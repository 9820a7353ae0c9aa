// The Windows Installer's queries, from an msi.dll the program loads itself:
// from the system folder only, never through the import table. msi.dll is no
// KnownDLL, and the program may be started from a folder users can write
// (C:\Windows\Temp): there a planted msi.dll would win the search order. It
// is loaded at the first query, so that a run that asks nothing pays nothing,
// and kept until the process ends.
#include "platform/backend.h"
#include "platform/msi.h"

#include "platform/wintypes.h"
#include "platform/win32/windows_support.h"

namespace platform {
namespace {

struct ModuleTraits : NullIsEmpty {
    static void close(Handle module) noexcept { FreeLibrary(static_cast<HMODULE>(module)); }
};
using UniqueModule = UniqueHandle<ModuleTraits>;

// The three calls, as msi.h declares them (INSTALLSTATE and MSIINSTALLCONTEXT
// are ints).
using QueryProductState = int(WINAPI*)(LPCWSTR product);
using GetProductInfo = UINT(WINAPI*)(LPCWSTR product, LPCWSTR property, LPWSTR value, LPDWORD chars);
using SourceListGetInfo = UINT(WINAPI*)(LPCWSTR product, LPCWSTR userSid, int context, DWORD options,
                                        LPCWSTR property, LPWSTR value, LPDWORD chars);
constexpr int kContextMachine = 4;   // MSIINSTALLCONTEXT_MACHINE
constexpr DWORD kCodeProduct = 0;    // MSICODE_PRODUCT

struct Library {
    UniqueModule module;
    QueryProductState queryProductState = nullptr;
    GetProductInfo getProductInfo = nullptr;
    SourceListGetInfo sourceListGetInfo = nullptr;
};

// GetProcAddress hands out a generic pointer; going through void(*)() keeps
// the cast to the real signature free of a function-type warning.
template <typename F>
F entry(HMODULE module, const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

const Library& library() {
    static const Library loaded = [] {
        Library l;
        l.module.reset(LoadLibraryExW(L"msi.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
        if (!l.module) return l;
        const auto module = static_cast<HMODULE>(l.module.get());
        l.queryProductState = entry<QueryProductState>(module, "MsiQueryProductStateW");
        l.getProductInfo = entry<GetProductInfo>(module, "MsiGetProductInfoW");
        l.sourceListGetInfo = entry<SourceListGetInfo>(module, "MsiSourceListGetInfoW");
        return l;
    }();
    return loaded;
}

// Both text queries answer ERROR_MORE_DATA with the length they need (NUL
// not counted): the value is read again in a buffer that size, a few times,
// since it may grow in between. The first buffer holds the usual answer, a
// cached package's path ("C:\Windows\Installer\1a2b3c.msi"); a source folder
// mostly takes the second call.
constexpr std::size_t kFirstBuffer = 64;

template <typename Call>
uint32_t readText(Call call, std::u16string& value) {
    std::u16string buffer(kFirstBuffer, u'\0');
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD chars = static_cast<DWORD>(buffer.size());
        const UINT rc = call(reinterpret_cast<LPWSTR>(buffer.data()), &chars);
        if (rc == ERROR_MORE_DATA) {
            buffer.assign(static_cast<std::size_t>(chars) + 1, u'\0');
            continue;
        }
        if (rc != ERROR_SUCCESS) return rc;
        buffer.resize(chars < buffer.size() ? chars : buffer.size());
        value = std::move(buffer);
        return rc;
    }
    return ERROR_MORE_DATA;
}

}  // namespace

std::optional<int32_t> backend::msiQueryProductStateW(const std::u16string& productCode) {
    const Library& l = library();
    if (l.queryProductState == nullptr) return std::nullopt;
    return l.queryProductState(win32::wide(productCode));
}

uint32_t backend::msiGetProductInfoW(const std::u16string& productCode, const std::u16string& property,
                                     std::u16string& value) {
    const Library& l = library();
    if (l.getProductInfo == nullptr) return kErrorModNotFound;
    return readText(
        [&](LPWSTR buffer, LPDWORD chars) {
            return l.getProductInfo(win32::wide(productCode), win32::wide(property), buffer, chars);
        },
        value);
}

uint32_t backend::msiSourceListGetInfoW(const std::u16string& productCode, const std::u16string& property,
                                        std::u16string& value) {
    const Library& l = library();
    if (l.sourceListGetInfo == nullptr) return kErrorModNotFound;
    return readText(
        [&](LPWSTR buffer, LPDWORD chars) {
            return l.sourceListGetInfo(win32::wide(productCode), nullptr, kContextMachine, kCodeProduct,
                                       win32::wide(property), buffer, chars);
        },
        value);
}

std::u16string msiLibraryPath() {
    const Library& l = library();
    if (!l.module) return {};
    std::u16string path(MAX_PATH, u'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(static_cast<HMODULE>(l.module.get()), reinterpret_cast<LPWSTR>(path.data()),
                                           static_cast<DWORD>(path.size()));
        if (n == 0) return {};
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.assign(path.size() * 2, u'\0');  // cut short: a longer buffer
        if (path.size() > 32768) return {};
    }
}

}  // namespace platform

// What the Windows Installer itself says of the products the Uninstall key
// lists: whether it still holds a product, and where the package lies that an
// uninstall of it takes. The Uninstall key is a list the installer writes for
// Add/Remove Programs; entries it no longer backs (orphans) are no product to
// remove and nothing that stays. Read only: nothing is installed or removed
// through these queries.
#pragma once

#include <memory>
#include <string>

#include "korvalend/suite.h"

namespace korvalend {

// A product code as the installer writes one: "{" 8-4-4-4-12 hexadecimal
// digits "}", 38 characters.
[[nodiscard]] bool ISPRODUCTCODE(const std::string& code);

// The product an Uninstall entry stands for: the entry is the Windows
// Installer's when it has WindowsInstaller = 1 (its key name is then the
// product code) or its UninstallString runs MsiExec.exe /I or /X followed by
// a product code (38 characters with braces, whatever follows cut). "" for
// any other entry: an extension's own uninstaller is no product to ask about.
[[nodiscard]] std::string INSTALLERPRODUCTCODE(const std::string& keyName, const std::string& uninstallString,
                                               bool windowsInstaller);

// The product code the Windows Installer's packed form of it stands for (its
// key names below Installer\UserData: 32 hexadecimal digits, each group of
// the code written backwards); "" for any other name.
[[nodiscard]] std::string UNPACKEDPRODUCTCODE(const std::string& packed);

enum class TProductState {
    CannotTell,  // the installer cannot be asked, or says nothing of it: the entry's name decides, as ever
    Held,        // installed, advertised, or another user's
    Orphan,      // the installer no longer knows it
};

// What the installer says of the product CODE. Within a run (see
// TInstallerRun) each code is asked once until an uninstaller runs; a query
// that cannot be made is told to the observer once.
[[nodiscard]] TProductState PRODUCTSTATE(const std::string& code);

// Where an uninstall of CODE takes its package from: the cached package the
// installer keeps (LocalPackage), failing that the package it was installed
// from (LastUsedSource joined with PackageName).
struct TPackage {
    enum class Kind {
        CannotTell,  // not asked, or the answer leaves doubt (WHY says so)
        Cached,      // the cached package is there
        FromSource,  // the cached package is gone, its source is there
        Gone,        // both are gone: the uninstall will fail with 1612
    };
    Kind kind = Kind::CannotTell;
    std::string cached;
    std::string source;
    std::string why;
};
[[nodiscard]] TPackage PACKAGEOF(const std::string& code);

// The run has learnt that the installer no longer holds CODE (it answered
// 1605 to its uninstall): an orphan from now on.
void MARKORPHAN(const std::string& code);
// An uninstaller is about to run: what the installer holds is asked again.
void PRODUCTSMAYCHANGE();

// Tells the observer, once a run, of an orphaned entry.
void TELLORPHAN(TRegistryView view, const std::string& name, const std::string& displayName);

struct TAsked;
// The queries of one run (the run's, the preview's, the check's): while one
// lives, answers are kept until an uninstaller runs and each failure and
// orphan is told once; outside any, every question is asked afresh. The
// innermost one is asked; it gives back the one it replaced.
class TInstallerRun {
public:
    TInstallerRun();
    ~TInstallerRun();
    TInstallerRun(const TInstallerRun&) = delete;
    TInstallerRun& operator=(const TInstallerRun&) = delete;

private:
    std::unique_ptr<TAsked> asked_;
    TAsked* previous_;
};

}  // namespace korvalend

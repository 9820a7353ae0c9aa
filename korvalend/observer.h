// Who watches the removal decide. The program itself installs nobody; the
// preview (korvalend-plan.exe) installs an observer that prints each decision
// with the reason the removal gave, so that the reasons shown are the ones the
// removal acted on, never a second evaluation of its rules.
#pragma once

#include <string>

#include "korvalend/suite.h"

namespace korvalend {

class TRemovalObserver {
public:
    virtual ~TRemovalObserver() = default;

    // Something the run found: WHAT names it ("AppID", "vendor key",
    // "install location", "product key", "product code", "help pack",
    // "language pack", "extension"...), TEXT is what was read.
    virtual void found(const std::string& what, const std::string& text) {
        (void)what;
        (void)text;
    }
    // A path a step would have taken and the removal keeps, and why
    // ("a well-known folder", "on a network drive"...).
    virtual void kept(const std::string& path, const std::string& reason) {
        (void)path;
        (void)reason;
    }
    // A step (or the rest of the run) not taken, and why.
    virtual void skipped(const std::string& step, const std::string& reason) {
        (void)step;
        (void)reason;
    }
    // A wait the run makes before going on (an uninstaller's end, a busy
    // Windows Installer).
    virtual void waits(const std::string& what) { (void)what; }
    // A suite whose removal begins, the ORDER-th of the run (from 1).
    virtual void removes(const TSuiteFacts& suite, int order) {
        (void)suite;
        (void)order;
    }
    // The run's exit code, and the case it stands for in words.
    virtual void concluded(int exitCode, const std::string& why) {
        (void)exitCode;
        (void)why;
    }
};

// The observer every decision is told to: one that does nothing unless
// SETREMOVALOBSERVER installed another. Not owned; null restores the default.
[[nodiscard]] TRemovalObserver& REMOVALOBSERVER();
void SETREMOVALOBSERVER(TRemovalObserver* observer);

}  // namespace korvalend

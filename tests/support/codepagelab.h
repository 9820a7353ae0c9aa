// Test-only code page fixture for the contract tests. On the simulated build
// it owns a fresh machine of the wanted ANSI code page; on Windows the code
// page is the process's own (under Wine, chosen by the locale the test starts
// in: LC_ALL=ja_JP.UTF-8 gives 932), and the lab only tells whether it is the
// wanted one.
#pragma once

#include <cstdint>
#include <memory>

namespace testsupport {

class CodePageLab {
public:
    explicit CodePageLab(uint32_t codePage);
    ~CodePageLab();
    CodePageLab(const CodePageLab&) = delete;
    CodePageLab& operator=(const CodePageLab&) = delete;

    // The system's ANSI code page is the one asked for.
    [[nodiscard]] bool active() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace testsupport

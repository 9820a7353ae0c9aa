// Code page fixture over the real system: the process's own code page.
#include <windows.h>

#include "support/codepagelab.h"

namespace testsupport {

struct CodePageLab::Impl {
    uint32_t wanted = 0;
};

CodePageLab::CodePageLab(uint32_t codePage) : impl_(std::make_unique<Impl>()) { impl_->wanted = codePage; }
CodePageLab::~CodePageLab() = default;

bool CodePageLab::active() const { return GetACP() == impl_->wanted; }

}  // namespace testsupport

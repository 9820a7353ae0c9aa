// Code page fixture over the simulated machine.
#include "platform/sim/machine.h"
#include "support/codepagelab.h"

namespace testsupport {

struct CodePageLab::Impl {
    sim::Machine machine;
};

CodePageLab::CodePageLab(uint32_t codePage) : impl_(std::make_unique<Impl>()) { impl_->machine.codePage = codePage; }
CodePageLab::~CodePageLab() = default;

bool CodePageLab::active() const { return true; }

}  // namespace testsupport

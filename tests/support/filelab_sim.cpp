// Test file fixture over the simulated machine.
#include "platform/sim/machine.h"
#include "support/filelab.h"

namespace testsupport {

struct FileLab::Impl {
    sim::Machine machine;
    std::string root = "C:\\Temp\\korvalend-fs";
};

FileLab::FileLab() : impl_(std::make_unique<Impl>()) { impl_->machine.files.addDirectory(impl_->root); }
FileLab::FileLab(AtDriveRoot) : impl_(std::make_unique<Impl>()) {
    impl_->root = "C:\\korvalend-fs";
    impl_->machine.files.addDirectory(impl_->root);
}
FileLab::~FileLab() = default;

const std::string& FileLab::root() const { return impl_->root; }

bool FileLab::addDirectory(const std::string& relative, uint32_t attributes) {
    impl_->machine.files.addDirectory(impl_->root + "\\" + relative, attributes);
    return true;
}

bool FileLab::addFile(const std::string& relative, const std::string& content, uint32_t attributes) {
    impl_->machine.files.addFile(impl_->root + "\\" + relative, content, attributes == 0 ? 0x20 : attributes);
    return true;
}

bool FileLab::addJunction(const std::string& relative, const std::string& target) {
    impl_->machine.files.addJunction(impl_->root + "\\" + relative, target);
    return true;
}

bool FileLab::openToEveryone(const std::string& relative) {
    impl_->machine.files.setSecurity(impl_->root + "\\" + relative, "O:SYD:(A;OICI;FA;;;WD)");
    return true;
}

std::optional<bool> FileLab::recycled(const std::string& fullPath) const {
    return impl_->machine.files.recycled(fullPath) != nullptr;
}

bool FileLab::useCodePage(uint32_t codePage) {
    impl_->machine.codePage = codePage;
    return true;
}

bool FileLab::simulated() { return true; }

}  // namespace testsupport

// The run's record as the preview sees it: nothing is made and nothing is
// written, and the backend is never asked to (the preview neither links nor
// imports CreateDirectoryW or MoveFileExW). The folder "is made", the old
// record "renamed", and the file "opens" as the machine would let it (not a
// folder, not read-only), so that the plan shows what the run would do with
// its record: the installer's own log on each Msiexec.exe line.
#include "platform/files.h"
#include "platform/plan/binding.h"
#include "platform/record.h"
#include "platform/text.h"
#include "platform/wintypes.h"

namespace platform {

bool createDirectoryWithSecurityW(const std::u16string&, const std::u16string&) {
    plan::current().binding().lastError = kErrorSuccess;
    return true;
}

bool moveFileExW(const std::u16string&, const std::u16string&, uint32_t) {
    plan::current().binding().lastError = kErrorSuccess;
    return true;
}

UniqueAppendFile createFileForAppendW(const std::u16string& path, bool& created) {
    const uint32_t attributes = getFileAttributesA(wideToAnsi(path));
    created = attributes == kInvalidFileAttributes;
    if (!created && (attributes & (kFileAttributeDirectory | kFileAttributeReadonly)) != 0) {
        plan::current().binding().lastError = kErrorAccessDenied;
        return UniqueAppendFile();
    }
    plan::current().binding().lastError = created ? kErrorSuccess : kErrorAlreadyExists;
    return UniqueAppendFile(plan::newToken());
}

bool writeFile(Handle, const std::string&) { return true; }

void AppendFileTraits::close(Handle file) noexcept { plan::dropToken(file); }

}  // namespace platform

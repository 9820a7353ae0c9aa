// The file system as the preview sees it: the machine's files less what the
// recorded deletions took, with the attributes the recorded changes gave.
// Deletions, attribute changes and the shell's delete are recorded, never
// made; a deletion the file system would refuse is not recorded at all.
#include <cstring>

#include "platform/backend.h"
#include "platform/files.h"
#include "platform/plan/binding.h"
#include "platform/shell.h"
#include "platform/text.h"
#include "platform/wintypes.h"

namespace platform {
namespace {

using plan::Effect;
using plan::Recorder;

// The folder part of a search pattern or a path ("" when there is none).
std::string folderOf(const std::string& path) {
    const auto cut = plan::lastSeparator(path);
    return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

bool hiddenEntry(const Recorder& r, const std::string& folder, const std::string& name) {
    return name != "." && name != ".." && r.binding().fileHidden(folder + "\\" + name) != 0;
}

// What the path names through the overlay (INVALID when absent).
uint32_t attributesOf(Recorder& r, const std::string& path) {
    if (const int32_t error = r.binding().fileHidden(path)) {
        r.binding().lastError = error;
        return kInvalidFileAttributes;
    }
    r.binding().lastError.reset();
    const uint32_t attributes = backend::getFileAttributesA(path);
    if (attributes == kInvalidFileAttributes) return attributes;
    return r.binding().attributesSet(path).value_or(attributes);
}

// The paths one source of the shell's delete reaches: itself, or the entries
// its wildcards match, as the file system's own search matches them.
void expand(Recorder& r, const std::string& source, std::vector<std::string>& out) {
    const std::string folder = folderOf(source);
    const std::string mask = source.substr(folder.size() + (folder.size() < source.size() ? 1 : 0));
    if (mask.find_first_of("*?") == std::string::npos) {
        if (attributesOf(r, source) != kInvalidFileAttributes) out.push_back(source);
        return;
    }
    FindData data;
    UniqueFind find = findFirstFileA(source, data);
    for (bool more = find.valid(); more; more = findNextFileA(find.get(), data))
        if (data.name != "." && data.name != "..") out.push_back(folder + "\\" + data.name);
}

// Records an effect on one path; answers the recorder it went to.
Recorder& recordOn(Effect::Kind kind, const std::string& path, uint32_t attributes = 0) {
    Recorder& r = plan::current();
    Effect e;
    e.kind = kind;
    e.path = path;
    e.attributes = attributes;
    r.record(std::move(e));
    return r;
}

bool answer(Recorder& r, bool ok, int32_t error) {
    r.binding().lastError = ok ? kErrorSuccess : error;
    return ok;
}

}  // namespace

uint32_t getFileAttributesA(const std::string& path) { return attributesOf(plan::current(), path); }

int32_t getLastError() {
    const Recorder& r = plan::current();
    return r.binding().lastError ? *r.binding().lastError : backend::getLastError();
}

bool setFileAttributesA(const std::string& path, uint32_t attributes) {
    Recorder& r = recordOn(Effect::Kind::SetAttributes, path, attributes);
    if (r.performer != nullptr) return r.performer->setFileAttributesA(path, attributes);
    const uint32_t old = attributesOf(r, path);
    if (old == kInvalidFileAttributes) return answer(r, false, kErrorFileNotFound);
    // Being a folder or a link is no attribute one sets; NORMAL clears the rest.
    constexpr uint32_t kSettable = 0x1 | 0x2 | 0x4 | 0x20 | 0x100 | 0x1000 | 0x2000;
    const uint32_t kept = old & (kFileAttributeDirectory | kFileAttributeReparsePoint);
    const uint32_t now = kept | (attributes & kSettable);
    r.binding().setAttributes(path, now != 0 ? now : kFileAttributeNormal);
    return answer(r, true, kErrorSuccess);
}

// Decided from what the path is, as DeleteFile decides, whoever runs it: a
// folder or a read-only file is refused even to the local system account.
bool deleteFileA(const std::string& path) {
    Recorder& r = plan::current();
    if (r.performer != nullptr) {
        const bool deleted = r.performer->deleteFileA(path);
        if (deleted) recordOn(Effect::Kind::DeleteFile, path);
        return deleted;
    }
    const uint32_t attributes = attributesOf(r, path);
    if (attributes == kInvalidFileAttributes) return answer(r, false, kErrorFileNotFound);
    if ((attributes & (kFileAttributeDirectory | kFileAttributeReadonly)) != 0) return answer(r, false, kErrorAccessDenied);
    recordOn(Effect::Kind::DeleteFile, path);
    r.binding().hideFile(path);
    return answer(r, true, kErrorSuccess);
}

bool removeDirectoryA(const std::string& path) {
    Recorder& r = recordOn(Effect::Kind::RemoveDirectory, path);
    if (r.performer != nullptr) return r.performer->removeDirectoryA(path);
    const uint32_t attributes = attributesOf(r, path);
    if (attributes == kInvalidFileAttributes || (attributes & kFileAttributeDirectory) == 0)
        return answer(r, false, kErrorFileNotFound);
    // A link goes whatever its target holds; a folder only when it is empty.
    if ((attributes & kFileAttributeReparsePoint) == 0) {
        std::vector<std::string> inside;
        expand(r, path + "\\*", inside);
        if (!inside.empty()) return answer(r, false, kErrorDirNotEmpty);
    }
    r.binding().hideFile(path);
    return answer(r, true, kErrorSuccess);
}

int32_t shFileOperationA(ShFileOpStructA& op) {
    Recorder& r = plan::current();
    if (op.wFunc != kFoDelete || op.pFrom == nullptr) return kErrorInvalidParameter;
    Effect e;
    e.kind = Effect::Kind::ShellDelete;
    e.toRecycleBin = (op.fFlags & kFofAllowUndo) != 0;
    // The source list is NUL-separated and ends with an empty entry.
    std::vector<std::string> sources;
    for (const char* p = op.pFrom; *p != '\0'; p += std::strlen(p) + 1) sources.emplace_back(p);
    for (const std::string& source : sources) expand(r, source, e.paths);
    r.record(e);
    if (r.performer != nullptr) return r.performer->shFileOperationA(op);
    for (const std::string& path : e.paths) r.binding().hideFile(path);
    op.fAnyOperationsAborted = 0;
    return 0;
}

UniqueFind findFirstFileA(const std::string& pattern, FindData& data) {
    Recorder& r = plan::current();
    const std::string folder = folderOf(pattern);
    if (!folder.empty() && r.binding().fileHidden(folder) != 0) {
        r.binding().lastError = kErrorPathNotFound;
        return UniqueFind();
    }
    r.binding().lastError.reset();
    Handle backendFind = backend::findFirstFileA(pattern, data);
    if (backendFind == invalidHandleValue()) return UniqueFind();
    bool more = true;
    while (more && hiddenEntry(r, folder, data.name)) more = backend::findNextFileA(backendFind, data);
    if (!more) {
        backend::closeFind(backendFind);
        r.binding().lastError = kErrorFileNotFound;
        return UniqueFind();
    }
    const Handle token = plan::newToken();
    r.binding().finds[token] = Recorder::Binding::Find{backendFind, folder};
    return UniqueFind(token);
}

bool findNextFileA(Handle find, FindData& data) {
    Recorder& r = plan::current();
    r.binding().lastError.reset();
    const auto it = r.binding().finds.find(find);
    if (it == r.binding().finds.end()) return backend::findNextFileA(find, data);
    FindData next;
    bool more = backend::findNextFileA(it->second.backend, next);
    while (more && hiddenEntry(r, it->second.folder, next.name)) more = backend::findNextFileA(it->second.backend, next);
    if (more) data = std::move(next);
    return more;
}

void FindTraits::close(Handle find) noexcept {
    Recorder& r = plan::current();
    const auto it = r.binding().finds.find(find);
    if (it == r.binding().finds.end()) {
        backend::closeFind(find);
        return;
    }
    backend::closeFind(it->second.backend);
    r.binding().finds.erase(it);
    plan::dropToken(find);
}

}  // namespace platform

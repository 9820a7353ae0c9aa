// The file system's effects, in a file of their own: a program that never
// calls them (the preview) neither links nor imports them.
#include "platform/backend.h"
#include "platform/win32/windows_support.h"

namespace platform {

bool backend::setFileAttributesA(const std::string& path, uint32_t attributes) {
    return SetFileAttributesA(path.c_str(), attributes) != 0;
}
bool backend::deleteFileA(const std::string& path) { return DeleteFileA(path.c_str()) != 0; }
bool backend::removeDirectoryA(const std::string& path) { return RemoveDirectoryA(path.c_str()) != 0; }

}  // namespace platform

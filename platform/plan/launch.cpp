// What the shell would make of a program name, read from the machine before
// anything is started: quotes and environment variables, then the file
// itself, or, for a bare name, the App Paths key and the search path. Where
// that leaves doubt (a relative path, a folder, a file that cannot be read
// here), the start is assumed and the reason kept.
#include <cctype>
#include <vector>

#include "platform/environment.h"
#include "platform/files.h"
#include "platform/folders.h"
#include "platform/machine_keys.h"
#include "platform/plan/binding.h"
#include "platform/registry.h"
#include "platform/text.h"
#include "platform/wintypes.h"

namespace platform::plan {
namespace {

using Outcome = LaunchCheck::Outcome;

const char* const kExtensions[] = {".exe", ".com", ".bat", ".cmd"};

LaunchCheck assumed(std::string reason) { return {Outcome::Assumed, std::move(reason)}; }

bool isSeparator(char c) { return c == '\\' || c == '/'; }

bool absolute(const std::string& path) {
    const bool drive = path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) != 0 &&
                       path[1] == ':' && isSeparator(path[2]);
    return drive || (path.size() >= 2 && isSeparator(path[0]) && isSeparator(path[1]));
}

bool hasExtension(const std::string& path) {
    const auto cut = lastSeparator(path);
    return path.find('.', cut == std::string::npos ? 0 : cut + 1) != std::string::npos;
}

std::string unquoted(const std::string& s) {
    return s.size() >= 2 && s.front() == '"' && s.back() == '"' ? s.substr(1, s.size() - 2) : s;
}

bool isFileThere(const std::string& path) {
    const uint32_t attributes = getFileAttributesA(path);
    return attributes != kInvalidFileAttributes && (attributes & kFileAttributeDirectory) == 0;
}

// A full path: the file, a folder, nothing, or something this preview's
// account may not read (the run's may).
LaunchCheck checkFile(const std::string& path) {
    const uint32_t attributes = getFileAttributesA(path);
    if (attributes != kInvalidFileAttributes) {
        if ((attributes & kFileAttributeDirectory) == 0) return {};
        return assumed(path + " is a folder, which the shell opens instead of starting a program");
    }
    const int32_t error = getLastError();
    if (error != kErrorFileNotFound && error != kErrorPathNotFound)
        return assumed(path + " cannot be read here (error " + std::to_string(error) + ")");
    if (!hasExtension(path))
        for (const char* extension : kExtensions)
            if (isFileThere(path + extension))
                return assumed(path + " does not exist, but " + path + extension + " does, which the shell may start");
    return {Outcome::Fails, path + " does not exist"};
}

// The program the App Paths key registers under NAME, or "".
std::string appPath(const std::string& name) {
    UniqueKey key;
    const std::u16string sub = ansiToWide(keys::kAppPaths + "\\" + name);
    if (regOpenKeyExW(hkeyLocalMachine(), sub, kKeyRead, key) != kErrorSuccess) return {};
    uint32_t type = 0;
    std::string data;
    if (regQueryValueExW(key.get(), u"", type, data) != kErrorSuccess || (type != kRegSz && type != kRegExpandSz))
        return {};
    const std::u16string text = registryUtf16(data);
    return unquoted(expandEnvironmentStringsA(wideToAnsi(text.substr(0, text.find(u'\0')))));
}

// The folders the shell searches for a bare name: the system folder, the
// Windows folder and the PATH.
std::vector<std::string> searchFolders() {
    std::vector<std::string> folders;
    std::string system(kMaxPath, '\0');
    const uint32_t length = getSystemDirectoryA(system.data(), kMaxPath);
    system.resize(length < kMaxPath ? length : 0);
    folders.push_back(system);
    folders.push_back(expandEnvironmentStringsA("%SystemRoot%"));
    const std::string path = expandEnvironmentStringsA("%PATH%");
    if (path != "%PATH%")
        for (std::size_t start = 0; start <= path.size();) {
            std::size_t end = path.find(';', start);
            if (end == std::string::npos) end = path.size();
            folders.push_back(unquoted(path.substr(start, end - start)));
            start = end + 1;
        }
    std::erase_if(folders, [](const std::string& f) { return f.empty() || f.find('%') != std::string::npos; });
    return folders;
}

LaunchCheck checkBareName(const std::string& name) {
    std::vector<std::string> names{name};
    if (!hasExtension(name))
        for (const char* extension : kExtensions) names.push_back(name + extension);
    for (const std::string& n : names)
        if (const std::string registered = appPath(n); !registered.empty() && absolute(registered) &&
                                                      checkFile(registered).outcome == Outcome::Starts)
            return {};
    for (const std::string& folder : searchFolders())
        for (const std::string& n : names)
            if (isFileThere(folder + (isSeparator(folder.back()) ? "" : "\\") + n)) return {};
    return assumed(name + " is neither under App Paths nor on the search path, but the shell also looks in the "
                          "folder korvalend.exe is started from");
}

}  // namespace

LaunchCheck checkLaunch(const std::string& file, bool expandVariables) {
    const std::string written = file.substr(0, file.find('\0'));
    std::string name = written;
    if (expandVariables && name.find('%') != std::string::npos) {
        name = expandEnvironmentStringsA(name);
        if (name.empty()) return assumed("the environment variables of " + written + " cannot be expanded here");
    }
    name = unquoted(name);
    if (name.empty()) return {Outcome::Fails, "no program is named"};
    LaunchCheck check;
    if (absolute(name)) check = checkFile(name);
    else if (name.find_first_of("\\/:") == std::string::npos) check = checkBareName(name);
    else check = assumed(name + " is a relative path, read from the folder korvalend.exe is started from");
    // Another account's variables (its profile, its TEMP) may name other folders.
    if (check.outcome != Outcome::Assumed && expandVariables && written.find('%') != std::string::npos &&
        current().otherProfile)
        check = assumed(written + " is expanded with this preview's environment, not the run's account's");
    return check;
}

}  // namespace platform::plan

#include "platform/sim/shell_model.h"

#include "platform/sim/codepage.h"
#include "platform/sim/machine.h"

namespace sim {
namespace {

std::string upperPath(const std::string& s) {
    std::string u = s;
    for (char& c : u) c = static_cast<char>(cp1252::upper(static_cast<unsigned char>(c)));
    return u;
}

std::string upperAscii(const std::string& s) {
    std::string u = s;
    for (char& c : u)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return u;
}

}  // namespace

void ProgramRun::postMessage(platform::Handle hwnd, uint32_t message, uint64_t wParam, int64_t lParam,
                             uint64_t afterMs) {
    machine.shell.post(hwnd, message, wParam, lParam, startMs + afterMs);
}

Shell::Shell() {
    setEnv("SystemRoot", "C:\\Windows");
    setEnv("windir", "C:\\Windows");
    setEnv("SystemDrive", "C:");
    setEnv("ProgramFiles", "C:\\Program Files");
    setEnv("ProgramFiles(x86)", "C:\\Program Files (x86)");
    setEnv("ProgramData", "C:\\ProgramData");
    setEnv("CommonProgramFiles", "C:\\Program Files\\Common Files");
    setEnv("TEMP", "C:\\Windows\\Temp");
}

void Shell::addProgram(const std::string& path, Program program) {
    if (files_ != nullptr && !files_->exists(path)) files_->addFile(path, "MZ");
    programs_[upperPath(path)] = std::move(program);
}

const Program* Shell::findProgram(const std::string& path) const {
    auto it = programs_.find(upperPath(path));
    return it == programs_.end() ? nullptr : &it->second;
}

void Shell::setEnv(const std::string& name, const std::string& value) { env_[upperAscii(name)] = value; }

std::optional<std::string> Shell::getEnv(const std::string& name) const {
    auto it = env_.find(upperAscii(name));
    if (it == env_.end()) return std::nullopt;
    return it->second;
}

std::string Shell::expand(const std::string& text) const {
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] != '%') {
            out.push_back(text[i++]);
            continue;
        }
        const std::size_t close = text.find('%', i + 1);
        if (close == std::string::npos) {  // unfinished name: copied as is
            out.append(text, i, std::string::npos);
            break;
        }
        const std::string name = text.substr(i + 1, close - i - 1);
        if (auto value = name.empty() ? std::nullopt : getEnv(name)) {
            out += *value;
        } else {
            out.append(text, i, close - i + 1);  // "%NAME%" kept whole
        }
        i = close + 1;
    }
    return out;
}

void Shell::post(platform::Handle hwnd, uint32_t message, uint64_t wParam, int64_t lParam, uint64_t dueMs) {
    queue.push_back({hwnd, message, wParam, lParam, dueMs});
}

}  // namespace sim

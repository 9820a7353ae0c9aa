// Process fixture over the simulated machine.
#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "platform/sim/machine.h"
#include "support/proclab.h"

namespace testsupport {
namespace {
const std::string kSleeper = "C:\\Tests\\sleeper.exe";
platform::Handle const kWindow = reinterpret_cast<platform::Handle>(0x2468);
constexpr uint32_t kMessage = 0x8001;  // WM_APP + 1
}  // namespace

struct ProcessLab::Impl {
    sim::Machine machine;
    int dispatched = 0;
    std::u16string held;
};

ProcessLab::ProcessLab() : impl_(std::make_unique<Impl>()) {
    sim::Program sleeper;
    sleeper.body = [](sim::ProgramRun& run) -> uint32_t {
        char* end = nullptr;
        run.runMs = std::strtoull(run.parameters.c_str(), &end, 10);
        return static_cast<uint32_t>(std::strtoul(end, nullptr, 10));
    };
    impl_->machine.shell.addProgram(kSleeper, sleeper);
    sim::Program cmd;  // "/c exit N"
    cmd.runMs = 30;
    cmd.body = [](sim::ProgramRun& run) -> uint32_t {
        const auto at = run.parameters.find("exit ");
        return at == std::string::npos ? 0 : static_cast<uint32_t>(std::strtoul(run.parameters.c_str() + at + 5, nullptr, 10));
    };
    impl_->machine.shell.addProgram("C:\\Windows\\system32\\cmd.exe", cmd);
}

ProcessLab::~ProcessLab() = default;

std::string ProcessLab::sleeperPath() const { return kSleeper; }
std::string ProcessLab::emptyFolder() const { return "C:\\Tests\\empty"; }
uint64_t ProcessLab::nowMs() const { return impl_->machine.nowMs; }

uint32_t ProcessLab::startNamed(const std::string& imageName) { return impl_->machine.processes.add(imageName); }

std::string ProcessLab::placeImage(const std::string& relative) {
    const std::string path = "C:\\Tests\\images\\" + relative;
    impl_->machine.files.addFile(path, "sleeper");
    return path;
}

uint32_t ProcessLab::startImage(const std::string& path) { return impl_->machine.processes.addImage(path); }

// As the file system names a component that no 8.3 name can hold: its first
// six letters or digits, "~1" and up to three characters of its extension.
std::string ProcessLab::shortForm(const std::string& path) {
    std::string out = path.substr(0, 2);
    for (std::size_t at = 3; at <= path.size();) {
        const std::size_t end = std::min(path.find('\\', at), path.size());
        const std::string name = path.substr(at, end - at), dot = name.substr(0, name.rfind('.'));
        const std::string ext = name.size() > dot.size() ? name.substr(dot.size() + 1) : "";
        std::string shortName = name;
        const bool fits = name.find(' ') == std::string::npos && dot.find('.') == std::string::npos;
        if (!fits || dot.size() > 8 || ext.size() > 3) {
            shortName.clear();
            for (const char c : dot)
                if (std::isalnum(static_cast<unsigned char>(c)) && shortName.size() < 6)
                    shortName.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
            shortName += "~1" + (ext.empty() ? "" : "." + ext.substr(0, 3));
            impl_->machine.files.setShortName(path.substr(0, end), shortName);
        }
        out += "\\" + shortName;
        at = end + 1;
    }
    return out;
}

bool ProcessLab::waitGone(uint32_t pid, uint32_t ms) {
    (void)ms;
    const sim::SimProcess* p = impl_->machine.processes.find(pid);
    return p == nullptr || !p->running;
}

void ProcessLab::createWindow() {
    impl_->machine.shell.windows[kWindow] = [this](uint32_t message, uint64_t, int64_t) {
        if (message == kMessage) ++impl_->dispatched;
        return int64_t{0};
    };
}

void ProcessLab::postFromAnotherThread(int count, uint32_t intervalMs) {
    auto& m = impl_->machine;
    for (int i = 1; i <= count; ++i)
        m.shell.post(kWindow, kMessage, static_cast<uint64_t>(i), 0, m.nowMs + static_cast<uint64_t>(i) * intervalMs);
}

void ProcessLab::joinPoster() {}
int ProcessLab::dispatchedCount() const { return impl_->dispatched; }
void ProcessLab::createFreeMutex(const std::u16string& name) { impl_->machine.mutexes.add(name); }

void ProcessLab::holdMutex(const std::u16string& name, bool abandon) {
    auto& m = impl_->machine;
    m.mutexes.add(name, {.ownedUntilMs = abandon ? m.nowMs : sim::kNeverEnds, .abandoned = abandon});
    impl_->held = name;
}

void ProcessLab::releaseHeldMutex() {
    if (sim::SimMutex* mutex = impl_->machine.mutexes.find(impl_->held)) mutex->ownedUntilMs = 0;
}

bool ProcessLab::simulated() { return true; }

}  // namespace testsupport

// The shell, wait and message-queue wrappers over the simulated machine. The
// shell's file operation lives in fileop.cpp.
#include "platform/backend.h"
#include "platform/shell.h"

#include <algorithm>
#include <cstring>

#include "platform/sim/machine.h"
#include "platform/sim/sim_handles.h"
#include "platform/text.h"
#include "platform/wintypes.h"

namespace platform {
namespace {

constexpr uint32_t kProcessAllAccess = 0x1FFFFF;
constexpr int32_t kErrorNoAssociation = 1155;
const std::string kAppPaths = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";

std::optional<std::string> text(const char* p) {
    if (p == nullptr) return std::nullopt;
    return std::string(p);
}

std::string fileNamePart(const std::string& path) {
    const auto cut = path.find_last_of("\\/:");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

// A registered program whose file is there.
const sim::Program* programAt(sim::Machine& m, const std::string& path) {
    const sim::FsNode* file = m.files.find(path);
    return file != nullptr && !file->directory ? m.shell.findProgram(path) : nullptr;
}

// The program a file name reaches: a registered full path, or a bare name
// registered under App Paths or found in the search folders.
const sim::Program* locate(sim::Machine& m, const std::string& file, std::string& resolved) {
    resolved = file;
    if (file.empty()) return nullptr;
    if (const sim::Program* p = programAt(m, file)) return p;
    if (file.find_first_of("\\/:") != std::string::npos) return nullptr;
    std::vector<std::string> candidates;
    if (sim::RegKey* key = m.registry.findKey(sim::Root::LocalMachine, kAppPaths + file))
        if (const sim::RegValue* v = key->findValue(u""); v != nullptr && (v->type == kRegSz || v->type == kRegExpandSz)) {
            std::u16string path(v->data.size() / 2, u'\0');
            std::memcpy(path.data(), v->data.data(), path.size() * 2);
            std::string registered = m.shell.expand(wideToAnsi(path.substr(0, path.find(u'\0'))));
            if (registered.size() >= 2 && registered.front() == '"' && registered.back() == '"')
                registered = registered.substr(1, registered.size() - 2);
            candidates.push_back(registered);
        }
    for (const auto& dir : m.shell.searchPath) candidates.push_back(dir + "\\" + file);
    for (const std::string& path : candidates) {
        if (const sim::Program* p = programAt(m, path)) {
            resolved = path;
            return p;
        }
    }
    return nullptr;
}

}  // namespace

int32_t backend::shellExecuteExA(ShellExecuteInfoA& info) {
    auto& m = sim::current();
    auto& shell = m.shell;
    sim::LaunchRecord rec;
    rec.cbSize = info.cbSize;
    rec.mask = info.fMask;
    rec.hwndNull = info.hwnd == nullptr;
    rec.file = text(info.lpFile);
    rec.parameters = text(info.lpParameters);
    rec.verb = text(info.lpVerb);
    rec.directory = text(info.lpDirectory);
    rec.show = info.nShow;
    rec.atMs = m.nowMs;

    auto fail = [&](int32_t error) {
        rec.error = error;
        shell.lastError = error;
        m.files.lastError = error;  // the thread's last error, whoever set it
        shell.launches.push_back(rec);
        return 0;
    };
    if (info.cbSize != sizeof(ShellExecuteInfoA)) return fail(kErrorInvalidParameter);

    const bool subst = (info.fMask & kSeeMaskDoEnvSubst) != 0;
    std::string file = rec.file.value_or("");
    std::string directory = rec.directory.value_or("");
    if (subst) {
        file = shell.expand(file);
        directory = shell.expand(directory);
    }
    // The shell accepts a file name enclosed in double quotes.
    if (file.size() >= 2 && file.front() == '"' && file.back() == '"') file = file.substr(1, file.size() - 2);
    std::string resolved;
    const sim::Program* program = locate(m, file, resolved);
    rec.resolvedFile = resolved;
    if (rec.verb && !rec.verb->empty() && *rec.verb != "open") return fail(kErrorNoAssociation);
    if (program == nullptr) return fail(kErrorFileNotFound);
    if (program->launchError != 0) return fail(program->launchError);

    sim::ProgramRun run{m, resolved, rec.parameters.value_or(""), directory, 0, m.nowMs, program->runMs};
    // In the table from the start, so the program sees itself running.
    if (!program->handedToRunningInstance) run.pid = m.processes.add(fileNamePart(resolved));
    const sim::Program copy = *program;  // the body may register programs
    const uint32_t exitCode = copy.body ? copy.body(run) : 0;
    if (sim::SimProcess* p = m.processes.find(run.pid)) {
        p->endsAtMs = run.runMs == sim::kNeverEnds ? sim::kNeverEnds : rec.atMs + run.runMs;
        // Never idle and never ending stays so: the sum would wrap round to "idle at once".
        const uint64_t idleAfter = std::min(copy.idleAfterMs, run.runMs);
        p->idleAtMs = idleAfter == sim::kNeverEnds ? sim::kNeverEnds : rec.atMs + idleAfter;
        p->exitCodeAtEnd = exitCode;
        p->waitFails = copy.waitFails;
    }

    rec.succeeded = true;
    rec.pid = run.pid;
    shell.launches.push_back(rec);
    info.hInstApp = reinterpret_cast<Handle>(static_cast<std::intptr_t>(42));  // > 32: success
    if ((info.fMask & kSeeMaskNoCloseProcess) != 0 && run.pid != 0)
        info.hProcess = sim::newProcessHandle(run.pid, kProcessAllAccess);
    return 1;
}

uint32_t backend::waitForInputIdle(Handle process, uint32_t milliseconds) {
    auto& m = sim::current();
    m.shell.idleWaits.push_back(milliseconds);
    const sim::ProcessHandleInfo* h = sim::processHandleInfo(process);
    if (h == nullptr) return kWaitFailed;
    const sim::SimProcess* p = m.processes.find(h->pid);
    if (p == nullptr || !p->running) return kWaitFailed;
    if (m.nowMs >= p->idleAtMs) return 0;
    const uint64_t wait = p->idleAtMs - m.nowMs;
    if (milliseconds != kInfinite && milliseconds < wait) {
        m.advance(milliseconds);
        return kWaitTimeout;
    }
    m.advance(wait);
    return 0;
}

uint32_t backend::waitForSingleObject(Handle object, uint32_t milliseconds) {
    auto& m = sim::current();
    if (const sim::MutexHandleInfo* mutex = sim::mutexHandleInfo(object))
        return sim::waitForMutex(m, mutex->name, milliseconds);
    m.shell.waitSlices.push_back(milliseconds);
    const sim::ProcessHandleInfo* h = sim::processHandleInfo(object);
    if (h == nullptr) return kWaitFailed;
    sim::SimProcess* p = m.processes.find(h->pid);
    if (p == nullptr) return kWaitFailed;
    m.processes.settle(m.nowMs);
    if (!p->running) return kWaitObject0;
    if (p->waitFails) return kWaitFailed;
    if (p->endsAtMs == sim::kNeverEnds) {
        // Nothing ends it: a finite slice times out, an endless wait would
        // hang for ever, which a test must not do.
        if (milliseconds == kInfinite) return kWaitFailed;
        m.advance(milliseconds);
        return kWaitTimeout;
    }
    const uint64_t left = p->endsAtMs - m.nowMs;
    if (milliseconds != kInfinite && milliseconds < left) {
        m.advance(milliseconds);
        return kWaitTimeout;
    }
    m.advance(left);
    m.processes.settle(m.nowMs);
    return kWaitObject0;
}

int32_t peekMessageA(Msg& msg, Handle hwnd, uint32_t filterMin, uint32_t filterMax, uint32_t removeMsg) {
    auto& m = sim::current();
    auto& q = m.shell.queue;
    ++m.shell.peeks;
    for (auto it = q.begin(); it != q.end(); ++it) {
        if (it->dueMs > m.nowMs) continue;
        if (hwnd != nullptr && it->hwnd != hwnd) continue;
        if ((filterMin != 0 || filterMax != 0) && (it->message < filterMin || it->message > filterMax)) continue;
        msg = Msg{};
        msg.hwnd = it->hwnd;
        msg.message = it->message;
        msg.wParam = it->wParam;
        msg.lParam = it->lParam;
        msg.time = static_cast<uint32_t>(m.nowMs);
        if ((removeMsg & kPmRemove) != 0) q.erase(it);
        return 1;
    }
    return 0;
}

int32_t translateMessage(const Msg& msg) {
    (void)msg;
    ++sim::current().shell.translated;
    return 0;
}

int64_t dispatchMessageA(const Msg& msg) {
    auto& m = sim::current();
    m.shell.dispatched.push_back({msg.hwnd, msg.message, msg.wParam, m.nowMs});
    auto it = m.shell.windows.find(msg.hwnd);
    if (it == m.shell.windows.end() || !it->second) return 0;
    return it->second(msg.message, msg.wParam, msg.lParam);
}

}  // namespace platform

// Processes and programs as the preview sees them: terminations and launches
// are recorded, a program the shell would not find is not started, a
// launched program ends at once with exit code 0, and no wait ever waits.
// What an uninstaller takes off the machine the preview learns from the run.
#include "platform/backend.h"
#include "platform/plan/binding.h"
#include "platform/processes.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/sync.h"
#include "platform/text.h"
#include "platform/wintypes.h"

namespace platform {
namespace {

using plan::Effect;
using plan::Recorder;

std::string imageName(const ProcessEntry32& entry) {
    const auto& f = entry.szExeFile;
    std::size_t n = 0;
    while (n < f.size() && f[n] != '\0') ++n;
    return std::string(f.data(), n);
}

// Snapshot entries of processes the preview "terminated" are passed over.
bool visit(Recorder& r, Handle snapshot, ProcessEntry32& entry, bool ok) {
    while (ok && r.performer == nullptr && r.binding().terminated.count(entry.th32ProcessID) != 0)
        ok = backend::process32Next(snapshot, entry);
    if (ok) r.binding().processNames[entry.th32ProcessID] = imageName(entry);
    return ok;
}

Handle newPseudo(Recorder& r, uint32_t processId, std::optional<std::size_t> launch, Handle reader = nullptr) {
    const Handle token = plan::newToken();
    r.binding().pseudoProcesses[token] = Recorder::Binding::Pseudo{processId, launch, reader};
    return token;
}

}  // namespace

bool process32First(Handle snapshot, ProcessEntry32& entry) {
    Recorder& r = plan::current();
    return visit(r, snapshot, entry, backend::process32First(snapshot, entry));
}

bool process32Next(Handle snapshot, ProcessEntry32& entry) {
    Recorder& r = plan::current();
    return visit(r, snapshot, entry, backend::process32Next(snapshot, entry));
}

UniqueProcess openProcess(uint32_t access, bool inheritHandle, uint32_t processId) {
    Recorder& r = plan::current();
    if (r.performer == nullptr && r.binding().processNames.count(processId) != 0) {
        // A process the run found: the real run, elevated, may open it where
        // the preview may not; the preview only asks to read its image, and
        // never touches it. One that has ended opens for neither.
        if (r.binding().terminated.count(processId) != 0) return UniqueProcess();
        const Handle reader = backend::openProcess(kProcessQueryLimitedInformation, false, processId);
        if (reader == nullptr && backend::getLastError() == kErrorInvalidParameter) return UniqueProcess();
        return UniqueProcess(newPseudo(r, processId, std::nullopt, reader));
    }
    const Handle process = backend::openProcess(access, inheritHandle, processId);
    if (process != nullptr) r.binding().processIds[process] = processId;
    return UniqueProcess(process);
}

int32_t terminateProcess(Handle process, uint32_t exitCode) {
    Recorder& r = plan::current();
    const auto pseudo = r.binding().pseudoProcesses.find(process);
    const auto real = r.binding().processIds.find(process);
    uint32_t id = 0;
    if (pseudo != r.binding().pseudoProcesses.end()) id = pseudo->second.processId;
    else if (real != r.binding().processIds.end()) id = real->second;
    Effect e;
    e.kind = Effect::Kind::Terminate;
    e.processId = id;
    e.imageName = r.binding().processNames.count(id) != 0 ? r.binding().processNames[id] : std::string();
    r.record(std::move(e));
    if (r.performer != nullptr) return r.performer->terminateProcess(process, exitCode);
    r.binding().terminated.insert(id);
    return 1;
}

bool queryFullProcessImageNameW(Handle process, std::u16string& path) {
    const Recorder& r = plan::current();
    const auto pseudo = r.binding().pseudoProcesses.find(process);
    if (pseudo == r.binding().pseudoProcesses.end()) return backend::queryFullProcessImageNameW(process, path);
    const Handle reader = pseudo->second.reader;
    return reader != nullptr && backend::queryFullProcessImageNameW(reader, path);
}

void ProcessTraits::close(Handle process) noexcept {
    Recorder& r = plan::current();
    const auto it = r.binding().pseudoProcesses.find(process);
    if (it == r.binding().pseudoProcesses.end()) {
        r.binding().processIds.erase(process);
        backend::closeProcess(process);
        return;
    }
    if (it->second.reader != nullptr) backend::closeProcess(it->second.reader);
    r.binding().pseudoProcesses.erase(it);
    plan::dropToken(process);
}

// A program the preview "started" ends at once, with exit code 0: the
// uninstaller is taken to succeed.
bool getExitCodeProcess(Handle process, uint32_t& code) {
    if (plan::current().binding().pseudoProcesses.count(process) != 0) {
        code = plan::current().binding().pseudoProcesses[process].exitCode;
        return true;
    }
    return backend::getExitCodeProcess(process, code);
}

int32_t shellExecuteExA(ShellExecuteInfoA& info) {
    Recorder& r = plan::current();
    Effect e;
    e.kind = Effect::Kind::Launch;
    e.path = info.lpFile != nullptr ? info.lpFile : "";
    e.parameters = info.lpParameters != nullptr ? info.lpParameters : "";
    // Only what was started is a step: its start is the effect.
    if (r.performer != nullptr) {
        const int32_t started = r.performer->shellExecuteExA(info);
        if (started != 0) r.record(e);
        return started;
    }
    const plan::LaunchCheck check = plan::checkLaunch(e.path, (info.fMask & kSeeMaskDoEnvSubst) != 0);
    if (check.outcome == plan::LaunchCheck::Outcome::Fails) {
        if (r.listener != nullptr) r.listener->launchRefused(e, check.reason);
        r.binding().lastError = kErrorFileNotFound;
        info.hInstApp = reinterpret_cast<Handle>(static_cast<std::intptr_t>(2));  // SE_ERR_FNF
        return 0;
    }
    e.assumed = check.reason;
    const std::size_t index = r.record(e);
    info.hInstApp = reinterpret_cast<Handle>(static_cast<std::intptr_t>(42));  // > 32: success
    if ((info.fMask & kSeeMaskNoCloseProcess) != 0) {
        info.hProcess = newPseudo(r, 0, index);
        r.binding().pseudoProcesses[info.hProcess].exitCode = r.nextExitCode;
    }
    r.nextExitCode = 0;
    return 1;
}

uint32_t waitForInputIdle(Handle process, uint32_t milliseconds) {
    Recorder& r = plan::current();
    if (r.performer != nullptr && r.binding().pseudoProcesses.count(process) == 0)
        return r.performer->waitForInputIdle(process, milliseconds);
    return 0;
}

uint32_t waitForSingleObject(Handle object, uint32_t milliseconds) {
    Recorder& r = plan::current();
    const auto it = r.binding().pseudoProcesses.find(object);
    if (it == r.binding().pseudoProcesses.end()) {
        if (r.performer != nullptr) return r.performer->waitForSingleObject(object, milliseconds);
        // Nothing else is waited for either: whatever it is, it reads as
        // signalled at once, and the preview owns nothing through it.
        return kWaitObject0;
    }
    if (it->second.launch) {
        Effect& launch = r.effects[*it->second.launch];
        if (!launch.waited) {
            launch.waited = true;
            if (r.listener != nullptr) r.listener->waitSkipped(*it->second.launch, launch);
        }
    }
    return kWaitObject0;
}

// The preview's waits own nothing, so there is nothing to give back.
bool releaseMutex(Handle mutex) {
    Recorder& r = plan::current();
    return r.performer == nullptr || r.performer->releaseMutex(mutex);
}

}  // namespace platform

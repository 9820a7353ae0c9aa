#include "korvalend/observer.h"

namespace korvalend {
namespace {
TRemovalObserver g_nobody;
TRemovalObserver* g_observer = &g_nobody;
}  // namespace

std::string COMMANDLINE(const std::string& program, const std::string& parameters) {
    std::string line = program.find(' ') != std::string::npos ? "\"" + program + "\"" : program;
    if (!parameters.empty() && parameters.front() != ' ') line += ' ';
    return line + parameters;
}

TRemovalObserver& REMOVALOBSERVER() { return *g_observer; }

void SETREMOVALOBSERVER(TRemovalObserver* observer) { g_observer = observer != nullptr ? observer : &g_nobody; }

TObserverScope::TObserverScope(TRemovalObserver& observer) : previous_(g_observer) { g_observer = &observer; }

TObserverScope::~TObserverScope() { g_observer = previous_; }

void TObserverPair::found(const std::string& what, const std::string& text) {
    first_.found(what, text);
    second_.found(what, text);
}
void TObserverPair::kept(const std::string& path, const TReason& reason) {
    first_.kept(path, reason);
    second_.kept(path, reason);
}
void TObserverPair::skipped(const std::string& step, const TReason& reason) {
    first_.skipped(step, reason);
    second_.skipped(step, reason);
}
void TObserverPair::waits(const std::string& what) {
    first_.waits(what);
    second_.waits(what);
}
void TObserverPair::waited(const std::string& what, uint64_t milliseconds) {
    first_.waited(what, milliseconds);
    second_.waited(what, milliseconds);
}
void TObserverPair::removes(const TSuiteFacts& suite, int order) {
    first_.removes(suite, order);
    second_.removes(suite, order);
}
void TObserverPair::launches(const TLaunch& launch) {
    first_.launches(launch);
    second_.launches(launch);
}
void TObserverPair::launchEnded(const TLaunch& launch, const TLaunchEnd& end) {
    first_.launchEnded(launch, end);
    second_.launchEnded(launch, end);
}
void TObserverPair::processEnded(uint32_t processId, const std::string& image, bool ended) {
    first_.processEnded(processId, image, ended);
    second_.processEnded(processId, image, ended);
}
void TObserverPair::removed(const std::string& path, TRemoval how, bool done) {
    first_.removed(path, how, done);
    second_.removed(path, how, done);
}
void TObserverPair::concluded(const TOutcome& outcome) {
    first_.concluded(outcome);
    second_.concluded(outcome);
}
void TObserverPair::failed(const std::string& report) {
    first_.failed(report);
    second_.failed(report);
}

}  // namespace korvalend

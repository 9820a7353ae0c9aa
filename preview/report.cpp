#include "preview/report.h"

#include <optional>
#include <vector>

#include "fonction/strings.h"
#include "korvalend/globals.h"
#include "korvalend/suite.h"
#include "korvalend/observer.h"
#include "korvalend/program.h"

namespace korvalend {
namespace {

using platform::plan::Effect;

// Hears both the removal's decisions and the binding's records, so that the
// plan keeps the order in which the run came to each.
class TPlanCollector : public TRemovalObserver, public platform::plan::Listener {
public:
    explicit TPlanCollector(TPlanReport& report) : report_(report) {}

    void found(const std::string& what, const std::string& text) override { add(TPlanEvent::Kind::Found, what, text); }
    void kept(const std::string& path, const std::string& reason) override { add(TPlanEvent::Kind::Kept, path, reason); }
    void skipped(const std::string& step, const std::string& reason) override {
        add(TPlanEvent::Kind::Skipped, step, reason);
    }
    void waits(const std::string& what) override { add(TPlanEvent::Kind::Waits, what, {}); }
    void removes(const TSuiteFacts& suite, int order) override {
        report_.suites.push_back(suite);
        add(TPlanEvent::Kind::Found, "suite", ordinal(order) + " to be removed: " + suite.displayName + " (" +
                                                  VIEWNAME(suite.view) + " view) in " + suite.SCHEMOPEN);
    }
    void concluded(int exitCode, const std::string& why) override {
        report_.exitCode = exitCode;
        report_.exitReason = why;
    }

    // The suite whose product code an Uninstall entry name is.
    [[nodiscard]] std::optional<platform::plan::Recorder::Suite> suiteOf(const std::string& entry) const {
        for (const TSuiteFacts& s : report_.suites)
            if (fonction::STRUPPER(entry) == fonction::STRUPPER(s.SPRODUCTCODE))
                return platform::plan::Recorder::Suite{s.SCHEMOPEN, s.view == TRegistryView::Wow32};
        return std::nullopt;
    }

    void effect(std::size_t index, const Effect&) override {
        TPlanEvent e;
        e.kind = TPlanEvent::Kind::Effect;
        e.effect = index;
        report_.events.push_back(std::move(e));
    }
    // The launch's own record says that the run waits for its end.
    void waitSkipped(std::size_t, const Effect&) override {}
    void launchRefused(const Effect& launch, const std::string& reason) override {
        add(TPlanEvent::Kind::NotStarted, PLANCOMMANDLINE(launch), reason);
    }

private:
    void add(TPlanEvent::Kind kind, const std::string& what, const std::string& text) {
        TPlanEvent e;
        e.kind = kind;
        e.what = what;
        e.text = text;
        report_.events.push_back(std::move(e));
    }
    static std::string ordinal(int n) {
        const char* suffix = n % 100 / 10 == 1 ? "th"
                             : n % 10 == 1     ? "st"
                             : n % 10 == 2     ? "nd"
                             : n % 10 == 3     ? "rd"
                                               : "th";
        return std::to_string(n) + suffix;
    }
    TPlanReport& report_;
};

// Installs the collector for one run and takes it away on every way out.
class TObserverScope {
public:
    explicit TObserverScope(TRemovalObserver& observer) { SETREMOVALOBSERVER(&observer); }
    ~TObserverScope() { SETREMOVALOBSERVER(nullptr); }
    TObserverScope(const TObserverScope&) = delete;
    TObserverScope& operator=(const TObserverScope&) = delete;
};

}  // namespace

std::string PLANCOMMANDLINE(const Effect& launch) {
    std::string line = launch.path.find(' ') != std::string::npos ? "\"" + launch.path + "\"" : launch.path;
    if (!launch.parameters.empty() && launch.parameters.front() != ' ') line += ' ';
    return line + launch.parameters;
}

TPlanReport PLANREMOVAL(const std::vector<std::string>& args, platform::plan::Performer* performer, bool asSystem) {
    TPlanReport report;
    platform::plan::Recorder recorder;
    recorder.performer = performer;
    report.account = PLANACCOUNT(asSystem);
    if (report.account.other) recorder.otherProfile = report.account.profile;
    TPlanCollector collector(report);
    // A suite's own uninstaller is the one for a product code the run resolved.
    recorder.suiteOf = [&collector](const std::string& entry) { return collector.suiteOf(entry); };
    recorder.listener = &collector;
    {
        TObserverScope scope(collector);
        try {
            report.exitCode = RUN(args);
        } catch (...) {
            report.error = CURRENTERRORREPORT();
            report.exitCode = kExitUncaughtError;
            report.exitReason = "an unexpected error";
        }
    }
    report.options = SPARAM;
    report.effects = recorder.effects;
    return report;
}

}  // namespace korvalend

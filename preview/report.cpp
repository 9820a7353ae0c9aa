#include "preview/report.h"

#include <optional>
#include <vector>

#include "korvalend/globals.h"
#include "korvalend/suite.h"
#include "korvalend/observer.h"
#include "korvalend/program.h"
#include "platform/text.h"
#include "korvalend/uninstall_search.h"

namespace korvalend {
namespace {

using platform::plan::Effect;

// Hears both the run's steps and the binding's records, so that the plan
// keeps the order in which the run came to each; and tells the binding's
// overlay what each uninstaller the plan "ran" takes off the machine, as the
// run names it.
class TPlanCollector : public TRemovalObserver, public platform::plan::Listener {
public:
    TPlanCollector(TPlanReport& report, platform::plan::Recorder& recorder) : report_(report), recorder_(recorder) {}

    void found(const std::string& what, const std::string& text) override { add(TPlanEvent::Kind::Found, what, text); }
    void kept(const std::string& path, const TReason& reason) override {
        add(TPlanEvent::Kind::Kept, path, reason.text());
    }
    void skipped(const std::string& step, const TReason& reason) override {
        add(TPlanEvent::Kind::Skipped, step, reason.text());
    }
    void waits(const std::string& what) override { add(TPlanEvent::Kind::Waits, what, {}); }
    void removes(const TSuiteFacts& suite, int order) override {
        report_.suites.push_back(suite);
        add(TPlanEvent::Kind::Found, "suite", ordinal(order) + " to be removed: " + suite.displayName + " (" +
                                                  VIEWNAME(suite.view) + " view) in " + suite.SCHEMOPEN);
    }
    void concluded(const TOutcome& outcome) override {
        report_.outcome = outcome;
        report_.exitCode = outcome.code;
        report_.exitReason = outcome.words;
    }
    // An uninstaller that starts is taken to succeed: its entry, and what of
    // the vendor's goes with it, read as gone from then on. With a performer
    // the machine itself changes.
    // The run can tell how some launches end (a package that is gone): the
    // program the preview "starts" then ends as the machine says it would.
    void launches(const TLaunch& launch) override {
        if (recorder_.performer == nullptr) recorder_.nextExitCode = launch.expectedExitCode;
    }
    void launchEnded(const TLaunch& launch, const TLaunchEnd& end) override {
        if (end.kind == TLaunchEnd::Kind::NotStarted || end.exitCode != 0) return;
        report_.uninstalled.push_back(launch.entry);
        if (recorder_.performer != nullptr) return;
        const bool wow32 = launch.entry.view == TRegistryView::Wow32;
        recorder_.hideRegistryKey(SUNINSTALL_KEY + launch.entry.name, wow32);
        for (const std::string& record : launch.vendorRecords) recorder_.hideRegistryKey(record, wow32);
        if (!launch.productCode.empty()) recorder_.forgetProduct(platform::ansiToWide(launch.productCode));
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
    platform::plan::Recorder& recorder_;
};

}  // namespace

std::string PLANCOMMANDLINE(const Effect& launch) { return COMMANDLINE(launch.path, launch.parameters); }

TPlanReport PLANREMOVAL(const std::vector<std::string>& args, platform::plan::Performer* performer, bool asSystem) {
    TPlanReport report;
    platform::plan::Recorder recorder;
    recorder.performer = performer;
    report.account = PLANACCOUNT(asSystem);
    if (report.account.other) recorder.otherProfile = report.account.profile;
    TPlanCollector collector(report, recorder);
    recorder.listener = &collector;
    {
        TObserverScope scope(collector);
        try {
            report.exitCode = RUN(args);
        } catch (...) {
            report.error = CURRENTERRORREPORT();
            report.outcome = UNEXPECTEDERROR();
            report.exitCode = report.outcome.code;
            report.exitReason = report.outcome.words;
        }
    }
    report.options = SPARAM;
    report.effects = recorder.effects;
    return report;
}

}  // namespace korvalend

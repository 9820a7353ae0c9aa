// The preview of a removal: korvalend.exe's own run over the preview binding,
// what it would do collected in order, and the two ways it is printed.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "korvalend/entry.h"
#include "korvalend/outcome.h"
#include "korvalend/suite.h"
#include "platform/plan/plan.h"

namespace korvalend {

// One line of the plan, in the order the run came to it.
struct TPlanEvent {
    enum class Kind { Found, Kept, Skipped, Waits, Effect, NotStarted };
    Kind kind = Kind::Found;
    std::string what;         // Found: the fact's name; Kept: the path; Skipped: the step; Waits: what;
                              // NotStarted: the command line
    std::string text;         // Found: what was read; Kept, Skipped, NotStarted: the reason
    std::size_t effect = 0;   // Effect: its index in TPlanReport::effects
};

// The account whose per-user folders (the Startup folder, the profile's
// folders) the run was planned with.
struct TPlanAccount {
    std::string name;     // "DOMAIN\name"; "" when it cannot be read
    std::string sid;
    std::string profile;  // "" when it cannot be found
    bool other = false;   // not the account running the preview (--system)
};

struct TPlanReport {
    std::string options;  // the installer options of the run
    TPlanAccount account;
    std::vector<TPlanEvent> events;
    std::vector<platform::plan::Effect> effects;
    std::vector<TSuiteFacts> suites;  // each whose removal the run would begin, in order
    std::vector<TEntryId> uninstalled;  // each entry an uninstaller the run would start takes, in order
    TOutcome outcome;        // how the real run would end
    int exitCode = 0;        // its exit code
    std::string exitReason;  // the case it stands for, in words
    std::string error;  // the unexpected error that ends it (exit code 217)
};

// Runs the removal as korvalend.exe would with ARGS, recording its effects
// instead of making them. A PERFORMER (tests only) makes them after all.
// ASSYSTEM: as the local system account would run it (its per-user folders).
[[nodiscard]] TPlanReport PLANREMOVAL(const std::vector<std::string>& args,
                                      platform::plan::Performer* performer = nullptr, bool asSystem = false);

// The account the plan reads per-user folders of: the preview's own, or,
// FORSYSTEM, the local system account with the profile the machine lists
// for it (unless the preview runs as that account itself).
[[nodiscard]] TPlanAccount PLANACCOUNT(bool forSystem);

// The command line a launch amounts to: the program (quoted when it holds a
// blank) and its parameters.
[[nodiscard]] std::string PLANCOMMANDLINE(const platform::plan::Effect& launch);

// Plain text (ANSI), and one JSON document in ASCII.
[[nodiscard]] std::string FORMATPLANTEXT(const TPlanReport& report);
[[nodiscard]] std::string FORMATPLANJSON(const TPlanReport& report);

// The preview's command line: "/quiet" (exactly), "/log" or "/log=FOLDER",
// "--json" and "--system", in any order.
struct TPlanOptions {
    bool quiet = false;
    std::string log;         // the record's option as written, for the run planned ("" without)
    bool json = false;
    bool system = false;
    bool check = false;      // "--check": the compliance check's one line
    bool help = false;       // "/?", "-h" or "--help"
    std::string unknown;     // the first argument that is none of these
};
[[nodiscard]] TPlanOptions PARSEPLANOPTIONS(const std::vector<std::string>& args);

constexpr int kExitBadOption = 87;  // ERROR_INVALID_PARAMETER

// The compliance check (--check), the detection script of the deployment
// tools: one line saying what of the family is installed and what
// korvalend.exe would do with it, and the exit code 0 when nothing of the
// family is installed, 1 when something is, 217 when the machine cannot be
// read (the Uninstall key or a vendor key refused) or the run would meet an
// unexpected error. The line stays within kCheckLineMax characters.
constexpr std::size_t kCheckLineMax = 2000;
constexpr int kExitCheckInstalled = 1;
struct TCheck {
    int exitCode = 0;
    std::string line;  // without its line break
};
[[nodiscard]] TCheck CHECKMACHINE(const std::vector<std::string>& args, bool asSystem);

// The whole preview: options, plan, output. 0 when the plan ran to its end,
// 217 when the run would meet an unexpected error (told on standard error),
// 87 for an unknown option.
[[nodiscard]] int RUNPLANPROCESS(const std::vector<std::string>& args);

}  // namespace korvalend

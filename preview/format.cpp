// The plan in plain text (ANSI, for the console) and as one JSON document in
// ASCII (for tools).
#include <cstdio>

#include "platform/account.h"
#include "platform/text.h"
#include "preview/report.h"

namespace korvalend {
namespace {

using platform::plan::Effect;
using Kind = TPlanEvent::Kind;

std::string join(const std::vector<std::string>& items, const std::string& separator) {
    std::string out;
    for (const std::string& item : items) out += (out.empty() ? "" : separator) + item;
    return out;
}

// One line (or block) of text for an effect.
std::string describe(const Effect& e, const std::string& indent) {
    switch (e.kind) {
        case Effect::Kind::Terminate:
            return "end process " + e.imageName + " (id " + std::to_string(e.processId) + ")";
        case Effect::Kind::Launch:
            return "run " + PLANCOMMANDLINE(e) +
                   (e.assumed.empty() ? "" : "\r\n" + indent + "(assumed to start: " + e.assumed + ")") +
                   (e.waited ? "\r\n" + indent + "and wait for it to end" : "");
        case Effect::Kind::DeleteFile: return "delete " + e.path;
        case Effect::Kind::RemoveDirectory: return "remove the empty folder " + e.path;
        case Effect::Kind::SetAttributes:
            return "set the attributes of " + e.path + " to " + std::to_string(e.attributes);
        case Effect::Kind::ShellDelete: {
            const std::string head = e.toRecycleBin ? "send to the Recycle Bin: " : "delete for good: ";
            if (e.paths.empty()) return head + "(nothing is there)";
            return head + join(e.paths, "\r\n" + indent + std::string(head.size(), ' '));
        }
    }
    return {};
}

// Whose per-user folders were read, in one sentence.
std::string accountLine(const TPlanAccount& a) {
    const std::string name = a.name.empty() ? "the account running this preview" : a.name;
    if (a.other && a.profile.empty()) return "those of " + name + ", whose profile cannot be found here";
    if (a.other) return "those of " + name + ", read from its profile " + a.profile;
    std::string line = "those of " + name + (a.name.empty() ? "" : ", who runs this preview");
    if (a.sid != platform::kLocalSystemSid) line += " (deployment tools run korvalend.exe as SYSTEM: see --system)";
    return line;
}

const char* const kAssumed =
    "every uninstaller that starts succeeds and removes its entry (its own answer cannot be known beforehand)";

}  // namespace

std::string FORMATPLANTEXT(const TPlanReport& report) {
    std::string out = "korvalend-plan: what korvalend.exe would do on this machine. Nothing has been changed.\r\n";
    out += "Installer options: " + report.options + "\r\n";
    out += "Per-user folders: " + accountLine(report.account) + "\r\n";
    out += std::string("Assumed: ") + kAssumed + "\r\n\r\nFound:\r\n";
    std::size_t facts = 0;
    for (const TPlanEvent& e : report.events)
        if (e.kind == Kind::Found && ++facts) out += "  " + e.what + ": " + e.text + "\r\n";
    if (facts == 0) out += "  nothing of the suite\r\n";

    out += "\r\nSteps:\r\n";
    std::size_t step = 0;
    for (const TPlanEvent& e : report.events) {
        switch (e.kind) {
            case Kind::Found: break;
            case Kind::Effect: {
                char number[16];
                std::snprintf(number, sizeof number, "%3zu. ", ++step);
                out += number + describe(report.effects[e.effect], "     ") + "\r\n";
                break;
            }
            case Kind::Kept: out += "     - " + e.what + " " + e.text + ": kept\r\n"; break;
            case Kind::Skipped: out += "     - " + e.what + ": skipped, " + e.text + "\r\n"; break;
            case Kind::NotStarted: out += "     - could not be started: " + e.what + "\r\n       " + e.text + "\r\n"; break;
            case Kind::Waits:
                out += std::string("     - ") + (step == 0 ? "first" : "then") + " waits, if need be, for " + e.what + "\r\n";
                break;
        }
    }
    if (step == 0) out += "  none: nothing would be changed\r\n";
    if (!report.error.empty()) out += "\r\nThe run would stop on an error: " + report.error + "\r\n";
    out += "\r\nExit code of the real run: " + std::to_string(static_cast<uint32_t>(report.exitCode)) +
           (report.exitReason.empty() ? "" : " (" + report.exitReason + ")") + "\r\n";
    return out;
}

namespace {

// A JSON string in ASCII: the ANSI text as UTF-16, every code unit outside
// printable ASCII (NUL and control bytes included) as a \u escape.
std::string quote(const std::string& ansi) {
    std::string out = "\"";
    for (const char16_t c : platform::ansiToWide(ansi)) {
        if (c == u'"' || c == u'\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
            out += escape;
        }
    }
    return out + "\"";
}

std::string list(const std::vector<std::string>& items) {
    std::vector<std::string> quoted;
    for (const std::string& item : items) quoted.push_back(quote(item));
    std::string out = "[";
    return out.append(join(quoted, ", ")).append("]");
}

// An array of objects, one a line.
std::string block(const std::vector<std::string>& items) {
    return items.empty() ? "[]" : "[\n    " + join(items, ",\n    ") + "\n  ]";
}

std::string jsonStep(std::size_t number, const Effect& e) {
    std::string out = "{\"step\": " + std::to_string(number) + ", \"action\": ";
    switch (e.kind) {
        case Effect::Kind::Terminate:
            return out + "\"terminate\", \"process\": " + quote(e.imageName) +
                   ", \"processId\": " + std::to_string(e.processId) + "}";
        case Effect::Kind::Launch:
            return out + "\"run\", \"file\": " + quote(e.path) + ", \"parameters\": " + quote(e.parameters) +
                   ", \"commandLine\": " + quote(PLANCOMMANDLINE(e)) + ", \"waits\": " + (e.waited ? "true" : "false") +
                   ", \"startAssumed\": " + (e.assumed.empty() ? std::string("null") : quote(e.assumed)) + "}";
        case Effect::Kind::DeleteFile: return out + "\"delete\", \"path\": " + quote(e.path) + "}";
        case Effect::Kind::RemoveDirectory: return out + "\"removeFolder\", \"path\": " + quote(e.path) + "}";
        case Effect::Kind::SetAttributes:
            return out + "\"setAttributes\", \"path\": " + quote(e.path) +
                   ", \"attributes\": " + std::to_string(e.attributes) + "}";
        case Effect::Kind::ShellDelete:
            return out + (e.toRecycleBin ? "\"recycle\"" : "\"shellDelete\"") + ", \"paths\": " + list(e.paths) + "}";
    }
    return out + "null}";
}

}  // namespace

std::string FORMATPLANJSON(const TPlanReport& report) {
    std::vector<std::string> found, steps, kept, skipped, notStarted, waits, shortcuts, recycled;
    for (const TPlanEvent& e : report.events) {
        if (e.kind == Kind::Found) found.push_back("{\"what\": " + quote(e.what) + ", \"text\": " + quote(e.text) + "}");
        if (e.kind == Kind::Kept) kept.push_back("{\"path\": " + quote(e.what) + ", \"reason\": " + quote(e.text) + "}");
        if (e.kind == Kind::Skipped)
            skipped.push_back("{\"step\": " + quote(e.what) + ", \"reason\": " + quote(e.text) + "}");
        if (e.kind == Kind::NotStarted)
            notStarted.push_back("{\"commandLine\": " + quote(e.what) + ", \"reason\": " + quote(e.text) + "}");
        if (e.kind == Kind::Waits) waits.push_back(quote(e.what));
        if (e.kind != Kind::Effect) continue;
        const Effect& effect = report.effects[e.effect];
        if (effect.kind == Effect::Kind::Launch && effect.waited)
            waits.push_back(quote("the end of " + PLANCOMMANDLINE(effect)));
        steps.push_back(jsonStep(steps.size() + 1, effect));
        if (effect.kind == Effect::Kind::DeleteFile) shortcuts.push_back(effect.path);
        if (effect.kind == Effect::Kind::ShellDelete && effect.toRecycleBin)
            recycled.insert(recycled.end(), effect.paths.begin(), effect.paths.end());
    }
    std::vector<std::string> processes;
    for (const Effect& e : report.effects)
        if (e.kind == Effect::Kind::Terminate)
            processes.push_back("{\"process\": " + quote(e.imageName) + ", \"processId\": " +
                                std::to_string(e.processId) + "}");
    std::string out = "{\n  \"program\": \"korvalend-plan\",\n";
    out += "  \"options\": " + quote(report.options) + ",\n";
    const TPlanAccount& a = report.account;
    out += "  \"account\": {\"name\": " + quote(a.name) + ", \"sid\": " + quote(a.sid) + ", \"profile\": " +
           quote(a.profile) + ", \"runsPreview\": " + (a.other ? "false" : "true") + "},\n";
    out += "  \"assumed\": " + quote(kAssumed) + ",\n";
    out += "  \"found\": " + block(found) + ",\n";
    out += "  \"running\": [" + join(processes, ", ") + "],\n";
    out += "  \"steps\": " + block(steps) + ",\n";
    out += "  \"deletes\": " + list(shortcuts) + ",\n";
    out += "  \"recycles\": " + list(recycled) + ",\n";
    out += "  \"kept\": " + block(kept) + ",\n";
    out += "  \"skipped\": " + block(skipped) + ",\n";
    out += "  \"notStarted\": " + block(notStarted) + ",\n";
    out += "  \"waits\": [" + join(waits, ", ") + "],\n";
    out += "  \"exitCode\": " + std::to_string(static_cast<uint32_t>(report.exitCode)) + ",\n";
    out += "  \"exitReason\": " + quote(report.exitReason) + ",\n";
    out += "  \"error\": " + (report.error.empty() ? std::string("null") : quote(report.error)) + "\n}\n";
    return out;
}

}  // namespace korvalend

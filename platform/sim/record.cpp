#include "platform/record.h"

#include "platform/backend.h"
#include "platform/sim/machine.h"
#include "platform/text.h"
#include "platform/wintypes.h"

namespace platform {
namespace {

sim::Machine& counted() {
    sim::Machine& m = sim::current();
    ++m.recordCalls;
    return m;
}

// The ANSI form of a path, when the code page holds every character of it.
std::optional<std::string> ansiPath(sim::Machine& m, const std::u16string& path) {
    std::string ansi = wideToAnsi(path);
    if (ansiToWide(ansi) != path) {
        m.files.lastError = kErrorFileNotFound;
        return std::nullopt;
    }
    return ansi;
}

// Days since 1970-01-01 to a civil date (proleptic Gregorian).
void civil(int64_t days, int64_t& year, unsigned& month, unsigned& day) {
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const auto doe = static_cast<unsigned>(days - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = doy - (153 * mp + 2) / 5 + 1;
    month = mp < 10 ? mp + 3 : mp - 9;
    year = static_cast<int64_t>(yoe) + era * 400 + (month <= 2 ? 1 : 0);
}

}  // namespace

std::optional<Security> getNamedSecurityInfoW(const std::u16string& path) {
    sim::Machine& m = counted();
    const std::optional<std::string> ansi = ansiPath(m, path);
    return ansi ? m.files.security(*ansi) : std::nullopt;
}

std::optional<uint64_t> getFileSizeW(const std::u16string& path) {
    sim::Machine& m = counted();
    const std::optional<std::string> ansi = ansiPath(m, path);
    const sim::FsNode* node = ansi ? m.files.find(*ansi) : nullptr;
    if (node == nullptr || node->directory) return std::nullopt;
    return node->content.size();
}

LocalTime getLocalTime() {
    const sim::Machine& m = counted();
    const int64_t ms = m.localClockAtStartMs + static_cast<int64_t>(m.nowMs);
    const int64_t days = (ms >= 0 ? ms : ms - 86399999) / 86400000;
    const int64_t inDay = ms - days * 86400000;
    int64_t year = 0;
    unsigned month = 0, day = 0;
    civil(days, year, month, day);
    return LocalTime{static_cast<uint16_t>(year),          static_cast<uint16_t>(month),
                     static_cast<uint16_t>(day),           static_cast<uint16_t>(inDay / 3600000),
                     static_cast<uint16_t>(inDay / 60000 % 60), static_cast<uint16_t>(inDay / 1000 % 60),
                     static_cast<uint16_t>(inDay % 1000),  m.timeZoneBiasMinutes};
}

uint32_t getCurrentThreadId() { return sim::current().currentThreadId; }

bool backend::createDirectoryWithSecurityW(const std::u16string& path, const std::u16string& sddl) {
    sim::Machine& m = counted();
    const std::optional<std::string> ansi = ansiPath(m, path);
    // Without an owner of its own the folder is its creator's.
    const std::string text = wideToAnsi(sddl);
    return ansi && m.files.createDirectory(*ansi, text.starts_with("O:") ? text : "O:" + m.accountSid + text);
}

bool backend::moveFileExW(const std::u16string& from, const std::u16string& to, uint32_t flags) {
    sim::Machine& m = counted();
    const std::optional<std::string> a = ansiPath(m, from), b = ansiPath(m, to);
    return a && b && m.files.move(*a, *b, (flags & kMoveFileReplaceExisting) != 0);
}

Handle backend::createFileForAppendW(const std::u16string& path, bool& created) {
    sim::Machine& m = counted();
    created = false;
    const std::optional<std::string> ansi = ansiPath(m, path);
    void* h = ansi ? m.files.openAppend(*ansi, created) : nullptr;
    return h == nullptr ? invalidHandleValue() : h;
}

bool backend::writeFile(Handle file, const std::string& bytes) { return counted().files.append(file, bytes); }

void backend::closeAppendFile(Handle file) noexcept { sim::current().files.closeAppend(file); }

}  // namespace platform

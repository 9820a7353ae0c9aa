// The wildcard matcher on any pattern, text and start position: no crash and
// no read out of bounds, the documented exceptions exactly where they are
// due, and, for patterns where no "?" follows a "*" (directly or through
// other wildcards), the same answer as a full backtracking matcher.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "fonction/strings.h"

namespace {

std::string untilNul(const std::string& s, std::size_t from = 0) {
    const std::size_t end = s.find('\0', from);
    return s.substr(from, end == std::string::npos ? std::string::npos : end - from);
}

// Classic dynamic-programming wildcard match: "*" any run, "?" one byte.
bool reference(const std::string& p, const std::string& t) {
    std::vector<char> row(t.size() + 1, 0), next(t.size() + 1, 0);
    row[0] = 1;
    for (std::size_t j = 1; j <= t.size(); ++j) row[j] = 0;
    for (char pc : p) {
        next.assign(t.size() + 1, 0);
        if (pc == '*') {
            char any = 0;
            for (std::size_t j = 0; j <= t.size(); ++j) {
                any = static_cast<char>(any | row[j]);
                next[j] = any;
            }
        } else {
            for (std::size_t j = 1; j <= t.size(); ++j)
                next[j] = static_cast<char>(row[j - 1] && (pc == '?' || pc == t[j - 1]));
        }
        row.swap(next);
    }
    return row[t.size()] != 0;
}

// A "?" reached from a "*" through nothing but wildcards is where the
// matcher's single restart mark may give up early.
bool questionAfterStar(const std::string& p) {
    for (std::size_t i = 0; i < p.size(); ++i) {
        if (p[i] != '?') continue;
        for (std::size_t j = i; j-- > 0 && (p[j] == '*' || p[j] == '?');)
            if (p[j] == '*') return true;
    }
    return false;
}

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "strmatches: %s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const bool anyIndex = in.ConsumeBool();
    const int64_t rawIndex = in.ConsumeIntegral<int64_t>();
    // Few distinct bytes make matches, stars and near misses likely.
    std::string pattern = in.ConsumeRandomLengthString(64);
    std::string text = in.ConsumeRemainingBytesAsString();
    for (std::string* s : {&pattern, &text})
        for (char& c : *s) {
            const auto b = static_cast<unsigned char>(c);
            if (b >= 0xF0) c = "*?\0ab"[b % 5];
        }
    const int64_t length = static_cast<int64_t>(text.size());
    const int64_t index = anyIndex ? rawIndex : (length == 0 ? 1 : static_cast<int64_t>(static_cast<uint64_t>(rawIndex) % static_cast<uint64_t>(length + 2)));

    enum { kTrue, kFalse, kBlank, kRange, kCompare } expected;
    if (pattern.empty()) expected = kBlank;
    else if (pattern == "*") expected = kTrue;
    else if (text.empty()) expected = kFalse;
    else if (index < 1 || index > length) expected = kRange;
    else expected = kCompare;

    bool got = false;
    try {
        got = fonction::STRMATCHES(pattern, text, index);
    } catch (const fonction::EStringError& e) {
        if (expected == kBlank && e.message() == "Search string cannot be blank") return 0;
        if (expected == kRange && e.message() == "Argument out of range") return 0;
        fail("unexpected exception");
    }
    if (expected == kBlank || expected == kRange) fail("missing exception");
    if (expected == kTrue && !got) fail("\"*\" must match");
    if (expected == kFalse && got) fail("an empty text must not match");
    if (expected == kCompare) {
        const std::string p = untilNul(pattern);
        const std::string t = untilNul(text, static_cast<std::size_t>(index - 1));
        const bool want = reference(p, t);
        if (!questionAfterStar(p) && got != want) fail("differs from full wildcard matching");
        // Where the matcher may give up early, it never accepts what full
        // matching rejects.
        if (got && !want) fail("accepted a text full matching rejects");
    }
    return 0;
}

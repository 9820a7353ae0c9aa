#include "fonction/strings.h"

#include <map>
#include <utility>

#include "platform/text.h"

namespace fonction {

namespace {

const TANSICASEMAP& caseMap() {
    // A function-local static: filled on first use, so no other static
    // initialiser can see it half made.
    static const TANSICASEMAP map = [] {
        TANSICASEMAP m{};
        std::string all(static_cast<std::size_t>(ANSICHARCOUNT), '\0');
        for (int b = 0; b < ANSICHARCOUNT; ++b) all[static_cast<std::size_t>(b)] = static_cast<char>(b);
        const std::string upper = platform::charUpperBuffA(all);
        for (int b = 0; b < ANSICHARCOUNT; ++b)
            m[static_cast<std::size_t>(ANSIUPOFFSET + b)] = static_cast<unsigned char>(upper[static_cast<std::size_t>(b)]);
        return m;
    }();
    return map;
}

constexpr TRESOURCESTRING kResources[] = {RSBLANKSEARCHSTRING, RSARGUMENTOUTOFRANGE};

std::map<std::string, std::string>& resourceTable() {
    static std::map<std::string, std::string> table = [] {
        std::map<std::string, std::string> t;
        for (const auto& r : kResources) t[r.key] = r.defaultText;
        return t;
    }();
    return table;
}

}  // namespace

const TANSICASEMAP& ANSICASEMAP = caseMap();

namespace {
char asciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
}  // namespace

std::string ASCIIUPPER(std::string S) {
    for (char& c : S) c = asciiUpper(c);
    return S;
}

bool STARTSWITHASCIICASELESS(std::string_view A, std::string_view B) {
    if (A.size() < B.size()) return false;
    for (std::size_t i = 0; i < B.size(); ++i)
        if (asciiUpper(A[i]) != asciiUpper(B[i])) return false;
    return true;
}

bool EQUALSASCIICASELESS(std::string_view A, std::string_view B) {
    return A.size() == B.size() && STARTSWITHASCIICASELESS(A, B);
}

std::string LOADRESSTRING(const TRESOURCESTRING& RES) {
    const auto& table = resourceTable();
    const auto it = table.find(RES.key);
    return it == table.end() ? std::string(RES.defaultText) : it->second;
}

std::string GETRESSTRING(const std::string& KEY) {
    const auto& table = resourceTable();
    const auto it = table.find(KEY);
    return it == table.end() ? std::string() : it->second;
}

bool SETRESSTRING(const std::string& KEY, const std::string& TEXT) {
    auto& table = resourceTable();
    const auto it = table.find(KEY);
    if (it == table.end()) return false;
    it->second = TEXT;
    return true;
}

void RESETRESSTRINGS() {
    for (const auto& r : kResources) resourceTable()[r.key] = r.defaultText;
}

bool STRMATCHES(const std::string& SUBSTR, const std::string& S, int64_t INDEX) {
    if (SUBSTR.empty()) throw EStringError(LOADRESSTRING(RSBLANKSEARCHSTRING));
    if (SUBSTR == "*") return true;
    if (S.empty()) return false;
    if (INDEX < 1 || INDEX > static_cast<int64_t>(S.size())) throw EStringError(LOADRESSTRING(RSARGUMENTOUTOFRANGE));

    // Both strings end at their first NUL, as the platform's C strings do; the
    // std::string buffers always carry a terminating NUL, so a cursor never
    // reads past the end.
    const char* STRINGPTR = S.c_str() + (INDEX - 1);
    const char* PATTERNPTR = SUBSTR.c_str();
    const char* STRINGRES = nullptr;
    const char* PATTERNRES = nullptr;

    for (;;) {
        // Phase A: compare byte for byte until a star or a mismatch.
        for (;;) {
            const char p = *PATTERNPTR;
            if (p == '\0') {
                if (*STRINGPTR == '\0') return true;
                if (STRINGRES == nullptr || PATTERNRES == nullptr) return false;
                STRINGPTR = STRINGRES;
                PATTERNPTR = PATTERNRES;
                break;
            }
            if (p == '*') {
                ++PATTERNPTR;
                PATTERNRES = PATTERNPTR;
                break;
            }
            if (*STRINGPTR == '\0') return false;
            if (p == '?' || p == *STRINGPTR) {
                ++STRINGPTR;
                ++PATTERNPTR;
                continue;
            }
            if (STRINGRES == nullptr || PATTERNRES == nullptr) return false;
            STRINGPTR = STRINGRES;
            PATTERNPTR = PATTERNRES;
            break;
        }
        // Phase B: after a star, find where the next literal can start.
        for (;;) {
            const char p = *PATTERNPTR;
            if (p == '\0') return true;  // the last star takes the rest of the text
            if (p == '*') {
                ++PATTERNPTR;
                PATTERNRES = PATTERNPTR;
                continue;
            }
            if (p == '?') {
                if (*STRINGPTR == '\0') return false;
                ++STRINGPTR;
                ++PATTERNPTR;
                continue;
            }
            while (*STRINGPTR != '\0' && *STRINGPTR != p) ++STRINGPTR;
            if (*STRINGPTR == '\0') return false;
            ++STRINGPTR;
            STRINGRES = STRINGPTR;
            ++PATTERNPTR;
            break;
        }
    }
}

void STRCASE(std::string& S, int64_t OFFSET) {
    if (S.empty()) return;
    if (OFFSET < 0 || OFFSET > ANSICASEMAPSIZE - ANSICHARCOUNT) return;
    const TANSICASEMAP& map = caseMap();
    for (char& c : S) c = static_cast<char>(map[static_cast<std::size_t>(OFFSET + static_cast<unsigned char>(c))]);
}

void STRUPPERINPLACE(std::string& S) { STRCASE(S, ANSIUPOFFSET); }

std::string STRUPPER(const std::string& S) {
    std::string copy = S;
    STRUPPERINPLACE(copy);
    return copy;
}

int64_t STRIPOS(const std::string& SUBSTR, const std::string& S) {
    if (SUBSTR.empty() || SUBSTR.size() > S.size()) return 0;
    const std::size_t at = STRUPPER(S).find(STRUPPER(SUBSTR));
    return at == std::string::npos ? 0 : static_cast<int64_t>(at) + 1;
}

int64_t STRFIND(const std::string& SUBSTR, const std::string& S, int64_t INDEX) {
    if (SUBSTR.empty() || S.empty()) return 0;
    // Below 1 the whole text is searched; reporting INDEX + P - 1 would then
    // give a position that is not in S (or 0, "absent", for a real match).
    if (INDEX < 1) INDEX = 1;
    const int64_t P = STRIPOS(SUBSTR, STRRESTOF(S, INDEX));
    return P == 0 ? 0 : INDEX + P - 1;
}

std::string STRRESTOF(const std::string& S, int64_t N) {
    if (N <= 1) return S;
    if (N > static_cast<int64_t>(S.size())) return {};
    return S.substr(static_cast<std::size_t>(N - 1));
}

std::string STRAFTER(const std::string& SUBSTR, const std::string& S) {
    const int64_t P = STRFIND(SUBSTR, S, 1);
    if (P <= 0) return {};
    return STRRESTOF(S, P + static_cast<int64_t>(SUBSTR.size()));
}

void STRRESETLENGTH(std::string& S) {
    const std::size_t k = S.find('\0');
    if (k != std::string::npos) S.resize(k);
}

std::string STRTOKEN(std::string& S, char SEPARATOR) {
    const std::size_t I = S.find(SEPARATOR);
    if (I == std::string::npos) return std::exchange(S, std::string());
    std::string token = S.substr(0, I);
    S.erase(0, I + 1);
    return token;
}

void STRTOKENTOSTRINGS(const std::string& S, char SEPARATOR, platform::TStrings* LIST) {
    if (LIST == nullptr) return;
    platform::UpdateScope update(*LIST);
    LIST->clear();
    std::string rest = S;
    while (!rest.empty()) LIST->add(STRTOKEN(rest, SEPARATOR));
}

}  // namespace fonction

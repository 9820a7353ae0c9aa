#include "fonction/dbcs.h"

#include "platform/text.h"

namespace fonction {

std::size_t CHARSIZEAT(const std::string& S, std::size_t I) {
    const bool pair = I + 1 < S.size() && S[I + 1] != '\0' && platform::isDBCSLeadByte(static_cast<unsigned char>(S[I]));
    return pair ? 2 : 1;
}

bool ISDELIMITERAT(const std::string& S, std::size_t I, std::string_view DELIMITERS) {
    std::size_t at = 0;
    while (at < I) at += CHARSIZEAT(S, at);
    return at == I && I < S.size() && DELIMITERS.find(S[I]) != std::string_view::npos;
}

std::size_t LASTDELIMITER(const std::string& S, std::string_view DELIMITERS) {
    std::size_t last = std::string::npos;
    for (std::size_t i = 0; i < S.size(); i += CHARSIZEAT(S, i))
        if (DELIMITERS.find(S[i]) != std::string_view::npos) last = i;
    return last;
}

bool ENDSWITHBACKSLASH(const std::string& S) { return !S.empty() && ISDELIMITERAT(S, S.size() - 1, "\\"); }

std::vector<std::string> SPLITCOMPONENTS(const std::string& S, std::string_view DELIMITERS) {
    std::vector<std::string> parts(1);
    for (std::size_t i = 0; i < S.size();) {
        const std::size_t n = CHARSIZEAT(S, i);
        if (n == 1 && DELIMITERS.find(S[i]) != std::string_view::npos) parts.emplace_back();
        else parts.back().append(S, i, n);
        i += n;
    }
    return parts;
}

}  // namespace fonction

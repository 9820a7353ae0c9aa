#include "platform/text.h"

#include "platform/win32/windows_support.h"

namespace platform {

std::string charUpperBuffA(std::string s) {
    if (!s.empty()) CharUpperBuffA(s.data(), static_cast<DWORD>(s.size()));
    return s;
}

std::string charLowerBuffA(std::string s) {
    if (!s.empty()) CharLowerBuffA(s.data(), static_cast<DWORD>(s.size()));
    return s;
}

std::u16string ansiToWide(const std::string& ansi) {
    if (ansi.empty()) return {};
    const int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    std::u16string wideText(static_cast<std::size_t>(n), u'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()),
                        reinterpret_cast<wchar_t*>(wideText.data()), n);
    return wideText;
}

std::string wideToCodePage(const std::u16string& wideText, uint32_t codePage) {
    if (wideText.empty()) return {};
    const auto* src = reinterpret_cast<const wchar_t*>(wideText.data());
    const int len = static_cast<int>(wideText.size());
    const int n = WideCharToMultiByte(codePage, 0, src, len, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    if (n > 0) WideCharToMultiByte(codePage, 0, src, len, out.data(), n, nullptr, nullptr);
    return out;
}

std::string wideToAnsi(const std::u16string& wideText) {
    if (wideText.empty()) return {};
    const auto* src = reinterpret_cast<const wchar_t*>(wideText.data());
    const int len = static_cast<int>(wideText.size());
    DWORD flags = WC_NO_BEST_FIT_CHARS;
    const char* fallback = "?";
    int n = WideCharToMultiByte(CP_ACP, flags, src, len, nullptr, 0, fallback, nullptr);
    if (n == 0) {
        // A UTF-8 (or other multi-byte) system code page takes neither the
        // flag nor a default character; every character is representable.
        flags = 0;
        fallback = nullptr;
        n = WideCharToMultiByte(CP_ACP, flags, src, len, nullptr, 0, fallback, nullptr);
        if (n == 0) return {};
    }
    std::string ansi(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, flags, src, len, ansi.data(), n, fallback, nullptr);
    return ansi;
}

bool equalOrdinalIgnoreCase(const std::u16string& a, const std::u16string& b) {
    return CompareStringOrdinal(win32::wide(a), static_cast<int>(a.size()), win32::wide(b), static_cast<int>(b.size()),
                                TRUE) == CSTR_EQUAL;
}

bool isDBCSLeadByte(unsigned char b) { return IsDBCSLeadByteEx(CP_ACP, b) != 0; }

}  // namespace platform

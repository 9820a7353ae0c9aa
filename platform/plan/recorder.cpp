#include "platform/plan/binding.h"

#include "platform/backend.h"
#include "platform/registry_view.h"
#include "platform/text.h"

namespace platform::plan {
namespace {

Recorder* g_current = nullptr;

// The registry compares names without regard to case; this folds the Latin
// letters of the first Unicode block, which is what key names here hold.
char16_t upper(char16_t c) {
    if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 32);
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char16_t>(c - 32);
    return c;
}

}  // namespace

Recorder::Recorder() : binding_(std::make_unique<Binding>()), previous_(g_current) { g_current = this; }

Recorder::~Recorder() {
    for (auto& [token, find] : binding_->finds) dropToken(token);
    for (auto& [token, pseudo] : binding_->pseudoProcesses) {
        if (pseudo.reader != nullptr) backend::closeProcess(pseudo.reader);
        dropToken(token);
    }
    for (auto& [token, path] : binding_->folderLists) dropToken(token);
    g_current = previous_;
}

Recorder& current() {
    if (g_current != nullptr) return *g_current;
    static Recorder fallback;  // made when first none is current, and current from then on
    return fallback;
}

Handle newToken() { return new char; }
void dropToken(Handle token) noexcept { delete static_cast<char*>(token); }

std::u16string foldKey(std::u16string s) {
    for (char16_t& c : s) c = upper(c);
    return s;
}

std::u16string foldPath(const std::string& path) {
    // In UTF-16 a backslash is always a separator; in a double-byte code page
    // the byte 0x5C may be the second half of a character.
    std::u16string s = foldKey(platform::ansiToWide(path.substr(0, path.find('\0'))));
    for (char16_t& c : s)
        if (c == u'/') c = u'\\';
    while (s.size() > 3 && s.back() == u'\\') s.pop_back();
    return s;
}

std::size_t lastSeparator(const std::string& path) {
    std::size_t last = std::string::npos;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (platform::isDBCSLeadByte(static_cast<unsigned char>(path[i])) && i + 1 < path.size() && path[i + 1] != '\0')
            ++i;  // a trail byte is no separator
        else if (path[i] == '\\' || path[i] == '/')
            last = i;
    }
    return last;
}

std::size_t Recorder::record(Effect effect) {
    effects.push_back(std::move(effect));
    const std::size_t index = effects.size() - 1;
    if (listener != nullptr) listener->effect(index, effects[index]);
    return index;
}

void Recorder::forgetProduct(const std::u16string& productCode) {
    if (performer == nullptr) binding_->forgetProduct(productCode);
}

std::size_t Recorder::listings(const std::string& path, bool wow32) const {
    const std::u16string below = ansiToWide(path);
    const auto it = binding_->listings.find(u"HKLM\\" + foldKey(wow32 ? wow64Path(below) : below));
    return it == binding_->listings.end() ? 0 : it->second;
}

void Recorder::hideRegistryKey(const std::string& path, bool wow32) {
    const std::u16string below = ansiToWide(path);
    const std::u16string folded = foldKey(wow32 ? wow64Path(below) : below);
    // Empty components drop out, as the registry reads them.
    std::u16string key = u"HKLM";
    for (std::size_t start = 0; start <= folded.size();) {
        std::size_t end = folded.find(u'\\', start);
        if (end == std::u16string::npos) end = folded.size();
        if (end > start) key.append(1, u'\\').append(folded, start, end - start);
        start = end + 1;
    }
    if (key.size() > 4) binding_->hideKey(key);
}

void Recorder::Binding::hideKey(const std::u16string& path) {
    hiddenKeys_.insert(path);
    const auto cut = path.rfind(u'\\');
    if (cut != std::u16string::npos) hiddenKeyParents_.insert(path.substr(0, cut));
    ++generation_;
}

bool Recorder::Binding::keyHidden(const std::u16string& path) const {
    if (hiddenKeys_.empty()) return false;
    // The key itself or any key above it.
    for (std::size_t cut = path.find(u'\\'); cut != std::u16string::npos; cut = path.find(u'\\', cut + 1))
        if (hiddenKeys_.count(path.substr(0, cut)) != 0) return true;
    return hiddenKeys_.count(path) != 0;
}

bool Recorder::Binding::hasHiddenChildren(const std::u16string& path) const { return hiddenKeyParents_.count(path) != 0; }

void Recorder::Binding::hideFile(const std::string& path) {
    hiddenFiles_.insert(foldPath(path));
    ++generation_;
}

void Recorder::Binding::setAttributes(const std::string& path, uint32_t attributes) {
    attributes_[foldPath(path)] = attributes;
}

std::optional<uint32_t> Recorder::Binding::attributesSet(const std::string& path) const {
    if (attributes_.empty()) return std::nullopt;
    const auto it = attributes_.find(foldPath(path));
    return it == attributes_.end() ? std::nullopt : std::optional<uint32_t>(it->second);
}

void Recorder::Binding::forgetProduct(const std::u16string& productCode) {
    forgottenProducts_.insert(foldKey(productCode.substr(0, productCode.find(u'\0'))));
}

bool Recorder::Binding::productForgotten(const std::u16string& productCode) const {
    return !forgottenProducts_.empty() &&
           forgottenProducts_.count(foldKey(productCode.substr(0, productCode.find(u'\0')))) != 0;
}

int32_t Recorder::Binding::fileHidden(const std::string& path) const {
    if (hiddenFiles_.empty()) return 0;
    const std::u16string folded = foldPath(path);
    if (hiddenFiles_.count(folded) != 0) return 2;  // ERROR_FILE_NOT_FOUND
    for (std::size_t cut = folded.find(u'\\'); cut != std::u16string::npos; cut = folded.find(u'\\', cut + 1))
        if (hiddenFiles_.count(folded.substr(0, cut)) != 0) return 3;  // ERROR_PATH_NOT_FOUND
    return 0;
}

}  // namespace platform::plan

// Ordered list of byte strings that allows duplicates: registry key and value
// names, file names and tokens.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace platform {

class TStringList {
public:
    void clear() { items_.clear(); }
    void add(std::string s) { items_.push_back(std::move(s)); }
    [[nodiscard]] std::size_t count() const noexcept { return items_.size(); }
    [[nodiscard]] const std::string& operator[](std::size_t i) const { return items_.at(i); }
    [[nodiscard]] const std::vector<std::string>& items() const noexcept { return items_; }
    // The update bracket changes no content; it is kept so that batch fills
    // read as they do on the platform's own lists.
    void beginUpdate() noexcept { ++updateDepth_; }
    void endUpdate() noexcept {
        if (updateDepth_ > 0) --updateDepth_;
    }
    [[nodiscard]] int updateDepth() const noexcept { return updateDepth_; }

    [[nodiscard]] auto begin() const noexcept { return items_.begin(); }
    [[nodiscard]] auto end() const noexcept { return items_.end(); }

private:
    std::vector<std::string> items_;
    int updateDepth_ = 0;
};

using TStrings = TStringList;

// Closes an update bracket on every way out, exceptions included.
class UpdateScope {
public:
    explicit UpdateScope(TStrings& list) : list_(list) { list_.beginUpdate(); }
    ~UpdateScope() { list_.endUpdate(); }
    UpdateScope(const UpdateScope&) = delete;
    UpdateScope& operator=(const UpdateScope&) = delete;

private:
    TStrings& list_;
};

}  // namespace platform

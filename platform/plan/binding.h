// What the preview's binding keeps of one preview, its own and nobody
// else's: the overlay the reads see through (keys and files the recorded
// effects took, attributes they set, products the plan uninstalled) and the
// handles it hands out in place of the machine's.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/handle.h"
#include "platform/plan/plan.h"

namespace platform::plan {

struct Recorder::Binding {
    // --- the overlay: key paths are "HKLM\..." folded; file paths ANSI folded
    void hideKey(const std::u16string& path);
    [[nodiscard]] bool keyHidden(const std::u16string& path) const;
    [[nodiscard]] bool hasHiddenChildren(const std::u16string& path) const;
    void hideFile(const std::string& path);
    // 0 when visible; else the error a read of it meets (file or path not found).
    [[nodiscard]] int32_t fileHidden(const std::string& path) const;
    // The attributes a recorded change gave a path, if any.
    void setAttributes(const std::string& path, uint32_t attributes);
    [[nodiscard]] std::optional<uint32_t> attributesSet(const std::string& path) const;
    [[nodiscard]] uint64_t generation() const noexcept { return generation_; }
    void forgetProduct(const std::u16string& productCode);
    [[nodiscard]] bool productForgotten(const std::u16string& productCode) const;

    // --- what the binding tracks about the handles it hands out
    struct KeyInfo {
        std::u16string path;
        uint64_t generation = 0;
        std::optional<std::vector<std::u16string>> visible;  // subkeys, when some are hidden
    };
    std::unordered_map<Handle, KeyInfo> keys;
    std::map<std::u16string, std::size_t> listings;   // folded key path -> its subkeys counted
    std::map<uint32_t, std::string> processNames;     // from the snapshots read
    std::set<uint32_t> terminated;
    std::unordered_map<Handle, uint32_t> processIds;  // process handles -> ids
    std::optional<int32_t> lastError;                 // set when the binding answered by itself
    // Handles of the binding's own: a program it "started" or a process it
    // "opened" (the process id, the launch it stands for, and the backend's
    // handle through which it reads the process's image), and a file search
    // (the backend's search and the folder searched).
    struct Pseudo {
        uint32_t processId = 0;
        std::optional<std::size_t> launch;
        Handle reader = nullptr;
        uint32_t exitCode = 0;  // a program it "started": what it ends with
    };
    std::unordered_map<Handle, Pseudo> pseudoProcesses;
    struct Find {
        Handle backend = nullptr;
        std::string folder;
    };
    std::unordered_map<Handle, Find> finds;
    // Special-folder item lists of the binding's own, with their paths.
    std::unordered_map<Handle, std::u16string> folderLists;

private:
    std::set<std::u16string> hiddenKeys_;
    std::set<std::u16string> hiddenKeyParents_;
    std::set<std::u16string> hiddenFiles_;
    std::map<std::u16string, uint32_t> attributes_;
    std::set<std::u16string> forgottenProducts_;
    uint64_t generation_ = 0;
};

// The newest living Recorder; a default one exists before any is made.
[[nodiscard]] Recorder& current();

// A handle value no backend hands out, and its release.
[[nodiscard]] Handle newToken();
void dropToken(Handle token) noexcept;

// Case folding of registry names, as the overlay compares them.
[[nodiscard]] std::u16string foldKey(std::u16string s);
// Position of the last "\" or "/" of an ANSI path that is a separator and not
// the second byte of a double-byte character; npos when there is none.
[[nodiscard]] std::size_t lastSeparator(const std::string& path);

}  // namespace platform::plan

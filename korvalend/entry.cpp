#include "korvalend/entry.h"

#include <tuple>

#include "fonction/strings.h"

namespace korvalend {

bool SAMEKEYNAME(const std::string& a, const std::string& b) {
    return a.size() == b.size() && fonction::STRUPPER(a) == fonction::STRUPPER(b);
}

bool operator==(const TEntryId& a, const TEntryId& b) { return a.view == b.view && SAMEKEYNAME(a.name, b.name); }

bool operator<(const TEntryId& a, const TEntryId& b) {
    return std::forward_as_tuple(a.view, fonction::STRUPPER(a.name)) <
           std::forward_as_tuple(b.view, fonction::STRUPPER(b.name));
}

}  // namespace korvalend

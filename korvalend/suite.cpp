#include "korvalend/suite.h"

#include "platform/wintypes.h"

namespace korvalend {

uint32_t VIEWACCESS(TRegistryView view, uint32_t access) {
    return view == TRegistryView::Wow32 ? access | platform::kKeyWow64_32Key : access;
}

const char* VIEWNAME(TRegistryView view) { return view == TRegistryView::Wow32 ? "32-bit" : "64-bit"; }

}  // namespace korvalend

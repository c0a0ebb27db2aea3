#include "parser/ORBPPD.h"

_DISPLAY_OPTIONS_& ORBPPD::sDisplayOptions = ModelOptions::sDisplayOptions;
_EXTENSIONS_SUPPORT_& ORBPPD::sExtensionsSupport = ModelOptions::sExtensionsSupport;

namespace {

constexpr UInt32 kIncludeOrphansBit = 0x1;
constexpr UInt32 kIncludeHiddenBit = 0x2;

}  // namespace

void ORBPPD::IncludeOrphans() {
    ModelOptions::SetDisplay(
        static_cast<_DISPLAY_OPTIONS_>(ModelOptions::Display() | kIncludeOrphansBit));
}

void ORBPPD::IncludeHidden() {
    ModelOptions::SetDisplay(
        static_cast<_DISPLAY_OPTIONS_>(ModelOptions::Display() | kIncludeHiddenBit));
}

void ORBPPD::ExcludeOrphans() {
    ModelOptions::SetDisplay(DISPLAY_NORMAL);
}

void ORBPPD::ExcludeHidden() {
    ModelOptions::SetDisplay(DISPLAY_NORMAL);
}

// The keyboard focus: which edit text of a window takes the keys.
#include <vector>

#include "HIToolbox/ControlObject.h"
#include "HIToolbox/WindowObject.h"

namespace {

void CollectFocusable(ControlRef control, std::vector<ControlRef>* out) {
    if (!control->visible) return;
    if (halyx_toolbox::CanTakeFocus(control)) out->push_back(control);
    for (ControlRef child : control->children) CollectFocusable(child, out);
}

OSErr Step(WindowRef window, bool forward) {
    if (!halyx_toolbox::IsLiveWindow(window)) return errInvalidWindowRef;
    std::vector<ControlRef> order;
    if (window->root != nullptr) CollectFocusable(window->root, &order);
    if (order.empty()) {
        window->focus = nullptr;
        return noErr;
    }
    size_t at = order.size();
    for (size_t i = 0; i < order.size(); ++i) {
        if (order[i] == window->focus) at = i;
    }
    size_t next;
    if (at == order.size()) {
        next = forward ? 0 : order.size() - 1;
    } else {
        next = forward ? (at + 1) % order.size() : (at + order.size() - 1) % order.size();
    }
    window->focus = order[next];
    return noErr;
}

}  // namespace

namespace halyx_toolbox {
bool CanTakeFocus(ControlRef control) {
    return control->kind == ControlKind::kEditText && IsShown(control) && control->active &&
           control->Enabled();
}
}  // namespace halyx_toolbox

OSErr SetKeyboardFocus(WindowRef window, ControlRef control, ControlFocusPart part) {
    if (!halyx_toolbox::IsLiveWindow(window)) return errInvalidWindowRef;
    if (part == kControlFocusNoPart) {
        window->focus = nullptr;
        return noErr;
    }
    if (!halyx_toolbox::IsLiveControl(control) || control->window != window) {
        return errUnknownControl;
    }
    if (control->kind != halyx_toolbox::ControlKind::kEditText) return errControlDoesntSupportFocus;
    if (!halyx_toolbox::CanTakeFocus(control)) return errCouldntSetFocus;
    window->focus = control;
    return noErr;
}

OSErr GetKeyboardFocus(WindowRef window, ControlRef* outControl) {
    if (outControl != nullptr) *outControl = nullptr;
    if (!halyx_toolbox::IsLiveWindow(window)) return errInvalidWindowRef;
    if (outControl == nullptr) return paramErr;
    *outControl = window->focus;
    return noErr;
}

OSErr ClearKeyboardFocus(WindowRef window) {
    return SetKeyboardFocus(window, nullptr, kControlFocusNoPart);
}

OSErr AdvanceKeyboardFocus(WindowRef window) {
    return Step(window, true);
}

OSErr ReverseKeyboardFocus(WindowRef window) {
    return Step(window, false);
}

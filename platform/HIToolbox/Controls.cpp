// The control tree: registry, embedding, geometry, state, values, references and drawing.
#include "HIToolbox/Controls.h"

#include <algorithm>
#include <new>
#include <unordered_set>

#include "HIToolbox/ControlObject.h"
#include "HIToolbox/WindowObject.h"
#include "testing/FailureInjection.h"

namespace {

std::unordered_set<ControlRef> gLiveControls;
std::unordered_set<WindowRef> gLiveWindows;

void Unlink(ControlRef control) {
    if (control->parent == nullptr) return;
    auto& siblings = control->parent->children;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), control), siblings.end());
    control->parent = nullptr;
}

bool Contains(ControlRef ancestor, ControlRef control) {
    for (ControlRef c = control; c != nullptr; c = c->parent) {
        if (c == ancestor) return true;
    }
    return false;
}

// A control that is hidden, inactive or disabled cannot keep the keys: the focus leaves it (and
// anything inside it).
void LoseFocus(ControlRef control) {
    WindowRef window = control->window;
    if (window != nullptr && window->focus != nullptr && Contains(control, window->focus)) {
        window->focus = nullptr;
    }
}

void DrawNow(ControlRef control) {
    WindowRef window = control->window;
    if (window == nullptr || !window->visible || !halyx_toolbox::IsShown(control)) return;
    GrafPtr saved;
    GetPort(&saved);
    SetPort(&window->port);
    halyx_toolbox::DrawControlTree(control);
    SetPort(saved);
}

}  // namespace

namespace halyx_toolbox {

bool IsLiveControl(ControlRef control) {
    return control != nullptr && gLiveControls.count(control) != 0;
}
bool IsLiveWindow(WindowRef window) {
    return window != nullptr && gLiveWindows.count(window) != 0;
}
void RegisterControl(ControlRef control) {
    gLiveControls.insert(control);
}
void UnregisterControl(ControlRef control) {
    gLiveControls.erase(control);
}
void RegisterWindow(WindowRef window) {
    gLiveWindows.insert(window);
}
void UnregisterWindow(WindowRef window) {
    gLiveWindows.erase(window);
}

ControlRef MakeControl(WindowRef window, ControlKind kind, const Rect& bounds) {
    if (HalyxShouldFail(kHalyxFailAllocation)) return nullptr;
    ControlRef control = new (std::nothrow) OpaqueControlRef();
    if (control == nullptr) return nullptr;
    control->kind = kind;
    control->window = window;
    control->bounds = bounds;
    control->target.kind = OpaqueEventTargetRef::kControl;
    control->target.control = control;
    if (kind == ControlKind::kDataBrowser) {
        control->browser.reset(new (std::nothrow) BrowserState());
        if (control->browser == nullptr) {
            delete control;
            return nullptr;
        }
    }
    RegisterControl(control);
    if (window != nullptr && window->root != nullptr) {
        control->parent = window->root;
        window->root->children.push_back(control);
    }
    return control;
}

void DestroyControlTree(ControlRef control) {
    for (ControlRef child : control->children) {
        child->parent = nullptr;
        DestroyControlTree(child);
    }
    control->children.clear();
    WindowRef window = control->window;
    if (window != nullptr && window->focus == control) window->focus = nullptr;
    control->target.RemoveAllHandlers();
    UnregisterControl(control);
    delete control;
}

bool IsShown(ControlRef control) {
    for (ControlRef c = control; c != nullptr; c = c->parent) {
        if (!c->visible) return false;
    }
    return true;
}

void AppendControlText(GrafPtr port, ControlRef control, const Rect& rect,
                       const std::string& text) {
    const ControlFontStyleRec& style = control->fontStyle;
    const SInt16 savedFont = port->font, savedSize = port->size;
    const Style savedFace = port->face;
    port->font = (style.flags & kControlUseFontMask) ? style.font : SInt16{systemFont};
    port->size = (style.flags & kControlUseSizeMask) ? style.size : 0;
    port->face =
        (style.flags & kControlUseFaceMask) ? static_cast<Style>(style.style) : Style{normal};
    port->Append(kHalyxDrawText, rect, text.data(), static_cast<long>(text.size()));
    port->font = savedFont;
    port->size = savedSize;
    port->face = savedFace;
}

void DrawControlTree(ControlRef control) {
    if (!IsLiveControl(control) || !control->visible) return;
    GrafPtr port;
    GetPort(&port);
    if (port == nullptr) return;
    ControlRef outer = port->drawingControl;
    port->drawingControl = control;
    port->Append(kHalyxDrawControl, control->bounds, nullptr, 0);
    switch (control->kind) {
        case ControlKind::kEditText:
        case ControlKind::kPushButton: {
            AppendControlText(port, control, control->bounds,
                              SystemBytesFromCharacters(ShownCharacters(control)));
            break;
        }
        case ControlKind::kPlacard:
            port->Append(kHalyxDrawFrame, control->bounds, nullptr, 0);
            break;
        case ControlKind::kDataBrowser:
            DrawBrowser(control);
            break;
        case ControlKind::kUserPane:
            break;
    }
    // Drawing may run callbacks that change the tree: walk a copy and skip what went away.
    if (IsLiveControl(control)) {
        const std::vector<ControlRef> children = control->children;
        for (ControlRef child : children) DrawControlTree(child);
    }
    port->drawingControl = outer;
}

}  // namespace halyx_toolbox

using halyx_toolbox::IsLiveControl;

OSErr EmbedControl(ControlRef control, ControlRef container) {
    if (!IsLiveControl(control) || !IsLiveControl(container)) return errUnknownControl;
    if (Contains(control, container)) return errCantEmbedIntoSelf;
    if (!container->Embeds()) return errControlIsNotEmbedder;
    if (container->window != control->window) return paramErr;
    Unlink(control);
    control->parent = container;
    container->children.push_back(control);
    return noErr;
}

OSErr GetSuperControl(ControlRef control, ControlRef* outParent) {
    if (outParent != nullptr) *outParent = nullptr;
    if (!IsLiveControl(control)) return errUnknownControl;
    if (outParent == nullptr) return paramErr;
    *outParent = control->parent;
    return noErr;
}

WindowRef GetControlOwner(ControlRef control) {
    return IsLiveControl(control) ? control->window : nullptr;
}

void DisposeControl(ControlRef control) {
    if (!IsLiveControl(control)) return;
    if (control->window != nullptr && control->window->root == control)
        return;  // goes with its window
    Unlink(control);
    halyx_toolbox::DestroyControlTree(control);
}

Rect* GetControlBounds(ControlRef control, Rect* bounds) {
    if (bounds == nullptr) return nullptr;
    *bounds = IsLiveControl(control) ? control->bounds : Rect{0, 0, 0, 0};
    return bounds;
}

void SetControlBounds(ControlRef control, const Rect* bounds) {
    if (IsLiveControl(control) && bounds != nullptr) control->bounds = *bounds;
}

void MoveControl(ControlRef control, SInt16 h, SInt16 v) {
    if (!IsLiveControl(control)) return;
    OffsetRect(&control->bounds, static_cast<SInt16>(h - control->bounds.left),
               static_cast<SInt16>(v - control->bounds.top));
}

OSErr SetControlVisibility(ControlRef control, Boolean visible, Boolean doDraw) {
    if (!IsLiveControl(control)) return errUnknownControl;
    control->visible = visible != 0;
    if (!visible) LoseFocus(control);
    if (visible && doDraw) DrawNow(control);
    return noErr;
}

Boolean IsControlVisible(ControlRef control) {
    return IsLiveControl(control) && control->visible;
}

OSErr ActivateControl(ControlRef control) {
    if (!IsLiveControl(control)) return errUnknownControl;
    control->active = true;
    return noErr;
}

OSErr DeactivateControl(ControlRef control) {
    if (!IsLiveControl(control)) return errUnknownControl;
    control->active = false;
    LoseFocus(control);
    return noErr;
}

Boolean IsControlActive(ControlRef control) {
    return IsLiveControl(control) && control->active;
}

void HiliteControl(ControlRef control, ControlPartCode part) {
    if (!IsLiveControl(control)) return;
    control->hilite = part;
    if (part == kControlDisabledPart) LoseFocus(control);
}

ControlPartCode GetControlHilite(ControlRef control) {
    return IsLiveControl(control) ? control->hilite : ControlPartCode{kControlNoPart};
}

void Draw1Control(ControlRef control) {
    if (IsLiveControl(control)) DrawNow(control);
}

SInt16 GetControlValue(ControlRef control) {
    return IsLiveControl(control) ? control->value : 0;
}

void SetControlValue(ControlRef control, SInt16 value) {
    if (!IsLiveControl(control)) return;
    control->value = std::max(control->minimum, std::min(control->maximum, value));
}

SInt16 GetControlMinimum(ControlRef control) {
    return IsLiveControl(control) ? control->minimum : 0;
}

void SetControlMinimum(ControlRef control, SInt16 minimum) {
    if (!IsLiveControl(control)) return;
    control->minimum = minimum;
    if (control->maximum < minimum) control->maximum = minimum;
    if (control->value < minimum) control->value = minimum;
}

SInt16 GetControlMaximum(ControlRef control) {
    return IsLiveControl(control) ? control->maximum : 0;
}

void SetControlMaximum(ControlRef control, SInt16 maximum) {
    if (!IsLiveControl(control)) return;
    control->maximum = maximum;
    if (control->minimum > maximum) control->minimum = maximum;
    if (control->value > maximum) control->value = maximum;
}

void SetControlReference(ControlRef control, SRefCon data) {
    if (IsLiveControl(control)) control->reference = data;
}

SRefCon GetControlReference(ControlRef control) {
    return IsLiveControl(control) ? control->reference : nullptr;
}

OSStatus SetControlCommandID(ControlRef control, UInt32 commandID) {
    if (!IsLiveControl(control)) return errUnknownControl;
    control->commandID = commandID;
    return noErr;
}

OSStatus GetControlCommandID(ControlRef control, UInt32* outCommandID) {
    if (!IsLiveControl(control)) return errUnknownControl;
    if (outCommandID == nullptr) return paramErr;
    *outCommandID = control->commandID;
    return noErr;
}

// Windows: creation, showing, disposal and drawing.
#include "HIToolbox/MacWindows.h"

#include <new>

#include "HIToolbox/WindowObject.h"
#include "testing/FailureInjection.h"

OSStatus CreateNewWindow(WindowClass /*windowClass*/, WindowAttributes /*attributes*/,
                         const Rect* bounds, WindowRef* outWindow) {
    if (outWindow != nullptr) *outWindow = nullptr;
    if (bounds == nullptr || outWindow == nullptr) return paramErr;
    if (HalyxShouldFail(kHalyxFailAllocation)) return memFullErr;
    WindowRef window = new (std::nothrow) OpaqueWindowPtr();
    if (window == nullptr) return memFullErr;
    window->bounds = *bounds;
    window->target.kind = OpaqueEventTargetRef::kWindow;
    window->target.window = window;
    const Rect content = {0, 0, static_cast<SInt16>(bounds->bottom - bounds->top),
                          static_cast<SInt16>(bounds->right - bounds->left)};
    window->root =
        halyx_toolbox::MakeControl(window, halyx_toolbox::ControlKind::kUserPane, content);
    if (window->root == nullptr) {
        delete window;
        return memFullErr;
    }
    halyx_toolbox::RegisterWindow(window);
    *outWindow = window;
    return noErr;
}

void DisposeWindow(WindowRef window) {
    if (!halyx_toolbox::IsLiveWindow(window)) return;
    halyx_toolbox::UnregisterWindow(window);
    halyx_toolbox::DestroyControlTree(window->root);
    window->root = nullptr;
    window->focus = nullptr;
    window->target.RemoveAllHandlers();
    GrafPtr current;
    GetPort(&current);
    if (current == &window->port) SetPort(nullptr);
    delete window;
}

void ShowWindow(WindowRef window) {
    if (!halyx_toolbox::IsLiveWindow(window)) return;
    window->visible = true;
    HalyxDrawWindow(window);
}

void HideWindow(WindowRef window) {
    if (halyx_toolbox::IsLiveWindow(window)) window->visible = false;
}

Boolean IsWindowVisible(WindowRef window) {
    return halyx_toolbox::IsLiveWindow(window) && window->visible;
}

CGrafPtr GetWindowPort(WindowRef window) {
    return halyx_toolbox::IsLiveWindow(window) ? &window->port : nullptr;
}

void SetPortWindowPort(WindowRef window) {
    if (halyx_toolbox::IsLiveWindow(window)) SetPort(&window->port);
}

OSErr GetRootControl(WindowRef window, ControlRef* outControl) {
    if (outControl != nullptr) *outControl = nullptr;
    if (!halyx_toolbox::IsLiveWindow(window)) return errInvalidWindowRef;
    if (outControl == nullptr) return paramErr;
    *outControl = window->root;
    return noErr;
}

void HalyxDrawWindow(WindowRef window) {
    // A callback that draws the whole window again while it is being drawn would never end.
    if (!halyx_toolbox::IsLiveWindow(window) || !window->visible || window->drawing) return;
    window->drawing = true;
    GrafPtr saved;
    GetPort(&saved);
    SetPort(&window->port);
    halyx_toolbox::DrawControlTree(window->root);
    if (halyx_toolbox::IsLiveWindow(window)) window->drawing = false;
    SetPort(saved);
}

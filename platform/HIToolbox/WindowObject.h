// Inside of a window.
#ifndef HALYX_PLATFORM_HITOOLBOX_WINDOWOBJECT_H
#define HALYX_PLATFORM_HITOOLBOX_WINDOWOBJECT_H

#include "HIToolbox/ControlObject.h"
#include "HIToolbox/PortObject.h"

struct OpaqueWindowPtr {
    Rect bounds = {0, 0, 0, 0};
    bool visible = false;
    bool drawing = false;  // a drawing of the whole window is under way
    ControlRef root = nullptr;
    ControlRef focus = nullptr;
    OpaqueGrafPtr port;
    OpaqueEventTargetRef target;
};

#endif  // HALYX_PLATFORM_HITOOLBOX_WINDOWOBJECT_H

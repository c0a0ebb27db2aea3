// Inside of events, event targets and installed handlers.
#ifndef HALYX_PLATFORM_HITOOLBOX_EVENTOBJECTS_H
#define HALYX_PLATFORM_HITOOLBOX_EVENTOBJECTS_H

#include <map>
#include <memory>
#include <vector>

#include "HIToolbox/Events.h"

struct OpaqueEventRef {
    struct Param {
        EventParamType type;
        std::vector<UInt8> bytes;
    };
    UInt32 eventClass = 0;
    UInt32 eventKind = 0;
    int references = 1;
    std::map<EventParamName, Param> params;
};

// An installed handler. It is shared with dispatches under way, so a handler removed while an
// event travels is skipped but not freed under the dispatch's feet.
struct OpaqueEventHandlerRef {
    EventTargetRef target = nullptr;
    EventHandlerUPP proc = nullptr;
    std::vector<EventTypeSpec> types;
    void* userData = nullptr;
    bool removed = false;

    bool Wants(UInt32 eventClass, UInt32 eventKind) const;
};

struct OpaqueEventTargetRef {
    enum Kind { kControl, kWindow, kApplication };
    Kind kind = kApplication;
    ControlRef control = nullptr;
    WindowRef window = nullptr;
    std::vector<std::shared_ptr<OpaqueEventHandlerRef>> handlers;  // oldest first

    // Marks every handler removed and drops them (the target is going away).
    void RemoveAllHandlers();
};

namespace halyx_toolbox {
// The default behaviour of a target for an event, run after that target's handlers declined it.
OSStatus RunTargetDefault(EventTargetRef target, EventRef event);
void SetCurrentKeyModifiers(UInt32 modifiers);
}  // namespace halyx_toolbox

#endif  // HALYX_PLATFORM_HITOOLBOX_EVENTOBJECTS_H

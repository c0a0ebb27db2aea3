// Event targets, installed handlers and the way an event travels.
#include <algorithm>
#include <new>
#include <unordered_set>

#include "HIToolbox/ControlObject.h"
#include "HIToolbox/EventObjects.h"
#include "HIToolbox/WindowObject.h"
#include "testing/FailureInjection.h"

// One step of an event's way: a handler, or the default behaviour of the target it belongs to.
struct DispatchStep {
    std::shared_ptr<OpaqueEventHandlerRef> handler;
    ControlRef defaultControl = nullptr;
    WindowRef defaultWindow = nullptr;
    bool applicationDefault = false;
};

struct OpaqueEventHandlerCallRef {
    const std::vector<DispatchStep>* steps;
    size_t next;
};

namespace {

OpaqueEventTargetRef gApplicationTarget;
std::unordered_set<EventHandlerRef> gLiveHandlers;
UInt32 gKeyModifiers = 0;

void AddTargetSteps(EventTargetRef target, EventRef event, std::vector<DispatchStep>* steps) {
    for (auto it = target->handlers.rbegin(); it != target->handlers.rend(); ++it) {
        if ((*it)->Wants(event->eventClass, event->eventKind)) {
            DispatchStep step;
            step.handler = *it;
            steps->push_back(step);
        }
    }
    DispatchStep fallback;
    fallback.defaultControl = target->control;
    fallback.defaultWindow = target->window;
    fallback.applicationDefault = target->kind == OpaqueEventTargetRef::kApplication;
    steps->push_back(fallback);
}

std::vector<DispatchStep> BuildWay(EventTargetRef target, EventRef event) {
    std::vector<DispatchStep> steps;
    WindowRef window = nullptr;
    if (target->kind == OpaqueEventTargetRef::kControl) {
        for (ControlRef c = target->control; c != nullptr; c = c->parent) {
            AddTargetSteps(&c->target, event, &steps);
            window = c->window;
        }
    } else if (target->kind == OpaqueEventTargetRef::kWindow) {
        window = target->window;
    }
    if (window != nullptr) AddTargetSteps(&window->target, event, &steps);
    AddTargetSteps(&gApplicationTarget, event, &steps);
    return steps;
}

OSStatus RunFrom(const std::vector<DispatchStep>& steps, size_t first, EventRef event) {
    for (size_t i = first; i < steps.size(); ++i) {
        const DispatchStep& step = steps[i];
        OSStatus status = eventNotHandledErr;
        if (step.handler != nullptr) {
            if (step.handler->removed) continue;
            OpaqueEventHandlerCallRef call{&steps, i + 1};
            status = step.handler->proc(&call, event, step.handler->userData);
        } else if (step.defaultControl != nullptr) {
            if (!halyx_toolbox::IsLiveControl(step.defaultControl)) continue;
            status = halyx_toolbox::RunTargetDefault(&step.defaultControl->target, event);
        } else if (step.defaultWindow != nullptr) {
            if (!halyx_toolbox::IsLiveWindow(step.defaultWindow)) continue;
            status = halyx_toolbox::RunTargetDefault(&step.defaultWindow->target, event);
        } else if (step.applicationDefault) {
            status = halyx_toolbox::RunTargetDefault(&gApplicationTarget, event);
        }
        if (status != eventNotHandledErr) return status;
    }
    return eventNotHandledErr;
}

}  // namespace

bool OpaqueEventHandlerRef::Wants(UInt32 eventClass, UInt32 eventKind) const {
    return std::any_of(types.begin(), types.end(), [&](const EventTypeSpec& spec) {
        return spec.eventClass == eventClass && spec.eventKind == eventKind;
    });
}

void OpaqueEventTargetRef::RemoveAllHandlers() {
    for (auto& handler : handlers) {
        handler->removed = true;
        gLiveHandlers.erase(handler.get());
    }
    handlers.clear();
}

EventHandlerUPP NewEventHandlerUPP(EventHandlerProcPtr proc) {
    return proc;
}

void DisposeEventHandlerUPP(EventHandlerUPP /*upp*/) {}

EventTargetRef GetControlEventTarget(ControlRef control) {
    return halyx_toolbox::IsLiveControl(control) ? &control->target : nullptr;
}

EventTargetRef GetWindowEventTarget(WindowRef window) {
    return halyx_toolbox::IsLiveWindow(window) ? &window->target : nullptr;
}

EventTargetRef GetApplicationEventTarget(void) {
    return &gApplicationTarget;
}

OSStatus InstallEventHandler(EventTargetRef target, EventHandlerUPP handler, ItemCount numTypes,
                             const EventTypeSpec* list, void* userData, EventHandlerRef* outRef) {
    if (outRef != nullptr) *outRef = nullptr;
    if (target == nullptr || handler == nullptr || (list == nullptr && numTypes > 0)) {
        return paramErr;
    }
    if (HalyxShouldFail(kHalyxFailAllocation)) return memFullErr;
    std::shared_ptr<OpaqueEventHandlerRef> record(new (std::nothrow) OpaqueEventHandlerRef());
    if (record == nullptr) return memFullErr;
    record->target = target;
    record->proc = handler;
    record->types.assign(list, list + numTypes);
    record->userData = userData;
    target->handlers.push_back(record);
    gLiveHandlers.insert(record.get());
    if (outRef != nullptr) *outRef = record.get();
    return noErr;
}

OSStatus RemoveEventHandler(EventHandlerRef handlerRef) {
    if (handlerRef == nullptr || gLiveHandlers.count(handlerRef) == 0) return paramErr;
    gLiveHandlers.erase(handlerRef);
    handlerRef->removed = true;
    auto& handlers = handlerRef->target->handlers;
    handlers.erase(std::remove_if(handlers.begin(), handlers.end(),
                                  [&](const std::shared_ptr<OpaqueEventHandlerRef>& h) {
                                      return h.get() == handlerRef;
                                  }),
                   handlers.end());
    return noErr;
}

OSStatus SendEventToEventTarget(EventRef event, EventTargetRef target) {
    if (event == nullptr || target == nullptr) return paramErr;
    RetainEvent(event);
    const std::vector<DispatchStep> steps = BuildWay(target, event);
    const OSStatus status = RunFrom(steps, 0, event);
    ReleaseEvent(event);
    return status;
}

OSStatus CallNextEventHandler(EventHandlerCallRef callRef, EventRef event) {
    if (callRef == nullptr || event == nullptr) return paramErr;
    return RunFrom(*callRef->steps, callRef->next, event);
}

UInt32 GetCurrentKeyModifiers(void) {
    return gKeyModifiers;
}

namespace halyx_toolbox {
void SetCurrentKeyModifiers(UInt32 modifiers) {
    gKeyModifiers = modifiers;
}
}  // namespace halyx_toolbox

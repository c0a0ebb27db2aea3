// Events: class, kind and typed parameters.
#include <algorithm>
#include <cstring>
#include <new>

#include "HIToolbox/EventObjects.h"
#include "testing/FailureInjection.h"

OSStatus CreateEvent(void* /*allocator*/, UInt32 eventClass, UInt32 eventKind, EventTime /*when*/,
                     EventAttributes /*flags*/, EventRef* outEvent) {
    if (outEvent == nullptr) return paramErr;
    *outEvent = nullptr;
    if (HalyxShouldFail(kHalyxFailAllocation)) return memFullErr;
    EventRef event = new (std::nothrow) OpaqueEventRef();
    if (event == nullptr) return memFullErr;
    event->eventClass = eventClass;
    event->eventKind = eventKind;
    *outEvent = event;
    return noErr;
}

EventRef RetainEvent(EventRef event) {
    if (event != nullptr) ++event->references;
    return event;
}

namespace {

void ReleaseNestedEvent(const OpaqueEventRef::Param& param) {
    if (param.type != typeEventRef || param.bytes.size() != sizeof(EventRef)) return;
    EventRef nested;
    std::memcpy(&nested, param.bytes.data(), sizeof nested);
    ReleaseEvent(nested);
}

}  // namespace

void ReleaseEvent(EventRef event) {
    if (event == nullptr || --event->references > 0) return;
    for (const auto& entry : event->params) ReleaseNestedEvent(entry.second);
    delete event;
}

UInt32 GetEventClass(EventRef event) {
    return event != nullptr ? event->eventClass : 0;
}

UInt32 GetEventKind(EventRef event) {
    return event != nullptr ? event->eventKind : 0;
}

OSStatus SetEventParameter(EventRef event, EventParamName name, EventParamType type, ByteCount size,
                           const void* data) {
    if (event == nullptr || (data == nullptr && size > 0)) return paramErr;
    if (type == typeEventRef && size != sizeof(EventRef)) return paramErr;
    OpaqueEventRef::Param param;
    param.type = type;
    param.bytes.assign(static_cast<const UInt8*>(data), static_cast<const UInt8*>(data) + size);
    if (type == typeEventRef) {
        EventRef nested;
        std::memcpy(&nested, data, sizeof nested);
        RetainEvent(nested);
    }
    auto found = event->params.find(name);
    if (found != event->params.end()) {
        ReleaseNestedEvent(found->second);
        found->second = std::move(param);
    } else {
        event->params.emplace(name, std::move(param));
    }
    return noErr;
}

OSStatus GetEventParameter(EventRef event, EventParamName name, EventParamType desiredType,
                           EventParamType* outActualType, ByteCount bufferSize,
                           ByteCount* outActualSize, void* outData) {
    if (event == nullptr) return paramErr;
    auto found = event->params.find(name);
    if (found == event->params.end()) return eventParameterNotFoundErr;
    const OpaqueEventRef::Param& param = found->second;
    if (desiredType != typeWildCard && desiredType != param.type) return eventParameterNotFoundErr;
    if (outActualType != nullptr) *outActualType = param.type;
    if (outActualSize != nullptr) *outActualSize = param.bytes.size();
    if (outData != nullptr && !param.bytes.empty()) {
        std::memcpy(outData, param.bytes.data(), std::min<size_t>(bufferSize, param.bytes.size()));
    }
    return noErr;
}

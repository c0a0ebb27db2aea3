// Events, event handlers and their dispatch.
//
// An event has a class, a kind and typed parameters. It is sent to a target (a control, a window or
// the application) and travels from there up the control's embedding hierarchy, then to its window,
// then to the application. On each target the handlers run newest first. A handler that returns
// anything but eventNotHandledErr stops the event; when every handler declines, the target's
// default behaviour runs (HalyxInput.h describes the defaults). CallNextEventHandler runs the rest
// of that chain, defaults included, from inside a handler.
#ifndef HALYX_PLATFORM_HITOOLBOX_EVENTS_H
#define HALYX_PLATFORM_HITOOLBOX_EVENTS_H

#include "HIToolbox/Controls.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct OpaqueEventRef* EventRef;
typedef struct OpaqueEventTargetRef* EventTargetRef;
typedef struct OpaqueEventHandlerRef* EventHandlerRef;
typedef struct OpaqueEventHandlerCallRef* EventHandlerCallRef;
typedef OSType EventParamName;
typedef OSType EventParamType;
typedef double EventTime;
typedef UInt32 EventAttributes;

typedef OSStatus (*EventHandlerProcPtr)(EventHandlerCallRef inHandlerCallRef, EventRef inEvent,
                                        void* inUserData);
typedef EventHandlerProcPtr EventHandlerUPP;

typedef struct EventTypeSpec {
    UInt32 eventClass;
    UInt32 eventKind;
} EventTypeSpec;

enum {
    kEventClassMouse = HALYX_FOUR_CHAR('m', 'o', 'u', 's'),
    kEventClassKeyboard = HALYX_FOUR_CHAR('k', 'e', 'y', 'b'),
    kEventClassTextInput = HALYX_FOUR_CHAR('t', 'e', 'x', 't'),
    kEventClassWindow = HALYX_FOUR_CHAR('w', 'i', 'n', 'd'),
    kEventClassControl = HALYX_FOUR_CHAR('c', 'n', 't', 'l'),
    kEventClassCommand = HALYX_FOUR_CHAR('c', 'm', 'd', 's'),
};
enum { kEventRawKeyDown = 1 };
enum { kEventTextInputUnicodeForKeyEvent = 2 };
enum { kEventControlHit = 1, kEventControlClick = 13 };
enum { kEventCommandProcess = 1 };

enum {
    kEventParamDirectObject = HALYX_FOUR_CHAR('-', '-', '-', '-'),
    kEventParamMouseLocation = HALYX_FOUR_CHAR('m', 'l', 'o', 'c'),
    kEventParamKeyModifiers = HALYX_FOUR_CHAR('k', 'm', 'o', 'd'),
    kEventParamKeyMacCharCodes = HALYX_FOUR_CHAR('k', 'c', 'h', 'r'),
    kEventParamKeyUnicodes = HALYX_FOUR_CHAR('k', 'u', 'n', 'i'),
    kEventParamTextInputSendText = HALYX_FOUR_CHAR('t', 's', 't', 'x'),
    kEventParamTextInputSendKeyboardEvent = HALYX_FOUR_CHAR('t', 's', 'k', 'e'),
    kEventParamControlPart = HALYX_FOUR_CHAR('c', 'p', 'r', 't'),
};
enum {
    typeWildCard = HALYX_FOUR_CHAR('*', '*', '*', '*'),
    typeChar = HALYX_FOUR_CHAR('T', 'E', 'X', 'T'),
    typeUnicodeText = HALYX_FOUR_CHAR('u', 't', 'x', 't'),
    typeUInt32 = HALYX_FOUR_CHAR('m', 'a', 'g', 'n'),
    typeSInt16 = HALYX_FOUR_CHAR('s', 'h', 'o', 'r'),
    typeQDPoint = HALYX_FOUR_CHAR('Q', 'D', 'p', 't'),
    typeControlRef = HALYX_FOUR_CHAR('c', 't', 'r', 'l'),
    typeWindowRef = HALYX_FOUR_CHAR('w', 'i', 'n', 'd'),
    typeEventRef = HALYX_FOUR_CHAR('e', 'v', 'r', 'f'),
    typeHICommand = HALYX_FOUR_CHAR('h', 'c', 'm', 'd'),
    typeControlPartCode = HALYX_FOUR_CHAR('c', 'p', 'r', 't'),
};

// Key modifiers, as in kEventParamKeyModifiers and GetCurrentKeyModifiers.
enum {
    cmdKey = 1 << 8,
    shiftKey = 1 << 9,
    alphaLock = 1 << 10,
    optionKey = 1 << 11,
    controlKey = 1 << 12,
};

// The command event's direct object. The source names the control whose use issued the command
// (with kHICommandFromControl set), or nothing.
enum { kHICommandFromMenu = 1, kHICommandFromControl = 2, kHICommandFromWindow = 4 };
enum {
    kHICommandOK = HALYX_FOUR_CHAR('o', 'k', ' ', ' '),
    kHICommandCancel = HALYX_FOUR_CHAR('n', 'o', 't', '!'),
    kHICommandPaste = HALYX_FOUR_CHAR('p', 'a', 's', 't'),
    kHICommandSelectAll = HALYX_FOUR_CHAR('s', 'a', 'l', 'l'),
};
typedef struct HICommand {
    UInt32 attributes;
    UInt32 commandID;
    struct {
        void* menuRef;
        UInt16 menuItemIndex;
    } menu;
} HICommand;
typedef struct HICommandExtended {
    UInt32 attributes;
    UInt32 commandID;
    union {
        ControlRef control;
        WindowRef window;
        struct {
            void* menuRef;
            UInt16 menuItemIndex;
        } menu;
    } source;
} HICommandExtended;

// --- Events --------------------------------------------------------------------------------------
// noErr; paramErr for a null out pointer; memFullErr. The event starts with one reference.
OSStatus CreateEvent(void* allocator, UInt32 eventClass, UInt32 eventKind, EventTime when,
                     EventAttributes flags, EventRef* outEvent);
EventRef RetainEvent(EventRef event);
void ReleaseEvent(EventRef event);
UInt32 GetEventClass(EventRef event);
UInt32 GetEventKind(EventRef event);
// Stores a copy of `size` bytes under `name` with `type`, replacing any earlier value.
OSStatus SetEventParameter(EventRef event, EventParamName name, EventParamType type, ByteCount size,
                           const void* data);
// Copies the parameter into `outData` (at most `bufferSize` bytes; NULL only measures).
// eventParameterNotFoundErr when there is none, or when its type is not `desiredType` (typeWildCard
// accepts any). A typeEventRef value is handed out without a new reference.
OSStatus GetEventParameter(EventRef event, EventParamName name, EventParamType desiredType,
                           EventParamType* outActualType, ByteCount bufferSize,
                           ByteCount* outActualSize, void* outData);

// --- Handlers ------------------------------------------------------------------------------------
EventHandlerUPP NewEventHandlerUPP(EventHandlerProcPtr proc);
void DisposeEventHandlerUPP(EventHandlerUPP upp);

EventTargetRef GetControlEventTarget(ControlRef control);  // NULL for an unknown control
EventTargetRef GetWindowEventTarget(WindowRef window);     // NULL for an unknown window
EventTargetRef GetApplicationEventTarget(void);

// Installs `handler` on `target` for the listed event types. noErr; paramErr for a null target or
// handler, or a null list with a non-zero count; memFullErr. *outRef (when given) is the handler's
// reference for RemoveEventHandler; handlers not removed go away with their control or window.
OSStatus InstallEventHandler(EventTargetRef target, EventHandlerUPP handler, ItemCount numTypes,
                             const EventTypeSpec* list, void* userData, EventHandlerRef* outRef);
// Removes an installed handler. A handler may remove itself while it runs. paramErr when the
// reference is not an installed handler.
OSStatus RemoveEventHandler(EventHandlerRef handlerRef);

#define InstallControlEventHandler(control, handler, numTypes, list, userData, outRef)             \
    InstallEventHandler(GetControlEventTarget(control), (handler), (numTypes), (list), (userData), \
                        (outRef))
#define InstallWindowEventHandler(window, handler, numTypes, list, userData, outRef)             \
    InstallEventHandler(GetWindowEventTarget(window), (handler), (numTypes), (list), (userData), \
                        (outRef))
#define InstallApplicationEventHandler(handler, numTypes, list, userData, outRef)               \
    InstallEventHandler(GetApplicationEventTarget(), (handler), (numTypes), (list), (userData), \
                        (outRef))

// Sends the event to `target` and along its way as described above; returns the status of the
// handler that stopped it, the default behaviour's status, or eventNotHandledErr.
OSStatus SendEventToEventTarget(EventRef event, EventTargetRef target);
// From inside a handler: runs the handlers after it, and the defaults, and returns their status.
OSStatus CallNextEventHandler(EventHandlerCallRef callRef, EventRef event);

// The modifier keys held for the input event being delivered (0 between events).
UInt32 GetCurrentKeyModifiers(void);

#ifdef __cplusplus
}
#endif

#endif  // HALYX_PLATFORM_HITOOLBOX_EVENTS_H

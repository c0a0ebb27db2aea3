// How events travel: target, embedders, window, application; stopping; handler order and removal;
// parameters; commands issued by buttons.
#include <string>
#include <vector>

#include "ToolboxFixture.h"

namespace {

// A handler that logs its name and answers a preset status.
struct Probe {
    std::vector<std::string>* log;
    std::string name;
    OSStatus answer = eventNotHandledErr;
    EventHandlerRef ref = nullptr;
    EventHandlerRef toRemove = nullptr;  // removed when this handler runs
    bool callNext = false;
    OSStatus nextStatus = 0;
    UInt32 modifiersSeen = 0;
    HICommandExtended command = {};
};

OSStatus ProbeHandler(EventHandlerCallRef call, EventRef event, void* userData) {
    Probe* probe = static_cast<Probe*>(userData);
    probe->log->push_back(probe->name);
    probe->modifiersSeen = GetCurrentKeyModifiers();
    if (GetEventClass(event) == kEventClassCommand) {
        GetEventParameter(event, kEventParamDirectObject, typeHICommand, nullptr,
                          sizeof probe->command, nullptr, &probe->command);
    }
    if (probe->toRemove != nullptr) RemoveEventHandler(probe->toRemove);
    if (probe->callNext) {
        probe->nextStatus = CallNextEventHandler(call, event);
        return probe->nextStatus;
    }
    return probe->answer;
}

const EventTypeSpec kClick[] = {{kEventClassControl, kEventControlClick}};
const EventTypeSpec kText[] = {{kEventClassTextInput, kEventTextInputUnicodeForKeyEvent}};
const EventTypeSpec kRawKey[] = {{kEventClassKeyboard, kEventRawKeyDown}};
const EventTypeSpec kCommand[] = {{kEventClassCommand, kEventCommandProcess}};

class ToolboxEventTest : public ToolboxTest {
protected:
    void Install(EventTargetRef target, const EventTypeSpec* types, Probe* probe) {
        probe->log = &log_;
        ASSERT_EQ(noErr, InstallEventHandler(target, NewEventHandlerUPP(ProbeHandler), 1, types,
                                             probe, &probe->ref));
    }

    void TearDown() override {
        for (EventHandlerRef ref : appHandlers_) RemoveEventHandler(ref);
        ToolboxTest::TearDown();
    }

    std::vector<std::string> log_;
    std::vector<EventHandlerRef> appHandlers_;
};

TEST_F(ToolboxEventTest, ClickTravelsFromTheControlUpToTheWindowWhoseDefaultTakesIt) {
    ControlRef pane = MakePane(10, 10, 200, 400);
    ControlRef field = MakeEdit(20, 20, "abc");
    ASSERT_EQ(noErr, EmbedControl(field, pane));
    Probe onField{&log_, "field"}, onPane{&log_, "pane"}, onWindow{&log_, "window"},
        onApp{&log_, "app"};
    Install(GetControlEventTarget(field), kClick, &onField);
    Install(GetControlEventTarget(pane), kClick, &onPane);
    Install(GetWindowEventTarget(window_), kClick, &onWindow);
    Install(GetApplicationEventTarget(), kClick, &onApp);
    appHandlers_.push_back(onApp.ref);

    EXPECT_EQ(noErr, HalyxClickControl(field, 0));
    // The window's own tracking handles the click, so it never reaches the application.
    EXPECT_EQ((std::vector<std::string>{"field", "pane", "window"}), log_);
    ControlRef focus = nullptr;
    GetKeyboardFocus(window_, &focus);
    EXPECT_EQ(field, focus);

    // A handler on the embedder that answers stops the event: no tracking, no focus.
    ClearKeyboardFocus(window_);
    log_.clear();
    onPane.answer = noErr;
    EXPECT_EQ(noErr, HalyxClickControl(field, 0));
    EXPECT_EQ((std::vector<std::string>{"field", "pane"}), log_);
    GetKeyboardFocus(window_, &focus);
    EXPECT_EQ(nullptr, focus);

    // Any status other than eventNotHandledErr stops it too, and is what the sender gets.
    log_.clear();
    onPane.answer = eventNotHandledErr;
    onWindow.answer = paramErr;
    EXPECT_EQ(paramErr, HalyxClickControl(field, 0));
    EXPECT_EQ((std::vector<std::string>{"field", "pane", "window"}), log_);
}

TEST_F(ToolboxEventTest, AClickNobodyTakesReachesTheApplication) {
    ControlRef placard = nullptr;
    const Rect r = {100, 100, 140, 300};
    ASSERT_EQ(noErr, CreatePlacardControl(window_, &r, &placard));
    Probe onWindow{&log_, "window"}, onApp{&log_, "app"};
    Install(GetWindowEventTarget(window_), kClick, &onWindow);
    Install(GetApplicationEventTarget(), kClick, &onApp);
    appHandlers_.push_back(onApp.ref);
    EXPECT_EQ(eventNotHandledErr, HalyxClickPoint(window_, Point{120, 150}, 0));
    EXPECT_EQ((std::vector<std::string>{"window", "app"}), log_);
}

TEST_F(ToolboxEventTest, NewestHandlerRunsFirstAndCanCallTheRest) {
    ControlRef field = MakeEdit(20, 20, "");
    SetKeyboardFocus(window_, field, kControlEditTextPart);
    Probe older{&log_, "older"}, newer{&log_, "newer"};
    older.answer = 77;
    newer.callNext = true;
    Install(GetControlEventTarget(field), kText, &older);
    Install(GetControlEventTarget(field), kText, &newer);
    EXPECT_EQ(77, HalyxPressKey(window_, 'x', 0));
    EXPECT_EQ((std::vector<std::string>{"newer", "older"}), log_);
    EXPECT_EQ(77, newer.nextStatus);
    EXPECT_EQ("", Bytes(field));  // the older handler took the key: nothing typed

    // With the older one gone, CallNextEventHandler reaches the field's own typing.
    ASSERT_EQ(noErr, RemoveEventHandler(older.ref));
    log_.clear();
    EXPECT_EQ(noErr, HalyxPressKey(window_, 'x', 0));
    EXPECT_EQ((std::vector<std::string>{"newer"}), log_);
    EXPECT_EQ("x", Bytes(field));
}

TEST_F(ToolboxEventTest, AHandlerRemovedOnTheWayIsSkippedAndCannotBeRemovedTwice) {
    ControlRef pane = MakePane(10, 10, 200, 400);
    ControlRef field = MakeEdit(20, 20, "");
    EmbedControl(field, pane);
    Probe first{&log_, "field"}, second{&log_, "pane"}, self{&log_, "self"};
    Install(GetControlEventTarget(pane), kClick, &second);
    Install(GetControlEventTarget(field), kClick, &first);
    Install(GetControlEventTarget(field), kClick, &self);
    first.toRemove = second.ref;
    self.toRemove = self.ref;  // a handler may remove itself while it runs
    HalyxClickControl(field, 0);
    EXPECT_EQ((std::vector<std::string>{"self", "field"}), log_);
    EXPECT_EQ(paramErr, RemoveEventHandler(second.ref));
    EXPECT_EQ(paramErr, RemoveEventHandler(self.ref));
    log_.clear();
    first.toRemove = nullptr;
    HalyxClickControl(field, 0);
    EXPECT_EQ((std::vector<std::string>{"field"}), log_);
}

TEST_F(ToolboxEventTest, DisposingAControlTakesItsSubtreeAndHandlersAlong) {
    ControlRef pane = MakePane(10, 10, 200, 400);
    ControlRef field = MakeEdit(20, 20, "abc");
    EmbedControl(field, pane);
    SetKeyboardFocus(window_, field, kControlEditTextPart);
    Probe onField{&log_, "field"};
    Install(GetControlEventTarget(field), kClick, &onField);
    DisposeControl(pane);
    EXPECT_EQ(nullptr, GetControlEventTarget(field));
    EXPECT_EQ(errUnknownControl, HalyxClickControl(field, 0));
    EXPECT_EQ(paramErr, RemoveEventHandler(onField.ref));
    EXPECT_EQ(nullptr, GetControlOwner(pane));
    ControlRef focus = field;
    GetKeyboardFocus(window_, &focus);
    EXPECT_EQ(nullptr, focus);
    EXPECT_TRUE(log_.empty());
}

TEST_F(ToolboxEventTest, KeyEventsCarryTheCharacterAndModifiersAndARawHandlerCanSwallowThem) {
    ControlRef field = MakeEdit(20, 20, "");
    SetKeyboardFocus(window_, field, kControlEditTextPart);
    Probe text{&log_, "text"};
    Install(GetControlEventTarget(field), kText, &text);
    HalyxPressKey(window_, 'Q', shiftKey);
    EXPECT_EQ(UInt32{shiftKey}, text.modifiersSeen);
    EXPECT_EQ(0u, GetCurrentKeyModifiers());
    EXPECT_EQ("Q", Bytes(field));

    Probe raw{&log_, "raw"};
    raw.answer = noErr;
    Install(GetWindowEventTarget(window_), kRawKey, &raw);
    log_.clear();
    HalyxPressKey(window_, 'z', 0);
    EXPECT_EQ((std::vector<std::string>{"raw"}), log_);
    EXPECT_EQ("Q", Bytes(field));
}

TEST_F(ToolboxEventTest, APushButtonSendsItsCommandNamingItselfUnlessTheClickIsSwallowed) {
    ControlRef button = nullptr;
    const Rect r = {300, 400, 330, 480};
    ASSERT_EQ(noErr, CreatePushButtonControl(window_, &r, CFSTR("Print"), &button));
    SetControlCommandID(button, kHICommandOK);
    Probe command{&log_, "command"};
    command.answer = noErr;
    Install(GetApplicationEventTarget(), kCommand, &command);
    appHandlers_.push_back(command.ref);

    EXPECT_EQ(noErr, HalyxClickPoint(window_, Point{310, 440}, 0));
    ASSERT_EQ((std::vector<std::string>{"command"}), log_);
    EXPECT_EQ(UInt32{kHICommandOK}, command.command.commandID);
    EXPECT_EQ(UInt32{kHICommandFromControl}, command.command.attributes);
    EXPECT_EQ(button, command.command.source.control);

    // A disabled button does nothing; a window handler that takes the click keeps it from the
    // button.
    log_.clear();
    HiliteControl(button, kControlDisabledPart);
    HalyxClickControl(button, 0);
    EXPECT_TRUE(log_.empty());
    HiliteControl(button, kControlNoPart);
    SetControlVisibility(button, false, false);  // nor can a hidden one be clicked
    EXPECT_EQ(eventNotHandledErr, HalyxClickControl(button, 0));
    EXPECT_TRUE(log_.empty());
    SetControlVisibility(button, true, false);
    Probe guard{&log_, "guard"};
    guard.answer = noErr;
    Install(GetWindowEventTarget(window_), kClick, &guard);
    HalyxClickControl(button, 0);
    EXPECT_EQ((std::vector<std::string>{"guard"}), log_);
}

TEST_F(ToolboxEventTest, SentCommandsGoToTheFocusAndNameTheControlCarryingThem) {
    ControlRef field = MakeEdit(20, 20, "");
    ControlRef button = nullptr;
    const Rect r = {300, 400, 330, 480};
    ASSERT_EQ(noErr, CreatePushButtonControl(window_, &r, CFSTR("Print"), &button));
    SetControlCommandID(button, kHICommandOK);
    SetKeyboardFocus(window_, field, kControlEditTextPart);
    Probe onField{&log_, "field"}, onWindow{&log_, "window"};
    onWindow.answer = noErr;
    Install(GetControlEventTarget(field), kCommand, &onField);
    Install(GetWindowEventTarget(window_), kCommand, &onWindow);
    EXPECT_EQ(noErr, HalyxSendCommand(window_, kHICommandOK));
    EXPECT_EQ((std::vector<std::string>{"field", "window"}), log_);
    EXPECT_EQ(button, onWindow.command.source.control);
    log_.clear();
    EXPECT_EQ(noErr, HalyxSendCommand(window_, HALYX_FOUR_CHAR('z', 'z', 'z', 'z')));
    EXPECT_EQ(0u, onWindow.command.attributes);
    EXPECT_EQ(nullptr, onWindow.command.source.control);
}

TEST(ToolboxEventParameters, TypedValuesAreCopiedCheckedAndNestedEventsKeptAlive) {
    EventRef outer = nullptr, inner = nullptr;
    ASSERT_EQ(noErr, CreateEvent(nullptr, kEventClassTextInput, kEventTextInputUnicodeForKeyEvent,
                                 0, 0, &outer));
    ASSERT_EQ(noErr, CreateEvent(nullptr, kEventClassKeyboard, kEventRawKeyDown, 0, 0, &inner));
    UInt32 modifiers = cmdKey;
    ASSERT_EQ(noErr, SetEventParameter(inner, kEventParamKeyModifiers, typeUInt32, sizeof modifiers,
                                       &modifiers));
    ASSERT_EQ(noErr, SetEventParameter(outer, kEventParamTextInputSendKeyboardEvent, typeEventRef,
                                       sizeof inner, &inner));
    ReleaseEvent(inner);  // the outer event keeps it

    EventRef got = nullptr;
    ASSERT_EQ(noErr, GetEventParameter(outer, kEventParamTextInputSendKeyboardEvent, typeEventRef,
                                       nullptr, sizeof got, nullptr, &got));
    EXPECT_EQ(UInt32{kEventClassKeyboard}, GetEventClass(got));
    UInt32 read = 0;
    EventParamType actualType = 0;
    ByteCount actualSize = 0;
    EXPECT_EQ(noErr, GetEventParameter(got, kEventParamKeyModifiers, typeWildCard, &actualType,
                                       sizeof read, &actualSize, &read));
    EXPECT_EQ(UInt32{cmdKey}, read);
    EXPECT_EQ(UInt32{typeUInt32}, actualType);
    EXPECT_EQ(sizeof read, actualSize);
    EXPECT_EQ(eventParameterNotFoundErr, GetEventParameter(got, kEventParamKeyModifiers, typeSInt16,
                                                           nullptr, sizeof read, nullptr, &read));
    EXPECT_EQ(eventParameterNotFoundErr,
              GetEventParameter(got, kEventParamMouseLocation, typeWildCard, nullptr, 0, nullptr,
                                nullptr));

    // A text longer than the buffer is cut, and its full size reported.
    const UniChar text[3] = {'a', 'b', 'c'};
    SetEventParameter(outer, kEventParamTextInputSendText, typeUnicodeText, sizeof text, text);
    UniChar first = 0;
    EXPECT_EQ(noErr, GetEventParameter(outer, kEventParamTextInputSendText, typeUnicodeText,
                                       nullptr, sizeof first, &actualSize, &first));
    EXPECT_EQ(UniChar{'a'}, first);
    EXPECT_EQ(sizeof text, actualSize);
    ReleaseEvent(outer);
}

TEST(ToolboxEventParameters, CreationFailsCleanlyWithoutMemory) {
    HalyxFailureScope scope;
    HalyxInjectFailures(kHalyxFailAllocation, 0, 1);
    EventRef event = reinterpret_cast<EventRef>(1);
    EXPECT_EQ(memFullErr, CreateEvent(nullptr, kEventClassMouse, 1, 0, 0, &event));
    EXPECT_EQ(nullptr, event);
    WindowRef window = reinterpret_cast<WindowRef>(1);
    const Rect bounds = {0, 0, 10, 10};
    HalyxInjectFailures(kHalyxFailAllocation, 0, 1);
    EXPECT_EQ(memFullErr, CreateNewWindow(kDocumentWindowClass, 0, &bounds, &window));
    EXPECT_EQ(nullptr, window);
}

}  // namespace

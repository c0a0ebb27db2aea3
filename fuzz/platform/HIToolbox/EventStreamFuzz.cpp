// Feeds a stream of synthetic input (keys, Tabs, clicks, commands, scrolls, typed text) and program
// changes (rows added and removed, fields hidden, disabled or given new text) to a small window
// that holds a data browser whose custom cells place one edit field per row, as a list editor does.
// After every step it checks the toolkit's own promises and aborts when one breaks:
//   - the keyboard focus is empty or a shown, active, enabled field of the window;
//   - no field holds a control character, and every selection lies within its text;
//   - the browser's scroll position stays within its rows.
// Everything is disposed at the end, so leaks show under the leak checker.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "HIToolbox/HIToolbox.h"

namespace {

constexpr DataBrowserPropertyID kTitle = HALYX_FOUR_CHAR('t', 'w', 'o', 'x');
constexpr DataBrowserPropertyID kValue = HALYX_FOUR_CHAR('f', 'o', 'u', 'x');
constexpr size_t kMaxRows = 12;

struct Fixture {
    WindowRef window = nullptr;
    ControlRef browser = nullptr;
    ControlRef button = nullptr;
    std::vector<ControlRef> fields;  // row i+1's field, or null before its cell is first drawn
    bool digitsOnly = false;         // the key filter swallows everything but digits
    EventHandlerRef filter = nullptr;
    CFStringRef titles[kMaxRows + 1] = {};  // row i's title, made on its first draw
};

Fixture* gFixture = nullptr;

void Check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "toolkit invariant broken: %s\n", what);
        std::abort();
    }
}

OSStatus KeyFilter(EventHandlerCallRef, EventRef event, void*) {
    if (GetEventClass(event) != kEventClassTextInput) return eventNotHandledErr;
    UniChar c = 0;
    GetEventParameter(event, kEventParamTextInputSendText, typeUnicodeText, nullptr, sizeof c,
                      nullptr, &c);
    if (gFixture->digitsOnly && c >= 0x20 && (c < '0' || c > '9')) {
        SysBeep(5);
        return noErr;
    }
    return eventNotHandledErr;
}

// A row's title is made once per stream rather than on every draw, and released with the
// fixture, so that nothing the toolkit does to it can reach the next stream.
CFStringRef RowTitle(DataBrowserItemID item) {
    if (item > kMaxRows) return nullptr;
    CFStringRef& title = gFixture->titles[item];
    if (title == nullptr) {
        title = CFStringCreateWithFormat(nullptr, nullptr, CFSTR("Row %lu"),
                                         static_cast<unsigned long>(item));
    }
    return title;
}

OSStatus ItemData(ControlRef, DataBrowserItemID item, DataBrowserPropertyID property,
                  DataBrowserItemDataRef itemData, Boolean) {
    if (property != kTitle) return noErr;
    if (CFStringRef text = RowTitle(item)) SetDataBrowserItemDataText(itemData, text);
    return noErr;
}

// Places (and on first sight makes) the row's field in the value cell, as the editor does.
void DrawValue(ControlRef browser, DataBrowserItemID item, DataBrowserPropertyID,
               DataBrowserItemState, const Rect* cell, SInt16, Boolean) {
    Fixture* f = gFixture;
    if (item == 0 || item > f->fields.size()) return;
    ControlRef& field = f->fields[item - 1];
    if (field == nullptr) {
        const bool password = item % 3 == 0;
        if (CreateEditUnicodeTextControl(f->window, cell, CFSTR("seed"), password, nullptr,
                                         &field) != noErr) {
            return;
        }
        EmbedControl(field, browser);
        const EventTypeSpec types[] = {{kEventClassTextInput, kEventTextInputUnicodeForKeyEvent}};
        InstallControlEventHandler(field, NewEventHandlerUPP(KeyFilter), 1, types, nullptr,
                                   nullptr);
    }
    Rect bounds = *cell;
    InsetRect(&bounds, 2, 8);
    SetControlBounds(field, &bounds);
    SetControlVisibility(field, true, false);
}

void Build(Fixture* f) {
    const Rect windowBounds = {0, 0, 300, 400};
    CreateNewWindow(kDocumentWindowClass, 0, &windowBounds, &f->window);
    const Rect listBounds = {10, 10, 180, 390};
    CreateDataBrowserControl(f->window, &listBounds, kDataBrowserListView, &f->browser);
    SetDataBrowserHasScrollBars(f->browser, false, true);
    SetDataBrowserListViewHeaderBtnHeight(f->browser, 0);
    SetDataBrowserTableViewRowHeight(f->browser, 40);
    DataBrowserListViewColumnDesc column = {};
    column.propertyDesc.propertyID = kTitle;
    column.propertyDesc.propertyType = kDataBrowserTextType;
    column.headerBtnDesc.minimumWidth = column.headerBtnDesc.maximumWidth = 120;
    AddDataBrowserListViewColumn(f->browser, &column, kDataBrowserListViewAppendColumn);
    column.propertyDesc.propertyID = kValue;
    column.propertyDesc.propertyType = kDataBrowserCustomType;
    column.headerBtnDesc.minimumWidth = 200;
    column.headerBtnDesc.maximumWidth = 300;
    AddDataBrowserListViewColumn(f->browser, &column, kDataBrowserListViewAppendColumn);
    AutoSizeDataBrowserListViewColumns(f->browser);
    DataBrowserCallbacks callbacks;
    InitDataBrowserCallbacks(&callbacks);
    callbacks.u.v1.itemDataCallback = ItemData;
    SetDataBrowserCallbacks(f->browser, &callbacks);
    DataBrowserCustomCallbacks custom;
    InitDataBrowserCustomCallbacks(&custom);
    custom.u.v1.drawItemCallback = DrawValue;
    SetDataBrowserCustomCallbacks(f->browser, &custom);
    const Rect buttonBounds = {250, 300, 280, 380};
    CreatePushButtonControl(f->window, &buttonBounds, CFSTR("OK"), &f->button);
    SetControlCommandID(f->button, kHICommandOK);
    for (DataBrowserItemID item = 1; item <= 6; ++item) {
        AddDataBrowserItems(f->browser, kDataBrowserNoItem, 1, &item, 0);
        f->fields.push_back(nullptr);
    }
    ShowWindow(f->window);
}

void CheckInvariants(const Fixture& f) {
    ControlRef focus = nullptr;
    Check(GetKeyboardFocus(f.window, &focus) == noErr, "focus readable");
    bool focusIsField = focus == nullptr;
    for (ControlRef field : f.fields) {
        if (field == nullptr) continue;
        if (field == focus) focusIsField = true;
        Size size = 0;
        Check(GetControlDataSize(field, 0, kControlEditTextTextTag, &size) == noErr, "text size");
        std::string text(static_cast<size_t>(size), '\0');
        GetControlData(field, 0, kControlEditTextTextTag, size, size ? &text[0] : nullptr, &size);
        for (unsigned char c : text) Check(c >= 0x20 && c != 0x7F, "no control character");
        ControlEditTextSelectionRec sel;
        GetControlData(field, 0, kControlEditTextSelectionTag, sizeof sel, &sel, nullptr);
        CFStringRef shown = nullptr;
        GetControlData(field, 0, kControlEditTextCFStringTag, sizeof shown, &shown, nullptr);
        const CFIndex length = shown != nullptr ? CFStringGetLength(shown) : 0;
        if (shown != nullptr) CFRelease(shown);
        Check(sel.selStart >= 0 && sel.selStart <= sel.selEnd && sel.selEnd <= length, "selection");
    }
    Check(focusIsField, "focus is one of the fields");
    if (focus != nullptr) {
        Check(IsControlVisible(focus) && IsControlActive(focus) &&
                  GetControlHilite(focus) != kControlDisabledPart,
              "focus can take keys");
    }
    UInt32 top = 0, count = 0;
    GetDataBrowserScrollPosition(f.browser, &top, nullptr);
    GetDataBrowserItemCount(f.browser, kDataBrowserNoItem, false, 0, &count);
    Check(top <= (count * 40 > 170 ? count * 40 - 170 : 0), "scroll within the rows");
}

void Step(Fixture* f, const uint8_t*& p, const uint8_t* end) {
    auto next = [&]() -> uint8_t { return p < end ? *p++ : 0; };
    const uint8_t op = next();
    const uint8_t a = next();
    const uint8_t b = next();
    ControlRef someField = f->fields.empty() ? nullptr : f->fields[a % f->fields.size()];
    switch (op % 10) {
        case 0: {
            static const UInt32 kMods[] = {0, shiftKey, cmdKey, optionKey, cmdKey | shiftKey};
            HalyxPressKey(f->window, static_cast<UniChar>(a | (b & 0x80 ? (b & 0x7F) << 8 : 0)),
                          kMods[b % 5]);
            break;
        }
        case 1:
            HalyxPressTab(f->window, a & 1);
            break;
        case 2:
            HalyxClickPoint(f->window,
                            Point{static_cast<SInt16>(a + a / 5), static_cast<SInt16>(b + b / 2)},
                            b & 0x40 ? shiftKey : 0);
            break;
        case 3:
            if (someField != nullptr)
                HalyxClickControl(someField, 0);
            else
                HalyxClickControl(f->button, 0);
            break;
        case 4: {
            static const UInt32 kCommands[] = {kHICommandPaste, kHICommandOK, kHICommandSelectAll};
            HalyxSendCommand(f->window, kCommands[a % 3]);
            break;
        }
        case 5:
            HalyxScrollBrowser(f->browser, static_cast<int8_t>(a) * 4);
            break;
        case 6: {
            char text[9] = {0};
            for (int i = 0; i < 8 && p < end; ++i) text[i] = static_cast<char>(next() | 1);
            HalyxTypeText(f->window, text);
            HalyxSetScrapText(text);
            break;
        }
        case 7:
            if (a & 1) {
                if (f->fields.size() < kMaxRows) {
                    f->fields.push_back(nullptr);
                    const DataBrowserItemID item = f->fields.size();
                    AddDataBrowserItems(f->browser, kDataBrowserNoItem, 1, &item, 0);
                }
            } else if (!f->fields.empty()) {
                const DataBrowserItemID item = f->fields.size();
                RemoveDataBrowserItems(f->browser, kDataBrowserNoItem, 1, &item, 0);
                if (f->fields.back() != nullptr) DisposeControl(f->fields.back());
                f->fields.pop_back();
            }
            HalyxDrawWindow(f->window);
            break;
        case 8:
            if (someField == nullptr) break;
            switch (b % 4) {
                case 0:
                    SetControlVisibility(someField, b & 4, true);
                    break;
                case 1:
                    HiliteControl(someField, b & 4 ? kControlDisabledPart : kControlNoPart);
                    break;
                case 2:
                    b & 4 ? DeactivateControl(someField) : ActivateControl(someField);
                    break;
                default: {
                    const char bytes[4] = {static_cast<char>(a), '\n', static_cast<char>(b), 0x7F};
                    SetControlData(someField, 0, kControlEditTextTextTag, 4, bytes);
                    const ControlEditTextSelectionRec sel = {
                        static_cast<SInt16>(static_cast<int8_t>(a)),
                        static_cast<SInt16>(static_cast<int8_t>(b))};
                    SetControlData(someField, 0, kControlEditTextSelectionTag, sizeof sel, &sel);
                }
            }
            break;
        default:
            f->digitsOnly = a & 1;
            if (!f->fields.empty()) {
                RevealDataBrowserItem(f->browser, 1 + a % f->fields.size(), kValue, b & 3);
            }
            SetKeyboardFocus(f->window, someField,
                             b & 8 ? ControlFocusPart{kControlFocusNoPart}
                                   : ControlFocusPart{kControlEditTextPart});
            break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    HalyxResetBeeps();
    Fixture fixture;
    gFixture = &fixture;
    Build(&fixture);
    const uint8_t* p = data;
    const uint8_t* end = data + std::min<size_t>(size, 4096);
    while (p < end) {
        Step(&fixture, p, end);
        CheckInvariants(fixture);
    }
    DisposeWindow(fixture.window);
    for (CFStringRef title : fixture.titles) {
        if (title != nullptr) CFRelease(title);
    }
    HalyxSetScrapText(nullptr);
    gFixture = nullptr;
    return 0;
}

// Drives the job-notes editor of a pane built from one of the example PPDs with a stream of
// synthetic input: keys (control characters and Command keys included), Tab and Shift-Tab, clicks
// on fields, on points and on the Print button, the commands 'ok  ', 'past', 'sall', 'swin' and
// 'not!', scrolling, and the pane's own calls (commit, defaults, dropping and rebuilding its
// model's lists). After every step it checks what the editor promises and aborts when one breaks:
//   - the current field is none or one of the editor's fields;
//   - no note's field or text holds more characters than the editor lets be typed (its maximum,
//     at most 119 for an enciphered note) unless the PPD's default was already longer;
//   - a range field holds at most 32 characters, all digits or minus signs.
// Everything is released at the end of each stream, so leaks show under the leak checker.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "Core/CurrentPPD.h"
#include "Core/ORBJobNoteList.h"
#include "Core/ORBRangeList.h"
#include "Core/PDEBundle.h"
#include "Core/ui/EditorEntries.h"
#include "Core/ui/UI_EditControlList.h"
#include "Core/ui/UI_JobNotesBrowser.h"
#include "Core/ui/UI_Panel.h"
#include "CoreFoundation/CFBundle.h"
#include "CoreFoundation/CFURL.h"
#include "HIToolbox/HIToolbox.h"
#include "PPDObjects/Controls/PPDXJobNote.h"
#include "PPDObjects/Controls/PPDXRangeControl.h"
#include "parser/ORBPPD.h"

namespace {

const char* const kExamples[] = {HALYX_SOURCE_DIR "/examples/HalyxSample.ppd",
                                 HALYX_SOURCE_DIR "/examples/HalyxWorkgroup.ppd"};
constexpr size_t kExampleCount = sizeof kExamples / sizeof kExamples[0];
constexpr size_t kMaxSteps = 400;

ORBPPD* gModels[kExampleCount];
CFBundleRef gBundle = nullptr;

void Check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "editor promise broken: %s\n", what);
        std::abort();
    }
}

ORBPPD* Model(size_t index) {
    if (gModels[index] == nullptr) {
        CFURLRef url = CFURLCreateFromFileSystemRepresentation(
            nullptr, reinterpret_cast<const UInt8*>(kExamples[index]),
            static_cast<CFIndex>(std::strlen(kExamples[index])), false);
        gModels[index] = new ORBPPD(url, ORBPPD::kParseOrphans | ORBPPD::kParseHidden, nullptr);
        CFRelease(url);
        gModels[index]->Retain();
    }
    return gModels[index];
}

void UseBundle() {
    if (PDEBundle::Initialized()) return;
    const char path[] = HALYX_BINARY_DIR "/HalyxJobNotes.plugin";
    CFURLRef url =
        CFURLCreateFromFileSystemRepresentation(nullptr, reinterpret_cast<const UInt8*>(path),
                                                static_cast<CFIndex>(std::strlen(path)), true);
    gBundle = CFBundleCreate(nullptr, url);  // kept for the whole run; null leaves the keys
    CFRelease(url);
    PDEBundle::InitBundle(gBundle);
}

// Each stream starts from the PPD's own values.
void ResetEntries(ORBJobNoteList* notes, ORBRangeList* ranges) {
    for (LinkElement_Dual* at = notes->Head(); at != nullptr; at = at->next) {
        if (PPDXJobNote* note = static_cast<ORBJobNote*>(at)->Control())
            note->ResetToDefaultValue();
    }
    for (LinkElement_Dual* at = ranges->Head(); at != nullptr; at = at->next) {
        if (PPDXRangeControl* range = static_cast<ORBRange*>(at)->Control()) {
            range->ResetToDefaultValue();
        }
    }
}

long NoteLimit(const ORBJobNote* entry) {
    const char* initial = entry->Control()->GetDefaultNotes();
    const long defaultLength = initial != nullptr ? static_cast<long>(std::strlen(initial)) : 0;
    const long maximum = halyx_editor::MaxLengthOf(entry);
    return defaultLength > maximum ? defaultLength : maximum;
}

void CheckEditor(UI_Panel& panel) {
    UI_JobNotesBrowser* editor = panel.Editor();
    if (editor == nullptr) return;
    const UI_EditControlList* fields = editor->Fields();
    Check(editor->CurrentField() == nullptr ||
              (fields != nullptr && fields->Contains(editor->CurrentField())),
          "current field outside the list");
    if (fields == nullptr) return;
    char text[1024];
    for (LinkElement_Dual* at = fields->Head(); at != nullptr; at = at->next) {
        UI_EditControl* field = static_cast<UI_EditControl*>(at);
        if (const ORBJobNote* note = halyx_editor::NoteOf(field->Item())) {
            const long limit = NoteLimit(note);
            Check(field->getGlyphCount() <= limit, "note field longer than it may be typed");
            const char* stored = note->Control()->GetNotes();
            Check(stored == nullptr || static_cast<long>(std::strlen(stored)) <= limit,
                  "note text longer than it may be typed");
        } else if (halyx_editor::RangeOf(field->Item()) != nullptr) {
            Check(field->getGlyphCount() <= UI_JobNotesBrowser::kRangeFieldLimit,
                  "range field too long");
            field->getText(text, sizeof text);
            Check(std::strspn(text, "0123456789-") == std::strlen(text),
                  "range field holds more than digits");
        }
    }
}

struct Pane {
    WindowRef window = nullptr;
    ControlRef pane = nullptr;
    ControlRef print = nullptr;
    ORBPPD* model = nullptr;
    ORBJobNoteList* notes = nullptr;
    ORBRangeList* ranges = nullptr;
    UI_Panel* panel = nullptr;

    void MakeLists() {
        notes = new ORBJobNoteList(model, true);
        ranges = new ORBRangeList(*model);
        ResetEntries(notes, ranges);
    }
    void DropLists() {
        panel->ResetUI();
        delete ranges;
        delete notes;
        ranges = nullptr;
        notes = nullptr;
    }
};

UI_EditControl* FieldAt(const Pane& p, uint8_t pick) {
    const UI_EditControlList* fields = p.panel->Editor()->Fields();
    if (fields == nullptr || fields->Count() == 0) return nullptr;
    return static_cast<UI_EditControl*>(fields->index(static_cast<UInt16>(pick % fields->Count())));
}

const UInt32 kCommands[] = {kHICommandOK, kHICommandPaste, kHICommandSelectAll,
                            HALYX_FOUR_CHAR('s', 'w', 'i', 'n'), kHICommandCancel};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    UseBundle();
    Pane p;
    p.model = Model(data[0] % kExampleCount);
    gORBPPD = p.model;
    const Rect windowBounds = {0, 0, 600, 700};
    const Rect paneBounds = {0, 0, 450, 525};
    const Rect printBounds = {560, 600, 580, 680};
    CreateNewWindow(kDocumentWindowClass, kWindowNoAttributes, &windowBounds, &p.window);
    CreateUserPaneControl(p.window, &paneBounds, kControlSupportsEmbedding, &p.pane);
    CreatePushButtonControl(p.window, &printBounds, nullptr, &p.print);
    SetControlCommandID(p.print, kHICommandOK);
    p.MakeLists();
    p.panel = new UI_Panel(p.pane, p.notes, p.ranges);
    ShowWindow(p.window);
    HalyxResetBeeps();

    size_t at = 1;
    auto next = [&]() -> uint8_t { return at < size ? data[at++] : 0; };
    for (size_t step = 0; step < kMaxSteps && at < size && p.panel->Editor() != nullptr; ++step) {
        const uint8_t op = next();
        switch (op % 12) {
            case 0:
                HalyxPressKey(p.window, static_cast<UniChar>(0x20 + next() % 0x5F), 0);
                break;
            case 1: {
                const uint8_t c = next() % 33;
                HalyxPressKey(p.window, static_cast<UniChar>(c == 32 ? 0x7F : c), 0);
                break;
            }
            case 2: {
                const UniChar c = static_cast<UniChar>(next() << 8 | next());
                const uint8_t m = next();
                const UInt32 modifiers = ((m & 1) ? cmdKey : 0) | ((m & 2) ? shiftKey : 0) |
                                         ((m & 4) ? optionKey : 0) | ((m & 8) ? controlKey : 0);
                HalyxPressKey(p.window, (m & 16) ? c : static_cast<UniChar>(c & 0x7F), modifiers);
                break;
            }
            case 3:
                HalyxPressTab(p.window, (op & 0x80) != 0);
                break;
            case 4: {
                UI_EditControl* field = FieldAt(p, next());
                if (field != nullptr && field->Control() != nullptr) {
                    HalyxClickControl(field->Control(), (op & 0x80) ? shiftKey : 0);
                }
                break;
            }
            case 5: {
                const Point where = {static_cast<SInt16>(next() * 600 / 256),
                                     static_cast<SInt16>(next() * 700 / 256)};
                HalyxClickPoint(p.window, where, 0);
                break;
            }
            case 6:
                HalyxClickControl(p.print, 0);
                break;
            case 7:
                HalyxSendCommand(p.window,
                                 kCommands[next() % (sizeof kCommands / sizeof kCommands[0])]);
                break;
            case 8:
                HalyxScrollBrowser(p.panel->Editor()->Browser(), static_cast<int8_t>(next()) * 4);
                break;
            case 9: {
                std::string text;
                for (uint8_t n = next() % 48; n > 0 && at < size; --n) {
                    const uint8_t b = next();
                    if (b != 0) text += static_cast<char>(b);
                }
                HalyxTypeText(p.window, text.c_str());
                break;
            }
            case 10:
                if (op & 0x80) {
                    p.panel->Editor()->SetToDefaults();
                } else {
                    p.panel->CommitUserChanges();
                }
                HalyxDrawWindow(p.window);
                break;
            default:
                // The pane reloads from the ticket: the editor lets go, the lists are remade.
                p.DropLists();
                HalyxPressKey(p.window, 'a', 0);
                HalyxPressTab(p.window, false);
                p.MakeLists();
                p.panel->SyncUI(p.notes, p.ranges);
                HalyxDrawWindow(p.window);
                break;
        }
        CheckEditor(*p.panel);
    }
    p.panel->CommitUserChanges();
    CheckEditor(*p.panel);

    delete p.panel;
    DisposeWindow(p.window);
    delete p.ranges;
    delete p.notes;
    gORBPPD = nullptr;
    return 0;
}

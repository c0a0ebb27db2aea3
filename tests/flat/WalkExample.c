/* Walks a parsed PPD the way a C host would, through the plain functions only: its errors, pages
 * with their scroll panes, roll-downs and controls, the groups, the controls of each kind with
 * their values and PostScript, the popup items and the shortcuts. Every answer is checked against
 * another way of reaching the same object or value.
 *
 * Usage: flat_walk_test FILE [KEYWORD...]. Without keywords the file must parse without errors;
 * with them, an error must be reported for each keyword. A clean file must also hold at least one
 * object of every kind, so that no part of the walk passes by visiting nothing. Exit status 0 when
 * every check held. */
#include <stdio.h>
#include <string.h>

#include "ExampleModel.h"

#define MAX_OBJECTS 256
#define AS_ELEMENT(object) ((PPDXElement*)(object))
#define AS_CONTROL(object) ((PPDXControl*)(object))

static int gFailures = 0;

static void Check(int holds, const char* what, const char* keyword, int line) {
    if (holds) return;
    fprintf(stderr, "WalkExample.c:%d: %s (%s)\n", line, what, keyword ? keyword : "-");
    ++gFailures;
}

#define CHECK(condition, keyword) Check((condition) != 0, #condition, (keyword), __LINE__)

static const char* Text(const char* text) {
    return text != NULL ? text : "";
}

/* Runs the two-call protocol over a buffer with room to spare; returns the count, or -1 when the
 * calls disagree, the output does not fit or bytes were written past the count. */

static SInt32 TwoCalls(SInt32 size, SInt32 written, const char* buffer, size_t room) {
    if (size < 0 || (size_t)size >= room - 1) return -1;
    if (written != size || buffer[size] != '#') return -1;
    return size;
}

static SInt32 ControlPostScript(PPDXControl* control, char* buffer, size_t room) {
    memset(buffer, '#', room);
    SInt32 size = GetPostScript(control, NULL);
    if (size < 0 || (size_t)size >= room - 1) return -1;
    return TwoCalls(size, GetPostScript(control, buffer), buffer, room);
}

static int Contains(const char* buffer, SInt32 length, const char* text) {
    size_t needle = strlen(text);
    for (SInt32 at = 0; at + (SInt32)needle <= length; ++at)
        if (memcmp(buffer + at, text, needle) == 0) return 1;
    return 0;
}

/* --- Errors -------------------------------------------------------------------------------- */

static void WalkErrors(PPDXErrors* errors, char** expected, int expectedCount) {
    unsigned long walked = 0;
    int found[64] = {0};
    for (PPDXErrorObj* error = FirstError(errors); error != NULL; error = NextError(errors)) {
        ++walked;
        const char* keyword = GetErrorKeyword(error);
        if (keyword == NULL) continue;
        CHECK(keyword[0] != '\0', "error keyword");
        for (int i = 0; i < expectedCount && i < 64; ++i)
            if (strcmp(keyword, expected[i]) == 0) found[i] = 1;
    }
    CHECK(walked == ErrorCount(errors), "errors");
    CHECK(ErrorListIsEmpty(errors) == (walked == 0), "errors");
    if (expectedCount == 0) CHECK(walked == 0, "a clean file reports no error");
    for (int i = 0; i < expectedCount && i < 64; ++i) CHECK(found[i], expected[i]);

    /* A second walk starts again at the first record. */
    unsigned long again = 0;
    for (PPDXErrorObj* error = FirstError(errors); error != NULL; error = NextError(errors))
        ++again;
    CHECK(again == walked, "errors walked twice");
}

/* --- Pages, scroll panes and roll-downs ----------------------------------------------------- */

static void WalkRollDownControls(PPDXRollDown* rollDown) {
    PPDXControls* controls = GetRollDownControlList(rollDown);
    CHECK(controls != NULL, Keyword(AS_ELEMENT(rollDown)));
    CNTL_TYPE kind = 0;
    for (PPDXControl* control = GetFirst(controls, &kind); control != NULL;
         control = GetNext(controls, &kind)) {
        const char* keyword = Keyword(AS_ELEMENT(control));
        CHECK(kind >= CNTL_JOBNOTE && kind <= CNTL_SPECIAL, keyword);
        CHECK(!IsOrphan(AS_ELEMENT(control)), keyword);
        CHECK(EqualsElement(GetParent(AS_ELEMENT(control)), AS_ELEMENT(rollDown)), keyword);
    }
}

static void WalkScrollPane(PPDXScrollPane* pane, PPDXProperty* page) {
    const char* keyword = Keyword(AS_ELEMENT(pane));
    CHECK(IsScrollPane(AS_ELEMENT(pane)), keyword);
    CHECK(!IsRollDown(AS_ELEMENT(pane)) && !IsPropertyPage(AS_ELEMENT(pane)), keyword);
    CHECK(EqualsElement(GetParent(AS_ELEMENT(pane)), AS_ELEMENT(page)), keyword);

    PPDXGroups* rollDowns = GetScrollPaneRollDowns(pane);
    CHECK(rollDowns != NULL, keyword);
    UInt32 walked = 0;
    for (PPDXGroup* group = FirstGroup(rollDowns); group != NULL; group = NextGroup(rollDowns)) {
        ++walked;
        const char* name = Keyword(AS_ELEMENT(group));
        CHECK(IsRollDown(AS_ELEMENT(group)), name);
        CHECK(EqualsElement(GetParent(AS_ELEMENT(group)), AS_ELEMENT(pane)), name);
        WalkRollDownControls((PPDXRollDown*)group);
    }
    CHECK(walked == GroupCount(rollDowns), keyword);
}

static void WalkPages(PPDXProperties* pages) {
    PPDXProperty* all[MAX_OBJECTS];
    int count = 0;
    for (PPDXProperty* page = FirstProperty(pages); page != NULL && count < MAX_OBJECTS;
         page = NextProperty(pages))
        all[count++] = page;
    CHECK((UInt32)count == PropertyCount(pages), "pages");
    CHECK(IsPropertyListEmpty(pages) == (count == 0), "pages");

    for (int i = 0; i < count; ++i) {
        PPDXElement* page = AS_ELEMENT(all[i]);
        const char* keyword = Keyword(page);
        CHECK(keyword != NULL, "page keyword");
        CHECK(IsPropertyPage(page) && !IsRollDown(page) && !IsScrollPane(page), keyword);
        CHECK(IsOrphan(page), keyword);
        CHECK(FindProperty(pages, keyword, true) == all[i], keyword);
        CHECK(EqualsKeyWord(page, keyword), keyword);
        PPDXScrollPane* pane = GetPropertyScrollDown(all[i]);
        if (pane != NULL) WalkScrollPane(pane, all[i]);
    }
}

/* --- Groups ---------------------------------------------------------------------------------- */

static void WalkGroups(PPDXGroups* groups) {
    PPDXGroup* all[MAX_OBJECTS];
    int count = 0;
    for (PPDXGroup* group = FirstGroup(groups); group != NULL && count < MAX_OBJECTS;
         group = NextGroup(groups))
        all[count++] = group;
    CHECK((UInt32)count == GroupCount(groups), "groups");
    CHECK(IsGrouPointerListEmpty(groups) == (count == 0), "groups");

    for (int i = 0; i < count; ++i) {
        PPDXElement* group = AS_ELEMENT(all[i]);
        const char* keyword = Keyword(group);
        CHECK(keyword != NULL, "group keyword");
        CHECK(!IsPropertyPage(group), keyword);
        CHECK(FindGroup(groups, keyword, true) != NULL, keyword);
        CHECK(EqualsElement(AS_ELEMENT(FindGroup(groups, keyword, true)), group), keyword);
        if (IsRollDown(group)) CHECK(GetRollDownControlList((PPDXRollDown*)group) != NULL, keyword);
        if (IsScrollPane(group))
            CHECK(GetScrollPaneRollDowns((PPDXScrollPane*)group) != NULL, keyword);
    }
}

/* --- Controls -------------------------------------------------------------------------------- */

static void CheckFlags(PPDXControl* control) {
    const char* keyword = Keyword(AS_ELEMENT(control));
    UInt32 walked = 0;
    int setup = 0, command = 0;
    for (const char* flag = GetFirstControlFlag(control); flag != NULL;
         flag = GetNextControlFlag(control)) {
        ++walked;
        if (strcmp(flag, "Setup") == 0) setup = 1;
        if (strcmp(flag, "Command") == 0) command = 1;
    }
    CHECK(walked == GetControlFlagCount(control), keyword);
    CHECK(IsSetupControl(control) == (setup != 0), keyword);
    CHECK(IsCommandControl(control) == (command != 0), keyword);
}

static void CheckPopup(PPDXPopupControl* popup) {
    const char* keyword = Keyword(AS_ELEMENT(popup));
    char items[MAX_OBJECTS][64];
    int named[MAX_OBJECTS];
    int count = 0;
    PopupItemInfo record;
    for (bool more = FirstItem(popup, &record); more && count < MAX_OBJECTS;
         more = NextItem(popup, &record)) {
        CHECK(record.keyword != NULL, keyword);
        snprintf(items[count], sizeof items[count], "%s", Text(record.keyword));
        named[count++] = record.displayName != NULL;
    }
    CHECK((UInt32)count == PopupItemCount(popup), keyword);
    CHECK(record.keyword == NULL && record.displayName == NULL, keyword);

    char buffer[1024];
    char choice[1024];
    for (int i = 0; i < count; ++i) {
        const char* item = items[i];
        CHECK(SetKeywordSelect(popup, item, true), item);
        CHECK(IsKeywordSelected(popup, item), item);
        if (!CanSelectMultipleItems(popup)) CHECK(GetPopupValue(popup) == i + 1, item);
        if (named[i]) CHECK(GetKeywordLocalName(popup, item) != NULL, item);

        /* The current item's feature block is the one asked for by the item's keyword. */
        SInt32 current = ControlPostScript(AS_CONTROL(popup), buffer, sizeof buffer);
        CHECK(current > 0 && Contains(buffer, current, item), item);
        CHECK(PopupPostScript(popup, NULL) == current, item);
        memset(choice, '#', sizeof choice);
        SInt32 size = GetKeywordPSData(popup, item, NULL);
        CHECK(
            TwoCalls(size, GetKeywordPSData(popup, item, choice), choice, sizeof choice) == current,
            item);
        CHECK(current > 0 && memcmp(buffer, choice, (size_t)current) == 0, item);
    }
    CHECK(!SetKeywordSelect(popup, "NoSuchChoice", true), keyword);

    ResetControlToDefault(AS_CONTROL(popup));
    const char* defaultKeyword = GetDefaultKeyword(popup);
    if (defaultKeyword != NULL) {
        CHECK(GetPopupDefaultValue(popup) > 0, keyword);
        CHECK(IsKeywordSelected(popup, defaultKeyword), keyword);
        CHECK(GetPopupValue(popup) == GetPopupDefaultValue(popup), keyword);
    }
    SetPopupValue(popup, (SInt32)count + 1);
    CHECK(GetPopupValue(popup) == 0, "a position past the items selects none");
    ResetControlToDefault(AS_CONTROL(popup));
}

static void CheckBoolean(PPDXBooleanControl* control) {
    const char* keyword = Keyword(AS_ELEMENT(control));
    char buffer[1024];
    bool initial = DefaultState(control);
    CHECK(IsTrue(control) == initial, keyword);

    SetValue(control, !initial);
    CHECK(IsTrue(control) == !initial, keyword);
    SInt32 size = ControlPostScript(AS_CONTROL(control), buffer, sizeof buffer);
    CHECK(size > 0 && Contains(buffer, size, initial ? " False\n" : " True\n"), keyword);
    CHECK(BooleanPostScript(control, NULL) == size, keyword);

    ResetControlToDefault(AS_CONTROL(control));
    CHECK(IsTrue(control) == initial, keyword);
    (void)TrueDisplayText(control);
    (void)FalseDisplayText(control);
}

static void CheckRange(PPDXRangeControl* control) {
    const char* keyword = Keyword(AS_ELEMENT(control));
    SInt32 minimum = GetRangeMinimum(control);
    SInt32 maximum = GetRangeMaximum(control);
    CHECK(minimum <= GetRangeDefaultVal(control), keyword);
    CHECK(GetRangeDefaultVal(control) <= maximum, keyword);
    CHECK(GetRangeIncrement(control) >= 0, keyword);

    SetRangeValue(control, maximum + 1000);
    CHECK(GetRangeValue(control) <= maximum, keyword);
    char buffer[1024];
    char value[32];
    snprintf(value, sizeof value, "%ld", (long)GetRangeValue(control));
    SInt32 size = ControlPostScript(AS_CONTROL(control), buffer, sizeof buffer);
    CHECK(size > 0 && Contains(buffer, size, value), keyword);
    CHECK(RangePostScript(control, NULL) == size, keyword);

    ResetControlToDefault(AS_CONTROL(control));
    CHECK(GetRangeValue(control) == GetRangeDefaultVal(control), keyword);
}

static void WalkControls(PPDXControls* controls) {
    PPDXControl* all[MAX_OBJECTS];
    CNTL_TYPE kinds[MAX_OBJECTS];
    UInt32 perKind[CNTL_SPECIAL + 1] = {0};
    int count = 0;
    CNTL_TYPE kind = 0;
    for (PPDXControl* control = GetFirst(controls, &kind); control != NULL && count < MAX_OBJECTS;
         control = GetNext(controls, &kind)) {
        CHECK(kind >= CNTL_JOBNOTE && kind <= CNTL_SPECIAL, Keyword(AS_ELEMENT(control)));
        if (kind > CNTL_SPECIAL) continue;
        all[count] = control;
        kinds[count++] = kind;
        ++perKind[kind];
    }
    CHECK(perKind[CNTL_POPUP] == GetPopupCount(controls), "popups");
    CHECK(perKind[CNTL_BOOLEAN] == GetBooleanCount(controls), "booleans");
    CHECK(perKind[CNTL_JOBNOTE] == GetJobnoteCount(controls), "job notes");
    /* Float ranges walk as ranges but are not counted with the whole-number ones. */
    CHECK(perKind[CNTL_RANGE] >= GetRangeCount(controls), "ranges");
    CHECK(GetControlCount(controls) == GetPopupCount(controls) + GetBooleanCount(controls) +
                                           GetRangeCount(controls) + GetJobnoteCount(controls),
          "controls");
    CHECK(GetEmpty(controls) == (GetControlCount(controls) == 0), "controls");
    CHECK(GetNoPopups(controls) == (perKind[CNTL_POPUP] == 0), "popups");
    CHECK(GetNoBooleanControls(controls) == (perKind[CNTL_BOOLEAN] == 0), "booleans");
    CHECK(GetNoJobNotes(controls) == (perKind[CNTL_JOBNOTE] == 0), "job notes");
    CHECK(GetNoRangeControls(controls) == (GetRangeCount(controls) == 0), "ranges");

    for (int i = 0; i < count; ++i) {
        const char* keyword = Keyword(AS_ELEMENT(all[i]));
        CNTL_TYPE found = 0;
        CHECK(Find(controls, keyword, &found, true) == all[i], keyword);
        CHECK(found == kinds[i], keyword);
        CHECK(IsValidControlKeyword(all[i], keyword), keyword);
        CheckFlags(all[i]);
    }

    /* The typed walks reach the same controls as the kind searches. */
    UInt32 walked = 0;
    for (PPDXPopupControl* popup = GetFirstPopupControl(controls); popup != NULL;
         popup = GetNextPopupControl(controls)) {
        ++walked;
        CHECK(GetFindPopup(controls, Keyword(AS_ELEMENT(popup)), true) == popup, "popup");
    }
    CHECK(walked == GetPopupCount(controls), "popups");
    walked = 0;
    for (PPDXBooleanControl* control = GetFirstBooleanControl(controls); control != NULL;
         control = GetNextBooleanControl(controls)) {
        ++walked;
        CHECK(GetFindBoolean(controls, Keyword(AS_ELEMENT(control)), true) == control, "boolean");
    }
    CHECK(walked == GetBooleanCount(controls), "booleans");
    walked = 0;
    for (PPDXRangeControl* control = GetFirstRangeControl(controls); control != NULL;
         control = GetNextRangeControl(controls)) {
        ++walked;
        CHECK(GetFindRangeControl(controls, Keyword(AS_ELEMENT(control)), true) == control,
              "range");
    }
    CHECK(walked == GetRangeCount(controls), "ranges");
    walked = 0;
    for (PPDXJobNote* note = GetFirstJobNote(controls); note != NULL;
         note = GetNextJobNote(controls)) {
        ++walked;
        CHECK(GetFindJobNote(controls, Keyword(AS_ELEMENT(note)), true) == note, "job note");
    }
    CHECK(walked == GetJobnoteCount(controls), "job notes");

    /* Values and PostScript, one control at a time (their own walks are independent). */
    for (int i = 0; i < count; ++i) {
        const char* keyword = Keyword(AS_ELEMENT(all[i]));
        if (kinds[i] == CNTL_POPUP) CheckPopup(GetFindPopup(controls, keyword, true));
        if (kinds[i] == CNTL_BOOLEAN) CheckBoolean(GetFindBoolean(controls, keyword, true));
        if (kinds[i] == CNTL_RANGE && GetFindRangeControl(controls, keyword, true) != NULL)
            CheckRange(GetFindRangeControl(controls, keyword, true));
    }
}

/* --- Shortcuts ------------------------------------------------------------------------------- */

static void WalkShortcuts(PPDXShortcuts* shortcuts, PPDXControls* controls) {
    PPDXPopupControl* all[MAX_OBJECTS];
    int count = 0;
    for (PPDXPopupControl* popup = FirstShortcut(shortcuts); popup != NULL && count < MAX_OBJECTS;
         popup = NextShortcut(shortcuts))
        all[count++] = popup;
    CHECK((UInt32)count == GetShortcutCount(shortcuts), "shortcuts");
    CHECK(IsShortcutsListEmpty(shortcuts) == (count == 0), "shortcuts");

    int duplex = 0;
    for (int i = 0; i < count; ++i) {
        const char* keyword = Keyword(AS_ELEMENT(all[i]));
        CHECK(GetFindPopup(controls, keyword, true) == all[i], keyword);
        CHECK(FindShortcut(shortcuts, keyword, true) == all[i], keyword);
        if (strcmp(Text(keyword), "*QZDuplex") == 0) {
            duplex = 1;
            CHECK(GetDuplexShortcut(shortcuts) == all[i], keyword);
        }
    }
    if (!duplex) CHECK(GetDuplexShortcut(shortcuts) == NULL, "duplex shortcut");
    CHECK(FindShortcut(shortcuts, "*NoSuchShortcut", true) == NULL, "shortcuts");
}

int main(int argc, char** argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: %s FILE [KEYWORD...]\n", argv[0]);
        return 2;
    }
    ShowEverything();
    ExampleModel* model = OpenExampleModel(argv[1]);
    if (model == NULL) {
        fprintf(stderr, "%s: cannot be opened\n", argv[1]);
        return 1;
    }
    CHECK(ExampleModelIsValid(model), argv[1]);
    WalkErrors(ExampleErrors(model), argv + 2, argc - 2);
    WalkPages(ExamplePages(model));
    WalkGroups(ExampleGroups(model));
    WalkControls(ExampleControls(model));
    WalkShortcuts(ExampleShortcuts(model), ExampleControls(model));
    if (argc == 2) {
        CHECK(PropertyCount(ExamplePages(model)) > 0, "pages");
        CHECK(GroupCount(ExampleGroups(model)) > 0, "groups");
        PPDXControls* controls = ExampleControls(model);
        CHECK(!GetNoPopups(controls) && !GetNoBooleanControls(controls), "controls");
        CHECK(!GetNoRangeControls(controls) && !GetNoJobNotes(controls), "controls");
        CHECK(!IsShortcutsListEmpty(ExampleShortcuts(model)), "shortcuts");
    }
    printf(
        "%s: %u pages, %u groups, %u popups, %u booleans, %u ranges, %u job notes, "
        "%u shortcuts, %lu errors\n",
        argv[1], (unsigned)PropertyCount(ExamplePages(model)),
        (unsigned)GroupCount(ExampleGroups(model)), (unsigned)GetPopupCount(ExampleControls(model)),
        (unsigned)GetBooleanCount(ExampleControls(model)),
        (unsigned)GetRangeCount(ExampleControls(model)),
        (unsigned)GetJobnoteCount(ExampleControls(model)),
        (unsigned)GetShortcutCount(ExampleShortcuts(model)), ErrorCount(ExampleErrors(model)));
    CloseExampleModel(model);

    if (gFailures != 0) fprintf(stderr, "%s: %d checks failed\n", argv[1], gFailures);
    return gFailures == 0 ? 0 : 1;
}

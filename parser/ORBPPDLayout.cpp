// Where options appear: property pages, group names, the scroll panes and roll-downs hung under
// them, the installable-options block and the shortcut list; after the walk, the shortcuts and
// the group names no block used; after a rebuild from a store, the parent links.
#include <cstring>
#include <new>

#include "PPDObjects/GroupIndex.h"
#include "PPDObjects/PPDXControls.h"
#include "PPDObjects/PPDXGroup.h"
#include "PPDObjects/PPDXGroups.h"
#include "PPDObjects/PPDXProperties.h"
#include "PPDObjects/PPDXProperty.h"
#include "PPDObjects/PPDXRollDown.h"
#include "PPDObjects/PPDXScrollPane.h"
#include "PPDObjects/PPDXShortcuts.h"
#include "foundation/CString.h"
#include "foundation/PPDXErrorObj.h"
#include "foundation/PointerList.h"
#include "parser/GroupName.h"
#include "parser/ORBPPD.h"
#include "parser/ORBPPDFields.h"
#include "parser/PPDStream.h"

using namespace ORBPPDFields;

namespace {

constexpr const char* kInstallableGroup = "InstallableOptions";

// The words after a definition's translation that this file understands.
struct LayoutWords {
    bool visible = false;                                      // "True"
    bool showInPrintProp = true;                               // cleared by "App"
    bool showInApp = true;                                     // cleared by "Prop"
    enum Kind { kNone, kScrollPane, kRollDown } kind = kNone;  // the last of the two words
};

LayoutWords ReadWords(PPDStream& line) {
    LayoutWords words;
    char word[PPDX::kTokenBufferSize];
    while (PPDX::NextToken(line, word, kWordEnd, true)) {
        if (std::strcmp(word, "True") == 0)
            words.visible = true;
        else if (std::strcmp(word, "App") == 0)
            words.showInPrintProp = false;
        else if (std::strcmp(word, "Prop") == 0)
            words.showInApp = false;
        else if (std::strcmp(word, "Scrollpane") == 0)
            words.kind = LayoutWords::kScrollPane;
        else if (std::strcmp(word, "Rolldown") == 0)
            words.kind = LayoutWords::kRollDown;
    }
    return words;
}

// Releases a translation when the handler leaves.
struct TranslationHolder {
    CFStringRef value = nullptr;
    ~TranslationHolder() {
        if (value != nullptr) CFRelease(value);
    }
};

// The collections never own their members and drop one they have no room to list; the model
// deletes only what they list, so whatever they dropped is deleted here. False in that case.
// An element whose name could not be stored is of no use either.
bool AddPage(PPDXProperties* pages, PPDXProperty* page) {
    UInt32 before = pages->Count();
    if (page->Keyword() != nullptr) pages->Add(page);
    if (pages->Count() != before) return true;
    delete page;
    return false;
}

bool AddGroup(PPDXGroups* groups, PPDXGroup* group) {
    DisplayOptionsScope all(DISPLAY_ALL);
    UInt32 before = groups->Count();
    if (group->Keyword() != nullptr) groups->Add(group);
    if (groups->Count() != before) return true;
    delete group;
    return false;
}

}  // namespace

PPDXErrorObj* ORBPPD::ParsePropertyPage(PPDStream& line) {
    char name[kTokenBufferSize];
    if (!NextToken(line, name, kNameEnd, true))
        return NewError(kErrPageWithoutName, nullptr, false);
    if (mProperties == nullptr) return nullptr;
    if (mProperties->Find(name, true) != nullptr) return NewError(kErrDefinedTwice, nullptr, false);
    char field[kTokenBufferSize];
    if (!NextToken(line, field, kTranslationEnd, false)) return nullptr;
    TranslationHolder translation;
    translation.value = ConvertTranslation(field);
    LayoutWords words = ReadWords(line);
    if (!words.visible && !ParseHidden()) return nullptr;
    PPDXProperty* page = new (std::nothrow) PPDXProperty(name, translation.value, words.visible,
                                                         words.showInPrintProp, words.showInApp);
    if (page == nullptr || !AddPage(mProperties, page)) return NewError(kErrNoMemory, name, false);
    return nullptr;
}

PPDXErrorObj* ORBPPD::ParseGroupName(PPDStream& line) {
    char name[kTokenBufferSize];
    if (!NextToken(line, name, kNameEnd, true))
        return NewError(kErrGroupWithoutName, nullptr, false);
    if (mGroups != nullptr && mGroups->Find(name, true) != nullptr)
        return NewError(kErrDefinedTwice, name, false);
    char field[kTokenBufferSize];
    if (!NextToken(line, field, kTranslationEnd, false)) return nullptr;
    TranslationHolder translation;
    translation.value = ConvertTranslation(field);
    LayoutWords words = ReadWords(line);
    if (!words.visible && !ParseHidden()) return nullptr;
    AddGroupNameToList(name, translation.value, words.visible);
    return nullptr;
}

// A scroll pane hangs under a property page, a roll-down under a scroll pane; the child must be a
// group name announced before. A child that is already a group is not made a second time.
PPDXErrorObj* ORBPPD::ParseParent(PPDStream& line) {
    char child[kTokenBufferSize];
    char parent[kTokenBufferSize];
    if (!NextToken(line, child, kNameEnd, true)) return NewError(kErrBadParentLine, nullptr, false);
    if (!NextToken(line, parent, kNameEnd, true)) return NewError(kErrBadParentLine, child, false);
    LayoutWords words = ReadWords(line);
    if (!words.visible && !ParseHidden()) return nullptr;
    GroupName* record = FindGroupNameFromList(child);
    if (record == nullptr || mGroups == nullptr) return nullptr;
    if (words.kind == LayoutWords::kNone) return nullptr;
    if (mGroups->Find(child, true) != nullptr) return NewError(kErrDefinedTwice, child, false);

    if (words.kind == LayoutWords::kScrollPane) {
        PPDXProperty* page = mProperties != nullptr ? mProperties->Find(parent, true) : nullptr;
        if (page == nullptr) return NewError(kErrNoSuchParent, parent, false);
        PPDXScrollPane* pane =
            new (std::nothrow) PPDXScrollPane(*record->mName, record->mTranslation, words.visible);
        if (pane == nullptr) return NewError(kErrNoMemory, child, false);
        pane->SetParent(page);
        if (!AddGroup(mGroups, pane)) return NewError(kErrNoMemory, child, false);
        page->SetScrollDown(pane);
        return nullptr;
    }
    PPDXScrollPane* pane = dynamic_cast<PPDXScrollPane*>(mGroups->Find(parent, true));
    if (pane == nullptr) return NewError(kErrNoSuchParent, parent, false);
    PPDXRollDown* rollDown =
        new (std::nothrow) PPDXRollDown(*record->mName, record->mTranslation, words.visible);
    if (rollDown == nullptr) return NewError(kErrNoMemory, child, false);
    rollDown->SetParent(pane);
    if (!AddGroup(mGroups, rollDown)) return NewError(kErrNoMemory, child, false);
    if (pane->RollDowns() != nullptr) pane->RollDowns()->Add(rollDown);
    return nullptr;
}

PPDXErrorObj* ORBPPD::ParseShortcut(PPDStream& line) {
    char keyword[kTokenBufferSize];
    if (!NextToken(line, keyword, kLineEnd, true) || keyword[0] == '\0') return nullptr;
    if (!PPDXControl::ValidKeyword(keyword)) return NewError(kErrBadShortcut, keyword, false);
    CString* pending = new (std::nothrow) CString(keyword);
    if (pending == nullptr || mPendingStrings.PushBack(pending) == PointerListItr()) {
        delete pending;
        return NewError(kErrNoMemory, keyword, false);
    }
    return nullptr;
}

// Only the group "InstallableOptions" opens the block; a second such line reuses its roll-down.
PPDXErrorObj* ORBPPD::ParseOpenGroup(PPDStream& line) {
    char name[kTokenBufferSize];
    if (!NextToken(line, name, kNameEnd, true) || std::strcmp(name, kInstallableGroup) != 0)
        return nullptr;
    mInstallableOptions = true;
    if (mInstallableRollDown != nullptr || mGroups == nullptr) return nullptr;
    char field[kTokenBufferSize];
    TranslationHolder translation;
    if (NextToken(line, field, kNameEnd, true)) translation.value = ConvertTranslation(field);
    mInstallableRollDown =
        new (std::nothrow) PPDXRollDown(kInstallableGroup, translation.value, true);
    if (mInstallableRollDown == nullptr || !AddGroup(mGroups, mInstallableRollDown)) {
        mInstallableRollDown = nullptr;
        return NewError(kErrNoMemory, kInstallableGroup, false);
    }
    return nullptr;
}

PPDXErrorObj* ORBPPD::ParseCloseGroup(PPDStream& line) {
    char name[kTokenBufferSize];
    if (NextToken(line, name, kNameEnd, true) && std::strcmp(name, kInstallableGroup) == 0)
        mInstallableOptions = false;
    return nullptr;
}

void ORBPPD::AddGroupNameToList(const char* name, CFStringRef translation, bool visible) {
    if (name == nullptr || mGroups == nullptr) return;
    if (mGroups->Find(name, true) != nullptr) return;
    if (mProperties != nullptr && mProperties->Find(name, true) != nullptr) return;
    GroupName* record = new (std::nothrow) GroupName(name, translation, visible);
    if (record == nullptr) return;
    if (record->mName == nullptr || mGroupNames.PushBack(record) == PointerListItr()) delete record;
}

GroupName* ORBPPD::FindGroupNameFromList(const char* name) {
    if (name == nullptr) return nullptr;
    for (PointerListItr at = mGroupNames.Begin(); at != mGroupNames.End(); ++at) {
        GroupName* record = static_cast<GroupName*>(*at);
        if (record->mName != nullptr && *record->mName == name) return record;
    }
    return nullptr;
}

PPDXGroup* ORBPPD::FindAndCreateParent(const char* name) {
    if (mGroups == nullptr) return nullptr;
    GroupName* record = FindGroupNameFromList(name);
    if (record == nullptr) return nullptr;
    PPDXGroup* group = mGroups->Find(*record->mName, true);
    if (group != nullptr) return group;
    group = new (std::nothrow) PPDXGroup(*record->mName, record->mTranslation, record->mVisible);
    if (group == nullptr || !AddGroup(mGroups, group)) return nullptr;
    return group;
}

void ORBPPD::ResolveShortcuts() {
    PointerList controls;
    for (PointerListItr at = mPendingStrings.Begin(); at != mPendingStrings.End(); ++at) {
        const CString* keyword = static_cast<const CString*>(*at);
        PPDXControl* control =
            mControls != nullptr ? mControls->Find(*keyword, nullptr, true) : nullptr;
        if (control != nullptr)
            controls.PushBack(control);
        else
            AddError(kErrBadShortcut, *keyword, false);
    }
    delete mShortcuts;
    mShortcuts = new (std::nothrow) PPDXShortcuts(controls);
}

void ORBPPD::CollectOrphanGroups() {
    if (!ParseOrphans() || mGroups == nullptr) return;
    for (PointerListItr at = mGroupNames.Begin(); at != mGroupNames.End(); ++at) {
        GroupName* record = static_cast<GroupName*>(*at);
        if (record->mName == nullptr || record->mName->Empty()) continue;
        if (mGroups->Find(*record->mName, true) != nullptr) continue;
        PPDXGroup* group =
            new (std::nothrow) PPDXGroup(*record->mName, record->mTranslation, record->mVisible);
        if (group != nullptr) AddGroup(mGroups, group);
    }
}

void ORBPPD::ClearStringList(PointerList& list) {
    while (!list.Empty()) {
        delete static_cast<CString*>(list.Back());
        list.PopBack();
    }
}

void ORBPPD::ClearGroupNameList() {
    while (!mGroupNames.Empty()) {
        delete static_cast<GroupName*>(mGroupNames.Back());
        mGroupNames.PopBack();
    }
}

bool ORBPPD::ResolveHeirarchy() {
    if (mGroups == nullptr) return true;
    // Every member is reached, whatever the process shows.
    DisplayOptionsScope all(DISPLAY_ALL);
    GroupIndex index(*mGroups);
    bool whole = true;
    for (PPDXGroup* group = mGroups->First(); group != nullptr; group = mGroups->Next()) {
        const char* parentName = group->PendingParentKeyword();
        PPDXElement* parent = nullptr;
        PPDXScrollPane* pane = dynamic_cast<PPDXScrollPane*>(group);
        PPDXRollDown* rollDown = pane == nullptr ? dynamic_cast<PPDXRollDown*>(group) : nullptr;
        if (parentName != nullptr && parentName[0] != '\0') {
            if (pane != nullptr && mProperties != nullptr)
                parent = mProperties->Find(parentName, true);
            else if (rollDown != nullptr)
                parent = dynamic_cast<PPDXScrollPane*>(index.Find(parentName));
        }
        // A keyword nobody answers ends as no parent. The name goes with the pending link, so
        // it is not looked at after this.
        group->ResolveParent(parent);
        if (parent == nullptr) continue;
        if (pane != nullptr) {
            static_cast<PPDXProperty*>(parent)->SetScrollDown(pane);
        } else {
            PPDXGroups* rollDowns = static_cast<PPDXScrollPane*>(parent)->RollDowns();
            if (rollDowns == nullptr) continue;
            UInt32 before = rollDowns->Count();
            rollDowns->Add(rollDown);
            if (rollDowns->Count() == before) whole = false;
        }
    }
    if (mControls == nullptr) return whole;
    for (PPDXControl* control = mControls->First(nullptr); control != nullptr;
         control = mControls->Next(nullptr))
        if (!PPDXControls::LinkParent(control, index)) whole = false;
    return whole;
}

// The flagged option blocks: a "*%ORBFlags" line naming an option, an optional "*%ORBGroup" line
// placing it, then its definition (a standard option block, a job note or a range). Standard
// blocks become popups (PickOne, PickMany) and Boolean controls.
#include <cstdlib>
#include <cstring>
#include <new>

#include "PPDObjects/Controls/PPDXBooleanControl.h"
#include "PPDObjects/Controls/PPDXPopupControl.h"
#include "PPDObjects/Controls/PPDXSpecialOption.h"
#include "PPDObjects/PPDXControls.h"
#include "PPDObjects/PPDXGroups.h"
#include "PPDObjects/PPDXRollDown.h"
#include "foundation/CString.h"
#include "foundation/PPDXErrorObj.h"
#include "foundation/PointerList.h"
#include "parser/KeywordTo_PPDControl.h"
#include "parser/ORBPPD.h"
#include "parser/ORBPPDFields.h"
#include "parser/PPDFileStream.h"
#include "parser/PPDStream.h"

using namespace ORBPPDFields;

namespace {

constexpr const char* kGroupKeyword = "*%ORBGroup";
constexpr const char* kJobNoteKeyword = "*%ORBJobNote";
constexpr const char* kRangeKeyword = "*%ORBRange";
constexpr const char* kUnitRangeKeyword = "*%ORBUnitRange";
constexpr const char* kOrderDependency = "*OrderDependency";
constexpr const char* kExactDefault = "*Default";

constexpr const char* kBlockStarts[] = {"*OpenUI", "*QZOpenUI", "*OpenUIORB", "*BeginUI"};
constexpr const char* kBlockEnds[] = {"*CloseUI", "*QZCloseUI", "*CloseUIORB", "*EndUI"};

template <size_t N>
bool OneOf(const char* text, const char* const (&set)[N]) {
    for (const char* entry : set)
        if (std::strcmp(text, entry) == 0) return true;
    return false;
}

bool IsBlockStart(const char* keyword) {
    return OneOf(keyword, kBlockStarts);
}

bool IsBlockEnd(const char* field) {
    return OneOf(field, kBlockEnds);
}

// The parts of an option line's first field, "*Option Choice/Translation".
struct OptionLine {
    char choice[PPDX::kTokenBufferSize];
    char translation[PPDX::kTokenBufferSize];
};

// Splits `field` into choice and translation (empty when absent); false without a choice.
bool SplitOptionField(const char* field, OptionLine& out) {
    PPDStream stream(field, static_cast<long>(std::strlen(field)));
    char keyword[PPDX::kTokenBufferSize];
    out.choice[0] = out.translation[0] = '\0';
    PPDX::NextToken(stream, keyword, kKeywordEnd, true);
    if (!PPDX::NextToken(stream, out.choice, kNameEnd, true)) return false;
    if (!PPDX::NextToken(stream, out.translation, nullptr, true)) out.translation[0] = '\0';
    return out.choice[0] != '\0';
}

// Whether a line was read: the last line of a file may lack its line end, and is then handed out
// with a false result.
bool LineRead(bool gotLine, const char* text) {
    return gotLine || text[0] != '\0';
}

// A popup's choices until they are handed to the control.
void DeleteItems(PointerList& items) {
    while (!items.Empty()) {
        delete static_cast<_PopupItem*>(items.Back());
        items.PopBack();
    }
}

}  // namespace

// The keyword index answers by hash while the walk fills it, so a file of many blocks is not
// searched once per block. The index holds every popup, Boolean, range and job note of the walk;
// special options are looked up in their own short list. Only when the first control of a keyword
// is one the display filter hides (so that a later one of the same keyword may be listed) does the
// collection's own search decide.
bool ORBPPD::ControlDefined(const char* keyword) {
    if (mControls == nullptr) return false;
    if (mKeywordIndex == nullptr) return mControls->Find(keyword, nullptr, true) != nullptr;
    const _DISPLAY_OPTIONS_ options = Options();
    PPDXControl* control = mKeywordIndex->Lookup(keyword);
    if (control == nullptr) control = mControls->FindSpecialOption(keyword, true);
    if (control == nullptr) return false;
    if (control->OkayToDisplay(options)) return true;
    return mControls->Find(keyword, nullptr, true) != nullptr;
}

PPDXErrorObj* ORBPPD::ParseControl(PPDStream& line) {
    char keyword[kTokenBufferSize];
    if (!NextToken(line, keyword, kKeywordEnd, true) || keyword[0] == '\0')
        return NewError(kErrBadFlagsLine, nullptr, false);
    if (ControlDefined(keyword)) return NewError(kErrDefinedTwice, nullptr, false);

    PointerList flagStrings;
    char word[kTokenBufferSize];
    while (NextToken(line, word, kWordEnd, true)) {
        if (word[0] == '\0') continue;
        CString* flag = new (std::nothrow) CString(word);
        if (flag != nullptr && flagStrings.PushBack(flag) == PointerListItr()) delete flag;
    }

    // Every handler below hands the flag words to the control it creates and empties the list;
    // whatever is left when no control was made is deleted here.
    PPDXErrorObj* result = nullptr;
    char next[PPDFileStream::kJoinedLineBufferSize];
    PPDStream* file = CurrentStream();
    if (file != nullptr && LineRead(NextLine(*file, next), next)) {
        PPDStream definition(next, static_cast<long>(std::strlen(next)));
        char defining[kTokenBufferSize];
        if (NextToken(definition, defining, kKeywordEnd, true)) {
            if (std::strcmp(defining, kGroupKeyword) == 0)
                result = ParseGroup(definition, keyword, flagStrings);
            else if (IsBlockStart(defining))
                result = ParseOpenUI(definition, keyword, flagStrings, nullptr);
            else
                result = NewError(kErrBadFlagsLine, keyword, false);
        }
    }
    ClearStringList(flagStrings);
    return result;
}

PPDXErrorObj* ORBPPD::ParseGroup(PPDStream& line, const char* keyword, PointerList& flagStrings) {
    char field[kTokenBufferSize];
    if (!NextToken(line, field, kKeywordEnd, true))
        return NewError(kErrBadGroupLine, nullptr, false);
    if (std::strcmp(field, keyword) != 0) return nullptr;
    char groupName[kTokenBufferSize];
    if (!NextToken(line, groupName, kNameEnd, true)) return nullptr;

    PPDXGroup* group = mGroups != nullptr ? mGroups->Find(groupName, true) : nullptr;
    if (group == nullptr) group = FindAndCreateParent(groupName);

    char next[PPDFileStream::kJoinedLineBufferSize];
    PPDStream* file = CurrentStream();
    if (file == nullptr || !LineRead(NextLine(*file, next), next)) return nullptr;
    PPDStream definition(next, static_cast<long>(std::strlen(next)));
    char defining[kTokenBufferSize];
    if (!NextToken(definition, defining, kKeywordEnd, true)) return nullptr;
    if (std::strcmp(defining, kJobNoteKeyword) == 0) {
        PPDXGroup* rollDown = dynamic_cast<PPDXRollDown*>(group);
        return ParseJobNote(definition, keyword, flagStrings, rollDown);
    }
    if (std::strcmp(defining, kRangeKeyword) == 0 || std::strcmp(defining, kUnitRangeKeyword) == 0)
        return ParseRange(definition, keyword, flagStrings, group);
    if (IsBlockStart(defining)) return ParseOpenUI(definition, keyword, flagStrings, group);
    return NewError(kErrBadGroupLine, keyword, false);
}

PPDXErrorObj* ORBPPD::ParseOpenUI(PPDStream& line, const char* keyword, PointerList& flagStrings,
                                  PPDXGroup* group) {
    char field[kTokenBufferSize];
    if (!NextToken(line, field, kNameEnd, true))
        return NewError(kErrBlockWithoutKeyword, keyword, false);
    // Without a translation the type word is read as one, and the type is then missing.
    CFStringRef translation = nullptr;
    if (NextToken(line, field, kTranslationEnd, true)) translation = ConvertTranslation(field);

    PPDXErrorObj* result;
    if (!NextToken(line, field, kUITypeEnd, true))
        result = NewError(kErrBadUIType, keyword, false);
    else if (std::strcmp(field, "Boolean") == 0)
        result = ParseBooleanControl(keyword, translation, flagStrings, group);
    else if (std::strcmp(field, "PickOne") == 0)
        result = ParsePopupControl(keyword, translation, flagStrings, group, false);
    else if (std::strcmp(field, "PickMany") == 0)
        result = ParsePopupControl(keyword, translation, flagStrings, group, true);
    else
        result = NewError(kErrBadUIType, keyword, false);
    if (translation != nullptr) CFRelease(translation);
    return result;
}

PPDXErrorObj* ORBPPD::ParsePopupControl(const char* keyword, CFStringRef translation,
                                        PointerList& flagStrings, PPDXGroup* group,
                                        const bool& multiple) {
    PointerList items;
    CString* defaultChoice = nullptr;
    PPDXErrorObj* pending = nullptr;
    bool closed = false;
    PPDStream* file = CurrentStream();
    char text[PPDFileStream::kJoinedLineBufferSize];
    char value[kMaxPostScriptValue];
    while (!closed && file != nullptr && LineRead(NextLine(*file, text), text)) {
        PPDStream line(text, static_cast<long>(std::strlen(text)));
        char field[kTokenBufferSize];
        while (!closed && NextToken(line, field, kTranslationEnd, true)) {
            if (IsBlockEnd(field)) {
                closed = true;
            } else if (std::strcmp(field, kOrderDependency) == 0) {
                continue;
            } else if (BeginsWith(field, kDefaultPrefix)) {
                // "*Default" names the option before its choice; "*Def..." gives the choice alone.
                char choice[kTokenBufferSize];
                bool found;
                if (std::strcmp(field, kExactDefault) == 0)
                    found = NextToken(line, choice, kNameEnd, true) &&
                            std::strcmp(choice, keyword) == 0 &&
                            NextToken(line, choice, kWordEnd, true);
                else
                    found = NextToken(line, choice, kNameEnd, true);
                if (!found) continue;
                if (defaultChoice == nullptr)
                    defaultChoice = new (std::nothrow) CString(choice);
                else if (pending == nullptr)
                    pending = NewError(kErrBadPopupBlock, keyword, true);
            } else if (BeginsWith(field, keyword)) {
                OptionLine option;
                bool named = SplitOptionField(field, option);
                unsigned long length = GetPostscriptString(line, value, kMaxPostScriptValue);
                if (!named) continue;
                _PopupItem* item = new (std::nothrow) _PopupItem();
                if (item == nullptr) continue;
                item->mKeyword = new (std::nothrow) CString(option.choice);
                item->mLocalName = ConvertTranslation(option.translation);
                item->mPSData = CopyInvocation(value, length);
                item->mPSLength = item->mPSData != nullptr ? static_cast<SInt32>(length) : 0;
                if (items.PushBack(item) == PointerListItr()) delete item;
            }
        }
    }
    if (!closed && pending == nullptr) pending = NewError(kErrBadPopupBlock, keyword, true);

    bool installable = mInstallableOptions && mInstallableRollDown != nullptr;
    if (pending == nullptr && defaultChoice == nullptr) AddError(kErrNoDefault, keyword, false);
    if (pending == nullptr && group == nullptr && !installable && !ParseOrphans())
        pending = NewError(kErrOrphanControl, keyword, false);
    PPDXPopupControl* popup = nullptr;
    if (pending == nullptr) {
        popup = new (std::nothrow) PPDXPopupControl(keyword, translation, flagStrings, true,
                                                    multiple, items, defaultChoice);
        if (popup == nullptr) pending = NewError(kErrNoMemory, keyword, false);
    }
    if (popup == nullptr) {
        DeleteItems(items);
        delete defaultChoice;
        return pending;
    }
    flagStrings.MakeEmpty();
    SetupControl(group, popup, true);
    if (mKeywordIndex != nullptr) mKeywordIndex->insert(keyword, popup);
    return nullptr;
}

// A Boolean block reads like a popup's, with two choices, "True" and "False". A choice of any
// other name ends the block at its block end with error 9 and no control, so that the definitions
// after the block are still read.
PPDXErrorObj* ORBPPD::ParseBooleanControl(const char* keyword, CFStringRef translation,
                                          PointerList& flagStrings, PPDXGroup* group) {
    struct Choice {
        CString* text = nullptr;
        unsigned char* code = nullptr;
        long length = 0;
        void Replace(CString* newText, unsigned char* newCode, long newLength) {
            delete text;
            std::free(code);
            text = newText;
            code = newCode;
            length = newLength;
        }
    } choices[2];  // false, true
    bool defaultSeen = false;
    bool defaultIsTrue = false;
    bool badChoice = false;
    bool closed = false;
    PPDStream* file = CurrentStream();
    char text[PPDFileStream::kJoinedLineBufferSize];
    char value[kMaxPostScriptValue];
    while (!closed && file != nullptr && LineRead(NextLine(*file, text), text)) {
        PPDStream line(text, static_cast<long>(std::strlen(text)));
        char field[kTokenBufferSize];
        while (!closed && NextToken(line, field, kTranslationEnd, true)) {
            if (IsBlockEnd(field)) {
                closed = true;
            } else if (badChoice || std::strcmp(field, kOrderDependency) == 0) {
                continue;
            } else if (BeginsWith(field, kDefaultPrefix)) {
                defaultSeen = true;
                char choice[kTokenBufferSize];
                if (NextToken(line, choice, kNameEnd, true) && std::strcmp(choice, "True") == 0)
                    defaultIsTrue = true;
            } else if (BeginsWith(field, keyword)) {
                OptionLine option;
                SplitOptionField(field, option);
                unsigned long length = GetPostscriptString(line, value, kMaxPostScriptValue);
                bool isTrue = std::strcmp(option.choice, "True") == 0;
                if (!isTrue && std::strcmp(option.choice, "False") != 0) {
                    badChoice = true;
                    continue;
                }
                unsigned char* code = CopyInvocation(value, length);
                choices[isTrue].Replace(
                    SystemText(GetTextConverter(), option.translation, sizeof option.translation),
                    code, code != nullptr ? static_cast<long>(length) : 0);
            }
        }
    }

    PPDXErrorObj* error = nullptr;
    bool create = false;
    bool installable = mInstallableOptions && mInstallableRollDown != nullptr;
    if (badChoice) {
        error = NewError(kErrBadBooleanChoice, keyword, false);
    } else if (closed) {
        if (!defaultSeen) AddError(kErrNoDefault, keyword, false);
        if (group == nullptr && !installable && !ParseOrphans())
            error = NewError(kErrOrphanControl, keyword, false);
        else
            create = true;
    }
    PPDXBooleanControl* control = nullptr;
    if (create) {
        control = new (std::nothrow) PPDXBooleanControl(
            keyword, translation, flagStrings, true, choices[1].text, choices[1].code,
            choices[1].length, choices[0].text, choices[0].code, choices[0].length, defaultIsTrue);
        if (control == nullptr) error = NewError(kErrNoMemory, keyword, true);
    }
    if (control == nullptr) {
        choices[0].Replace(nullptr, nullptr, 0);
        choices[1].Replace(nullptr, nullptr, 0);
        return error;
    }
    flagStrings.MakeEmpty();
    SetupControl(group, control, true);
    if (mKeywordIndex != nullptr) mKeywordIndex->insert(keyword, control);
    return nullptr;
}

PPDXPopupControl* ORBPPD::PPDCreatePopupMenu(const char* groupName, const char* keyword,
                                             const char* translation, PointerList& items,
                                             CString* defaultChoice) {
    if (mControls == nullptr) return nullptr;
    CFStringRef converted = ConvertTranslation(translation);
    AddGroupNameToList(groupName, converted, true);
    PPDXGroup* group =
        mGroups != nullptr && groupName != nullptr ? mGroups->Find(groupName, true) : nullptr;
    PointerList noFlags;
    PPDXPopupControl* popup = new (std::nothrow)
        PPDXPopupControl(keyword, converted, noFlags, true, false, items, defaultChoice);
    if (converted != nullptr) CFRelease(converted);
    if (popup != nullptr) SetupControl(group, popup, true);
    return popup;
}

// On false the items and the default stay the caller's.
bool ORBPPD::PPDReconcilePopupMenu(const char* keyword, const char* name, PointerList& items,
                                   CString* defaultChoice) {
    if (mControls == nullptr) return false;
    CNTL_TYPE type;
    PPDXControl* control = mControls->Find(keyword, &type, true);
    if (control == nullptr || type != CNTL_POPUP) return false;
    return static_cast<PPDXPopupControl*>(control)->Rebuild(name, items, defaultChoice);
}

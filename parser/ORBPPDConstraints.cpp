// Constraint and requires lines, the queries that turn a control and a value into the controls
// and choices it constrains, and a text dump of the constraint map.
#include <cinttypes>
#include <cstring>
#include <new>

#include "PPDObjects/Controls/PPDXBooleanControl.h"
#include "PPDObjects/Controls/PPDXPopupControl.h"
#include "PPDObjects/PPDXControl.h"
#include "foundation/CString.h"
#include "parser/CStringSoup.h"
#include "parser/ConstraintForest.h"
#include "parser/ItemConstraintList.h"
#include "parser/KeywordTo_PPDControl.h"
#include "parser/ORBPPD.h"
#include "parser/PPDStream.h"
#include "parser/SharedConstraintRec.h"

namespace {

constexpr PPDX::Stops kFieldDelimiters{" \t"};

// The next blank-separated field of a constraint line into `field`; empty when there is none.
bool NextField(PPDStream& line, char* field) {
    line.SkipWhiteSpace();
    if (PPDX::NextToken(line, field, kFieldDelimiters, true)) return true;
    field[0] = '\0';
    return false;
}

// One field of a constraint line, where it stands: `length` bytes at `text`, no NUL among them.
struct FieldSpan {
    const char* text = "";
    size_t length = 0;
};

FieldSpan Span(const char* text) {
    return FieldSpan{text, std::strlen(text)};
}

// The field as a terminated text: itself when it already is `buffer` (kTokenBufferSize bytes),
// else copied there.
const char* Terminated(const FieldSpan& field, char* buffer) {
    if (field.text == buffer) return buffer;
    std::memcpy(buffer, field.text, field.length);
    buffer[field.length] = '\0';
    return buffer;
}

// Reads a field straight from the line's bytes the way NextField does: blanks skipped, then the
// run up to the next blank, which is consumed. False when the run holds a byte the token reader
// treats specially (NUL, CR, LF) or is too long to be one token. `ranOut` tells whether the read
// reached the end of the bytes.
bool PlainField(const char*& at, const char* end, FieldSpan& field, bool& ranOut) {
    while (at < end && (*at == ' ' || *at == '\t')) ++at;
    const char* begin = at;
    at = kFieldDelimiters.Find(begin, end);
    if (at < end && *at != ' ' && *at != '\t') return false;
    const size_t length = static_cast<size_t>(at - begin);
    if (length >= static_cast<size_t>(PPDX::kMaxTokenLength)) return false;
    field.text = begin;
    field.length = length;
    ranOut = at == end;
    if (!ranOut) ++at;
    return true;
}

// The fields of a constraint line read in place, with the stream left where reading them with
// NextField leaves it; `bad` is set for a choice without a second keyword. False, with the stream
// untouched, when the line needs the field reader.
bool PlainConstraint(PPDStream& line, FieldSpan& k1, FieldSpan& o1, FieldSpan& k2, FieldSpan& o2,
                     bool& bad) {
    const char* at = line.Cursor();
    const char* const end = line.Limit();
    bool ranOut = false;
    FieldSpan second;
    if (!PlainField(at, end, k1, ranOut) || !PlainField(at, end, second, ranOut)) return false;
    if (second.length > 0 && second.text[0] == '*') {
        k2 = second;
    } else {
        o1 = second;
        if (!PlainField(at, end, k2, ranOut)) return false;
        bad = second.length > 0 && k2.length == 0;
    }
    if (!bad && !PlainField(at, end, o2, ranOut)) return false;
    line.Advance(at, ranOut);
    return true;
}

// The bytes from a keyword field through the choice field after it on a plain line; the keyword
// alone when there is no choice.
size_t PairLength(const FieldSpan& keyword, const FieldSpan& choice) {
    return choice.length > 0 ? static_cast<size_t>(choice.text + choice.length - keyword.text)
                             : keyword.length;
}

// The 1-based position of the popup's first item named `choice`, or kNoChoice.
UInt16 ChoicePosition(PPDXPopupControl* popup, const char* choice) {
    UInt32 position = 1;
    for (_PopupItem* item = popup->FirstItem(); item != nullptr;
         item = popup->NextItem(), ++position) {
        if (item->mKeyword != nullptr && *item->mKeyword == choice)
            return position < SharedConstraintRec::kNoChoice ? static_cast<UInt16>(position)
                                                             : SharedConstraintRec::kNoChoice;
    }
    return SharedConstraintRec::kNoChoice;
}

// The keyword of the popup's item at 1-based `position`, or null.
const char* ChoiceAt(PPDXPopupControl* popup, long position) {
    long at = 1;
    for (_PopupItem* item = popup->FirstItem(); item != nullptr; item = popup->NextItem(), ++at)
        if (at == position)
            return item->mKeyword != nullptr ? static_cast<const char*>(*item->mKeyword) : nullptr;
    return nullptr;
}

const char* Printable(const char* text) {
    return text != nullptr ? text : "";
}

}  // namespace

PPDXErrorObj* ORBPPD::ParseUIConstraint(PPDStream& line, bool requires) {
    FieldSpan k1, o1, k2, o2;
    char k1Text[kTokenBufferSize];
    char o1Text[kTokenBufferSize];
    char k2Text[kTokenBufferSize];
    char o2Text[kTokenBufferSize];
    bool bad = false;
    // Most lines are plain "*Key1 Choice1 *Key2 Choice2": their fields are interned where they
    // stand, without copies, each keyword with its choice. The others are read field by field.
    const bool plain = PlainConstraint(line, k1, o1, k2, o2, bad);
    if (!plain) {
        o1Text[0] = '\0';
        o2Text[0] = '\0';  // a bad line reads no second choice
        NextField(line, k1Text);
        char second[kTokenBufferSize];
        bool haveSecond = NextField(line, second);
        if (second[0] == '*') {
            std::memcpy(k2Text, second, sizeof second);
        } else {
            std::memcpy(o1Text, second, sizeof second);
            NextField(line, k2Text);
            bad = haveSecond && k2Text[0] == '\0';
        }
        if (!bad) NextField(line, o2Text);
        k1 = Span(k1Text);
        o1 = Span(o1Text);
        k2 = Span(k2Text);
        o2 = Span(o2Text);
    }
    if (bad) {
        return NewError(kErrBadConstraint, Terminated(k1, k1Text), false);
    }

    ConstraintForest* forest = requires ? mRequires : mConstraints;
    if (mStringSoup == nullptr || forest == nullptr) return nullptr;
    long o2Id = -1, k2Id = -1, o1Id = -1, k1Id = -1;
    if (plain) {
        // Interned second choice first, as below.
        if (mStringSoup->InsertPair(k2.text, PairLength(k2, o2), k2.length, o2.length, k2Id, o2Id))
            mStringSoup->InsertPair(k1.text, PairLength(k1, o1), k1.length, o1.length, k1Id, o1Id);
    } else {
        o2Id = mStringSoup->Insert(o2.text, o2.length);
        k2Id = mStringSoup->Insert(k2.text, k2.length);
        o1Id = mStringSoup->Insert(o1.text, o1.length);
        k1Id = mStringSoup->Insert(k1.text, k1.length);
    }
    if (o2Id < 0 || k2Id < 0 || o1Id < 0 || k1Id < 0 || !forest->insert(k1Id, o1Id, k2Id, o2Id)) {
        return NewError(kErrNoMemory, Terminated(k1, k1Text), false);
    }
    return nullptr;
}

long ORBPPD::GetConstraintList(void* control, long value, SharedConstraintRec** out) {
    return CommonGetForestList(static_cast<PPDXControl*>(control), value, out, mConstraints);
}

long ORBPPD::GetRequiresList(void* control, SharedConstraintRec** out) {
    PPDXControl* target = static_cast<PPDXControl*>(control);
    long value = 0;
    if (target != nullptr && target->Type() == CNTL_POPUP)
        value = static_cast<PPDXPopupControl*>(target)->GetValue();
    else if (target != nullptr && target->Type() == CNTL_BOOLEAN)
        value = static_cast<PPDXBooleanControl*>(target)->IsTrue() ? 1 : 0;
    return CommonGetForestList(target, value, out, mRequires);
}

void ORBPPD::ReleaseConstraintList(SharedConstraintRec*& list) {
    delete[] list;
    list = nullptr;
}

void ORBPPD::ReleaseRequiresList(SharedConstraintRec*& list) {
    delete[] list;
    list = nullptr;
}

long ORBPPD::CommonGetForestList(PPDXControl* control, long value, SharedConstraintRec** out,
                                 ConstraintForest* forest) {
    if (out != nullptr) *out = nullptr;
    if (control == nullptr || forest == nullptr || mStringSoup == nullptr ||
        mKeywordIndex == nullptr)
        return 0;
    long k1 = mStringSoup->Find(mKeywordIndex->Lookup(control));

    const char* choice = "";
    if (control->Type() == CNTL_POPUP) {
        PPDXPopupControl* popup = static_cast<PPDXPopupControl*>(control);
        choice = value >= 1 && value <= static_cast<long>(popup->ItemCount())
                     ? ChoiceAt(popup, value)
                     : nullptr;
    } else if (control->Type() == CNTL_BOOLEAN) {
        choice = value != 0 ? "True" : "False";
    }
    long choiceId = choice != nullptr ? mStringSoup->Find(choice) : -1;
    ItemConstraintList* specific =
        choiceId >= 0 ? forest->GetConstraintList(k1, choiceId) : nullptr;
    ItemConstraintList* general = forest->GetConstraintList(k1, -1);

    unsigned long specificCount = specific != nullptr ? specific->size() : 0;
    unsigned long generalCount = general != nullptr ? general->size() : 0;
    long count = static_cast<long>(specificCount + generalCount);
    if (count > 0 && out != nullptr) {
        *out = new (std::nothrow) SharedConstraintRec[count];
        if (*out == nullptr) {
            count = 0;
        } else {
            ProcessConstraintList(specific, *out, 0, specificCount);
            ProcessConstraintList(general, *out, specificCount, generalCount);
        }
    }
    delete specific;
    delete general;
    return count;
}

void ORBPPD::ProcessConstraintList(const ItemConstraintList* list, SharedConstraintRec* out,
                                   unsigned long first, unsigned long count) {
    if (list == nullptr || out == nullptr || mStringSoup == nullptr || mKeywordIndex == nullptr)
        return;
    for (unsigned long i = 0; i < count && i < list->size(); ++i) {
        ItemConstraintList::Pair pair = (*list)[i];
        PPDXControl* control = mKeywordIndex->Lookup(mStringSoup->Find(pair.first));
        const char* choice = mStringSoup->Find(pair.second);
        UInt16 index = SharedConstraintRec::kNoChoice;
        if (control != nullptr && control->Type() == CNTL_POPUP && choice != nullptr &&
            choice[0] != '\0')
            index = ChoicePosition(static_cast<PPDXPopupControl*>(control), choice);
        out[first + i].control = control;
        out[first + i].index = index;
    }
}

void ORBPPD::DumpConstraintMap(FILE* stream, ConstraintForest* forest, const char* title) {
    if (stream == nullptr) return;
    std::fprintf(stream, "--- %s ---\n", Printable(title));
    if (mKeywordIndex == nullptr || mStringSoup == nullptr) return;
    for (unsigned long e = 0; e < mKeywordIndex->size(); ++e) {
        const KeywordTo_PPDControl::Entry& entry = (*mKeywordIndex)[e];
        const char* keyword = Printable(entry.mKeyword);
        std::fprintf(stream, "%s = %08" PRIxPTR "\n", keyword,
                     reinterpret_cast<uintptr_t>(entry.mControl));
        long keywordId = mStringSoup->Find(keyword);
        for (unsigned long j = 0; j < mStringSoup->size(); ++j) {
            const char* text = Printable(mStringSoup->Find(static_cast<long>(j)));
            std::fprintf(stream, "GetConstraintList: %s(%d), %s(%d)\n", keyword,
                         static_cast<int>(keywordId), text, static_cast<int>(j));
            ItemConstraintList* list =
                forest != nullptr ? forest->GetConstraintList(keywordId, static_cast<long>(j))
                                  : nullptr;
            if (list == nullptr) continue;
            for (unsigned long i = 0; i < list->size(); ++i) {
                ItemConstraintList::Pair pair = (*list)[i];
                std::fprintf(stream, "*UIConstraints: %s %s %s %s\n", keyword, text,
                             Printable(mStringSoup->Find(pair.first)),
                             Printable(mStringSoup->Find(pair.second)));
            }
            delete list;
        }
    }
}

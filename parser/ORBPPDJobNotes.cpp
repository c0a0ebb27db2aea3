// The free-value definitions: job notes (met directly or inside a flagged block), ranges (inside a
// flagged block only) and special options.
#include <cstdlib>
#include <cstring>
#include <new>

#include "Files/FileForks.h"
#include "PPDObjects/Controls/PPDXJobNote.h"
#include "PPDObjects/Controls/PPDXRangeControl.h"
#include "PPDObjects/Controls/PPDXSpecialOption.h"
#include "PPDObjects/PPDXGroups.h"
#include "foundation/CString.h"
#include "foundation/PPDXErrorObj.h"
#include "foundation/PPDXErrors.h"
#include "foundation/PointerList.h"
#include "foundation/SameText.h"
#include "parser/KeywordTo_PPDControl.h"
#include "parser/ORBPPD.h"
#include "parser/ORBPPDFields.h"
#include "parser/PPDFile.h"
#include "parser/PPDFileStream.h"
#include "parser/PPDStream.h"

using namespace ORBPPDFields;

namespace {

// The group a job note goes into when its block names no roll-down.
constexpr const char* kNotesGroup = "FPQZNotes";
// The word whose trailing digits give a job note's minimum length (block form only).
constexpr const char* kMinLengthWord = "MinLength";
constexpr size_t kMinLengthWordLength = 9;

// The job-note flag words, by index; the supported-extensions mask accepts a prefix of them.
constexpr const char* kFlagWords[] = {
    "Alpha",         "Numeric", "Decimal",      "Required",   "Remembered", "Password",
    "AlwaysDisplay", "Resume",  "Member",       "OnOfSwitch", "LengthReq",  "SecPrint",
    "Command",       "Space",   "Negative",     "Encrypt",    "MultiSpace", "MultiComma",
    "LCD",           "Hyphen",  "TwoCharField", "NoComma",    "MinLength"};
constexpr int kFlagWordCount = sizeof(kFlagWords) / sizeof(kFlagWords[0]);

// The highest flag index a mask value accepts.
int LastAcceptedFlag(_EXTENSIONS_SUPPORT_ mask) {
    switch (mask) {
        case 0:
            return 8;
        case 1:
            return 11;
        case 2:
            return 14;
        default:
            return kFlagWordCount - 1;
    }
}

// The minimum length the characters after "MinLength" give: none 0, one or two digits their
// value, and negative codes for what cannot be read (-1 not a digit first, -3 a digit and a
// non-digit, -2 more than two characters).
long MinLengthFrom(const char* rest) {
    size_t length = std::strlen(rest);
    if (length == 0) return 0;
    bool firstDigit = rest[0] >= '0' && rest[0] <= '9';
    if (!firstDigit) return -1;
    if (length == 1) return rest[0] - '0';
    if (length > 2) return -2;
    if (rest[1] < '0' || rest[1] > '9') return -3;
    return (rest[0] - '0') * 10 + (rest[1] - '0');
}

// What a job-note line says before the line that follows it is examined.
struct JobNoteFields {
    char keyword[PPDX::kTokenBufferSize];
    CFStringRef translation = nullptr;
    long maxLength = 0;
    long minLength = 0;
    JobNoteFlag flags = 0;

    ~JobNoteFields() {
        if (translation != nullptr) CFRelease(translation);
    }
};

// The shared reading of both job-note forms: keyword, translation, maximum length and flag words.
// `flaggedKeyword` is null for the direct form. Answers false with `error` set (possibly null) when
// the definition is dropped.
bool ReadJobNoteFields(ORBPPD& ppd, PPDStream& line, const char* flaggedKeyword,
                       JobNoteFields& fields, PPDXErrorObj*& error) {
    error = nullptr;
    bool haveKeyword = PPDX::NextToken(line, fields.keyword, kNameEnd, true);
    if (!haveKeyword) fields.keyword[0] = '\0';
    if (flaggedKeyword == nullptr) {
        if (!haveKeyword) {
            error = ORBPPD::NewError(ORBPPD::kErrBadJobNote, nullptr, false);
            return false;
        }
    } else if (!haveKeyword || std::strcmp(fields.keyword, flaggedKeyword) != 0) {
        error = ORBPPD::NewError(ORBPPD::kErrBadJobNote, fields.keyword, false);
        return false;
    }

    char field[PPDX::kTokenBufferSize];
    if (!PPDX::NextToken(line, field, kTranslationEnd, false)) return false;
    fields.translation = ppd.ConvertTranslation(field);

    if (!PPDX::NextToken(line, field, kWordEnd, true)) return false;
    fields.maxLength = DecimalValue(field);

    int lastAccepted = LastAcceptedFlag(ORBPPD::GetExtensions());
    while (PPDX::NextToken(line, field, kWordEnd, true)) {
        if (flaggedKeyword != nullptr &&
            std::strncmp(field, kMinLengthWord, kMinLengthWordLength) == 0) {
            fields.minLength = MinLengthFrom(field + kMinLengthWordLength);
            field[kMinLengthWordLength] = '\0';
        }
        for (int index = 0; index < kFlagWordCount; ++index) {
            if (!SameText(field, kFlagWords[index])) continue;
            if (index > lastAccepted) {
                error = ORBPPD::NewError(ORBPPD::kErrFlagNotSupported, fields.keyword, false);
                return false;
            }
            fields.flags |= JobNoteFlag(1) << index;
            break;
        }
    }
    return true;
}

// The walk's buffer ended inside the line that `line` holds the start of: the rest is still in the
// file, at the fork's mark. It is read ahead for the decision only, and the mark is put back, so
// the stream reads the same bytes when it goes on.
void CompleteFromFile(PPDFile* file, char* line) {
    if (file == nullptr || !file->dataForkOpen()) return;
    FSIORefNum fork = file->getDataForkRefNum();
    SInt32 mark = 0;
    if (GetFPos(fork, &mark) != noErr) return;
    char rest[PPDStream::kMaxLineLength];
    long count = sizeof rest;
    OSErr status = file->dataForkRead(rest, count);
    SetFPos(fork, fsFromStart, mark);
    if (status != noErr && status != eofErr) return;
    size_t length = std::strlen(line);
    for (long i = 0; i < count && rest[i] != '\n' && rest[i] != '\r' && rest[i] != '\0' &&
                     length < static_cast<size_t>(PPDFileStream::kMaxJoinedLineLength);
         ++i)
        line[length++] = rest[i];
    line[length] = '\0';
}

// The line after a job note may give its default ("*%De..." lines) or its invocation (the note's
// keyword written as a comment, "*%Notes1" for "*Notes1"), never both. A line that gives neither,
// or that is too long for a line buffer, stays for the main walk. The line is consumed before its
// value is read, so an invocation that goes on over further lines is read from where it continues.
void TakeJobNoteFollower(ORBPPD& ppd, PPDStream* file, PPDFile* source, const char* keyword,
                         CString*& defaultValue, unsigned char*& invocation,
                         long& invocationLength) {
    if (file == nullptr) return;
    char peeked[PPDFileStream::kJoinedLineBufferSize];
    PPDStream cursor(*file);
    if (!cursor.GetLine(peeked)) {
        if (cursor.LineWasCut()) return;
        CompleteFromFile(source, peeked);
        if (peeked[0] == '\0') return;
    }
    PPDStream peekLine(peeked, static_cast<long>(std::strlen(peeked)));
    char follower[PPDX::kTokenBufferSize];
    if (!PPDX::NextToken(peekLine, follower, kKeywordEnd, true)) return;
    bool isDefault = BeginsWith(follower, "*%De");
    bool isInvocation = !isDefault && std::strlen(follower) >= 2 && keyword[0] != '\0' &&
                        std::strcmp(follower + 2, keyword + 1) == 0;
    if (!isDefault && !isInvocation) return;

    char taken[PPDFileStream::kJoinedLineBufferSize];
    if (!file->GetLine(taken) && taken[0] == '\0') return;
    PPDStream line(taken, static_cast<long>(std::strlen(taken)));
    PPDX::NextToken(line, follower, kKeywordEnd, true);
    if (isDefault) {
        char value[PPDX::kTokenBufferSize];
        if (PPDX::NextToken(line, value, kWordEnd, true) && value[0] != '\0')
            defaultValue = new (std::nothrow) CString(value);
        return;
    }
    // On the stack: a heap block this size costs more than the read.
    char value[PPDX::kMaxPostScriptValue] = {};
    unsigned long length = ppd.GetPostscriptString(line, value, PPDX::kMaxPostScriptValue);
    invocation = CopyInvocation(value, length);
    invocationLength = invocation != nullptr ? static_cast<long>(length) : 0;
}

}  // namespace

PPDXErrorObj* ORBPPD::ParseJobNote(PPDStream& line) {
    PointerList noFlags;
    return ParseJobNote(line, nullptr, noFlags, nullptr);
}

// With a null `keyword` this is the direct form: any keyword is taken, "MinLength" digits are not
// read, and the note gets no flag words.
PPDXErrorObj* ORBPPD::ParseJobNote(PPDStream& line, const char* keyword, PointerList& flagStrings,
                                   PPDXGroup* group) {
    JobNoteFields fields;
    PPDXErrorObj* error = nullptr;
    if (!ReadJobNoteFields(*this, line, keyword, fields, error)) return error;

    CString* defaultValue = nullptr;
    unsigned char* invocation = nullptr;
    long invocationLength = 0;
    TakeJobNoteFollower(*this, CurrentStream(), File(), fields.keyword, defaultValue, invocation,
                        invocationLength);

    CString encoding(LanguageEncoding());
    PPDXJobNote* note = new (std::nothrow) PPDXJobNote(
        fields.keyword, fields.translation, flagStrings, invocation, invocationLength, defaultValue,
        &encoding, true, fields.maxLength, fields.flags, keyword != nullptr ? fields.minLength : 0);
    if (note == nullptr) {
        std::free(invocation);
        delete defaultValue;
        return NewError(kErrNoMemory, fields.keyword, false);
    }
    // The note owns the flag words now.
    flagStrings.MakeEmpty();
    if (group == nullptr && mGroups != nullptr) group = mGroups->Find(kNotesGroup, true);
    SetupControl(group, note, false);
    if (mKeywordIndex != nullptr) mKeywordIndex->insert(fields.keyword, note);
    return nullptr;
}

PPDXErrorObj* ORBPPD::ParseRange(PPDStream& line, const char* keyword, PointerList& flagStrings,
                                 PPDXGroup* group) {
    char field[kTokenBufferSize];
    if (!NextToken(line, field, kNameEnd, true) || std::strcmp(field, keyword) != 0)
        return NewError(kErrBadRange, field, false);
    if (!NextToken(line, field, kTranslationEnd, false)) return nullptr;
    CFStringRef translation = ConvertTranslation(field);

    long numbers[4];  // minimum, maximum, increment, default
    line.SkipWhiteSpace();
    char open = 0;
    bool readable = line.GetChar(open) && open == '(';
    for (int i = 0; readable && i < 4; ++i) {
        readable = NextToken(line, field, kNumberEnd, true);
        if (readable) numbers[i] = DecimalValue(field);
    }
    if (!readable) {
        if (translation != nullptr) CFRelease(translation);
        return NewError(kErrBadRange, keyword, false);
    }

    unsigned char* invocation = nullptr;
    unsigned long length = 0;
    {
        char value[kMaxPostScriptValue] = {};
        length = GetPostscriptString(line, value, kMaxPostScriptValue);
        invocation = CopyInvocation(value, length);
    }
    if (invocation == nullptr) {
        length = 0;
        AddError(kErrRangeWithoutCode, keyword, false);
    }

    PPDXErrorObj* error = nullptr;
    // A range outside any group is an orphan, unless the installable-options roll-down takes it.
    bool installable = mInstallableOptions && mInstallableRollDown != nullptr;
    if (group == nullptr && !installable && !ParseOrphans()) {
        error = NewError(kErrOrphanControl, keyword, false);
        std::free(invocation);
    } else {
        PPDXRangeControl* range = new (std::nothrow) PPDXRangeControl(
            keyword, translation, flagStrings, invocation, static_cast<long>(length), numbers[0],
            numbers[1], numbers[2], numbers[3], true);
        if (range == nullptr) {
            std::free(invocation);
            error = NewError(kErrNoMemory, keyword, false);
        } else {
            flagStrings.MakeEmpty();
            SetupControl(group, range, true);
            if (mKeywordIndex != nullptr) mKeywordIndex->insert(keyword, range);
        }
    }
    if (translation != nullptr) CFRelease(translation);
    return error;
}

PPDXErrorObj* ORBPPD::ParseSpecialOption(PPDStream& line) {
    char name[kTokenBufferSize];
    char value[kTokenBufferSize];
    if (!NextToken(line, name, kTranslationEnd, true)) return nullptr;
    if (!NextToken(line, value, kLineEnd, true)) return nullptr;
    CFStringRef translation = ConvertTranslation(name);
    PointerList noFlags;
    PPDXSpecialOption* option =
        new (std::nothrow) PPDXSpecialOption(name, translation, noFlags, value, nullptr, 0, false);
    if (translation != nullptr) CFRelease(translation);
    if (option != nullptr) SetupControl(nullptr, option, false);
    return nullptr;
}

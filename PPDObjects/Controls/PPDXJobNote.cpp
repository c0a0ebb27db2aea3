#include "PPDObjects/Controls/PPDXJobNote.h"

#include <cstdlib>
#include <cstring>

#include "PPDObjects/ModelRecords.h"
#include "foundation/CString.h"
#include "settings/Settings.h"
#include "settings/SettingsStrings.h"

namespace {

const FourCharCode kJobNoteTag = HALYX_FOUR_CHAR('J', 'b', 'N', 't');
const FourCharCode kNotesTag = HALYX_FOUR_CHAR('j', 'N', 't', 'T');
const FourCharCode kDefaultNotesTag = HALYX_FOUR_CHAR('j', 'N', 'D', 'T');
const FourCharCode kMaxLengthTag = HALYX_FOUR_CHAR('j', 'M', 'x', 'L');
const FourCharCode kMinLengthTag = HALYX_FOUR_CHAR('j', 'M', 'n', 'L');
const FourCharCode kFlagsTag = HALYX_FOUR_CHAR('j', 'N', 't', 'F');
const FourCharCode kNotesOnTag = HALYX_FOUR_CHAR('j', 'N', 'O', 'n');

const char* Text(const CString* text) {
    return text != nullptr ? static_cast<const char*>(*text) : nullptr;
}

// A malloc copy of the concatenation of `prefix`, `text` and `suffix`; *length gets its size.
unsigned char* Concatenate(const char* prefix, const char* text, const char* suffix,
                           SInt32* length) {
    const size_t a = std::strlen(prefix);
    const size_t b = text != nullptr ? std::strlen(text) : 0;
    const size_t c = std::strlen(suffix);
    unsigned char* line = static_cast<unsigned char*>(std::malloc(a + b + c + 1));
    if (line == nullptr) return nullptr;
    std::memcpy(line, prefix, a);
    if (b > 0) std::memcpy(line + a, text, b);
    std::memcpy(line + a + b, suffix, c);
    *length = static_cast<SInt32>(a + b + c);
    return line;
}

}  // namespace

PPDXJobNote::PPDXJobNote(const char* keyword, CFStringRef translation, PointerList& flagStrings,
                         unsigned char* invocation, const long& invocationLength,
                         CString* defaultValue, CString* /*languageEncoding*/, const bool& visible,
                         const long& maxLength, const JobNoteFlag& flags, const long& minLength)
    : PPDXControl(keyword, translation, flagStrings, invocation, invocationLength, visible),
      mNotes(nullptr),
      mMaxLength(static_cast<SInt32>(maxLength)),
      mMinLength(static_cast<SInt32>(minLength)),
      mFlags(flags),
      mDefaultNotes(defaultValue),
      mNotesOn(false),
      mPSCache(nullptr),
      mPSCacheLength(0) {
    mType = CNTL_JOBNOTE;
    mNotes = NewModelString(Text(mDefaultNotes));
}

PPDXJobNote::PPDXJobNote(Settings& settings, SInt32 id, CString* /*languageEncoding*/)
    : PPDXControl(settings, id),
      mNotes(nullptr),
      mMaxLength(0),
      mMinLength(0),
      mFlags(0),
      mDefaultNotes(nullptr),
      mNotesOn(false),
      mPSCache(nullptr),
      mPSCacheLength(0) {
    mType = CNTL_JOBNOTE;
    mNotes = GetSettingsString(settings, kNotesTag, id);
    mDefaultNotes = GetSettingsString(settings, kDefaultNotesTag, id);
    ReadModelRecordExactly(settings, kMaxLengthTag, id, &mMaxLength, sizeof mMaxLength);
    ReadModelRecordExactly(settings, kMinLengthTag, id, &mMinLength, sizeof mMinLength);
    ReadModelRecordExactly(settings, kFlagsTag, id, &mFlags, sizeof mFlags);
    UInt8 on = 0;
    if (ReadModelRecordExactly(settings, kNotesOnTag, id, &on, 1)) mNotesOn = on != 0;
}

PPDXJobNote::~PPDXJobNote() {
    delete mNotes;
    delete mDefaultNotes;
    DropCache();
}

void PPDXJobNote::DropCache() {
    std::free(mPSCache);
    mPSCache = nullptr;
    mPSCacheLength = 0;
}

bool PPDXJobNote::OkayToDisplay(_DISPLAY_OPTIONS_ options) {
    if (options == DISPLAY_NORMAL || options == DISPLAY_VISIBLE) return mVisible;
    return true;
}

const char* PPDXJobNote::GetNotes() const {
    return Text(mNotes);
}

const char* PPDXJobNote::GetDefaultNotes() const {
    return Text(mDefaultNotes);
}

void PPDXJobNote::SetNotes(const char* text) {
    DropCache();
    if (text == nullptr) {
        delete mNotes;
        mNotes = nullptr;
        return;
    }
    if (mNotes == nullptr) {
        mNotes = NewModelString(text);
    } else {
        mNotes->SetBuffer(text);
    }
}

void PPDXJobNote::ResetToDefaultValue() {
    SetNotes(GetDefaultNotes());
}

void PPDXJobNote::BuildPDLString(const char* text) {
    DropCache();
    SInt32 length = 0;
    unsigned char* line = nullptr;
    const char* keyword = Keyword();
    if (Resume()) {
        line = Concatenate("%%PersPassword: ", text, "\n", &length);
    } else if (IsMember()) {
        line = Concatenate("%%DeptPassword: ", text, "\n", &length);
    } else if (keyword != nullptr && std::strcmp(keyword, "*Notes1") == 0) {
        line = Concatenate("%%ORBCustom1: ", text, "\n", &length);
    } else if (keyword != nullptr && std::strcmp(keyword, "*Notes2") == 0) {
        line = Concatenate("%%ORBCustom2: ", text, "\n", &length);
    } else if (keyword != nullptr && std::strcmp(keyword, "*Instruct") == 0) {
        line = Concatenate("%%ORBCustom3: ", text, "\n", &length);
    } else {
        line = Concatenate("%%EmptyOption\n", nullptr, "\n", &length);
    }
    if (line != nullptr && length > 0) {
        mPSCache = line;
        mPSCacheLength = length;
    } else {
        std::free(line);
    }
}

SInt32 PPDXJobNote::PostScript(char* out) {
    const char* text = GetNotes();
    if (text == nullptr || Keyword() == nullptr) return 0;
    if (mPSCache == nullptr) {
        mPSCacheLength = 0;
        const size_t length = std::strlen(text);
        char* cut = nullptr;
        const char* value = text;
        if (length > static_cast<size_t>(kMaxInjectedNote)) {
            cut = static_cast<char*>(std::malloc(kMaxInjectedNote + 1));
            if (cut == nullptr) return 0;
            std::memcpy(cut, text, kMaxInjectedNote);
            cut[kMaxInjectedNote] = '\0';
            value = cut;
        }
        if (mPSData != nullptr && mPSLength >= 1) {
            unsigned char* filled = nullptr;
            SInt32 filledLength = Inject(Keyword(), mPSData, mPSLength, value, filled);
            if (filled != nullptr) {
                mPSCache = filled;
                mPSCacheLength = filledLength;
            }
        } else {
            BuildPDLString(value);
        }
        std::free(cut);
    }
    return GeneratePSOutputData(out, mPSCache, mPSCacheLength, text, true);
}

OSErr PPDXJobNote::Save(Settings& settings, SInt32 id) {
    OSErr status = PPDXControl::Save(settings, id);
    if (status != noErr) return status;
    if ((status = static_cast<OSErr>(WriteModelMarker(settings, kJobNoteTag, id))) != noErr) {
        return status;
    }
    if (mNotes != nullptr) {
        status = static_cast<OSErr>(WriteModelString(settings, kNotesTag, id, GetNotes()));
        if (status != noErr) return status;
    }
    if (mDefaultNotes != nullptr) {
        status =
            static_cast<OSErr>(WriteModelString(settings, kDefaultNotesTag, id, GetDefaultNotes()));
        if (status != noErr) return status;
    }
    const struct {
        FourCharCode tag;
        const void* value;
    } numbers[] = {
        {kMaxLengthTag, &mMaxLength}, {kMinLengthTag, &mMinLength}, {kFlagsTag, &mFlags}};
    for (const auto& number : numbers) {
        status = static_cast<OSErr>(settings.Add(number.tag, id, number.value, 4));
        if (status != noErr) return status;
    }
    return static_cast<OSErr>(WriteModelBool(settings, kNotesOnTag, id, mNotesOn));
}

OSErr PPDXJobNote::Restore(Settings& settings, SInt32 id) {
    CString* notes = GetSettingsString(settings, kNotesTag, id);
    DropCache();
    delete mNotes;
    mNotes = notes;
    return noErr;
}

// A job note: a free-text field the PPD defines with the print server's job-note keyword (a note,
// an instruction, a password, a user-authentication field, an on/off switch...). It keeps the
// PPD's template, the flags that say what may be typed and how the text is treated, the length
// limits, the default text, the current text and the on/off state.
//
// Its PostScript is a feature block whose option is the whole text and whose data is the template
// with the text (cut to kMaxInjectedNote bytes) filled in, or, without a template, the note's own
// comment line (BuildPDLString). The data part is cached until the text changes.
//
// Store records after the control's, under the same id: 'JbNt' marker, 'jNtT' current text,
// 'jNDT' default text, 'jMxL' and 'jMnL' four-byte limits, 'jNtF' four-byte flags, 'jNOn' one
// byte notes-on.
#ifndef HALYX_PPDOBJECTS_CONTROLS_PPDXJOBNOTE_H
#define HALYX_PPDOBJECTS_CONTROLS_PPDXJOBNOTE_H

#include "Base/MacTypes.h"
#include "CoreFoundation/CFString.h"
#include "PPDObjects/PPDXControl.h"

class CString;
class PointerList;
class Settings;

// The set of a job note's flag words, one bit per word.
typedef UInt32 JobNoteFlag;

enum : JobNoteFlag {
    kJobNoteAlpha = 0x1,              // "Alpha"
    kJobNoteNumeric = 0x2,            // "Numeric"
    kJobNoteDecimal = 0x4,            // "Decimal"
    kJobNoteRequired = 0x8,           // "Required"
    kJobNoteRemembered = 0x10,        // "Remembered"
    kJobNotePassword = 0x20,          // "Password"
    kJobNoteAlwaysDisplay = 0x40,     // "AlwaysDisplay"
    kJobNoteResume = 0x80,            // "Resume": a personal password
    kJobNoteMember = 0x100,           // "Member": a department password
    kJobNoteOnOffSwitch = 0x200,      // "OnOfSwitch"
    kJobNoteLengthReq = 0x400,        // "LengthReq"
    kJobNoteSecPrint = 0x800,         // "SecPrint"
    kJobNoteCommand = 0x1000,         // "Command"
    kJobNoteSpace = 0x2000,           // "Space"
    kJobNoteNegative = 0x4000,        // "Negative"
    kJobNoteEncrypt = 0x8000,         // "Encrypt"
    kJobNoteMultiSpace = 0x10000,     // "MultiSpace"
    kJobNoteMultiComma = 0x20000,     // "MultiComma"
    kJobNoteLCD = 0x40000,            // "LCD"
    kJobNoteHyphen = 0x80000,         // "Hyphen"
    kJobNoteTwoCharField = 0x100000,  // "TwoCharField"
    kJobNoteNoComma = 0x200000,       // "NoComma"
    kJobNoteMinLength = 0x400000,     // "MinLength" (its digits become the min length)
    // The character classes: a note with none of them takes any text.
    kJobNoteCharacterClasses = kJobNoteAlpha | kJobNoteNumeric | kJobNoteDecimal | kJobNoteSpace |
                               kJobNoteNegative | kJobNoteMultiSpace | kJobNoteMultiComma
};

class PPDXJobNote : public PPDXControl {
public:
    // The longest part of the text filled into the template.
    static constexpr SInt32 kMaxInjectedNote = 511;

    // The control part as PPDXControl's (the template becomes its PostScript data); the note takes
    // ownership of `defaultValue` and starts with a copy of it as its text. The language-encoding
    // text is not kept. Notes-on is false.
    PPDXJobNote(const char* keyword, CFStringRef translation, PointerList& flagStrings,
                unsigned char* invocation, const long& invocationLength, CString* defaultValue,
                CString* languageEncoding, const bool& visible, const long& maxLength,
                const JobNoteFlag& flags, const long& minLength);
    // The control part, then the note's records; the four-byte records are taken only when
    // exactly four bytes long and 'jNOn' only when one byte long.
    PPDXJobNote(Settings& settings, SInt32 id, CString* languageEncoding);
    ~PPDXJobNote() override;

    // For DISPLAY_NORMAL and DISPLAY_VISIBLE a job note passes when it is visible; for every other
    // mode it passes. Being an orphan never matters.
    bool OkayToDisplay(_DISPLAY_OPTIONS_ options) override;
    OSErr Save(Settings& settings, SInt32 id) override;
    void ResetToDefaultValue() override;
    SInt32 PostScript(char* out) override;
    // Replaces the text by the 'jNtT' record (none when it is missing); always 0.
    OSErr Restore(Settings& settings, SInt32 id) override;

    const char* GetNotes() const;
    // Drops the cache, then replaces the text (a null text leaves none).
    void SetNotes(const char* text);
    const char* GetDefaultNotes() const;
    bool GetNotesOnValue() const { return mNotesOn; }
    void SetNotesOnValue(bool on) { mNotesOn = on; }

    SInt32 MaxLength() const { return mMaxLength; }
    SInt32 MinLength() const { return mMinLength; }
    JobNoteFlag Flags() const { return mFlags; }

    bool IsAlpha() const { return Has(kJobNoteAlpha); }
    bool IsNumeric() const { return Has(kJobNoteNumeric); }
    bool IsDecimal() const { return Has(kJobNoteDecimal); }
    bool IsRequired() const { return Has(kJobNoteRequired); }
    bool Remember() const { return Has(kJobNoteRemembered); }
    bool IsPassword() const { return Has(kJobNotePassword); }
    bool AlwaysDisplay() const { return Has(kJobNoteAlwaysDisplay); }
    bool Resume() const { return Has(kJobNoteResume); }
    bool IsMember() const { return Has(kJobNoteMember); }
    bool IsOnOffSwitch() const { return Has(kJobNoteOnOffSwitch); }
    bool IsLengthReq() const { return Has(kJobNoteLengthReq); }
    bool IsSecPrint() const { return Has(kJobNoteSecPrint); }
    bool IsSpace() const { return Has(kJobNoteSpace); }
    bool IsNegative() const { return Has(kJobNoteNegative); }
    bool IsEncrypt() const { return Has(kJobNoteEncrypt); }
    bool IsMultiSpace() const { return Has(kJobNoteMultiSpace); }
    bool IsMultiComma() const { return Has(kJobNoteMultiComma); }
    bool IsLCD() const { return Has(kJobNoteLCD); }
    bool IsHyphen() const { return Has(kJobNoteHyphen); }
    bool IsTwoCharFields() const { return Has(kJobNoteTwoCharField); }
    bool IsNoComma() const { return Has(kJobNoteNoComma); }
    // True when no character class is set: any text may be typed.
    bool IsAnyText() const { return (mFlags & kJobNoteCharacterClasses) == 0; }

    // Makes the note's own comment line for `text` the cache: the personal- or department-password
    // comment, the custom comment of the three standard notes, or an empty option otherwise.
    void BuildPDLString(const char* text);

private:
    bool Has(JobNoteFlag bit) const { return (mFlags & bit) != 0; }
    void DropCache();

    CString* mNotes;  // may be null
    SInt32 mMaxLength;
    SInt32 mMinLength;
    JobNoteFlag mFlags;
    CString* mDefaultNotes;  // may be null
    bool mNotesOn;
    unsigned char* mPSCache;  // malloc block, may be null
    SInt32 mPSCacheLength;
};

#endif  // HALYX_PPDOBJECTS_CONTROLS_PPDXJOBNOTE_H

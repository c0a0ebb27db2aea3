// A PPD option whose two choices are True and False. Its PostScript is the feature block of the
// current state, with the PPD code of that state as data; the control's own PostScript data is
// empty.
//
// Store records after the control's, under the same id: 'BlnC' marker, 'BCcV' and 'BCdV' one byte
// value and default, 'BCtT' and 'BCfT' the display texts, 'BtPT' and 'BfPT' the two codes.
#ifndef HALYX_PPDOBJECTS_CONTROLS_PPDXBOOLEANCONTROL_H
#define HALYX_PPDOBJECTS_CONTROLS_PPDXBOOLEANCONTROL_H

#include "Base/MacTypes.h"
#include "CoreFoundation/CFString.h"
#include "PPDObjects/PPDXControl.h"

class CString;
class PointerList;
class Settings;

class PPDXBooleanControl : public PPDXControl {
public:
    // Value and default both take `defaultIsTrue`. The control takes ownership of the two texts
    // and of the two code blocks (malloc blocks, or null).
    PPDXBooleanControl(const char* keyword, CFStringRef translation, PointerList& flagStrings,
                       const bool& visible, CString* trueTranslation, unsigned char* trueInvocation,
                       long trueLength, CString* falseTranslation, unsigned char* falseInvocation,
                       long falseLength, const bool& defaultIsTrue);
    // The control part, then the boolean's records; value and default are taken only from
    // one-byte records.
    PPDXBooleanControl(Settings& settings, SInt32 id);
    ~PPDXBooleanControl() override;

    bool IsTrue() const { return mValue; }
    void SetValue(bool value) { mValue = value; }
    bool DefaultState() const { return mDefault; }
    void ResetToDefaultValue() override { mValue = mDefault; }

    // The display texts of the two choices, or null.
    const char* TrueDisplayText() const;
    const char* FalseDisplayText() const;
    // The PPD code of each choice as the control keeps it (not owned by the caller), or null,
    // with its length.
    const unsigned char* TrueCode() const { return mTrueCode; }
    SInt32 TrueCodeLength() const { return mTrueCodeLength; }
    const unsigned char* FalseCode() const { return mFalseCode; }
    SInt32 FalseCodeLength() const { return mFalseCodeLength; }

    // The feature block with option "True" and the true code, or "False" and the false code; 0
    // bytes without a keyword.
    SInt32 PostScript(char* out) override;
    OSErr Save(Settings& settings, SInt32 id) override;
    // Reloads the value from a one-byte 'BCcV' record; the read's status.
    OSErr Restore(Settings& settings, SInt32 id) override;

private:
    bool mValue;
    bool mDefault;
    CString* mTrueText;
    CString* mFalseText;
    unsigned char* mTrueCode;  // malloc block, may be null
    SInt32 mTrueCodeLength;
    unsigned char* mFalseCode;  // malloc block, may be null
    SInt32 mFalseCodeLength;
};

#endif  // HALYX_PPDOBJECTS_CONTROLS_PPDXBOOLEANCONTROL_H

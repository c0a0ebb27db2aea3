// A named fixed value with raw PostScript, from the print server's special-option keyword. Its
// PostScript is the PPD code unchanged, without a feature block.
//
// Store records after the control's, under the same id: 'soCN' marker, 'soVl' the value text.
#ifndef HALYX_PPDOBJECTS_CONTROLS_PPDXSPECIALOPTION_H
#define HALYX_PPDOBJECTS_CONTROLS_PPDXSPECIALOPTION_H

#include "Base/MacTypes.h"
#include "CoreFoundation/CFString.h"
#include "PPDObjects/PPDXControl.h"

class CString;
class PointerList;
class Settings;

class PPDXSpecialOption : public PPDXControl {
public:
    // The value is "".
    PPDXSpecialOption();
    // The value is a copy of `value`; the code (a malloc block, or null) becomes the control's
    // PostScript data.
    PPDXSpecialOption(const char* name, CFStringRef translation, PointerList& flagStrings,
                      char* value, unsigned char* invocation, const long& invocationLength,
                      const bool& visible);
    // The control part, then the value from 'soVl' (none when the record is missing or empty).
    PPDXSpecialOption(Settings& settings, SInt32 id);
    ~PPDXSpecialOption() override;

    // The value, or null after loading a store without one.
    const char* GetValue() const;
    // The value becomes "".
    void ResetToDefaultValue() override;

    // A failure writing the marker is ignored; the status is that of the value record.
    OSErr Save(Settings& settings, SInt32 id) override;
    // Replaces the value by the 'soVl' record (none when it is missing); always 0.
    OSErr Restore(Settings& settings, SInt32 id) override;

private:
    CString* mValue;
};

#endif  // HALYX_PPDOBJECTS_CONTROLS_PPDXSPECIALOPTION_H

// The base of every printer option: an element with a control kind, the control-flag words the PPD
// gives for the option (in PPD order) and the option's PostScript code as the PPD gives it.
//
// PostScript is produced with a two-call protocol: asked with a null buffer, a control returns the
// number of bytes it would write; given a buffer of at least that size it writes them (without a
// terminator) and returns the same count. GeneratePSOutputData wraps data in a feature block and
// Inject fills a value into a template; every concrete control builds its output with these two.
//
// Store records after the element's, under the same id: 'Ordr' two bytes order, 'PSDt' the
// PostScript bytes, 'CFlg' the flag words each followed by "|".
#ifndef HALYX_PPDOBJECTS_PPDXCONTROL_H
#define HALYX_PPDOBJECTS_PPDXCONTROL_H

#include "Base/MacTypes.h"
#include "CoreFoundation/CFString.h"
#include "PPDObjects/PPDXElement.h"
#include "foundation/PointerList.h"
#include "foundation/PointerListItr.h"

class CString;
class Settings;

// The control kind.
enum CNTL_TYPE : UInt32 {
    CNTL_JOBNOTE = 1,  // PPDXJobNote
    CNTL_RANGE = 2,    // PPDXRangeControl and PPDXFloatRangeControl
    CNTL_BOOLEAN = 3,  // PPDXBooleanControl
    CNTL_POPUP = 4,    // PPDXPopupControl
    CNTL_SPECIAL = 5   // PPDXSpecialOption
};

class PPDXControl : public PPDXElement {
public:
    // The separator that follows every flag word in the 'CFlg' record.
    static constexpr char kFlagSeparator = '|';

    PPDXControl();
    // The element part as PPDXElement's; the flag list is copied and the control takes ownership
    // of the CString flags it holds; `psData` (a malloc block of `psLength` bytes, or null) is
    // taken over. Type and order are 0 until the concrete class sets the type.
    PPDXControl(const char* keyword, CFStringRef localName, PointerList& flags,
                unsigned char* psData, long psLength, bool visible);
    // The element part, then 'Ordr' (only when exactly two bytes), 'PSDt' and 'CFlg' (split at
    // every "|", empty pieces skipped). Missing or malformed records leave the defaults.
    PPDXControl(Settings& settings, SInt32 id);
    // Deletes the flag strings (last to first) and frees the PostScript data.
    ~PPDXControl() override;

    virtual void ResetToDefaultValue() = 0;
    // The PostScript data unchanged (two-call protocol).
    virtual SInt32 PostScript(char* out);
    // Reloads only the user's value from the store.
    virtual OSErr Restore(Settings& settings, SInt32 id) = 0;
    // The element records (a failure is returned at once), then the control records; the first
    // failing record ends the save with its status.
    OSErr Save(Settings& settings, SInt32 id) override;

    CNTL_TYPE Type() const { return mType; }
    SInt16 Order() const { return mOrder; }
    // The option's PostScript code as the PPD gives it; may be null.
    const unsigned char* PSData() const { return mPSData; }
    SInt32 PSLength() const { return mPSLength; }

    // False for null and for the keywords that may never become a control; true otherwise.
    static bool ValidKeyword(const char* keyword);

    UInt32 ControlFlagCount() const { return mControlFlags.Size(); }
    // The control's own flag walk: the flag text, or null at the end.
    const char* FirstControlFlag();
    const char* NextControlFlag();
    // True when a flag word equals `word` exactly. Walks with the control's flag cursor, so it
    // disturbs a running flag walk.
    bool FindControlFlag(const char* word);

    // The first CString of `list` (null for an empty list), with `itr` set to it.
    static CString* FirstString(PointerListItr& itr, PointerList& list);
    // Advances `itr` and returns the CString there, or null at the end.
    static CString* NextString(PointerListItr& itr, PointerList& list);

    bool IsCommand() { return FindControlFlag("Command"); }
    bool IsSpooler() { return FindControlFlag("Spooler"); }
    bool IsSetup() { return FindControlFlag("Setup"); }
    bool IsMacHJN() { return FindControlFlag("MacHJN"); }
    bool IsMacImgShift() { return FindControlFlag("MacIS"); }

    // Fills `value` into a template whose place for it is marked by a single "<" ... ">" pair
    // ("<<" opens a dictionary and is not a marker; see TemplateMarker). Where the marker lies
    // inside a PostScript string, "\", "(" and ")" of the value are escaped with a "\", so the
    // string holds the value's text. `result` becomes a malloc block the caller frees, of
    // length(keyword) + templLength + the written value's length bytes, and the count written is
    // returned. A template without a marker, or whose marker is never closed by ">", comes back
    // unchanged. Null arguments, templLength below 1 or no memory give 0 with a null result.
    static SInt32 Inject(const char* keyword, const unsigned char* templ, SInt32 templLength,
                         const char* value, unsigned char*& result);

    // Whether the control's template can take `text` at its marker: false only when the marker
    // lies outside a PostScript string and the text holds "\", "(" or ")".
    bool TemplateTakes(const char* text) const;

    // The feature block of this control: with wrap, "%%BeginFeature: " keyword " " option LF;
    // the data bytes (a single LF when there are none); with wrap, "%%EndFeature" LF. Nothing is
    // added between data and end comment. Returns the count; writes only when `out` is not null.
    SInt32 GeneratePSOutputData(char* out, const unsigned char* data, SInt32 dataLength,
                                const char* option, bool wrap);

protected:
    // Drops the PostScript data.
    void FreePSData();

    CNTL_TYPE mType;
    SInt16 mOrder;
    PointerList mControlFlags;  // owned CString flag words
    PointerListItr mFlagCursor;
    unsigned char* mPSData;  // malloc block, may be null
    SInt32 mPSLength;
};

#endif  // HALYX_PPDOBJECTS_PPDXCONTROL_H

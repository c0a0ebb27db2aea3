// The base of every named object of the option model: a PPD keyword (with its leading "*"), the
// display name shown to the user, a visibility flag and a parent one level up in the hierarchy
// (control -> roll-down -> scroll pane -> property page). An element without parent is an orphan.
//
// Right after an element is rebuilt from a store, its parent is known only by keyword: that
// pending keyword is kept in a field of its own until the hierarchy resolution replaces it by the
// element (ResolveParent). While it is pending the element is not an orphan, as it was not when it
// was saved.
//
// Store records, all under the element's id: 'KyWd' keyword bytes, 'LcNm' byte-string display
// name, 'LcCF' display name as Unicode external representation, 'isVs' one byte visible, 'PrNm'
// the parent's keyword bytes. Strings are stored without terminator.
#ifndef HALYX_PPDOBJECTS_PPDXELEMENT_H
#define HALYX_PPDOBJECTS_PPDXELEMENT_H

#include "Base/MacTypes.h"
#include "CoreFoundation/CFString.h"
#include "PPDObjects/ModelOptions.h"

class CString;
class Settings;

class PPDXElement {
public:
    // Everything empty, not visible, orphan.
    PPDXElement();
    // Copies the keyword unless it is null or empty and retains the local name (which may be null:
    // a PPD without language keywords gives its elements no display name).
    PPDXElement(const char* keyword, CFStringRef localName, bool visible);
    // Reads 'KyWd', 'LcCF', 'isVs' (only when exactly one byte) and 'PrNm' (as the pending parent
    // keyword). Missing, empty or malformed records leave the defaults.
    PPDXElement(Settings& settings, SInt32 id);

    virtual ~PPDXElement() = 0;
    // DISPLAY_NORMAL: visible and attached; DISPLAY_VISIBLE: visible; DISPLAY_ATTACHED: attached;
    // anything else: always.
    virtual bool OkayToDisplay(_DISPLAY_OPTIONS_ options);
    // Writes the element records. The status is that of 'isVs', or of 'PrNm' when that one is
    // written; failures of the string records before them are not reported.
    virtual OSErr Save(Settings& settings, SInt32 id);

    // The keyword, null when there is none.
    const char* Keyword() const;
    // The display name in the system encoding, converted on the first call and kept; null when
    // the element has no display name (or when the conversion could not be stored).
    const char* UserName();
    // The display name itself, not retained for the caller; may be null.
    CFStringRef CFStringUserName() const { return mLocalName; }

    bool IsVisible() const { return mVisible; }
    // True when there is neither a parent nor a pending parent keyword.
    bool IsOrphan() const { return mParent == nullptr && mPendingParent == nullptr; }
    // The parent element; null for an orphan and while the parent is only known by keyword.
    PPDXElement* GetParent() const { return mParent; }
    // Replaces the parent; the parent is never owned.
    void SetParent(PPDXElement* parent) { mParent = parent; }

    // The parent keyword read from a store and not yet resolved, or null.
    const char* PendingParentKeyword() const;
    // Sets the parent found for the pending keyword and forgets the keyword.
    void ResolveParent(PPDXElement* parent);

    // True only when both keywords exist and are equal byte for byte.
    bool operator==(const PPDXElement& other) const;
    // True only when the keyword exists, `keyword` is not null and they are equal.
    bool operator==(const char* keyword) const;

protected:
    CString* mKeyword;       // may be null
    CString* mUserName;      // cache of the display name as a byte string, may be null
    CFStringRef mLocalName;  // one retain, may be null
    bool mVisible;
    PPDXElement* mParent;     // not owned
    CString* mPendingParent;  // parent keyword read from a store, until resolved

private:
    PPDXElement(const PPDXElement&) = delete;
    PPDXElement& operator=(const PPDXElement&) = delete;
};

// The string converted to the system encoding (through a buffer of four bytes per character), as a
// new string the caller deletes; null when memory runs out.
CString* CFStringToCString(CFStringRef string);

#endif  // HALYX_PPDOBJECTS_PPDXELEMENT_H

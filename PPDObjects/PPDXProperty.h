// A property page (a tab of the driver's layout), holding at most one scroll pane, with whether
// the page is shown in the print properties and in the application.
//
// Store records: the element's, then 'SPPg' and 'SApp', one byte each (show in print properties,
// show in application). The scroll pane is not stored: it comes back through the hierarchy.
#ifndef HALYX_PPDOBJECTS_PPDXPROPERTY_H
#define HALYX_PPDOBJECTS_PPDXPROPERTY_H

#include "Base/MacTypes.h"
#include "CoreFoundation/CFString.h"
#include "PPDObjects/PPDXElement.h"

class PPDXScrollPane;
class Settings;

class PPDXProperty : public PPDXElement {
public:
    static constexpr FourCharCode kPrintPropTag = HALYX_FOUR_CHAR('S', 'P', 'P', 'g');
    static constexpr FourCharCode kAppTag = HALYX_FOUR_CHAR('S', 'A', 'p', 'p');

    PPDXProperty();
    PPDXProperty(const char* keyword, CFStringRef localName, bool visible, bool showInPrintProp,
                 bool showInApp);
    // The element part, then the two flags. When the size of 'SPPg' cannot be read, or a one-byte
    // 'SPPg' cannot be read, both flags stay false; 'SApp' is taken when it is exactly one byte.
    PPDXProperty(Settings& settings, SInt32 id);
    ~PPDXProperty() override {}

    bool ShowInPrintProp() const { return mShowInPrintProp; }
    bool ShowInApp() const { return mShowInApp; }
    // The page's scroll pane (not owned), or null.
    PPDXScrollPane* GetScrollDown() const { return mScrollPane; }
    void SetScrollDown(PPDXScrollPane* pane) { mScrollPane = pane; }

    // The element records, then the two flags; the first failure is returned.
    OSErr Save(Settings& settings, SInt32 id) override;

private:
    PPDXScrollPane* mScrollPane;  // not owned
    bool mShowInPrintProp;
    bool mShowInApp;
};

#endif  // HALYX_PPDOBJECTS_PPDXPROPERTY_H

#include "PPDObjects/PPDXProperty.h"

#include "PPDObjects/ModelRecords.h"
#include "settings/Settings.h"

PPDXProperty::PPDXProperty() : mScrollPane(nullptr), mShowInPrintProp(false), mShowInApp(false) {}

PPDXProperty::PPDXProperty(const char* keyword, CFStringRef localName, bool visible,
                           bool showInPrintProp, bool showInApp)
    : PPDXElement(keyword, localName, visible),
      mScrollPane(nullptr),
      mShowInPrintProp(showInPrintProp),
      mShowInApp(showInApp) {}

PPDXProperty::PPDXProperty(Settings& settings, SInt32 id)
    : PPDXElement(settings, id), mScrollPane(nullptr), mShowInPrintProp(false), mShowInApp(false) {
    SInt32 length = ModelRecordLength(settings, kPrintPropTag, id);
    if (length < 0) return;
    UInt8 byte = 0;
    if (length == 1) {
        if (!ReadModelRecordExactly(settings, kPrintPropTag, id, &byte, 1)) return;
        mShowInPrintProp = byte != 0;
    }
    if (ReadModelRecordExactly(settings, kAppTag, id, &byte, 1)) mShowInApp = byte != 0;
}

OSErr PPDXProperty::Save(Settings& settings, SInt32 id) {
    OSErr err = PPDXElement::Save(settings, id);
    if (err != noErr) return err;
    err = static_cast<OSErr>(WriteModelBool(settings, kPrintPropTag, id, mShowInPrintProp));
    if (err != noErr) return err;
    return static_cast<OSErr>(WriteModelBool(settings, kAppTag, id, mShowInApp));
}

#include "PPDObjects/PPDXRollDown.h"

#include <new>

#include "PPDObjects/ModelRecords.h"
#include "PPDObjects/PPDXControls.h"
#include "settings/Settings.h"

PPDXRollDown::PPDXRollDown() : mControls(new (std::nothrow) PPDXControls) {}

PPDXRollDown::PPDXRollDown(const char* keyword, CFStringRef localName, bool visible)
    : PPDXGroup(keyword, localName, visible), mControls(new (std::nothrow) PPDXControls) {}

PPDXRollDown::PPDXRollDown(Settings& settings, SInt32 id)
    : PPDXGroup(settings, id), mControls(new (std::nothrow) PPDXControls) {
    if (mControls == nullptr) settings.NoteReadFailure();
}

PPDXRollDown::~PPDXRollDown() {
    delete mControls;
}

OSErr PPDXRollDown::Save(Settings& settings, SInt32 id) {
    OSErr err = PPDXElement::Save(settings, id);
    if (err != noErr) return err;
    return static_cast<OSErr>(WriteModelMarker(settings, kMarkerTag, id));
}

#include "PPDObjects/PPDXScrollPane.h"

#include <new>

#include "PPDObjects/ModelRecords.h"
#include "PPDObjects/PPDXGroups.h"
#include "settings/Settings.h"

PPDXScrollPane::PPDXScrollPane() : mRollDowns(new (std::nothrow) PPDXGroups) {}

PPDXScrollPane::PPDXScrollPane(const char* keyword, CFStringRef localName, bool visible)
    : PPDXGroup(keyword, localName, visible), mRollDowns(new (std::nothrow) PPDXGroups) {}

PPDXScrollPane::PPDXScrollPane(Settings& settings, SInt32 id)
    : PPDXGroup(settings, id), mRollDowns(new (std::nothrow) PPDXGroups) {
    if (mRollDowns == nullptr) settings.NoteReadFailure();
}

PPDXScrollPane::~PPDXScrollPane() {
    delete mRollDowns;
}

OSErr PPDXScrollPane::Save(Settings& settings, SInt32 id) {
    OSErr err = PPDXElement::Save(settings, id);
    if (err != noErr) return err;
    return static_cast<OSErr>(WriteModelMarker(settings, kMarkerTag, id));
}

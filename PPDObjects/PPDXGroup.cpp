#include "PPDObjects/PPDXGroup.h"

#include "PPDObjects/ModelRecords.h"

OSErr PPDXGroup::Save(Settings& settings, SInt32 id) {
    OSErr err = PPDXElement::Save(settings, id);
    if (err != noErr) return err;
    return static_cast<OSErr>(WriteModelMarker(settings, kMarkerTag, id));
}

// One editable numeric range of the pane: wraps a range control of the parsed PPD (not owned) and
// reads and writes its value as decimal text.
#ifndef HALYX_CORE_ORBRANGE_H
#define HALYX_CORE_ORBRANGE_H

#include "Base/MacTypes.h"
#include "Core/LinkElement_Dual.h"

class PPDXRangeControl;

class ORBRange : public LinkElement_Dual {
public:
    explicit ORBRange(PPDXRangeControl* control);

    // Inside the control's limits and a multiple of its step (a step of 0 counts as 1).
    bool acceptableValue(SInt32 value) const;
    // As ORBJobNote::getTitle.
    SInt16 getTitle(char* buffer) const;
    // The value in decimal: the number of characters without terminator (never 0). With a
    // non-null buffer (count plus one bytes) the text is copied into it.
    SInt16 getUserData(char* buffer) const;
    // Stores the decimal value of `text` (an optional sign, then digits; at most 255 bytes read).
    void setUserData(const char* text);

    PPDXRangeControl* Control() const { return control; }
    bool Ready() const { return ready; }

private:
    PPDXRangeControl* control;
    bool ready;
};

#endif  // HALYX_CORE_ORBRANGE_H

// One editable job note of the pane: wraps a job-note control of the parsed PPD (not owned) and
// reads its title and value for the editor.
#ifndef HALYX_CORE_ORBJOBNOTE_H
#define HALYX_CORE_ORBJOBNOTE_H

#include "Base/MacTypes.h"
#include "Core/LinkElement_Dual.h"

class PPDXJobNote;

class ORBJobNote : public LinkElement_Dual {
public:
    // Switches the note on, unless it is an on/off switch or the model was not freshly parsed:
    // then the control's own state stays.
    ORBJobNote(PPDXJobNote* control, bool freshPPD);

    // The row of the special keyword table that the control's keyword matches exactly; false with
    // -1 when none does.
    bool specialKeyword(SInt16& index) const;
    // The control's display name: the length plus one, or 0 when it has none. With a null buffer
    // only the count; otherwise the name (or "") is copied into it.
    SInt16 getTitle(char* buffer) const;
    // The control's value: the length plus one, or 0 when it is empty. With a null buffer only the
    // count; otherwise the value (or "") is copied into `buffer` (256 bytes), cut to 255 bytes.
    SInt16 getUserData(char* buffer) const;
    // A value of a two-character-field note may hold at most two digits in a row.
    bool checkRangeValues(const char* text) const;
    // Enciphers `plain` under the note key the current model chooses into the 256 bytes of
    // `output`, as upper-case hexadecimal. Always true.
    bool encryptNote(const char* plain, char* output) const;

    // Switches the entry and its control on or off together.
    void SetNotesOn(bool on);

    PPDXJobNote* Control() const { return control; }
    bool NotesOn() const { return notesOn; }
    bool IsSwitch() const { return isSwitch; }
    bool Ready() const { return ready; }

private:
    PPDXJobNote* control;
    bool notesOn;
    bool isSwitch;
    bool ready;
};

#endif  // HALYX_CORE_ORBJOBNOTE_H

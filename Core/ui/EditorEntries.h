// What the editor needs to know of the entry behind a row: its kind, title and limits.
#ifndef HALYX_CORE_UI_EDITORENTRIES_H
#define HALYX_CORE_UI_EDITORENTRIES_H

#include "Base/MacTypes.h"

class LinkElement_Dual;
class ORBJobNote;
class ORBRange;

namespace halyx_editor {

// Titles and values are read into buffers of this size.
constexpr long kEntryTextSize = 256;

ORBJobNote* NoteOf(LinkElement_Dual* entry);
ORBRange* RangeOf(LinkElement_Dual* entry);
// The entry's title (system encoding) into `out` (kEntryTextSize bytes); "" when it has none.
void TitleOf(const LinkElement_Dual* entry, char* out);
// The most characters the note takes: its maximum length, and no more than an enciphered note's
// plain text may hold.
long MaxLengthOf(const ORBJobNote* note);
bool IsPasswordNote(const ORBJobNote* note);

}  // namespace halyx_editor

#endif  // HALYX_CORE_UI_EDITORENTRIES_H

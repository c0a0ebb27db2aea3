// Reads the pieces the pane hands to the print server: an XML property list whose root is an
// array of site/data pairs (an integer site code, then the piece's bytes as data), in the order
// the pieces were added.
//
// The list comes from the user who printed and is taken whole or not at all. It is refused when
// it is not a property list, its root is not an array of pairs, a site is not a 32-bit integer, a
// piece is not data, a piece holds a NUL byte, or a comment piece (sites 30 and 504) is not one
// comment line: it must start with '%' and hold no CR or LF but an optional last LF, so that it
// can neither end the header nor start a line of code there.
#ifndef HALYX_FILTER_PIECESLIST_H
#define HALYX_FILTER_PIECESLIST_H

#include <cstddef>
#include <string>

#include "filter/JobPieces.h"

// On success fills `pieces` (a missing final LF added to each piece) and returns true. On refusal
// returns false, leaves `pieces` empty and puts a short reason in `why` ("piece 3 holds a NUL
// byte").
bool ParsePiecesList(const void* bytes, size_t length, JobPieces* pieces, std::string* why);

#endif  // HALYX_FILTER_PIECESLIST_H

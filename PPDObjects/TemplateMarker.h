// Where a control's template takes its value: the "<" ... ">" marker, and whether the value lands
// inside a PostScript string "(...)" there. Inside a string the value is written with "\", "(" and
// ")" escaped, so the string reads the same text; outside one those three would change the code
// around the value and the value may not hold them.
#ifndef HALYX_PPDOBJECTS_TEMPLATEMARKER_H
#define HALYX_PPDOBJECTS_TEMPLATEMARKER_H

#include "Base/MacTypes.h"

struct TemplateMarker {
    SInt32 open = -1;       // offset of the marker's "<"; -1 when the template has no marker
    SInt32 close = -1;      // offset of the ">" that ends it
    bool inString = false;  // the marker lies inside a PostScript string
    // A "\" of the string's own stands right before the marker: it would escape the value's first
    // byte, so the value is written after a newline, with which it makes a line continuation that
    // the string drops.
    bool afterEscape = false;

    // The marker of `templ`: the first "<" that does not open a dictionary ("<<"; a "<" right after
    // such a pair is the marker even so), closed by the next ">". A marker that is never closed
    // counts as none.
    static TemplateMarker Find(const unsigned char* templ, SInt32 length);

    // The depth of string nesting after reading `length` bytes of PostScript code: strings nest by
    // their parentheses, "\" escapes the next byte inside one, and "%" outside one starts a
    // comment that runs to the end of the line.
    // *midEscape (may be null) tells whether the code ends right after a "\" that escapes.
    static int StringDepth(const unsigned char* code, SInt32 length, bool* midEscape = nullptr);

    bool Found() const { return close >= 0; }
    // Whether `text` may be placed at the marker: always inside a string or without a marker;
    // outside a string, only without "\", "(" and ")".
    bool Takes(const char* text) const;
    // Writes `length` bytes of `text` as they go at the marker (escaped inside a string) into `out`
    // when it is not null; returns the count. Inside a string at most twice `length`, plus one.
    SInt32 WriteValue(const char* text, SInt32 length, unsigned char* out) const;
};

#endif  // HALYX_PPDOBJECTS_TEMPLATEMARKER_H

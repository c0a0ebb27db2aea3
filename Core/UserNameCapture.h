// The user name that goes into the authentication tag: the typed name (or the logged-in user's
// full name when none was typed), with every "/:" written as "//:", converted from Mac OS Roman to
// UTF-8 and escaped for a PostScript string (each byte from 0x80 up as a backslash and three
// octal digits).
#ifndef HALYX_CORE_USERNAMECAPTURE_H
#define HALYX_CORE_USERNAMECAPTURE_H

#include "Base/MacTypes.h"

// A new heap text (released with free()) in `*captured`; noErr, or memFullErr, or the converter's
// status, with `*captured` null.
OSStatus CaptureUserName(const char* typed, char** captured);

// The steps of CaptureUserName, each giving a new heap text or null when memory is short.
char* DoubleSlashBeforeColon(const char* text);
char* MacRomanToUTF8(const char* text, OSStatus* status);
char* EscapeHighBytesOctal(const char* text);

#endif  // HALYX_CORE_USERNAMECAPTURE_H

// The bundle whose string tables give the pane its localized texts, kept for the whole process.
#ifndef HALYX_CORE_PDEBUNDLE_H
#define HALYX_CORE_PDEBUNDLE_H

#include "Base/MacErrors.h"
#include "Base/MacTypes.h"
#include "CoreFoundation/CFBundle.h"
#include "CoreFoundation/CFString.h"

class PDEBundle {
public:
    // Keeps `bundle` (not retained) for the lookups below; every pane calls it when made.
    static void InitBundle(CFBundleRef bundle);
    static bool Initialized() { return sInitialized; }
    static CFBundleRef Bundle() { return sBundle; }

    // The localized text for `key` from the default table of `bundle` (null: the kept one), the
    // key itself when the table has no entry, in the system encoding: at most size - 1 bytes and
    // a terminator. Returns its length; 0 with the buffer untouched when no bundle is known, 0 with
    // "" when no string comes back. A text that cannot be converted beeps (sound 1).
    static int GetLocalizedString(const char* key, char* buffer, int size, CFBundleRef bundle);
    // The same as a new string for the caller to release; null when no bundle is known.
    static CFStringRef GetLocalizedCFString(const char* key, CFBundleRef bundle);
    // Copies the text in `encoding` into `buffer`, at most size - 1 bytes and a terminator; false
    // (with a beep, sound 1) when it cannot be converted.
    static bool ConvertCFString(CFStringRef text, char* buffer, int size,
                                CFStringEncoding encoding);

private:
    static CFBundleRef sBundle;
    static bool sInitialized;
};

#endif  // HALYX_CORE_PDEBUNDLE_H

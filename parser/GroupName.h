// A group name the PPD announced with its translation and visibility, kept while the file is
// walked. No group object exists for it until a block or a parent line asks for one.
#ifndef HALYX_PARSER_GROUPNAME_H
#define HALYX_PARSER_GROUPNAME_H

#include "CoreFoundation/CFString.h"

class CString;

struct GroupName {
    // Copies `name`, retains `translation` (may be null) and keeps its text in the system encoding.
    GroupName(const char* name, CFStringRef translation, bool visible);
    // Deletes both texts and releases the translation.
    ~GroupName();

    CString* mName;
    CFStringRef mTranslation;  // one retain, may be null
    CString* mTranslationText;
    bool mVisible;

private:
    GroupName(const GroupName&) = delete;
    GroupName& operator=(const GroupName&) = delete;
};

#endif  // HALYX_PARSER_GROUPNAME_H

// A property list read from a file in a folder: the file's URL, its bytes and the parsed list.
#ifndef HALYX_CORE_PROPERTYLISTFILE_H
#define HALYX_CORE_PROPERTYLISTFILE_H

#include "Base/MacErrors.h"
#include "Base/MacTypes.h"
#include "CoreFoundation/CFData.h"
#include "CoreFoundation/CFPropertyList.h"
#include "CoreFoundation/CFString.h"
#include "CoreFoundation/CFURL.h"

class PropertyListFile {
public:
    // Reads `fileName` in the folder `folder` and parses it as an XML property list with the given
    // mutability. Loaded() tells whether a list was obtained; Error() keeps the read status.
    PropertyListFile(CFURLRef folder, CFStringRef fileName,
                     CFPropertyListMutabilityOptions mutability);
    virtual ~PropertyListFile();

    bool Loaded() const { return mLoaded; }
    SInt32 Error() const { return mError; }
    CFURLRef URL() const { return mURL; }
    // The parsed list, owned by this object.
    CFPropertyListRef PropertyList() const { return mPropertyList; }

protected:
    // Makes only the file's URL; the subclass reads it with Read when it must.
    PropertyListFile(CFURLRef folder, CFStringRef fileName);
    // Reads the file at URL() and parses it, as the public constructor does.
    void Read(CFPropertyListMutabilityOptions mutability);

    CFURLRef mURL;
    CFDataRef mXMLData;
    CFPropertyListRef mPropertyList;
    bool mLoaded;
    SInt32 mError;

private:
    PropertyListFile(const PropertyListFile&) = delete;
    PropertyListFile& operator=(const PropertyListFile&) = delete;
};

#endif  // HALYX_CORE_PROPERTYLISTFILE_H

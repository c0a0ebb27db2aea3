// The resources of one resource file, read from its bytes.
//
// A resource file is an XML property list: a dictionary from resource type ("STR#") to a
// dictionary from resource id (a decimal number as text, -32768 to 32767) to the resource's value.
// A string list ("STR#") is an array of strings, entry 1 first:
//
//   <dict><key>STR#</key><dict><key>-8900</key><array><string>...</string></array></dict></dict>
//
// The strings are Unicode in the file and kept in the system encoding (Mac OS Roman): a character
// that encoding lacks becomes '?', and an entry is cut at 255 bytes. Types other than "STR#" are
// accepted and ignored as long as they have the same shape.
#ifndef HALYX_PLATFORM_RESOURCES_RESOURCEMAP_H
#define HALYX_PLATFORM_RESOURCES_RESOURCEMAP_H

#include <map>
#include <string>
#include <vector>

#include "Base/MacErrors.h"
#include "Base/MacTypes.h"

namespace halyx::resources {

class ResourceMap {
public:
    // Replaces the map with the resources in `bytes`. noErr; mapReadErr (-199) when the bytes are
    // not a property list of the shape above (the map is then empty).
    OSErr Load(const UInt8* bytes, size_t length);

    // Entry `index` (counted from 1) of string list `listID`, in Mac OS Roman; false when the list
    // or the entry does not exist.
    bool IndString(SInt16 listID, SInt16 index, std::string* text) const;

    bool HasStringList(SInt16 listID) const { return mStringLists.count(listID) != 0; }

private:
    std::map<SInt16, std::vector<std::string>> mStringLists;
};

}  // namespace halyx::resources

#endif  // HALYX_PLATFORM_RESOURCES_RESOURCEMAP_H

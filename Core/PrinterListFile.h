// The bundle's list of supported PPD files: "PrinterList.plist", a dictionary whose "PCFILENAME"
// array holds the *PCFileName value of every PPD the pane serves.
#ifndef HALYX_CORE_PRINTERLISTFILE_H
#define HALYX_CORE_PRINTERLISTFILE_H

#include "CoreFoundation/CFArray.h"
#include "Core/PropertyListFile.h"

class PrinterListFile : public PropertyListFile {
public:
    // Reads "PrinterList.plist" in `folder`; loaded only when it holds a "PCFILENAME" array. An
    // immutable list is read once for as long as the file stays as it was (same device, inode,
    // size and times, its last change some ticks of the clock old): later readers share it.
    PrinterListFile(CFURLRef folder, CFPropertyListMutabilityOptions mutability);

    // The names, owned by the property list; null when not loaded.
    CFArrayRef Names() const { return mNames; }

private:
    CFArrayRef mNames;
};

#endif  // HALYX_CORE_PRINTERLISTFILE_H

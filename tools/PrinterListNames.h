// The PC file names a printer list accepts: the "PCFILENAME" array of a PrinterList.plist, the
// list by which the pane decides whether it serves a printer.
#ifndef HALYX_TOOLS_PRINTERLISTNAMES_H
#define HALYX_TOOLS_PRINTERLISTNAMES_H

#include <string>
#include <vector>

namespace halyx::tools {

// The printer list of the bundle the program uses (it may not exist).
std::string BundlePrinterListPath();

// True when `path` is a regular file this process may read; a pipe or a device is not taken, as
// reading one may never end.
bool PrinterListReadable(const std::string& path);

// Reads the names. False, with `*message` saying why, when the file cannot be read or holds no
// "PCFILENAME" array; entries that are not strings are passed over.
bool ReadPrinterListNames(const std::string& path, std::vector<std::string>* names,
                          std::string* message);

}  // namespace halyx::tools

#endif  // HALYX_TOOLS_PRINTERLISTNAMES_H

// The print dialog host of `halyx-jobnotes print`: loads a plug-in bundle through its factory as
// a print dialog does, and drives its pane in the dialog's order on a print session whose printer
// uses a given PPD, typing values into the pane as a person would.
//
// Only the platform's published interfaces are used: the pane is reached through the bundle's
// "CFPlugInTypes", its factory and the print dialog extension table, never through its classes.
// The host process provides the platform services the loaded executable uses.
#ifndef HALYX_TOOLS_PRINTHOST_H
#define HALYX_TOOLS_PRINTHOST_H

#include <string>
#include <utility>
#include <vector>

#include "Base/MacTypes.h"
#include "PrintCore/PMTicketKeys.h"

namespace halyx::tools {

// One value to type: the title of the field's row (as the editor shows it) and the text.
struct PrintValue {
    std::string title;  // UTF-8
    std::string text;   // UTF-8
};

struct PrintRequest {
    std::string ppdPath;
    // A bundle folder (".plugin") or a folder holding bundles.
    std::string bundlePath;
    // Replaces the bundle's PrinterList.plist for this run when not empty.
    std::string printerListPath;
    std::vector<PrintValue> values;
    PMOrientation orientation = kPMPortrait;
    SInt32 layoutRows = 1;
    SInt32 layoutColumns = 1;
    // The dialog opened this many times, one pane after the other, on one session.
    int runs = 1;
    // When not empty, a PNG picture of the pane goes there: as it stands once the values are
    // typed and Print is pressed (or at the step that was refused).
    std::string picturePath;
    // Only opens the pane (and takes its picture), without typing or pressing Print; the outcome
    // is then kPrinted when the pane opened.
    bool openOnly = false;
};

struct PrintPiece {
    SInt32 site = 0;
    std::string data;  // the bytes as written
};

enum class PrintOutcome {
    kPrinted,   // Print went through and the pane wrote the ticket (openOnly: the pane opened)
    kRefused,   // the editor refused a key, a click or Print
    kFailed,    // the plug-in or the pane could not be set up, or a step failed
    kBadInput,  // the PPD, the bundle or the printer list could not be read
};

struct PrintResult {
    PrintOutcome outcome = PrintOutcome::kFailed;
    std::string error;                                         // why, when not printed
    std::vector<std::pair<std::string, std::string>> summary;  // title, value (UTF-8)
    std::vector<PrintPiece> pieces;
    std::string piecesFile;                       // empty when none was written
    std::string piecesKey;                        // the print-settings key naming it
    std::vector<std::string> earlierPiecesFiles;  // those of the runs before the last, removed
    std::vector<std::string> messages;            // what the editor showed, UTF-8, in order
    UInt32 beeps = 0;
    OSStatus pictureStatus = noErr;  // writing the picture, when one was asked for and taken
};

class PrintHost {
public:
    // Runs the dialog `request.runs` times; the result is the last run's (messages and beeps
    // count every run). Stops at the first run that is not printed. The pieces files of the runs
    // before the last are removed: the last run's replaced them in the print settings.
    static PrintResult Run(const PrintRequest& request);
};

}  // namespace halyx::tools

#endif  // HALYX_TOOLS_PRINTHOST_H

// halyx-jobnotes check: parses a PPD as the pane does and lists its errors, then a verdict.
#include <getopt.h>

#include <cstdio>
#include <string>

#include "parser/ORBPPD.h"
#include "tools/Commands.h"
#include "tools/CupsFilterCheck.h"
#include "tools/Messages.h"
#include "tools/PPDErrorLines.h"
#include "tools/PPDLoader.h"
#include "tools/PrinterListNames.h"

namespace halyx::tools {

namespace {

const char kCheckUsage[] =
    "Usage: halyx-jobnotes check PPD [--names N1,N2,...] [--printer-list FILE]\n"
    "                                [--all-errors-fatal]\n"
    "\n"
    "Parses PPD as the Halyx Job Notes pane does and prints one line per error (code, fatal or\n"
    "not, keyword, description), then a verdict. The PPD is usable when it parses without a\n"
    "fatal error and the pane's printer list names its *PCFileName.\n"
    "\n"
    "  --names LIST         accepted PC file names, comma-separated, instead of a printer list;\n"
    "                       the PPD's *PCFileName must be one of them\n"
    "  --printer-list FILE  the printer list to hold the PPD against (default: the bundle's\n"
    "                       PrinterList.plist)\n"
    "  --all-errors-fatal   every error, not only the fatal ones, ends the parse and makes the\n"
    "                       PPD unusable\n"
    "  -h, --help           show this help\n"
    "\n"
    "Exit status: 0 the PPD is usable, 1 it is not, 2 usage error, a printer list that cannot be\n"
    "read, or a file that cannot be a PPD (missing, not a regular file, unreadable, empty,\n"
    "binary).\n";

}  // namespace

int RunCheck(int argc, char** argv) {
    enum { kNames = 1000, kPrinterList, kAllFatal };
    static const struct option kOptions[] = {
        {"names", required_argument, nullptr, kNames},
        {"printer-list", required_argument, nullptr, kPrinterList},
        {"all-errors-fatal", no_argument, nullptr, kAllFatal},
        {"help", no_argument, nullptr, 'h'},
        {nullptr, 0, nullptr, 0},
    };
    PPDLoader loader;
    bool allFatal = false;
    bool haveNames = false;
    std::string printerList;
    int opt;
    while ((opt = getopt_long(argc, argv, ":h", kOptions, nullptr)) != -1) {
        switch (opt) {
            case kNames:
                loader.Names(PPDLoader::SplitNames(optarg));
                haveNames = true;
                break;
            case kPrinterList:
                printerList = optarg;
                break;
            case kAllFatal:
                allFatal = true;
                loader.AllErrorsFatal(true);
                break;
            case 'h':
                std::fputs(kCheckUsage, stdout);
                return kExitOk;
            default:
                return UsageProblem("check", OptionProblem(opt, argv), kCheckUsage);
        }
    }
    if (argc - optind != 1)
        return UsageProblem("check", argc == optind ? "no PPD file given" : "expected one PPD file",
                            kCheckUsage);
    if (haveNames && !printerList.empty())
        return UsageProblem("check", "--names and --printer-list do not go together", kCheckUsage);

    // Without --names the PPD is held against the printer list the pane reads, so that "usable"
    // means that the pane serves it.
    std::string listUsed;
    if (!haveNames) {
        const bool given = !printerList.empty();
        const std::string path = given ? printerList : BundlePrinterListPath();
        std::vector<std::string> names;
        std::string message;
        if (ReadPrinterListNames(path, &names, &message)) {
            loader.Names(names);
            listUsed = path;
        } else if (given) {
            Say("check", message);
            return kExitUsage;
        }
    }

    const char* path = argv[optind];
    std::string message;
    if (!loader.Load(path, &message)) {
        Say("check", message);
        return kExitUsage;
    }

    ORBPPD& model = *loader.Model();
    const PPDErrorLines errors = ListPPDErrors(model, false);
    for (const std::string& line : errors.lines) std::printf("%s\n", line.c_str());

    const std::string filterWarning = CupsFilterWarningForFile(path);
    if (!filterWarning.empty()) std::printf("warning: %s\n", filterWarning.c_str());
    if (!haveNames && listUsed.empty())
        std::printf(
            "warning: no printer list at %s: whether the pane serves the PPD is not "
            "checked\n",
            BundlePrinterListPath().c_str());

    const bool usable = model.IsValidPPD() && model.IsValidPrinterName();
    std::string why;
    if (!model.IsValidPrinterName())
        why = listUsed.empty() ? "its *PCFileName is not one of the accepted names"
                               : "its *PCFileName is not in the printer list " + listUsed;
    else if (!usable && errors.count == 0)
        why = "it is not a version 4.3 PPD";
    else if (!usable && errors.fatal == 0 && allFatal)
        why = "every error counts as fatal";
    else if (usable && !listUsed.empty())
        why = "the printer list " + listUsed + " names its *PCFileName";
    std::printf("%s: %s, %lu error%s (%lu fatal)%s%s\n", path, usable ? "usable" : "not usable",
                errors.count, errors.count == 1 ? "" : "s", errors.fatal, why.empty() ? "" : ": ",
                why.c_str());
    return usable ? kExitOk : kExitProblem;
}

}  // namespace halyx::tools

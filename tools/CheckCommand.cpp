// halyx-jobnotes check: parses a PPD as the pane does and lists its errors, then a verdict.
#include <getopt.h>

#include <cstdio>
#include <string>

#include "foundation/PPDXErrors.h"
#include "parser/ORBPPD.h"
#include "tools/Commands.h"
#include "tools/CupsFilterCheck.h"
#include "tools/PPDLoader.h"
#include "tools/PPDText.h"

namespace halyx::tools {

namespace {

const char kCheckUsage[] =
    "Usage: halyx-jobnotes check PPD [--names N1,N2,...] [--all-errors-fatal]\n"
    "\n"
    "Parses PPD as the Halyx Job Notes pane does and prints one line per error (code, fatal or\n"
    "not, keyword, description), then a verdict.\n"
    "\n"
    "  --names LIST         accepted PC file names, comma-separated; the PPD's *PCFileName must\n"
    "                       be one of them\n"
    "  --all-errors-fatal   every error, not only the fatal ones, ends the parse and makes the\n"
    "                       PPD unusable\n"
    "  -h, --help           show this help\n"
    "\n"
    "Exit status: 0 the PPD is usable, 1 it is not, 2 usage error or unreadable file.\n";

}  // namespace

int RunCheck(int argc, char** argv) {
    enum { kNames = 1000, kAllFatal };
    static const struct option kOptions[] = {
        {"names", required_argument, nullptr, kNames},
        {"all-errors-fatal", no_argument, nullptr, kAllFatal},
        {"help", no_argument, nullptr, 'h'},
        {nullptr, 0, nullptr, 0},
    };
    PPDLoader loader;
    bool allFatal = false;
    int opt;
    while ((opt = getopt_long(argc, argv, "h", kOptions, nullptr)) != -1) {
        switch (opt) {
            case kNames:
                loader.Names(PPDLoader::SplitNames(optarg));
                break;
            case kAllFatal:
                allFatal = true;
                loader.AllErrorsFatal(true);
                break;
            case 'h':
                std::fputs(kCheckUsage, stdout);
                return kExitOk;
            default:
                std::fputs(kCheckUsage, stderr);
                return kExitUsage;
        }
    }
    if (argc - optind != 1) {
        std::fprintf(stderr, "halyx-jobnotes check: expected one PPD file\n\n%s", kCheckUsage);
        return kExitUsage;
    }
    const char* path = argv[optind];
    std::string message;
    if (!loader.Load(path, &message)) {
        std::fprintf(stderr, "halyx-jobnotes check: %s\n", message.c_str());
        return kExitUsage;
    }

    ORBPPD& model = *loader.Model();
    const CFStringEncoding encoding = EncodingOfPPD(model.LanguageEncoding());
    unsigned long count = 0;
    unsigned long fatal = 0;
    if (PPDXErrors* errors = model.GetErrors()) {
        for (PPDXErrorObj* e = errors->First(); e != nullptr; e = errors->Next()) {
            ++count;
            if (e->IsFatal()) ++fatal;
            const std::string keyword = Utf8FromText(e->Keyword(), encoding);
            const std::string description =
                Utf8FromText(e->Description(), kCFStringEncodingMacRoman);
            std::printf("error %d  %-9s  %-24s  %s\n", static_cast<int>(e->Code()),
                        e->IsFatal() ? "fatal" : "not fatal",
                        keyword.empty() ? "-" : keyword.c_str(),
                        description.empty() ? "(no description)" : description.c_str());
        }
    }

    const std::string filterWarning = CupsFilterWarningForFile(path);
    if (!filterWarning.empty()) std::printf("warning: %s\n", filterWarning.c_str());

    const bool usable = model.IsValidPPD() && model.IsValidPrinterName();
    std::string why;
    if (!model.IsValidPrinterName())
        why = "its *PCFileName is not one of the accepted names";
    else if (!usable && count == 0)
        why = "it is not a version 4.3 PPD";
    else if (!usable && fatal == 0 && allFatal)
        why = "every error counts as fatal";
    std::printf("%s: %s, %lu error%s (%lu fatal)%s%s\n", path, usable ? "usable" : "not usable",
                count, count == 1 ? "" : "s", fatal, why.empty() ? "" : ": ", why.c_str());
    return usable ? kExitOk : kExitProblem;
}

}  // namespace halyx::tools

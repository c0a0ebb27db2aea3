// halyx-jobnotes show: parses a PPD as the pane does and prints the model, as an outline or as
// one JSON object.
#include <getopt.h>

#include <cstdio>
#include <string>

#include "parser/ORBPPD.h"
#include "layout/InstallLayout.h"
#include "tools/Commands.h"
#include "tools/ModelJson.h"
#include "tools/Messages.h"
#include "tools/ModelOutline.h"
#include "tools/PPDLoader.h"
#include "tools/PictureOption.h"
#include "panehost/PluginLoader.h"
#include "tools/PrinterListNames.h"
#include "tools/PrintHost.h"

namespace halyx::tools {

namespace {

const char kShowUsage[] =
    "Usage: halyx-jobnotes show PPD [--json] [--names N1,N2,...]\n"
    "                               [--picture FILE.png [--printer-list FILE]]\n"
    "\n"
    "Parses PPD as the Halyx Job Notes pane does and prints the model: header, errors, pages,\n"
    "groups, controls, shortcuts, constraints and requires.\n"
    "\n"
    "  --json               one JSON object instead of the outline (UTF-8)\n"
    "  --names LIST         accepted PC file names, comma-separated\n"
    "  --picture FILE.png   also write a picture of the pane freshly opened for PPD, through the\n"
    "                       plug-in as the print dialog opens it\n"
    "  --printer-list FILE  for the picture: a printer list to use instead of the bundle's\n"
    "  -h, --help           show this help\n"
    "\n"
    "Exit status: 0 the PPD is usable, 1 it is not (the model is shown all the same) or the\n"
    "pane does not open for it, 2 usage error, unreadable file or a picture that cannot be\n"
    "written.\n";

}  // namespace

int RunShow(int argc, char** argv) {
    enum { kNames = 1000, kJson, kPicture, kPrinterList };
    static const struct option kOptions[] = {
        {"names", required_argument, nullptr, kNames},
        {"json", no_argument, nullptr, kJson},
        {"picture", required_argument, nullptr, kPicture},
        {"printer-list", required_argument, nullptr, kPrinterList},
        {"help", no_argument, nullptr, 'h'},
        {nullptr, 0, nullptr, 0},
    };
    PPDLoader loader;
    bool json = false;
    PrintRequest picture;
    picture.openOnly = true;
    int opt;
    while ((opt = getopt_long(argc, argv, ":h", kOptions, nullptr)) != -1) {
        switch (opt) {
            case kNames:
                loader.Names(PPDLoader::SplitNames(optarg));
                break;
            case kJson:
                json = true;
                break;
            case kPicture:
                picture.picturePath = optarg;
                break;
            case kPrinterList:
                picture.printerListPath = optarg;
                break;
            case 'h':
                std::fputs(kShowUsage, stdout);
                return kExitOk;
            default:
                return UsageProblem("show", OptionProblem(opt, argv), kShowUsage);
        }
    }
    if (argc - optind != 1)
        return UsageProblem("show", argc == optind ? "no PPD file given" : "expected one PPD file",
                            kShowUsage);
    if (!picture.printerListPath.empty() && !PrinterListReadable(picture.printerListPath)) {
        Say("show", "cannot read the printer list " + picture.printerListPath);
        return kExitUsage;
    }
    const char* path = argv[optind];
    if (!picture.picturePath.empty() && !PicturePathUsable("show", picture.picturePath))
        return kExitUsage;
    std::string message;
    if (!loader.Load(path, &message)) {
        Say("show", message);
        return kExitUsage;
    }

    ORBPPD& model = *loader.Model();
    if (json) {
        // Written as it is made: a large model's object and text would not fit beside it.
        WriteModelJson(model, path, stdout);
    } else {
        const std::string text = ModelOutline(ModelToJson(model, path));
        std::fwrite(text.data(), 1, text.size(), stdout);
    }
    if (!picture.picturePath.empty()) {
        picture.ppdPath = path;
        picture.bundlePath = layout::DefaultBundlePath();
        const PrintResult opened = PrintHost::Run(picture);
        if (opened.outcome != PrintOutcome::kPrinted) {
            Say("show", "no picture: " + opened.error);
            return opened.outcome == PrintOutcome::kBadInput ? kExitUsage : kExitProblem;
        }
        if (PictureFailed("show", picture.picturePath, opened.pictureStatus)) return kExitUsage;
    }
    return model.IsValidPPD() && model.IsValidPrinterName() ? kExitOk : kExitProblem;
}

}  // namespace halyx::tools

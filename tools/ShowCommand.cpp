// halyx-jobnotes show: parses a PPD as the pane does and prints the model, as an outline or as
// one JSON object.
#include <getopt.h>

#include <cstdio>
#include <string>

#include "parser/ORBPPD.h"
#include "tools/Commands.h"
#include "tools/ModelJson.h"
#include "tools/ModelOutline.h"
#include "tools/PPDLoader.h"

namespace halyx::tools {

namespace {

const char kShowUsage[] =
    "Usage: halyx-jobnotes show PPD [--json] [--names N1,N2,...]\n"
    "\n"
    "Parses PPD as the Halyx Job Notes pane does and prints the model: header, errors, pages,\n"
    "groups, controls, shortcuts, constraints and requires.\n"
    "\n"
    "  --json         one JSON object instead of the outline (UTF-8)\n"
    "  --names LIST   accepted PC file names, comma-separated\n"
    "  -h, --help     show this help\n"
    "\n"
    "Exit status: 0 the PPD is usable, 1 it is not (the model is shown all the same), 2 usage\n"
    "error or unreadable file.\n";

}  // namespace

int RunShow(int argc, char** argv) {
    enum { kNames = 1000, kJson };
    static const struct option kOptions[] = {
        {"names", required_argument, nullptr, kNames},
        {"json", no_argument, nullptr, kJson},
        {"help", no_argument, nullptr, 'h'},
        {nullptr, 0, nullptr, 0},
    };
    PPDLoader loader;
    bool json = false;
    int opt;
    while ((opt = getopt_long(argc, argv, "h", kOptions, nullptr)) != -1) {
        switch (opt) {
            case kNames:
                loader.Names(PPDLoader::SplitNames(optarg));
                break;
            case kJson:
                json = true;
                break;
            case 'h':
                std::fputs(kShowUsage, stdout);
                return kExitOk;
            default:
                std::fputs(kShowUsage, stderr);
                return kExitUsage;
        }
    }
    if (argc - optind != 1) {
        std::fprintf(stderr, "halyx-jobnotes show: expected one PPD file\n\n%s", kShowUsage);
        return kExitUsage;
    }
    const char* path = argv[optind];
    std::string message;
    if (!loader.Load(path, &message)) {
        std::fprintf(stderr, "halyx-jobnotes show: %s\n", message.c_str());
        return kExitUsage;
    }

    ORBPPD& model = *loader.Model();
    const Json object = ModelToJson(model, path);
    const std::string text = json ? JsonText(object) : ModelOutline(object);
    std::fwrite(text.data(), 1, text.size(), stdout);
    return model.IsValidPPD() && model.IsValidPrinterName() ? kExitOk : kExitProblem;
}

}  // namespace halyx::tools

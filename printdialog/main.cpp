// halyx-print [--printer NAME] [FILE]: the print dialog with the "Halyx Job Notes" tab.
#include <getopt.h>
#include <stdio.h>
#include <string.h>

#include <gtk/gtk.h>

#include <string>

#include "cupsclient/CupsQueue.h"
#include "layout/InstallLayout.h"
#include "panehost/PaneSession.h"
#include "panehost/PluginLoader.h"
#include "printdialog/PrintDialog.h"

namespace {

// Exit statuses, as the manual page lists them.
constexpr int kExitPrinted = 0;
constexpr int kExitCanceled = 1;
constexpr int kExitUsage = 2;
constexpr int kExitFailed = 3;

void PrintUsage(FILE* out) {
    fputs(
        "Usage: halyx-print [--printer NAME] [--verbose] [FILE]\n"
        "Opens the print dialog for FILE (PostScript or PDF; without FILE, a one-page test\n"
        "page). For a CUPS queue whose PPD the Halyx Job Notes pane serves, the dialog has a\n"
        "\"Halyx Job Notes\" tab; Print sends the job with the notes to that queue.\n"
        "\n"
        "  -p, --printer NAME  preselect the printer (queue) NAME\n"
        "  -v, --verbose       say on standard error when the pane opens and the job is sent\n"
        "  -h, --help          show this help and exit\n"
        "  -V, --version       show the version and exit\n"
        "\n"
        "Exit status: 0 printed, 1 canceled, 2 usage error, unreadable file or no display,\n"
        "3 the pane or the job failed.\n",
        out);
}

}  // namespace

int main(int argc, char** argv) {
    static const struct option kOptions[] = {
        {"printer", required_argument, nullptr, 'p'},
        {"verbose", no_argument, nullptr, 'v'},
        {"help", no_argument, nullptr, 'h'},
        {"version", no_argument, nullptr, 'V'},
        {nullptr, 0, nullptr, 0},
    };
    std::string printer;
    bool verbose = false;
    int option;
    while ((option = getopt_long(argc, argv, "p:vhV", kOptions, nullptr)) != -1) {
        switch (option) {
            case 'p':
                printer = optarg;
                break;
            case 'v':
                verbose = true;
                break;
            case 'h':
                PrintUsage(stdout);
                return kExitPrinted;
            case 'V':
                halyx::layout::PrintVersion("halyx-print");
                return kExitPrinted;
            default:
                PrintUsage(stderr);
                return kExitUsage;
        }
    }
    if (argc - optind > 1) {
        PrintUsage(stderr);
        return kExitUsage;
    }
    const std::string document = optind < argc ? argv[optind] : "";
    if (!document.empty() && CupsQueue::FormatOfFile(document) == nullptr) {
        fprintf(stderr, "halyx-print: %s is not a readable PostScript or PDF file\n",
                document.c_str());
        return kExitUsage;
    }
    if (!gtk_init_check(&argc, &argv)) {
        fputs("halyx-print: cannot open the display\n", stderr);
        return kExitUsage;
    }
    halyx::panehost::PluginLoader loader;
    std::string message;
    if (!loader.Load(halyx::layout::DefaultBundlePath(), "", &message)) {
        fprintf(stderr, "halyx-print: %s\n", message.c_str());
        return kExitUsage;
    }
    // The pieces file's name is drawn from the toolbox's random numbers.
    halyx::panehost::PaneSession::SeedRandom();
    halyx::printdialog::PrintDialog dialog(loader, document, printer);
    dialog.verbose = verbose;
    switch (dialog.Run()) {
        case halyx::printdialog::DialogOutcome::kPrinted:
            return kExitPrinted;
        case halyx::printdialog::DialogOutcome::kCanceled:
            if (verbose) fputs("halyx-print: canceled\n", stderr);
            return kExitCanceled;
        case halyx::printdialog::DialogOutcome::kFailed:
            break;
    }
    fprintf(stderr, "halyx-print: %s\n", dialog.error.c_str());
    return kExitFailed;
}

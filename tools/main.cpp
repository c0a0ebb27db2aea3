// halyx-jobnotes: the command-line program of Halyx Job Notes.
//
// One binary with subcommands. Each subcommand is an entry of kCommands; the table is the help
// text's source as well, so a command cannot exist without being listed.
//
// Exit statuses: 0 success, 1 the work found a problem (an unusable PPD, a refused value),
// 2 usage errors and unreadable input, 3 a value the editor refused.
#include <getopt.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "layout/InstallLayout.h"
#include "tools/Commands.h"
#include "tools/Messages.h"

namespace {

using halyx::tools::kExitOk;
using halyx::tools::kExitUsage;

struct Command {
    const char* name;
    const char* synopsis;
    const char* summary;
    int (*run)(int argc, char** argv);
};

const Command kCommands[] = {
    {"help", "help [COMMAND]", "show this help, or the help of one command", nullptr},
    {"check", "check PPD [--names N,...]", "parse a PPD and list its errors, then a verdict",
     halyx::tools::RunCheck},
    {"show", "show PPD [--json]", "show the parsed model: pages, groups, controls, constraints",
     halyx::tools::RunShow},
    {"print", "print [PPD] [--set K=V]...",
     "open the pane as the print dialog does, type values, print", halyx::tools::RunPrint},
};

void PrintUsage(FILE* out) {
    std::fprintf(
        out,
        "Usage: halyx-jobnotes [--help] [--version] COMMAND [ARGS]\n"
        "\n"
        "Halyx Job Notes: reads PPD files with the Halyx extension keywords and hosts the\n"
        "\"Halyx Job Notes\" print dialog pane.\n"
        "\n"
        "Commands:\n");
    for (const Command& c : kCommands) std::fprintf(out, "  %-28s %s\n", c.synopsis, c.summary);
    std::fprintf(out,
                 "\n"
                 "Options:\n"
                 "  -h, --help                   show this help and exit\n"
                 "  -V, --version                show the version and exit\n"
                 "\n"
                 "Exit status: 0 success, 1 a problem was found, 2 usage error or unreadable "
                 "input,\n3 the editor refused a value.\n");
}

const Command* FindCommand(const char* name) {
    for (const Command& c : kCommands)
        if (std::strcmp(c.name, name) == 0) return &c;
    return nullptr;
}

int RunHelp(int argc, char** argv) {
    if (argc > 1) {
        const Command* c = FindCommand(argv[1]);
        if (c == nullptr) {
            halyx::tools::Say(nullptr, std::string("unknown command '") + argv[1] +
                                           "' (see halyx-jobnotes --help)");
            return kExitUsage;
        }
        if (c->run == nullptr) {
            std::printf("Usage: halyx-jobnotes %s\n\n%s\n", c->synopsis, c->summary);
            return kExitOk;
        }
        // A command's own help is the full one: its options and exit statuses.
        char name[16];
        char option[] = "--help";
        std::snprintf(name, sizeof name, "%s", c->name);
        char* helpArgv[] = {name, option, nullptr};
        optind = 0;
        return c->run(2, helpArgv);
    }
    PrintUsage(stdout);
    return kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
    static const struct option kOptions[] = {
        {"help", no_argument, nullptr, 'h'},
        {"version", no_argument, nullptr, 'V'},
        {nullptr, 0, nullptr, 0},
    };
    // '+' stops at the first non-option: the rest belongs to the subcommand. Every command says
    // itself what is wrong with an option, under the program's own prefix.
    opterr = 0;
    int opt;
    while ((opt = getopt_long(argc, argv, "+:hV", kOptions, nullptr)) != -1) {
        switch (opt) {
            case 'h':
                PrintUsage(stdout);
                return kExitOk;
            case 'V':
                halyx::layout::PrintVersion("halyx-jobnotes");
                return kExitOk;
            default:
                halyx::tools::Say(nullptr, halyx::tools::OptionProblem(opt, argv));
                std::fputc('\n', stderr);
                PrintUsage(stderr);
                return kExitUsage;
        }
    }
    if (optind >= argc) {
        halyx::tools::Say(nullptr, "no command given");
        std::fputc('\n', stderr);
        PrintUsage(stderr);
        return kExitUsage;
    }
    const char* name = argv[optind];
    const Command* c = FindCommand(name);
    if (c == nullptr) {
        halyx::tools::Say(
            nullptr, std::string("unknown command '") + name + "' (see halyx-jobnotes --help)");
        return kExitUsage;
    }
    int subArgc = argc - optind;
    char** subArgv = argv + optind;
    // Subcommands parse their own options; 0 makes the parser start afresh, so that options may
    // follow a subcommand's file as well as precede it.
    optind = 0;
    if (c->run == nullptr) return RunHelp(subArgc, subArgv);
    return c->run(subArgc, subArgv);
}

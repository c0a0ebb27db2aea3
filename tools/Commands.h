// The subcommands of halyx-jobnotes. Each takes the arguments from its own name on (argv[0] is
// the subcommand) and returns the program's exit status.
#ifndef HALYX_TOOLS_COMMANDS_H
#define HALYX_TOOLS_COMMANDS_H

namespace halyx::tools {

// Exit statuses shared by every subcommand.
// kExitJobEnded: the print server ended the job without printing it (print --queue --wait).
enum ExitStatus {
    kExitOk = 0,
    kExitProblem = 1,
    kExitUsage = 2,
    kExitRefused = 3,
    kExitJobEnded = 4
};

// check PPD [--names N1,N2,...] [--all-errors-fatal]
int RunCheck(int argc, char** argv);
// show PPD [--json] [--names N1,N2,...]
int RunShow(int argc, char** argv);
// print [PPD] [--set KEYWORD=VALUE]... [--orientation O] [--layout RxC] [--printer-list FILE]
//       [--plugins PATH] [--repeat N] [--json] [--queue NAME [--document FILE] [--wait]]
int RunPrint(int argc, char** argv);

}  // namespace halyx::tools

#endif  // HALYX_TOOLS_COMMANDS_H

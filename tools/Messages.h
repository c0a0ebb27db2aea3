// The program's messages on standard error. Every one begins with the same prefix: the program's
// name, followed by the command's within a command ("halyx-jobnotes check: ..."), so scripts and
// people can tell its words from those of the libraries it uses.
#ifndef HALYX_TOOLS_MESSAGES_H
#define HALYX_TOOLS_MESSAGES_H

#include <string>

namespace halyx::tools {

// Writes "halyx-jobnotes COMMAND: TEXT" (or "halyx-jobnotes: TEXT" for a null command) and a line
// end to standard error.
void Say(const char* command, const std::string& text);

// The problem, a blank line and the usage text, on standard error; answers kExitUsage.
int UsageProblem(const char* command, const std::string& problem, const char* usage);

// Why getopt_long stopped at argv[optind - 1]: `found` is what it returned for an option string
// that begins with ':' (':' a missing value, '?' an unknown option).
std::string OptionProblem(int found, char** argv);

}  // namespace halyx::tools

#endif  // HALYX_TOOLS_MESSAGES_H

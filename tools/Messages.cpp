#include "tools/Messages.h"

#include <getopt.h>

#include <cstdio>

#include "tools/Commands.h"

namespace halyx::tools {

void Say(const char* command, const std::string& text) {
    if (command == nullptr)
        std::fprintf(stderr, "halyx-jobnotes: %s\n", text.c_str());
    else
        std::fprintf(stderr, "halyx-jobnotes %s: %s\n", command, text.c_str());
}

int UsageProblem(const char* command, const std::string& problem, const char* usage) {
    Say(command, problem);
    std::fprintf(stderr, "\n%s", usage);
    return kExitUsage;
}

std::string OptionProblem(int found, char** argv) {
    // A short option is known by its letter; a long one only by the word on the command line.
    std::string word = optind > 0 ? argv[optind - 1] : "";
    if (optopt != 0 && optopt < 256 && (word.size() < 2 || word[1] != '-'))
        word = std::string("-") + static_cast<char>(optopt);
    const size_t equals = word.find('=');
    if (equals != std::string::npos) word.resize(equals);
    if (found == ':') return "the option " + word + " needs a value";
    return "unknown option " + word;
}

}  // namespace halyx::tools

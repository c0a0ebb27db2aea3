// What the filter takes from the job's options (argv[5] of a filter, "name=value" words that
// cupsParseOptions reads): the pieces file option, named "ORB.PSData." followed by the pane's
// bundle identifier (whatever it is: the filter does not know the pane's identifier), and the name
// of the host the job came from.
#ifndef HALYX_FILTER_JOBOPTIONS_H
#define HALYX_FILTER_JOBOPTIONS_H

#include <string>

struct JobOptions {
    static constexpr const char* kPiecesPrefix = "ORB.PSData.";

    bool hasPieces = false;      // an option named kPiecesPrefix and something more was given
    std::string piecesOption;    // its name
    std::string piecesPath;      // its value
    int otherPiecesOptions = 0;  // more such options, which are not read
    std::string origin;          // "job-originating-host-name", "" when missing

    // Reads the options text; a null text gives no options.
    static JobOptions FromText(const char* text);
};

#endif  // HALYX_FILTER_JOBOPTIONS_H

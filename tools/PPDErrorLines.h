// The errors of a parsed PPD as `check` lists them, one line each: code, fatal or not, keyword
// (in the PPD's encoding, shown as UTF-8) and description. `print` states the fatal ones in the
// same words.
#ifndef HALYX_TOOLS_PPDERRORLINES_H
#define HALYX_TOOLS_PPDERRORLINES_H

#include <string>
#include <vector>

class ORBPPD;

namespace halyx::tools {

struct PPDErrorLines {
    std::vector<std::string> lines;  // in the model's order, without line ends
    unsigned long count = 0;         // every error of the model
    unsigned long fatal = 0;         // the fatal ones among them
};

// The model's errors; with `fatalOnly` the lines hold the fatal ones only (the counts are whole).
PPDErrorLines ListPPDErrors(ORBPPD& model, bool fatalOnly);

}  // namespace halyx::tools

#endif  // HALYX_TOOLS_PPDERRORLINES_H

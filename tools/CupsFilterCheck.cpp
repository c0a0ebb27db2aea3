#include "tools/CupsFilterCheck.h"

#include <fstream>
#include <sstream>

namespace halyx::tools {

namespace {

const char kFilterName[] = "HalyxCupsFilter";
// The type pstops writes: the filter must take it to run after pstops.
const char kAfterPstops[] = "application/vnd.cups-postscript";

bool StartsWith(const std::string& line, const char* prefix) {
    return line.rfind(prefix, 0) == 0;
}

}  // namespace

std::string CupsFilterWarning(const std::string& ppdText) {
    bool hasNotes = false;
    bool named = false;
    bool afterPstops = false;
    std::string line;
    size_t at = 0;
    while (at < ppdText.size()) {
        size_t end = ppdText.find_first_of("\r\n", at);
        if (end == std::string::npos) end = ppdText.size();
        line = ppdText.substr(at, end - at);
        at = end + 1;
        if (StartsWith(line, "*%ORBJobNote")) hasNotes = true;
        if (!StartsWith(line, "*cupsFilter2:") && !StartsWith(line, "*cupsFilter:")) continue;
        if (line.find(kFilterName) == std::string::npos) continue;
        named = true;
        // The value's first word is the source type.
        size_t quote = line.find('"');
        std::istringstream words(quote == std::string::npos ? "" : line.substr(quote + 1));
        std::string source;
        words >> source;
        if (source == kAfterPstops) afterPstops = true;
    }
    if (!hasNotes || afterPstops) return "";
    if (!named)
        return "the PPD has job notes but no *cupsFilter2 line runs HalyxCupsFilter: a CUPS "
               "queue made from it prints without them";
    return "HalyxCupsFilter takes another type than application/vnd.cups-postscript: CUPS runs "
           "it before pstops, on a document that may not be structured PostScript";
}

std::string CupsFilterWarningForFile(const char* path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return "";
    std::ostringstream text;
    text << file.rdbuf();
    return CupsFilterWarning(text.str());
}

}  // namespace halyx::tools

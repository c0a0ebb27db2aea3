#include "tests/corpus/HeaderDisagreement.h"

#include <cstring>
#include <vector>

#include "tests/corpus/CorpusFiles.h"

namespace {

std::string Shown(const std::string* value) {
    return value != nullptr ? "\"" + *value + "\"" : "(none)";
}

std::string Trimmed(const std::string& text) {
    size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

// The reference library turns every text into UTF-8 and reports that as the file's encoding,
// whatever the file declares; ours keeps the declared name.
bool ReferenceReportsUtf8(const std::vector<std::string>& lines, const char* keyword,
                          const std::string* ours, const std::string* reference) {
    return std::strcmp(keyword, "*LanguageEncoding") == 0 && reference != nullptr &&
           *reference == "UTF-8" && ours != nullptr && !lines.empty() &&
           Trimmed(lines.front()) == *ours;
}

// Our parser reads *PCFileName, *ModelName, *FormatVersion and *FileVersion as quoted strings
// only; the reference library also takes a bare word. Ours then has no value, or an empty one
// when the next line starts a statement.
bool UnquotedValue(const std::vector<std::string>& lines, const std::string* ours,
                   const std::string* reference) {
    if (lines.size() != 1 || reference == nullptr) return false;
    std::string raw = Trimmed(lines.front());
    return !raw.empty() && raw[0] != '"' && raw == *reference && (ours == nullptr || ours->empty());
}

}  // namespace

Disagreement ExplainDisagreement(const std::string& bytes, const char* keyword,
                                 const std::string* ours, const std::string* reference) {
    Disagreement d{keyword, Shown(ours), Shown(reference), ""};
    std::vector<std::string> lines = RawHeaderLines(bytes, keyword);
    if (ReferenceReportsUtf8(lines, keyword, ours, reference))
        d.reason = "the reference parser reports every file as UTF-8";
    else if (UnquotedValue(lines, ours, reference))
        d.reason = "unquoted value, read by ours as a quoted string only";
    return d;
}

#include "tools/CupsFilterCheck.h"

#include <cstdio>
#include <cstring>
#include <string_view>
#include <vector>

namespace halyx::tools {

namespace {

const char kFilterName[] = "HalyxCupsFilter";
// The type pstops writes: the filter must take it to run after pstops.
const char kAfterPstops[] = "application/vnd.cups-postscript";

bool StartsWith(const char* line, size_t length, const char* prefix) {
    const size_t n = std::strlen(prefix);
    return length >= n && std::memcmp(line, prefix, n) == 0;
}

// What the lines seen so far tell; lines are fed one at a time, so that a file is read in pieces.
struct FilterFindings {
    bool hasNotes = false;
    bool named = false;
    bool afterPstops = false;

    void Line(const char* line, size_t length) {
        if (StartsWith(line, length, "*%ORBJobNote")) hasNotes = true;
        if (!StartsWith(line, length, "*cupsFilter2:") && !StartsWith(line, length, "*cupsFilter:"))
            return;
        const std::string_view text(line, length);
        if (text.find(kFilterName) == std::string_view::npos) return;
        named = true;
        // The value's first word is the source type.
        const size_t quote = text.find('"');
        if (quote == std::string_view::npos) return;
        const size_t start = text.find_first_not_of(" \t\v\f", quote + 1);
        if (start == std::string_view::npos) return;
        const size_t end = text.find_first_of(" \t\v\f", start);
        if (text.substr(start, end == std::string_view::npos ? end : end - start) == kAfterPstops)
            afterPstops = true;
    }

    // Feeds every line of `text` but an unfinished last one, when `whole` is false; answers how
    // many bytes were consumed.
    size_t Lines(const char* text, size_t size, bool whole) {
        size_t at = 0;
        while (at < size) {
            const char* begin = text + at;
            const char* end = static_cast<const char*>(std::memchr(begin, '\n', size - at));
            const char* cr = static_cast<const char*>(
                std::memchr(begin, '\r', (end != nullptr ? end : text + size) - begin));
            if (cr != nullptr) end = cr;
            if (end == nullptr) {
                if (!whole) return at;
                end = text + size;
            }
            Line(begin, static_cast<size_t>(end - begin));
            at = static_cast<size_t>(end - text) + 1;
        }
        return size;
    }

    std::string Warning() const {
        if (!hasNotes || afterPstops) return "";
        if (!named)
            return "the PPD has job notes but no *cupsFilter2 line runs HalyxCupsFilter: a CUPS "
                   "queue made from it prints without them";
        return "HalyxCupsFilter takes another type than application/vnd.cups-postscript: CUPS "
               "runs it before pstops, on a document that may not be structured PostScript";
    }
};

}  // namespace

std::string CupsFilterWarning(const std::string& ppdText) {
    FilterFindings findings;
    findings.Lines(ppdText.data(), ppdText.size(), true);
    return findings.Warning();
}

std::string CupsFilterWarningForFile(const char* path) {
    // Read in pieces: the file may be far larger than what is worth holding at once.
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) return "";
    FilterFindings findings;
    std::vector<char> buffer(1 << 16);
    size_t kept = 0;
    for (;;) {
        if (kept == buffer.size()) buffer.resize(buffer.size() * 2);  // a line longer than that
        const size_t got = std::fread(buffer.data() + kept, 1, buffer.size() - kept, file);
        const bool ended = got == 0;
        const size_t size = kept + got;
        const size_t used = findings.Lines(buffer.data(), size, ended);
        if (ended) break;
        kept = size - used;
        std::memmove(buffer.data(), buffer.data() + used, kept);
    }
    std::fclose(file);
    return findings.Warning();
}

}  // namespace halyx::tools

// Feeds any bytes to the pieces-list reader. A list is taken whole or refused with a reason; what
// is taken holds only comment lines that are one line each and pieces that end a line, none with a
// NUL byte.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "filter/PiecesList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    JobPieces pieces;
    std::string why;
    if (!ParsePiecesList(bytes, size, &pieces, &why)) {
        if (why.empty() || !pieces.Empty() || !pieces.unknownSites.empty()) std::abort();
        return 0;
    }
    for (const std::string& comment : pieces.comments)
        if (comment.empty() || comment[0] != '%' ||
            comment.find_first_of("\r\n") + 1 != comment.size())
            std::abort();
    for (const std::string& feature : pieces.features)
        if (feature.empty() || feature.back() != '\n' || feature.find('\0') != std::string::npos)
            std::abort();
    return 0;
}

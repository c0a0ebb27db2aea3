// Feeds any bytes to the stream placer. The first byte picks the read size. Whatever the stream,
// nothing of it is lost or reordered (it stays a subsequence of the output), the output does not
// depend on how the stream was cut into reads, and a job without pieces passes byte for byte.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "filter/DscStreamPlacer.h"

namespace {

std::string Place(const JobPieces& pieces, const std::string& input, size_t chunk) {
    StringSink out;
    DscStreamPlacer placer(pieces, out);
    for (size_t at = 0; at < input.size(); at += chunk)
        placer.Feed(input.data() + at, std::min(chunk, input.size() - at));
    placer.Finish();
    return out.text;
}

bool IsSubsequence(const std::string& part, const std::string& whole) {
    size_t at = 0;
    for (char c : whole)
        if (at < part.size() && part[at] == c) ++at;
    return at == part.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    if (size == 0) return 0;
    size_t chunk = bytes[0] % 16 + 1;
    std::string input(reinterpret_cast<const char*>(bytes) + 1, size - 1);

    JobPieces pieces;
    pieces.comments = {"%%ORBCustom1: fuzz\n"};
    pieces.features = {"%%BeginFeature: *Notes1 fuzz\n%%EndFeature\n"};
    std::string whole = Place(pieces, input, input.size() + 1);
    if (!IsSubsequence(input, whole)) std::abort();
    if (Place(pieces, input, chunk) != whole) std::abort();
    if (Place(JobPieces(), input, chunk) != input) std::abort();
    return 0;
}

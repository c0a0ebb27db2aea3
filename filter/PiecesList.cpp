#include "filter/PiecesList.h"

#include <cstring>

#include "CoreFoundation/CFArray.h"
#include "CoreFoundation/CFData.h"
#include "CoreFoundation/CFNumber.h"
#include "CoreFoundation/CFPropertyList.h"

namespace {

bool IsCommentSite(int32_t site) {
    return site == kSiteNoteComment || site == kSiteOrientation;
}
bool IsFeatureSite(int32_t site) {
    return site == kSiteNoteFeature || site == kSiteRange;
}

// One comment line: starts with '%', no line break but an optional last LF.
bool IsOneCommentLine(const std::string& piece) {
    if (piece.empty() || piece[0] != '%') return false;
    size_t end = piece.find_first_of("\r\n");
    return end == std::string::npos || (end == piece.size() - 1 && piece[end] == '\n');
}

bool Refuse(JobPieces* pieces, std::string* why, const std::string& reason) {
    *pieces = JobPieces();
    *why = reason;
    return false;
}

// Takes the pairs of `items` into `pieces`; false with a reason on the first bad one.
bool TakePairs(CFArrayRef items, JobPieces* pieces, std::string* why) {
    CFIndex count = CFArrayGetCount(items);
    if (count % 2 != 0) return Refuse(pieces, why, "its array does not hold site/data pairs");
    for (CFIndex i = 0; i < count; i += 2) {
        std::string number = std::to_string(i / 2 + 1);
        CFTypeRef site = CFArrayGetValueAtIndex(items, i);
        CFTypeRef data = CFArrayGetValueAtIndex(items, i + 1);
        int32_t code = 0;
        if (CFGetTypeID(site) != CFNumberGetTypeID() ||
            CFNumberIsFloatType(static_cast<CFNumberRef>(site)) ||
            !CFNumberGetValue(static_cast<CFNumberRef>(site), kCFNumberSInt32Type, &code))
            return Refuse(pieces, why, "the site of piece " + number + " is not an integer");
        if (CFGetTypeID(data) != CFDataGetTypeID())
            return Refuse(pieces, why, "piece " + number + " is not data");
        CFDataRef bytes = static_cast<CFDataRef>(data);
        std::string piece(reinterpret_cast<const char*>(CFDataGetBytePtr(bytes)),
                          static_cast<size_t>(CFDataGetLength(bytes)));
        if (piece.find('\0') != std::string::npos)
            return Refuse(pieces, why, "piece " + number + " holds a NUL byte");
        if (IsCommentSite(code) && !IsOneCommentLine(piece))
            return Refuse(pieces, why, "piece " + number + " is not one comment line");
        if (piece.empty() && !IsCommentSite(code)) continue;
        if (piece.back() != '\n') piece += '\n';
        if (IsCommentSite(code))
            pieces->comments.push_back(piece);
        else if (IsFeatureSite(code))
            pieces->features.push_back(piece);
        else
            pieces->unknownSites.push_back(code);
    }
    return true;
}

}  // namespace

bool ParsePiecesList(const void* bytes, size_t length, JobPieces* pieces, std::string* why) {
    *pieces = JobPieces();
    CFDataRef data =
        CFDataCreate(nullptr, static_cast<const UInt8*>(bytes), static_cast<CFIndex>(length));
    if (data == nullptr) return Refuse(pieces, why, "out of memory");
    CFPropertyListRef list =
        CFPropertyListCreateWithData(nullptr, data, kCFPropertyListImmutable, nullptr, nullptr);
    CFRelease(data);
    if (list == nullptr) return Refuse(pieces, why, "it is not a readable property list");
    bool taken = CFGetTypeID(list) == CFArrayGetTypeID()
                     ? TakePairs(static_cast<CFArrayRef>(list), pieces, why)
                     : Refuse(pieces, why, "its root is not an array");
    CFRelease(list);
    return taken;
}

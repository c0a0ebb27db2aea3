#include "parser/PPDFile.h"

#include <cstring>

#include "Files/FileRecords.h"
#include "Files/FileURL.h"
#include "Files/Files.h"

namespace {

constexpr CFIndex kMaxURLPath = 4096;

}  // namespace

PPDFile::PPDFile(unsigned char flag) : FileMac(), mFlag(flag) {
    mValid = false;
    mFlag = 0;
}

PPDFile::PPDFile(short vRefNum, long dirID, char* name) : FileMac(vRefNum, dirID, name), mFlag(0) {
    mValid = false;
}

PPDFile::PPDFile(const FSSpec& spec) : FileMac(spec), mFlag(0) {
    mValid = false;
}

PPDFile::PPDFile(CFURLRef url) : FileMac(), mFlag(0) {
    SpecFromURL(url, mSpec);
    mValid = false;
}

PPDFile::~PPDFile() {}

bool PPDFile::SpecFromURL(CFURLRef url, FSSpec& spec) {
    std::memset(&spec, 0, sizeof spec);
    // Straight from the path: the detour through a reference looks the same file up twice more.
    UInt8 path[kMaxURLPath];
    if (url == nullptr || !CFURLGetFileSystemRepresentation(url, true, path, sizeof path))
        return false;
    FSSpec found;
    if (HalyxFSSpecFromPath(reinterpret_cast<const char*>(path), &found) != noErr) return false;
    spec = found;
    return true;
}

#include "parser/PPDFile.h"

#include <cstring>

#include "Files/FileURL.h"
#include "Files/Files.h"

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
    FSRef ref;
    if (url == nullptr || !CFURLGetFSRef(url, &ref)) return false;
    FSSpec found;
    if (FSGetCatalogInfo(&ref, kFSCatInfoNone, nullptr, nullptr, &found, nullptr) != noErr)
        return false;
    spec = found;
    return true;
}

#include "parser/FileMac.h"

#include <cstring>

#include "Files/Files.h"

namespace {

void ClearSpec(FSSpec& spec) {
    std::memset(&spec, 0, sizeof spec);
}

}  // namespace

FileMac::FileMac()
    : mError(noErr),
      mValid(false),
      mDataForkOpen(false),
      mDataForkRef(0),
      mResourceForkOpen(false),
      mResourceForkRef(-1),
      mPreviousResFile(-1) {
    ClearSpec(mSpec);
}

FileMac::FileMac(short vRefNum, long dirID, const char* name) : FileMac() {
    if (name == nullptr || name[0] == '\0') return;
    size_t length = std::strlen(name);
    if (length > kHalyxMaxFileName) length = kHalyxMaxFileName;
    mSpec.vRefNum = vRefNum;
    mSpec.parID = static_cast<SInt32>(dirID);
    mSpec.name[0] = static_cast<unsigned char>(length);
    std::memcpy(mSpec.name + 1, name, length);
    mValid = true;
}

FileMac::FileMac(const FSSpec& spec) : FileMac() {
    mSpec = spec;
    mValid = true;
}

FileMac::~FileMac() {
    if (mDataForkOpen) closeDataFork();
    if (mResourceForkOpen) CloseResourceFork();
}

void FileMac::getFileInfo(FSSpec& spec) const {
    spec = mSpec;
}

void FileMac::getFileInfo(short& vRefNum, long& dirID, char* name) const {
    vRefNum = mSpec.vRefNum;
    dirID = mSpec.parID;
    getFileName(name);
}

void FileMac::getFileName(char* name) const {
    if (name == nullptr) return;
    std::memcpy(name, mSpec.name + 1, mSpec.name[0]);
    name[mSpec.name[0]] = '\0';
}

bool FileMac::exists() {
    FInfo info;
    mError = FSpGetFInfo(&mSpec, &info);
    return mError == noErr;
}

OSErr FileMac::openDataFork(SInt8 permission) {
    if (mDataForkOpen) return mError = noErr;
    FSIORefNum ref = 0;
    mError = FSpOpenDF(&mSpec, permission, &ref);
    if (mError == noErr) {
        mDataForkOpen = true;
        mDataForkRef = ref;
    }
    return mError;
}

OSErr FileMac::closeDataFork() {
    if (!mDataForkOpen) return mError = fnOpnErr;
    mError = FSClose(mDataForkRef);
    mDataForkOpen = false;
    mDataForkRef = 0;
    return mError;
}

OSErr FileMac::createDataFork(OSType creator, OSType fileType) {
    mError = HCreate(mSpec.vRefNum, mSpec.parID, mSpec.name, creator, fileType);
    return mError;
}

OSErr FileMac::dataForkWrite(const void* bytes, long count) {
    if (!mDataForkOpen) return mError = fnOpnErr;
    SInt32 written = static_cast<SInt32>(count);
    mError = FSWrite(mDataForkRef, &written, bytes);
    return mError;
}

OSErr FileMac::dataForkRead(void* buffer, long& count) {
    if (!mDataForkOpen) {
        count = 0;
        return mError = fnOpnErr;
    }
    SInt32 wanted = static_cast<SInt32>(count);
    mError = FSRead(mDataForkRef, &wanted, buffer);
    count = wanted;
    return mError;
}

UInt32 FileMac::dataForkSize() {
    HParamBlockRec block;
    std::memset(&block, 0, sizeof block);
    block.fileParam.ioNamePtr = mSpec.name;
    block.fileParam.ioVRefNum = mSpec.vRefNum;
    block.fileParam.ioDirID = mSpec.parID;
    if (PBHGetFInfoSync(&block) != noErr) return 0;
    return block.fileParam.ioFlLgLen > 0 ? static_cast<UInt32>(block.fileParam.ioFlLgLen) : 0;
}

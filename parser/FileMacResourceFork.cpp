#include "Resources/Resources.h"
#include "parser/FileMac.h"

OSErr FileMac::OpenResourceFork(SInt8 permission) {
    if (mResourceForkOpen) return mError = noErr;
    short ref = FSpOpenResFile(&mSpec, permission);
    if (ref == -1) return mError = ResError();
    mResourceForkOpen = true;
    mResourceForkRef = ref;
    return mError = noErr;
}

OSErr FileMac::CloseResourceFork() {
    if (!mResourceForkOpen) return mError = fnOpnErr;
    CloseResFile(mResourceForkRef);
    mResourceForkOpen = false;
    mResourceForkRef = -1;
    return mError = ResError();
}

bool FileMac::Use() {
    if (!mResourceForkOpen) return false;
    mPreviousResFile = CurResFile();
    UseResFile(mResourceForkRef);
    return true;
}

bool FileMac::Restore() {
    if (mPreviousResFile == -1) return false;
    UseResFile(mPreviousResFile);
    mPreviousResFile = -1;
    return true;
}

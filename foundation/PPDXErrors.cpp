#include "foundation/PPDXErrors.h"

PPDXErrors::PPDXErrors() : mCursor(mErrors.Begin()) {}

PPDXErrors::~PPDXErrors() {}

void PPDXErrors::Add(PPDXErrorObj* error) {
    if (error == nullptr) return;
    // A record the list has no memory to hold would be owned by nobody.
    if (mErrors.PushBack(error) == PointerListItr()) delete error;
}

PPDXErrorObj* PPDXErrors::First() {
    if (mErrors.Empty()) return nullptr;
    mCursor = mErrors.Begin();
    return static_cast<PPDXErrorObj*>(*mCursor);
}

PPDXErrorObj* PPDXErrors::Next() {
    if (mCursor == mErrors.End() || mCursor.Node() == nullptr) return nullptr;
    ++mCursor;
    return static_cast<PPDXErrorObj*>(*mCursor);
}

void PPDXErrors::DeleteAll() {
    for (PointerListItr it = mErrors.Begin(); it != mErrors.End(); ++it)
        delete static_cast<PPDXErrorObj*>(*it);
    mErrors.MakeEmpty();
    mCursor = mErrors.Begin();
}

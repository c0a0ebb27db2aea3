#include "settings/Settings.h"

#include <new>

#include "Memory/MacMemory.h"
#include "settings/AppendedForm.h"
#include "settings/DataStream.h"

namespace {

// A handle from ordinary memory, else from the temporary pool; null when neither has room.
Handle NewWorkHandle(Size size) {
    Handle h = NewHandle(size);
    if (h != nullptr) return h;
    OSErr err;
    return TempNewHandle(size, &err);
}

// Releases a work handle. Releasing a temporary block reports its own status; that status
// replaces `status` only when it is a failure, so an earlier error is never hidden.
OSStatus ReleaseWorkHandle(Handle h, OSStatus status) {
    bool temporary = HIsTemporary(h);
    DisposeHandle(h);
    if (temporary && MemError() != noErr) return MemError();
    return status;
}

void Clear(FourCharCode* tag, SInt32* id, SInt32* length, SInt32* attributes) {
    if (tag != nullptr) *tag = 0;
    if (id != nullptr) *id = 0;
    if (length != nullptr) *length = 0;
    if (attributes != nullptr) *attributes = 0;
}

}  // namespace

Settings::Settings() : mLastError(noErr), mValid(false), mCollection(NewCollection()), mCursor(0) {
    mValid = mCollection != nullptr;
    if (!mValid) mLastError = memFullErr;
}

// Without room for the form the store is simply an ordinary one from the start.
Settings::Settings(AppendFirstTag) : Settings() {
    if (mValid) mAppended = new (std::nothrow) AppendedForm;
}

Settings::Settings(Collection collection)
    : mLastError(noErr), mValid(collection != nullptr), mCollection(collection), mCursor(0) {}

Settings::Settings(Handle flattened)
    : mLastError(noErr), mValid(false), mCollection(nullptr), mCursor(0) {
    if (flattened == nullptr) {
        mLastError = paramErr;
        return;
    }
    mCollection = NewCollection();
    if (mCollection == nullptr) {
        mLastError = memFullErr;
        return;
    }
    mLastError = UnflattenCollectionFromHdl(mCollection, flattened);
    mValid = mLastError == noErr;
    if (!mValid) {
        DisposeCollection(mCollection);
        mCollection = nullptr;
    }
}

Settings::Settings(const Settings& other)
    : mLastError(other.mLastError),
      mValid(other.mValid),
      mCollection(nullptr),
      mCursor(other.mCursor) {
    if (other.mCollection == nullptr) return;
    mCollection = NewCollection();
    if (mCollection != nullptr &&
        (other.mAppended != nullptr ? other.mAppended->ReadBack(mCollection) == noErr
                                    : CopyCollection(other.mCollection, mCollection) != nullptr))
        return;
    DisposeCollection(mCollection);
    mCollection = nullptr;
    mValid = false;
    mLastError = memFullErr;
}

Settings& Settings::operator=(const Settings& other) {
    if (this == &other) return *this;
    mLastError = other.mLastError;
    mValid = other.mValid;
    mCursor = other.mCursor;
    if (other.mCollection == nullptr) {
        DisposeCollection(mCollection);
        mCollection = nullptr;
        delete mAppended;
        mAppended = nullptr;
        return *this;
    }
    if (mCollection == nullptr) mCollection = NewCollection();
    bool copied = false;
    if (mCollection != nullptr && other.mAppended != nullptr) {
        // The other store's records are read back into a collection of their own, so that a
        // shortage leaves this store's records as they were.
        Collection copy = NewCollection();
        copied = copy != nullptr && other.mAppended->ReadBack(copy) == noErr;
        DisposeCollection(copied ? mCollection : copy);
        if (copied) mCollection = copy;
    } else if (mCollection != nullptr) {
        copied = CopyCollection(other.mCollection, mCollection) != nullptr;
    }
    if (copied) {
        delete mAppended;
        mAppended = nullptr;
    } else {
        mValid = mCollection != nullptr;
        mLastError = memFullErr;
    }
    return *this;
}

Settings::~Settings() {
    delete mAppended;
    DisposeCollection(mCollection);
}

OSStatus Settings::Settle() {
    if (mAppended == nullptr) return noErr;
    Collection settled = NewCollection();
    if (settled == nullptr) return memFullErr;
    OSStatus status = mAppended->ReadBack(settled);
    if (status != noErr) {
        DisposeCollection(settled);
        return status;
    }
    DisposeCollection(mCollection);
    mCollection = settled;
    delete mAppended;
    mAppended = nullptr;
    return noErr;
}

OSStatus Settings::Add(FourCharCode tag, SInt32 id, const void* bytes, SInt32 length) {
    if (mCollection == nullptr) return Done(kSettingsNoCollectionErr);
    if (mAppended != nullptr) {
        if (length < 0 || (length > 0 && bytes == nullptr)) return Done(paramErr);
        bool present = false;
        OSStatus status = mAppended->AppendNew(tag, id, bytes, length, &present);
        if (!present) return Done(status);
        // A key written before is replaced as in any store, which needs the item table.
        if ((status = Settle()) != noErr) return Done(status);
    }
    return Done(AddCollectionItem(mCollection, tag, id, length, bytes));
}

OSStatus Settings::Get(FourCharCode tag, SInt32 id, void* buffer, SInt32* length) {
    if (mCollection == nullptr) return Done(kSettingsNoCollectionErr);
    if (OSStatus status = Settle()) return Done(status);
    return Done(GetCollectionItem(mCollection, tag, id, length, buffer));
}

OSStatus Settings::View(FourCharCode tag, SInt32 id, const void** bytes, SInt32* length) {
    *bytes = nullptr;
    *length = 0;
    if (mCollection == nullptr) return Done(kSettingsNoCollectionErr);
    if (OSStatus status = Settle()) return Done(status);
    return Done(GetCollectionItemBytes(mCollection, tag, id, length, bytes));
}

OSStatus Settings::Set(FourCharCode tag, SInt32 id, const void* bytes, SInt32 length) {
    if (mCollection == nullptr) return Done(kSettingsNoCollectionErr);
    if (OSStatus status = Settle()) return Done(status);
    SInt32 index = 0;
    OSStatus err = GetCollectionItemInfo(mCollection, tag, id, &index, nullptr, nullptr);
    if (err != noErr) return Done(err);
    return Done(ReplaceIndexedCollectionItem(mCollection, index, length, bytes));
}

OSStatus Settings::Remove(FourCharCode tag, SInt32 id) {
    if (mCollection == nullptr) return Done(kSettingsNoCollectionErr);
    if (OSStatus status = Settle()) return Done(status);
    return Done(RemoveCollectionItem(mCollection, tag, id));
}

OSStatus Settings::First(FourCharCode* tag, SInt32* id, SInt32* length, SInt32* attributes) {
    Clear(tag, id, length, attributes);
    if (mCollection == nullptr) return Done(kSettingsNoCollectionErr);
    if (OSStatus status = Settle()) return Done(status);
    if (CountCollectionItems(mCollection) == 0) return Done(kSettingsEmptyErr);
    mCursor = 1;
    return Done(GetIndexedCollectionItemInfo(mCollection, mCursor, tag, id, length, attributes));
}

OSStatus Settings::Next(FourCharCode* tag, SInt32* id, SInt32* length, SInt32* attributes) {
    Clear(tag, id, length, attributes);
    if (mCollection == nullptr) return Done(kSettingsNoCollectionErr);
    if (OSStatus status = Settle()) return Done(status);
    SInt32 count = CountCollectionItems(mCollection);
    if (count == 0) return Done(kSettingsEmptyErr);
    // The cursor stays on the last record, so a record added later is the next one reported.
    if (mCursor >= count) return Done(kSettingsEndErr);
    ++mCursor;
    return Done(GetIndexedCollectionItemInfo(mCollection, mCursor, tag, id, length, attributes));
}

OSStatus Settings::SetAttribute(FourCharCode tag, SInt32 id, SInt32 mask, bool on) {
    if (mCollection == nullptr) return Done(kSettingsNoCollectionErr);
    if (OSStatus status = Settle()) return Done(status);
    SInt32 attributes = 0;
    OSStatus err = GetCollectionItemInfo(mCollection, tag, id, nullptr, nullptr, &attributes);
    if (err != noErr) return Done(err);
    attributes = on ? (attributes | mask) : (attributes & ~mask);
    return Done(SetCollectionItemInfo(mCollection, tag, id, mask, attributes));
}

SInt32 Settings::Count() const {
    return mAppended != nullptr ? mAppended->Count() : CountCollectionItems(mCollection);
}

bool Settings::Empty() const {
    return mCollection == nullptr || Count() == 0;
}

OSStatus Settings::Save(DataStream* stream) {
    return SaveForm(stream, false);
}

OSStatus Settings::SaveAndClear(DataStream* stream) {
    if (mAppended != nullptr) return SaveForm(stream, true);
    if (stream == nullptr || !stream->valid()) return Done(kSettingsNoStreamErr);
    if (mCollection == nullptr) return Done(kSettingsNoCollectionErr);
    // The empty collection comes first, so that clearing cannot fail once the form is out.
    Collection empty = NewCollection();
    if (empty == nullptr) return Done(memFullErr);
    OSStatus status = SaveForm(stream, false);
    DisposeCollection(status == noErr ? mCollection : empty);
    if (status == noErr) {
        mCollection = empty;
        mCursor = 0;
    }
    return Done(status);
}

OSStatus Settings::SaveForm(DataStream* stream, bool release) {
    if (stream == nullptr || !stream->valid()) return Done(kSettingsNoStreamErr);
    if (mCollection == nullptr) return Done(kSettingsNoCollectionErr);
    // A stream that keeps its bytes gets the form written straight into them.
    Size length = 0;
    if (mAppended != nullptr) {
        OSStatus err = mAppended->FormLength(&length);
        if (err != noErr) return Done(err);
        if (release) mAppended->ReleaseKeys();
        if (void* room = stream->reserve(static_cast<SInt32>(length))) {
            mAppended->WriteForm(static_cast<UInt8*>(room), length, release);
            return Done(noErr);
        }
        Handle h = NewWorkHandle(length);
        if (h == nullptr) return Done(memFullErr);
        mAppended->WriteForm(reinterpret_cast<UInt8*>(*h), length, false);
        stream->out(*h, static_cast<SInt32>(length));
        if (release) mAppended->Clear();
        return Done(ReleaseWorkHandle(h, noErr));
    }
    OSStatus err = GetFlattenedCollectionSize(mCollection, &length);
    if (err != noErr) return Done(err);
    if (void* room = stream->reserve(static_cast<SInt32>(length)))
        return Done(FlattenCollectionToBytes(mCollection, room, length));
    Handle h = NewWorkHandle(0);
    if (h == nullptr) return Done(memFullErr);
    err = FlattenCollectionToHdl(mCollection, h);
    if (err == noErr) stream->out(*h, static_cast<SInt32>(GetHandleSize(h)));
    return Done(ReleaseWorkHandle(h, err));
}

OSStatus Settings::Read(DataStream* stream, SInt32 length) {
    if (stream == nullptr || !stream->valid()) return Done(kSettingsNoStreamErr);
    if (mCollection == nullptr) return Done(kSettingsNoCollectionErr);
    if (OSStatus status = Settle()) return Done(status);
    if (length == 0) length = stream->dataSize();
    if (length == 0) return Done(noErr);
    if (length < 0) return Done(paramErr);
    // Bytes the stream holds in memory are read where they are; others are copied out first.
    if (const void* bytes = stream->peek(length)) {
        OSStatus err = UnflattenCollectionFromBytes(mCollection, bytes, length);
        stream->skip(length);
        return Done(err);
    }
    Handle h = NewWorkHandle(length);
    if (h == nullptr) return Done(memFullErr);
    SInt32 read = 0;
    OSErr streamError = noErr;
    OSStatus err = stream->in(*h, length, &read, &streamError)
                       ? UnflattenCollectionFromHdl(mCollection, h)
                       : OSStatus(streamError);
    return Done(ReleaseWorkHandle(h, err));
}

OSStatus Settings::GetSettingsHandle(Handle* flattened) {
    if (flattened == nullptr) return Done(paramErr);
    *flattened = nullptr;
    if (mCollection == nullptr) return Done(kSettingsNoCollectionErr);
    if (mAppended != nullptr) {
        Size length = 0;
        OSStatus err = mAppended->FormLength(&length);
        if (err != noErr) return Done(err);
        Handle h = NewWorkHandle(length);
        if (h == nullptr) return Done(memFullErr);
        mAppended->WriteForm(reinterpret_cast<UInt8*>(*h), length, false);
        *flattened = h;
        return Done(noErr);
    }
    Handle h = NewWorkHandle(0);
    if (h == nullptr) return Done(memFullErr);
    OSStatus err = FlattenCollectionToHdl(mCollection, h);
    if (err != noErr) return Done(ReleaseWorkHandle(h, err));
    *flattened = h;
    return Done(noErr);
}

// The settings store: byte records keyed by a tag (a four-character code or a plain number) and a
// signed 32-bit id, kept in a platform collection that the store owns. Every part of a parsed PPD
// writes its state here and is rebuilt from it; the store travels as its flattened form.
//
// Every operation except the accessors clears the last error, does its work and keeps its status
// there as well as returning it. Without a collection each returns kSettingsNoCollectionErr.
#ifndef HALYX_SETTINGS_SETTINGS_H
#define HALYX_SETTINGS_SETTINGS_H

#include "Base/MacTypes.h"
#include "Collections/Collections.h"

class AppendedForm;
class DataStream;

enum {
    kSettingsNoStreamErr = 201,       // no stream, or the stream is not valid
    kSettingsNoCollectionErr = 1000,  // the store has no collection
    kSettingsEmptyErr = 1001,         // First or Next on an empty store
    kSettingsEndErr = 1002            // Next after the last record
};

// The attribute bit that makes a record refuse changes.
const SInt32 kSettingsLockMask = kCollectionLockMask;

class Settings {
public:
    // A new empty store; invalid (memFullErr) when no collection could be made.
    Settings();
    // A new empty store for a writer that mostly adds records under new keys and then saves the
    // store: as long as it does only that, the records go straight into the store's flattened
    // form, without an item table (see AppendedForm.h). The first other call (an Add of a key
    // already there, any read, change, walk or copy) first turns the store into an ordinary one
    // holding the same records; when memory for that is short, the call fails with memFullErr
    // and the store stays as it was. Count, Empty, Save and GetSettingsHandle need no turn.
    enum AppendFirstTag { kAppendFirst };
    explicit Settings(AppendFirstTag);
    // Adopts `collection`, which the store disposes of; valid when it is not null.
    explicit Settings(Collection collection);
    // A store filled from a flattened form: paramErr for a null handle; otherwise valid when the
    // form could be read, with the unflattening status as last error.
    explicit Settings(Handle flattened);
    Settings(const Settings& other);
    // Copies the other store's records into this store's collection.
    Settings& operator=(const Settings& other);
    virtual ~Settings();

    // Adds a record, or replaces the bytes of an existing one.
    OSStatus Add(FourCharCode tag, SInt32 id, const void* bytes, SInt32 length);
    // Copies a record's bytes; with a null buffer only *length is set, to the record's length.
    // Otherwise *length bytes at most are copied and *length becomes the number copied.
    OSStatus Get(FourCharCode tag, SInt32 id, void* buffer, SInt32* length);
    // Points *bytes at a record's bytes in the store and sets *length to their number, in one
    // look-up; the bytes stay valid until the store is next changed. Both outs must be given.
    OSStatus View(FourCharCode tag, SInt32 id, const void** bytes, SInt32* length);
    // Replaces the bytes of an existing record; a missing one gives collectionItemNotFoundErr.
    OSStatus Set(FourCharCode tag, SInt32 id, const void* bytes, SInt32 length);
    OSStatus Remove(FourCharCode tag, SInt32 id);

    // Walk the records in the order they were added. Both clear the outs first (any may be null);
    // First gives kSettingsEmptyErr on an empty store, Next kSettingsEndErr past the last record.
    OSStatus First(FourCharCode* tag, SInt32* id, SInt32* length, SInt32* attributes);
    OSStatus Next(FourCharCode* tag, SInt32* id, SInt32* length, SInt32* attributes);

    // Sets (on) or clears (off) the `mask` bits of a record's attributes; the others stay.
    OSStatus SetAttribute(FourCharCode tag, SInt32 id, SInt32 mask, bool on);
    OSStatus Lock(FourCharCode tag, SInt32 id) {
        return SetAttribute(tag, id, kSettingsLockMask, true);
    }
    OSStatus Unlock(FourCharCode tag, SInt32 id) {
        return SetAttribute(tag, id, kSettingsLockMask, false);
    }

    bool Valid() const { return mValid; }
    OSStatus LastError() const { return mLastError; }
    SInt32 Count() const;
    bool Empty() const;

    // Writes the flattened store to the stream: into room the stream reserves for it, else with
    // one `out` call.
    OSStatus Save(DataStream* stream);
    // As Save, and when it succeeds the store is left empty. A store still writing its form
    // frees each piece of the form once it is in the stream, so that the records and the saved
    // form are never held in full at once.
    OSStatus SaveAndClear(DataStream* stream);
    // Reads `length` bytes (0: the stream's whole size) from the stream with one `in` call and adds
    // the records they hold to this store. Nothing is read from an empty stream (status 0); a short
    // read gives the stream's error.
    OSStatus Read(DataStream* stream, SInt32 length);
    // Flattens the store into a new handle that the caller disposes of; *flattened is null on
    // failure.
    OSStatus GetSettingsHandle(Handle* flattened);

    // Readers that could not take a record in for a reason other than its absence (memory ran
    // out, or the read itself failed) count it here, so that whoever rebuilds something from the
    // store can tell a whole read from a partial one. A missing record is no failure: the reader
    // keeps its default. The count is not part of the records and is not copied with them.
    void NoteReadFailure() { ++mReadFailures; }
    SInt32 ReadFailures() const { return mReadFailures; }
    void ClearReadFailures() { mReadFailures = 0; }

private:
    // Stores `status` as the last error and returns it.
    OSStatus Done(OSStatus status) { return mLastError = status; }
    // Turns a store writing its form into an ordinary one; noErr, or memFullErr with the store
    // as it was.
    OSStatus Settle();
    // Writes the flattened store to the stream; with `release`, an appended form is freed as it
    // goes.
    OSStatus SaveForm(DataStream* stream, bool release);

    OSStatus mLastError;
    bool mValid;
    Collection mCollection;             // empty while mAppended is set
    AppendedForm* mAppended = nullptr;  // the records, while only new keys were added
    SInt32 mCursor;                     // 1-based index of the record First/Next reported last
    SInt32 mReadFailures = 0;
};

#endif  // HALYX_SETTINGS_SETTINGS_H

// A file of the platform's file system, named by its file record, with its data and resource
// forks.
//
// Every fork operation stores its status, which getError() reports: noErr, the platform's file
// status, or fnOpnErr (-38) for an operation on a fork that is not open. The destructor closes the
// data fork and the resource fork when they are open.
#ifndef HALYX_PARSER_FILEMAC_H
#define HALYX_PARSER_FILEMAC_H

#include "Base/MacTypes.h"
#include "Files/FileRecords.h"

class FileMac {
public:
    // Invalid, with an empty file record.
    FileMac();
    // With a non-empty name (at most 63 bytes are kept) the file record is stored and the file
    // is valid; otherwise it stays invalid.
    FileMac(short vRefNum, long dirID, const char* name);
    // Copies the file record; valid.
    explicit FileMac(const FSSpec& spec);
    virtual ~FileMac();

    virtual void getFileInfo(FSSpec& spec) const;
    // `name` receives the NUL-terminated name and holds at least 64 bytes.
    virtual void getFileInfo(short& vRefNum, long& dirID, char* name) const;
    virtual const FSSpec* getFileInfo() const { return &mSpec; }
    // `name` holds at least 64 bytes.
    virtual void getFileName(char* name) const;
    // True when the platform knows the file.
    virtual bool exists();

    // Opens the data fork with `permission` (fsRdPerm, ...). An open fork stays as it is (noErr).
    virtual OSErr openDataFork(SInt8 permission);
    virtual OSErr closeDataFork();
    // Creates the file with the given creator and type codes.
    virtual OSErr createDataFork(OSType creator, OSType fileType);
    virtual short getDataForkRefNum() const { return mDataForkRef; }
    virtual bool dataForkOpen() const { return mDataForkOpen; }
    virtual OSErr dataForkWrite(const void* bytes, long count);
    // Reads up to `count` bytes at the mark; `count` receives the number read. eofErr (-39) when
    // the end came first, with the bytes before it delivered.
    virtual OSErr dataForkRead(void* buffer, long& count);

    // The data fork's logical length, 0 when the file cannot be looked up.
    UInt32 dataForkSize();

    OSErr OpenResourceFork(SInt8 permission);
    OSErr CloseResourceFork();
    short GetResourceForkRefNum() const { return mResourceForkOpen ? mResourceForkRef : -1; }
    // Makes the resource fork the current resource file, remembering the previous one; false when
    // the fork is not open.
    bool Use();
    // Makes the remembered resource file current again; false when there is none.
    bool Restore();

    bool valid() const { return mValid; }
    OSErr getError() const { return mError; }

protected:
    FSSpec mSpec;
    OSErr mError;
    bool mValid;

private:
    FileMac(const FileMac&) = delete;
    FileMac& operator=(const FileMac&) = delete;

    bool mDataForkOpen;
    short mDataForkRef;
    bool mResourceForkOpen;
    short mResourceForkRef;
    short mPreviousResFile;
};

#endif  // HALYX_PARSER_FILEMAC_H

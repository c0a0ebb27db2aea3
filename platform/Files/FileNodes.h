// The process-wide table that gives host paths their numeric ids, and the path arithmetic that
// records, references and forks share. Paths here are absolute and lexically normalised: one '/'
// between components, no "." or "..", no trailing '/' (except the root itself).
#ifndef HALYX_PLATFORM_FILES_FILENODES_H
#define HALYX_PLATFORM_FILES_FILENODES_H

#include <string>

#include "Files/FileRecords.h"

namespace halyx::files {

// `path` made absolute (against the working directory) and normalised; ".." at the root stays at
// the root. False when the working directory cannot be had.
bool NormalizePath(const std::string& path, std::string* normalized);

// The id of a normalised path, handing out a new one on first use. The root is fsRtDirID.
SInt32 InternPath(const std::string& normalized);
// The path of an id handed out before; false for an unknown id (fsRtParID included).
bool PathOfId(SInt32 id, std::string* path);

std::string ParentOf(const std::string& normalized);
std::string LastComponentOf(const std::string& normalized);

// The name a record holds for a normalised path: the last component when it fits the record's 63
// bytes; for a longer one, its start and "#" with the path's table id in upper-case hexadecimal
// ("very-long-name...#1F"), which names the long component again for the life of the process.
std::string RecordNameOf(const std::string& normalized);
// The path in `directory` (normalised) of the long component that `name` stands for in a record;
// false when `name` is no such stand-in of an object of that directory.
bool LongNameOfRecordName(const std::string& directory, const std::string& name, std::string* path);

// The record of a normalised path (its directory must exist): noErr / fnfErr / dirNFErr / bdNamErr
// as FSMakeFSSpec. The record is written only for noErr and fnfErr.
// A last component over 255 bytes gives bdNamErr.
OSErr SpecOfPath(const std::string& normalized, FSSpec* spec);
// The normalised path a record names: noErr, nsvErr, dirNFErr, paramErr.
OSErr PathOfSpec(const FSSpec* spec, std::string* path);

// Reference encoding: a reference holds a marker and the table id of its object.
void MakeRef(SInt32 id, FSRef* ref);
bool IdOfRef(const FSRef* ref, SInt32* id);

// Copies `text` NUL-terminated into a buffer of `size` bytes; paramErr when it does not fit.
OSErr CopyPathOut(const std::string& text, char* buffer, UInt32 size);

}  // namespace halyx::files

#endif  // HALYX_PLATFORM_FILES_FILENODES_H

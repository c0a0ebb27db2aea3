// Opens and reads the pieces file that a job option names, for a filter that runs as the print
// server's user on a file that an untrusted user made.
//
// The file is taken only when all of these hold; otherwise it is refused with a reason and left
// alone (the filter never writes, removes or runs what it reads):
// - the path is exactly "/tmp/Halyx.temp" followed by one to five decimal digits, the only names
//   the pane writes, so that no other file on the machine can be named;
// - it opens without following a symbolic link (O_NOFOLLOW) and without blocking (O_NONBLOCK),
//   so that a link cannot point the filter elsewhere and a FIFO cannot hang the job;
// - it is a regular file with one link (a hard link to someone else's file is refused), owned by
//   the job's user;
// - it is no larger than kMaxPiecesFileSize;
// - its contents pass ParsePiecesList.
#ifndef HALYX_FILTER_PIECESFILE_H
#define HALYX_FILTER_PIECESFILE_H

#include <sys/types.h>

#include <cstddef>
#include <string>

#include "filter/JobPieces.h"

class PiecesFile {
public:
    // Every piece is a PPD's own code with at most a few copies of a note's text (at most 511
    // bytes each) filled in; the largest real PPDs hold about 640 KB of code in all, and the
    // file's Base64 adds a third. 4 MB is far above anything the pane writes.
    static constexpr size_t kMaxPiecesFileSize = 4 * 1024 * 1024;

    // True for "/tmp/Halyx.temp" followed by one to five decimal digits, and nothing else.
    static bool IsAcceptedPath(const char* path);

    // Reads the file at `path` for a job of the user `owner`. On success fills `pieces` and
    // returns true; on refusal returns false with the reason in `why` ("it is a symbolic link").
    static bool Read(const char* path, uid_t owner, JobPieces* pieces, std::string* why);
};

#endif  // HALYX_FILTER_PIECESFILE_H

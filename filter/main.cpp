// HalyxCupsFilter: the print server's filter for Halyx Job Notes.
//
//   HalyxCupsFilter job user title copies options [file]
//
// CUPS runs it after pstops (the PPD's *cupsFilter2 line), as its own user, on DSC PostScript. It
// reads the file, or standard input when none is given, and writes PostScript to standard output.
// When the job's options hold "ORB.PSData.<bundle identifier>=PATH", the pieces file that the Halyx
// Job Notes pane wrote at PATH is read (PiecesFile) and its pieces go into every document of the
// stream (DscStreamPlacer):
//
//   site 504 (orientation), 30 (job-note comment line)  before the first %%EndComments
//   site 81 (job-note feature code), 20 (range code)     before %%EndSetup, after the document's
//                                                        own setup; a setup section is made
//                                                        before the first %%Page: when none is
//   any other site                                       left out, with a WARNING: line
//
// Without the option the job passes byte for byte. The pieces are honoured only for a job from
// this host (JobOrigin). A pieces file that is refused (a name outside /tmp/Halyx.temp<digits>, a
// symbolic link, not a regular file, more than one link, someone else's, too large, not a list of
// site/data pairs, a NUL byte, a comment piece that is not one line) never fails the job: a
// WARNING: line says why, which becomes the job's state message, and the job passes unchanged.
//
// The filter never writes, removes or runs what it reads. The pieces file stays where the pane
// left it: `halyx-jobnotes print --queue ... --wait` removes it once its job has ended (unless it
// stopped, when the server may run the job again); otherwise it stays in /tmp until the system
// clears /tmp, as the pane leaves it.
//
// Exit status: 0 printed (pieces placed, left out or none), 1 bad arguments, or the job could not
// be read or written (the server then stops the job).
#include <errno.h>
#include <fcntl.h>
#include <pwd.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "filter/DscStreamPlacer.h"
#include "filter/FdSink.h"
#include "filter/JobOptions.h"
#include "filter/JobOrigin.h"
#include "filter/JobPieces.h"
#include "filter/PiecesFile.h"
#include "layout/InstallLayout.h"

namespace {

const char kUsage[] =
    "Usage: HalyxCupsFilter job user title copies options [file]\n"
    "       HalyxCupsFilter --help | --version\n"
    "\n"
    "The CUPS filter of Halyx queues: CUPS runs it after pstops. It copies the job's PostScript\n"
    "(FILE, else standard input) to standard output and puts in the job notes of the pieces file\n"
    "that the job's option ORB.PSData.<bundle identifier> names. See HalyxCupsFilter(8).\n";

constexpr size_t kReadSize = 64 * 1024;
// User text quoted in messages is cut to this many bytes.
constexpr size_t kMaxQuoted = 120;

// Text from the job, fit for one message line: control bytes become '?'.
std::string Quoted(const std::string& text) {
    std::string out = text.substr(0, kMaxQuoted);
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = '?';
    if (text.size() > kMaxQuoted) out += "...";
    return out;
}

void LeftOut(const std::string& why) {
    std::fprintf(stderr, "WARNING: Job notes left out: %s\n", why.c_str());
}

// The pieces to place; false (with a WARNING: line when there was an option) when there are none.
bool FindPieces(const char* user, const char* optionText, JobPieces* pieces) {
    JobOptions options = JobOptions::FromText(optionText);
    if (!options.hasPieces) return false;
    if (options.otherPiecesOptions > 0)
        std::fprintf(stderr, "WARNING: Job notes: only the option %s is read\n",
                     Quoted(options.piecesOption).c_str());
    if (!IsLocalJobOrigin(options.origin.c_str())) {
        LeftOut("the job came from " +
                (options.origin.empty() ? std::string("an unknown host") : Quoted(options.origin)) +
                ", not from this host");
        return false;
    }
    struct passwd* account = getpwnam(user);
    if (account == nullptr) {
        LeftOut("the job's user " + Quoted(user) + " is not known here");
        return false;
    }
    std::string why;
    if (!PiecesFile::Read(options.piecesPath.c_str(), account->pw_uid, pieces, &why)) {
        LeftOut("the pieces file " + Quoted(options.piecesPath) + " is refused: " + why);
        return false;
    }
    return true;
}

// Reads `input` to its end into `feed`; false with an ERROR: line when a read fails.
template <typename Feed>
bool ReadAll(int input, Feed feed) {
    char buffer[kReadSize];
    while (true) {
        ssize_t n = read(input, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            std::fprintf(stderr, "ERROR: cannot read the job: %s\n", strerror(errno));
            return false;
        }
        if (n == 0) return true;
        feed(buffer, static_cast<size_t>(n));
    }
}

}  // namespace

int main(int argc, char** argv) {
    // A reader that goes away shows as a failed write, reported below.
    signal(SIGPIPE, SIG_IGN);
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        halyx::layout::PrintVersion("HalyxCupsFilter");
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (argc != 6 && argc != 7) {
        std::fputs(kUsage, stderr);
        return 1;
    }
    int input = 0;
    if (argc == 7) {
        input = open(argv[6], O_RDONLY | O_CLOEXEC);
        if (input < 0) {
            std::fprintf(stderr, "ERROR: cannot open the job's file %s: %s\n",
                         Quoted(argv[6]).c_str(), strerror(errno));
            return 1;
        }
    }

    JobPieces pieces;
    bool place = FindPieces(argv[2], argv[5], &pieces) && !pieces.Empty();
    FdSink out(STDOUT_FILENO);
    bool read;
    int documents = 0;
    if (place) {
        DscStreamPlacer placer(pieces, out);
        read = ReadAll(input, [&](const char* b, size_t n) { placer.Feed(b, n); });
        if (read) placer.Finish();
        documents = placer.Documents();
    } else {
        read = ReadAll(input, [&](const char* b, size_t n) { out.Write(b, n); });
    }
    if (input != 0) close(input);
    if (!out.Flush()) {
        std::fprintf(stderr, "ERROR: cannot write the job: %s\n", strerror(out.Error()));
        return 1;
    }
    if (!read) return 1;
    if (place && documents == 0)
        LeftOut("the job holds no PostScript document");
    else if (place)
        std::fprintf(
            stderr, "INFO: Job notes: %zu comments and %zu setup pieces in %d document%s\n",
            pieces.comments.size(), pieces.features.size(), documents, documents == 1 ? "" : "s");
    for (int32_t site : pieces.unknownSites)
        std::fprintf(stderr, "WARNING: Job notes: a piece for the unknown site %d is left out\n",
                     static_cast<int>(site));
    return 0;
}

// Writes a PostScript stream through, unchanged but for the job's pieces, which it puts into every
// document of the stream (several documents come one after the other when copies are made with
// job control):
// - header comments right before the document's first %%EndComments; a header that ends without
//   one (at a %%BeginProlog, %%BeginSetup, %%Page: ... line) gets the comments and an
//   %%EndComments line there;
// - setup code right before the document's %%EndSetup, after the setup the document already has;
//   a document without a setup section gets a %%BeginSetup / %%EndSetup pair holding the code
//   right before its first %%Page: (or %%Trailer or %%EOF, when it has no pages);
// - a document whose header is ended by a line of code (not a comment) has no structure to go
//   by: all of its pieces go there, the code in a setup section of its own;
// - whatever has found no place when the document ends (at %%EOF, a Ctrl-D, a job-control
//   escape, the end of the stream) is written there.
//
// A document starts at a line that begins with "%!" at the start of the stream or after a
// document's end: the lines before it (PJL, blank lines) pass as they are. Ctrl-D and the
// job-control escape (ESC %-12345X) may open a line; they end the document before them. What is
// never looked into: embedded documents (%%BeginDocument ... %%EndDocument, nested), the counted
// bytes or lines of %%BeginBinary: and %%BeginData: sections, and the tail of very long lines.
#ifndef HALYX_FILTER_DSCSTREAMPLACER_H
#define HALYX_FILTER_DSCSTREAMPLACER_H

#include <cstddef>
#include <string>

#include "filter/ByteSink.h"
#include "filter/DscLineSplitter.h"
#include "filter/JobPieces.h"

class DscStreamPlacer : private DscLineSplitter::Receiver {
public:
    // Keeps references to both; they must outlive the placer.
    DscStreamPlacer(const JobPieces& pieces, ByteSink& out)
        : mPieces(pieces), mOut(out), mSplitter(*this) {}

    void Feed(const char* bytes, size_t length) { mSplitter.Feed(bytes, length); }
    // The end of the stream: the last line goes out and the open document ends.
    void Finish();

    // How many documents the stream held.
    int Documents() const { return mDocuments; }

private:
    enum class State {
        kOutside,      // before the first document or between two
        kHeader,       // in the header comments
        kBeforeSetup,  // past the header, no setup section seen yet
        kInSetup,      // inside %%BeginSetup
        kPlaced,       // every piece is in
    };

    void Line(const char* bytes, size_t length) override;
    void Raw(const char* bytes, size_t length) override { Pass(bytes, length); }
    // Writes bytes of the stream, keeping track of whether a line is open.
    void Pass(const char* bytes, size_t length);
    // Ends the open line, if any, so that a piece starts a line of its own.
    void BreakLine();

    // `text` is the line without its ending, trailing blanks and the job control opening it.
    // Each writes the pieces that go before the line; the line itself is written after them.
    void InDocument(const std::string& text, const char* bytes, size_t length);
    void HeaderLine(const std::string& text);
    void SetupLine(const std::string& text);
    // Asks the splitter to pass a binary or data section's counted bytes or lines.
    void WatchSections(const std::string& text);
    // Writes what has found no place yet; the stream is outside a document after it.
    void EndDocument();
    void PlaceComments(bool addEnd);
    void PlaceFeatures(bool openSection, bool closeSection);

    const JobPieces& mPieces;
    ByteSink& mOut;
    DscLineSplitter mSplitter;
    State mState = State::kOutside;
    bool mCommentsPlaced = false;
    int mDepth = 0;          // embedded documents open
    bool mLineOpen = false;  // the last byte written is not a line ending
    int mDocuments = 0;
};

#endif  // HALYX_FILTER_DSCSTREAMPLACER_H

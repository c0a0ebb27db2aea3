// Cuts a PostScript byte stream into lines as the document structuring conventions read them: a
// line ends with LF, CR LF or a lone CR, and its ending stays with it. Bytes arrive in chunks of
// any size; a CR at the end of a chunk waits for the next byte to know whether an LF belongs to it.
//
// Two kinds of span are never cut into lines: the counted bytes or lines of a binary or data
// section (the reader of the lines asks for them with SkipBytes / SkipLines when it meets the
// section's opening comment), and the part of a line beyond kMaxKeptLine bytes (only the start of
// a line says what it is; the rest of a long line is handed on as it comes, so memory stays
// bounded whatever the input).
#ifndef HALYX_FILTER_DSCLINESPLITTER_H
#define HALYX_FILTER_DSCLINESPLITTER_H

#include <cstddef>
#include <cstdint>
#include <string>

class DscLineSplitter {
public:
    // Receives the stream in order: every byte fed reaches exactly one call.
    class Receiver {
    public:
        virtual ~Receiver() = default;
        // A whole line with its ending (none for the stream's last line), or the first
        // kMaxKeptLine bytes of a longer one.
        virtual void Line(const char* bytes, size_t length) = 0;
        // Bytes that are not the start of a line: the rest of a long line, or a skipped span.
        virtual void Raw(const char* bytes, size_t length) = 0;
    };

    // Lines are kept up to this length; a structuring comment is at most 255 bytes.
    static constexpr size_t kMaxKeptLine = 4096;

    explicit DscLineSplitter(Receiver& receiver) : mReceiver(receiver) {}

    void Feed(const char* bytes, size_t length);
    // Hands on what is still held (an unterminated last line). Feed may not be called after.
    void Finish();

    // The next `count` bytes after the current line pass as Raw. Called from Line.
    void SkipBytes(uint64_t count) { mSkipBytes = count; }
    // The next `count` lines after the current line pass as Raw. Called from Line.
    void SkipLines(uint64_t count) { mSkipLines = count; }

private:
    // Adds bytes of the current line: held, or handed on as Raw inside a skipped line or the tail
    // of a long one.
    void Append(const char* bytes, size_t length);
    // The current line is complete: it goes to the receiver when it was held.
    void EndLine();

    Receiver& mReceiver;
    std::string mLine;
    bool mAtLineStart = true;
    bool mPendingCR = false;   // the current line ends with CR and an LF may follow
    bool mInLongTail = false;  // the start of the current line was delivered; the rest is Raw
    bool mLineIsRaw = false;   // the current line is one of the skipped lines
    uint64_t mSkipBytes = 0;
    uint64_t mSkipLines = 0;
};

#endif  // HALYX_FILTER_DSCLINESPLITTER_H

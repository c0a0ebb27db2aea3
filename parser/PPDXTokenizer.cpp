#include <cstring>
#include <new>

#include "foundation/CString.h"
#include "foundation/PPDXErrors.h"
#include "parser/PPDFileStream.h"
#include "parser/PPDStream.h"
#include "parser/PPDX.h"

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Fills a value buffer of `max` bytes, remembering when it has reached max - 1 bytes.
struct ValueWriter {
    char* value;
    unsigned long max;
    unsigned long count;

    // Stores `c`; true when the value is now full (max - 1 bytes).
    bool Put(char c) {
        value[count++] = c;
        return count >= max - 1;
    }
};

// Consumes the current line up to and including its first double quote; false when it has none.
bool SkipToQuote(PPDStream& stream) {
    char c;
    while (stream.GetChar(c) && c != '\n' && c != '\r')
        if (c == '"') return true;
    return false;
}

}  // namespace

bool PPDX::NextToken(PPDStream& stream, char* token, const char* delimiters, bool strip) {
    return NextToken(stream, token, Stops(delimiters), strip);
}

bool PPDX::NextToken(PPDStream& stream, char* token, const Stops& stops, bool strip) {
    if (token == nullptr) return false;
    // The bytes are scanned straight in the stream's memory and copied once; the stream learns
    // where the read stopped at the end. Every byte taken into the token is consumed, and so is
    // the byte that ended it (if any).
    const char* const p = stream.Cursor();
    const long left = static_cast<long>(stream.Limit() - p);
    const long limit = left < kMaxTokenLength ? left : kMaxTokenLength;
    long stored = 0;
    long consumed = 0;
    bool endedAtLineFeed = false;
    bool sawNul = false;
    while (true) {
        stored = stops.Find(p + stored, p + limit) - p;
        if (stored == limit) {
            consumed = stored;
            break;
        }
        const char c = p[stored];
        if (c == '\0') {
            sawNul = true;  // never a delimiter
            ++stored;
            continue;
        }
        // A CR followed by LF is kept for now and dropped when the LF ends the token.
        if (c == '\r' && stored + 1 < left && p[stored + 1] == '\n') {
            ++stored;
            continue;
        }
        endedAtLineFeed = c == '\n';
        consumed = stored + 1;
        break;
    }
    if (stored > 0) std::memcpy(token, p, static_cast<size_t>(stored));
    // Only a read that stopped short of the longest token asked for a byte that was not there.
    const bool ranOut = consumed == stored && stored == left && left < kMaxTokenLength;
    stream.Advance(p + consumed, ranOut);
    token[stored] = '\0';
    if (endedAtLineFeed && stored > 0 && token[stored - 1] == '\r') token[--stored] = '\0';
    if (stored == 0) return false;
    // Most tokens have no blank at either end and no NUL inside: nothing to strip then.
    if (strip && sawNul) {
        StripLeadingWhiteSpace(token);
        StripTrailingWhiteSpace(token);
    } else if (strip && (IsBlank(token[0]) || IsBlank(token[stored - 1]))) {
        // The same trimming, with the length known: the token holds no NUL.
        long skip = 0;
        while (skip < stored && IsBlank(token[skip])) ++skip;
        stored -= skip;
        if (skip > 0) std::memmove(token, token + skip, static_cast<size_t>(stored) + 1);
        while (stored > 1 && IsBlank(token[stored - 1])) token[--stored] = '\0';
    }
    return true;
}

void PPDX::StripLeadingWhiteSpace(char* text) {
    if (text == nullptr) return;
    size_t skip = 0;
    while (IsBlank(text[skip])) ++skip;
    if (skip > 0) std::memmove(text, text + skip, std::strlen(text + skip) + 1);
}

void PPDX::StripTrailingWhiteSpace(char* text) {
    if (text == nullptr) return;
    size_t length = std::strlen(text);
    while (length > 1 && IsBlank(text[length - 1])) text[--length] = '\0';
}

bool PPDX::ParseMainKeyword(const char* text, char* out) {
    if (out == nullptr) return false;
    out[0] = '\0';
    const char* slash = text != nullptr ? std::strchr(text, '/') : nullptr;
    if (slash == nullptr) return false;
    size_t length = std::strlen(slash + 1);
    if (length > static_cast<size_t>(kMaxTokenLength)) length = kMaxTokenLength;
    std::memcpy(out, slash + 1, length);
    out[length] = '\0';
    return false;
}

bool PPDX::ContinuationLine(char* line) {
    if (mCurrentStream == nullptr) return false;
    if (mCurrentStream->GetLine(line)) return true;
    if (mCurrentStream->LineWasCut()) {
        RecordLongLine(line);
        mCurrentStream->SkipLine();
    }
    return false;
}

unsigned long PPDX::GetQuotedString(PPDStream& stream, char* value, const unsigned long& max) {
    if (value == nullptr || max < 2) return 0;
    ValueWriter out{value, max, 0};
    char c;
    // A value with no opening quote on its line is not a quoted value at all. Reading on over the
    // next lines would swallow the statement that follows (*FileVersion: 20 before *ModelName), so
    // nothing is read and the caller keeps what it had.
    if (!SkipToQuote(stream)) {
        value[0] = '\0';
        return 0;
    }
    while (stream.GetChar(c) && c != '\n' && c != '\r') {
        if (c == '"') {
            value[out.count] = '\0';
            return out.count == 0 ? 0 : out.count + 1;
        }
        if (out.Put(c)) {
            value[max - 1] = '\0';
            return out.count;
        }
    }
    // Not closed on its line: the value goes on over the next lines.
    char line[PPDFileStream::kJoinedLineBufferSize];
    while (true) {
        if (!ContinuationLine(line)) {
            value[out.count] = '\0';
            return 0;
        }
        if (line[0] == '\0') continue;
        if (out.Put('\0')) {
            value[max - 1] = '\0';
            return out.count;
        }
        if (line[0] == '*') return out.count;  // a keyword line ends it, unclosed
        for (const char* p = line; *p != '\0'; ++p) {
            if (*p == '"') {
                value[out.count] = '\0';
                return out.count + 1;
            }
            if (out.Put(*p)) {
                value[max - 1] = '\0';
                return out.count;
            }
        }
    }
}

unsigned long PPDX::GetPostscriptString(PPDStream& stream, char* value, const unsigned long& max) {
    if (value == nullptr || max < 2) return 0;
    ValueWriter out{value, max, 0};
    char c;
    if (!SkipToQuote(stream)) return 0;
    while (stream.GetChar(c) && c != '\n' && c != '\r') {
        if (c == '"') {
            if (out.count == 0) return 0;
            value[out.count] = '\n';
            return out.count + 1;
        }
        if (out.Put(c)) {
            value[max - 1] = '\n';
            return max;
        }
    }
    char line[PPDFileStream::kJoinedLineBufferSize];
    while (true) {
        if (!ContinuationLine(line)) {
            value[out.count] = '\n';
            return out.count + 1;
        }
        if (line[0] == '\0') continue;
        if (out.Put('\n')) {
            value[max - 1] = '\n';
            return max;
        }
        const char* p = line;
        if (line[0] == '*') {
            if (line[1] != '%') {  // the next keyword: the value ends before it
                value[out.count] = '\n';
                return out.count + 1;
            }
            p += 2;
        }
        for (; *p != '\0'; ++p) {
            if (*p == '"') {
                value[out.count] = '\n';
                return out.count + 1;
            }
            if (out.Put(*p)) {
                value[max - 1] = '\n';
                return max;
            }
        }
    }
}

void PPDX::RecordLongLine(const char* line) {
    if (mErrors == nullptr) return;
    char keyword[kTokenBufferSize];
    keyword[0] = '\0';
    if (line != nullptr && line[0] == '*') {
        PPDStream lineStream(line, static_cast<long>(::strnlen(line, kMaxTokenLength)));
        NextToken(lineStream, keyword, " \t:", true);
    }
    PPDXErrorObj* error =
        new (std::nothrow) PPDXErrorObj(kLineTooLongError, CString(keyword), false);
    mErrors->Add(error);
}

bool PPDX::NextLine(PPDStream& stream, char* line) {
    while (true) {
        if (stream.GetLine(line)) return true;
        if (!stream.LineWasCut()) return false;
        RecordLongLine(line);
        stream.SkipLine();
        if (mAllErrorsFatal) return false;
    }
}

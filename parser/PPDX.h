// The root of a parsed PPD: its file, its error list, its header values and the tokenizer that
// every keyword handler reads with.
//
// PPDX does not walk the file itself: Parse() belongs to the parser that derives from it. Models
// are shared by reference count: a new object has count 0, so one Retain and one Release destroy
// it.
//
// Map of the definitions: PPDX.cpp (life cycle, validity, header values), PPDXTokenizer.cpp
// (tokens, quoted and PostScript values, line reading), PPDXPCFileName.cpp (the accepted-names
// check), PPDXSnapshot.cpp (the header in a snapshot store).
#ifndef HALYX_PARSER_PPDX_H
#define HALYX_PARSER_PPDX_H

#include <cstring>

#include "Base/MacTypes.h"
#include "CoreFoundation/CFArray.h"
#include "CoreFoundation/CFURL.h"
#include "Files/FileRecords.h"

class CString;
class PointerList;
class PPDFile;
class PPDStream;
class PPDXErrorObj;
class PPDXErrors;
class PPDXPopupControl;
class Settings;
class TextConverter;

class PPDX {
public:
    // A token holds at most this many characters; token buffers hold one more.
    static constexpr int kMaxTokenLength = 255;
    static constexpr int kTokenBufferSize = kMaxTokenLength + 1;
    // Limits, terminator included, for quoted header values and PostScript values.
    static constexpr unsigned long kMaxQuotedValue = 256;
    static constexpr unsigned long kMaxPostScriptValue = 4096;
    // The accepted-names check looks for *PCFileName in this many leading bytes of the file, and
    // for a name in this many bytes after the keyword.
    static constexpr long kPCFileNameSearchBytes = 4096;
    static constexpr long kPCFileNameWindow = 32;
    // The error recorded for a physical line longer than the line buffer (not fatal).
    static constexpr short kLineTooLongError = 37;

    // Empty: nothing is read.
    PPDX();
    // Keep `names` (platform strings of accepted PC file names, may be null) and Build.
    PPDX(const CFURLRef url, CFArrayRef names);
    PPDX(const FSSpec& spec, CFArrayRef names);
    // Keep `names` and BuildFromSettings (PPDXSnapshot.cpp).
    PPDX(Settings& settings, const CFURLRef url, CFArrayRef names);
    virtual ~PPDX();

    virtual PPDX* Retain();
    // Drops one reference; destroys the object and answers true when none is left.
    virtual bool Release();
    virtual void Parse() = 0;
    // The header keywords (format and file version, PC file name, language version and encoding,
    // model name); other keywords are ignored. Always null: a value that cannot be read leaves its
    // field as it was.
    virtual PPDXErrorObj* ParsePSKeywords(PPDStream& stream, const char* keyword);
    virtual PPDXPopupControl* PPDCreatePopupMenu(const char* groupName, const char* keyword,
                                                 const char* translation, PointerList& items,
                                                 CString* defaultChoice) = 0;
    virtual bool PPDReconcilePopupMenu(const char* keyword, const char* name, PointerList& items,
                                       CString* defaultChoice) = 0;

    // Creates the error list and the file handle, then checks the PC file name against the names
    // given to the constructor (if any) and forgets them.
    void Build(const FSSpec& spec);
    void Build(const CFURLRef url);

    // --- Snapshot (PPDXSnapshot.cpp) ------------------------------------------------------
    // Header records, all under kSnapshotHeaderTag: the format number, the file file record
    // (when there is a file) and each header value that is present, without terminator.
    static constexpr FourCharCode kSnapshotHeaderTag = 1000;
    static constexpr SInt32 kSnapshotFormatId = 1001;
    static constexpr SInt32 kSnapshotFileSpecId = 1002;
    static constexpr SInt32 kSnapshotFormatVersionId = 1003;
    static constexpr SInt32 kSnapshotFileVersionId = 1004;
    static constexpr SInt32 kSnapshotPCFileNameId = 1005;
    static constexpr SInt32 kSnapshotLanguageVersionId = 1006;
    static constexpr SInt32 kSnapshotLanguageEncodingId = 1007;
    static constexpr SInt32 kSnapshotModelNameId = 1008;
    static constexpr SInt32 kSnapshotFormat = 1024;

    // Writes the header records; false at the first record that could not be added (those
    // added before stay).
    virtual bool Save(Settings& settings);
    // Reads the header back. Without a four-byte format record nothing is built (no error list
    // either). The file is opened from `url` (a file that moved since the save is found there);
    // with accepted names kept by the constructor, the file's PC file name is checked against
    // them and the names forgotten. Only with an accepted name are the other header values read.
    void BuildFromSettings(Settings& settings, const CFURLRef url);

    // True when the file's *PCFileName value, within kPCFileNameWindow bytes after the keyword in
    // the first kPCFileNameSearchBytes bytes, contains one of `names` (Mac OS Roman,
    // case-sensitive).
    static bool ValidateAgainstPCFilename(CFArrayRef names, PPDFile* file);
    // True for a null name list; otherwise ValidateAgainstPCFilename on `file`, or on the file the
    // URL names when `file` is null.
    static bool ValidateFileName(const CFURLRef url, CFArrayRef names, PPDFile* file);

    // Whether the parsed PPD may be used: it started with the right header and (unless every
    // error counts as fatal) holds no fatal error.
    bool IsValidPPD() const;
    bool IsValidPrinterName() const { return mValidPrinterName; }
    void AllErrorsFatal(const bool& allFatal) { mAllErrorsFatal = allFatal; }
    bool AllErrorsFatal() const { return mAllErrorsFatal; }
    PPDXErrors* GetErrors() const { return mErrors; }

    // The text encoding of the strings the converter makes; 0 while there is no converter.
    TextEncoding GetStringTextEncoding() const;
    // Header values, null while their keyword has not been seen.
    const char* PCFileName() const;
    const char* LanguageVersion() const;
    const char* LanguageEncoding() const;
    const char* ModelName() const;
    const char* FormatVersion() const;
    const char* FileVersion() const;

    // Reads one token into `token` (kTokenBufferSize bytes): up to the end of the stream, LF, a CR
    // not followed by LF, or a byte of `delimiters` (may be null), which is consumed. At most
    // kMaxTokenLength characters are taken; the rest stays in the stream. With `strip`, blanks and
    // tabs around the token are removed. False for an empty token (before stripping).
    static bool NextToken(PPDStream& stream, char* token, const char* delimiters, bool strip);

    // The bytes that end a token: a set of delimiters, and LF, CR and NUL, which have rules of
    // their own. Fixed sets are built once, at compile time, and passed to NextToken.
    class Stops {
    public:
        constexpr explicit Stops(const char* delimiters) : mBits{0, 0, 0, 0}, mHighest(0) {
            if (delimiters != nullptr)
                for (const char* d = delimiters; *d != '\0'; ++d) Add(static_cast<UInt8>(*d));
            Add('\n');
            Add('\r');
            Add(0);
        }
        // A byte above the highest stop is plain without looking it up.
        bool Has(char c) const {
            const UInt8 byte = static_cast<UInt8>(c);
            return byte <= mHighest && ((mBits[byte >> 6] >> (byte & 63)) & 1) != 0;
        }
        // The first stop in [at, limit), or `limit`.
        const char* Find(const char* at, const char* limit) const {
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
            // When every stop is below the letters, words of eight bytes above the highest stop are
            // passed at once; a word with a lower byte is looked at from that byte on.
            if (mHighest < 0x40) {
                constexpr UInt64 kOnes = 0x0101010101010101ull;
                constexpr UInt64 kHighs = 0x8080808080808080ull;
                const UInt64 bound = kOnes * (mHighest + 1u);
                while (limit - at >= 8) {
                    UInt64 word;
                    std::memcpy(&word, at, 8);
                    // A high bit for every byte up to the highest stop; a borrow can also mark
                    // bytes after the first such byte, but never one before it.
                    const UInt64 low = (word - bound) & ~word & kHighs;
                    if (low == 0) {
                        at += 8;
                        continue;
                    }
                    at += __builtin_ctzll(low) >> 3;
                    if (Has(*at)) return at;
                    ++at;
                }
            }
#endif
            while (at < limit && !Has(*at)) ++at;
            return at;
        }

    private:
        constexpr void Add(UInt8 byte) {
            mBits[byte >> 6] |= UInt64{1} << (byte & 63);
            if (byte > mHighest) mHighest = byte;
        }

        UInt64 mBits[4];
        UInt8 mHighest;
    };
    // As above, with the stops built beforehand.
    static bool NextToken(PPDStream& stream, char* token, const Stops& stops, bool strip);
    // Reads the quoted value that follows on the line (continuing on the next lines when it is not
    // closed there) into `value` of `max` bytes. Returns the count of bytes + 1, 0 for an empty or
    // unreadable value; a value cut at max - 1 bytes returns max - 1; a value ended by a keyword
    // line returns its count. Lines of a continued value are separated by NUL bytes, so read as a
    // text the value is its first line.
    unsigned long GetQuotedString(PPDStream& stream, char* value, const unsigned long& max);
    // Reads an invocation value into `value` of `max` bytes (not NUL-terminated: callers clear the
    // buffer first). Lines are joined with LF and the value ends with LF; the result counts that
    // LF. 0 when the line holds no quote or the value is empty.
    unsigned long GetPostscriptString(PPDStream& stream, char* value, const unsigned long& max);
    static void StripLeadingWhiteSpace(char* text);
    // Never removes the first character.
    static void StripTrailingWhiteSpace(char* text);
    // Copies what follows the first "/" of `text` into `out` (kTokenBufferSize bytes, cut to fit);
    // empty without "/". Always false.
    static bool ParseMainKeyword(const char* text, char* out);

protected:
    // The stream the walk reads lines from; continuation lines of values are read through it.
    void CurrentStream(PPDStream* stream) {
        mCurrentStream = stream;
    }
    PPDStream* CurrentStream() const {
        return mCurrentStream;
    }

    // Reads the next line for the walk into `line` (kJoinedLineBufferSize bytes of PPDFileStream).
    // A line longer than the line buffer is not handed out: error kLineTooLongError, with the
    // line's main keyword when it has one, is recorded, the rest of the line skipped, and the walk
    // goes on with the next line (unless every error counts as fatal). False at the end of data.
    bool NextLine(PPDStream& stream, char* line);

    // Sets the valid-PPD flag (the header test of the walk does).
    void ValidPPD(bool valid) {
        mValidPPD = valid;
    }
    PPDFile* File() const {
        return mFile;
    }
    // The converter of the PPD's texts, null until both language keywords have been read.
    TextConverter* GetTextConverter() const {
        return mTextConverter;
    }

private:
    PPDX(const PPDX&) = delete;
    PPDX& operator=(const PPDX&) = delete;

    // Adds a non-fatal kLineTooLongError for `line` (the part that was read) to the error list.
    void RecordLongLine(const char* line);
    // Reads a continuation line of a value through the current stream; a line that is too long is
    // recorded and skipped, and counts as a failed read.
    bool ContinuationLine(char* line);
    // Replaces `field` with a copy of `value`.
    static void StoreHeader(CString*& field, const char* value);

    // Called each time LanguageVersion or LanguageEncoding is stored while both are known: replaces
    // mTextConverter with a converter built from this PPD, which reads both values. A converter
    // that cannot be allocated leaves mTextConverter null (strings then keep the file's bytes).
    void MakeTextConverter();

    bool mValidPPD;
    bool mValidPrinterName;
    PPDFile* mFile;
    PPDXErrors* mErrors;
    bool mAllErrorsFatal;
    CString* mFormatVersion;
    CString* mFileVersion;
    CString* mPCFileName;
    CString* mLanguageVersion;
    CString* mLanguageEncoding;
    CString* mModelName;
    TextConverter* mTextConverter;
    PPDStream* mCurrentStream;
    CFArrayRef mNames;
    SInt32 mRetainCount;
};

#endif  // HALYX_PARSER_PPDX_H

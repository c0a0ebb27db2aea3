// An owned, NUL-terminated byte string that remembers its length.
//
// The buffer is either null, or a heap block the string owns, or (for short texts) storage inside
// the string; a null buffer and a buffer whose first byte is NUL both count as empty. Texts are in
// the system encoding (Mac OS Roman) unless a caller says otherwise. Nothing here reports errors:
// when memory runs out, appending and inserting leave the string as it was, and setting a new text
// leaves it empty.
#ifndef HALYX_FOUNDATION_CSTRING_H
#define HALYX_FOUNDATION_CSTRING_H

#include "Base/MacTypes.h"
#include "CoreFoundation/CFString.h"

class CString {
public:
    CString();
    // Copies `text`; a null pointer gives an empty string with a null buffer.
    CString(const char* text);
    CString(const CString& other);
    // Converts with the system encoding into a block of twice the character count plus one byte;
    // when the conversion fails the string is empty with a null buffer.
    explicit CString(CFStringRef text);
    virtual ~CString();

    // Replaces the text with a copy of `text` (nothing happens when `text` is the current buffer);
    // a null pointer leaves the string empty with a null buffer.
    void SetBuffer(const char* text);

    CString& operator=(const char* text);
    CString& operator=(const CString& other);
    // A null platform string, or one that does not fit in character count + 1 bytes of the
    // application's encoding, gives the empty text "" (an allocated one-byte buffer).
    CString& operator=(CFStringRef text);

    UInt32 Size() const { return mLength; }
    bool Empty() const { return mBuffer == nullptr || mBuffer[0] == '\0'; }
    // The buffer itself, which may be null.
    operator const char*() const { return mBuffer; }

    // Appends `text` in place and returns this string.
    CString& operator+(const char* text);

    // Byte-exact comparison; a null buffer compares as "".
    bool operator==(const CString& other) const;
    bool operator==(const char* text) const;

    // Case-insensitive substring test.
    bool Contains(const char* text) const;

    // Removes `count` bytes starting at `at`, a position inside the buffer; a count that reaches
    // past the end removes the tail. Positions outside the buffer are ignored.
    void Remove(char* at, unsigned long count);
    // Inserts `text` before `at` (a position inside the buffer or its end).
    void Insert(char* at, const char* text);
    // Replaces the first case-sensitive occurrence of `what` by `with`.
    void Replace(const CString& what, const CString& with);

private:
    // Texts shorter than this are kept in the string itself rather than in a block of their own.
    static constexpr UInt32 kInlineSize = 16;

    // Takes ownership of `block` (of `length` + 1 bytes) after freeing the current buffer.
    void Adopt(char* block, UInt32 length);
    // Frees the buffer when it is a block of its own.
    void FreeBuffer();

    char* mBuffer;
    UInt32 mLength;
    char mInline[kInlineSize];
};

#endif  // HALYX_FOUNDATION_CSTRING_H

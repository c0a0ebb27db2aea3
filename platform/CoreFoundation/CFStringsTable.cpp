#include "CoreFoundation/CFStringsTable.h"

#include <vector>

#include "CoreFoundation/CFCollectionObjects.h"
#include "CoreFoundation/CFStringConverter.h"
#include "CoreFoundation/CFStringObject.h"

namespace halyxcf {
namespace {

bool IsSpace(UniChar c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == 0xFEFF;
}

bool IsWordCharacter(UniChar c) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
    return c == '_' || c == '$' || c == '+' || c == '/' || c == ':' || c == '.' || c == '-';
}

int HexValue(UniChar c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

class TableParser {
public:
    explicit TableParser(std::vector<UniChar> chars) : mChars(std::move(chars)) {}

    bool Parse(__CFDictionary* table, std::string* error);

private:
    bool AtEnd() const { return mPos >= mChars.size(); }
    bool SkipSpaceAndComments();
    bool ReadString(std::vector<UniChar>* out);
    bool ReadQuoted(std::vector<UniChar>* out);
    bool Fail(const std::string& message) {
        mError = message + " at character " + std::to_string(mPos);
        return false;
    }

    std::vector<UniChar> mChars;
    size_t mPos = 0;
    std::string mError;
};

bool TableParser::SkipSpaceAndComments() {
    while (!AtEnd()) {
        UniChar c = mChars[mPos];
        if (IsSpace(c)) {
            ++mPos;
        } else if (c == '/' && mPos + 1 < mChars.size() && mChars[mPos + 1] == '*') {
            mPos += 2;
            while (!(mPos + 1 < mChars.size() && mChars[mPos] == '*' && mChars[mPos + 1] == '/')) {
                if (++mPos >= mChars.size()) return Fail("unterminated comment");
            }
            mPos += 2;
        } else if (c == '/' && mPos + 1 < mChars.size() && mChars[mPos + 1] == '/') {
            while (!AtEnd() && mChars[mPos] != '\n') ++mPos;
        } else {
            break;
        }
    }
    return true;
}

bool TableParser::ReadQuoted(std::vector<UniChar>* out) {
    ++mPos;  // the opening quote
    while (!AtEnd()) {
        UniChar c = mChars[mPos++];
        if (c == '"') return true;
        if (c != '\\') {
            out->push_back(c);
            continue;
        }
        if (AtEnd()) break;
        UniChar e = mChars[mPos++];
        switch (e) {
            case 'n':
                out->push_back('\n');
                break;
            case 't':
                out->push_back('\t');
                break;
            case 'r':
                out->push_back('\r');
                break;
            case 'a':
                out->push_back(7);
                break;
            case 'b':
                out->push_back(8);
                break;
            case 'f':
                out->push_back(12);
                break;
            case 'v':
                out->push_back(11);
                break;
            case 'U':
            case 'u': {
                UniChar value = 0;
                int digits = 0;
                for (; digits < 4 && !AtEnd() && HexValue(mChars[mPos]) >= 0; ++digits)
                    value = static_cast<UniChar>(value * 16 + HexValue(mChars[mPos++]));
                if (digits == 0) return Fail("\\U without hex digits");
                out->push_back(value);
                break;
            }
            default:
                if (e >= '0' && e <= '7') {
                    UniChar value = static_cast<UniChar>(e - '0');
                    for (int digits = 1;
                         digits < 3 && !AtEnd() && mChars[mPos] >= '0' && mChars[mPos] <= '7';
                         ++digits)
                        value = static_cast<UniChar>(value * 8 + (mChars[mPos++] - '0'));
                    out->push_back(value);
                } else {
                    out->push_back(e);  // \" \\ and any other character stand for themselves
                }
        }
    }
    return Fail("unterminated string");
}

bool TableParser::ReadString(std::vector<UniChar>* out) {
    if (!SkipSpaceAndComments()) return false;
    if (AtEnd()) return Fail("missing string");
    if (mChars[mPos] == '"') return ReadQuoted(out);
    size_t start = mPos;
    while (!AtEnd() && IsWordCharacter(mChars[mPos])) out->push_back(mChars[mPos++]);
    if (mPos == start) return Fail("expected a string");
    return true;
}

bool TableParser::Parse(__CFDictionary* table, std::string* error) {
    for (;;) {
        if (!SkipSpaceAndComments()) break;
        if (AtEnd()) return true;
        std::vector<UniChar> key;
        if (!ReadString(&key) || !SkipSpaceAndComments()) break;
        if (AtEnd()) {
            Fail("missing ';'");
            break;
        }
        std::vector<UniChar> value;
        if (mChars[mPos] == '=') {
            ++mPos;
            if (!ReadString(&value) || !SkipSpaceAndComments()) break;
            if (AtEnd() || mChars[mPos] != ';') {
                Fail("missing ';'");
                break;
            }
        } else if (mChars[mPos] == ';') {
            value = key;
        } else {
            Fail("expected '=' or ';'");
            break;
        }
        ++mPos;  // the ';'
        CFStringRef keyString = NewString(std::move(key), false);
        CFStringRef valueString = NewString(std::move(value), false);
        table->Set(keyString, valueString);
        CFRelease(keyString);
        CFRelease(valueString);
    }
    *error = mError;
    return false;
}

}  // namespace

CFDictionaryRef ParseStringsTable(const UInt8* bytes, size_t length, std::string* error) {
    std::vector<UniChar> chars;
    CFStringEncoding encoding = kCFStringEncodingUTF8;
    if (length >= 2 &&
        ((bytes[0] == 0xFE && bytes[1] == 0xFF) || (bytes[0] == 0xFF && bytes[1] == 0xFE))) {
        encoding = bytes[0] == 0xFE ? kCFStringEncodingUTF16BE : kCFStringEncodingUTF16LE;
        bytes += 2;
        length -= 2;
    } else if (length >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
        bytes += 3;
        length -= 3;
    }
    if (!DecodeBytes(bytes, length, encoding, &chars)) {
        if (encoding != kCFStringEncodingUTF8 ||
            !DecodeBytes(bytes, length, kCFStringEncodingMacRoman, &chars)) {
            *error = "the table is not valid text";
            return nullptr;
        }
    }
    __CFDictionary* table =
        new __CFDictionary(&kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks, false);
    TableParser parser(std::move(chars));
    if (!parser.Parse(table, error)) {
        CFRelease(table);
        return nullptr;
    }
    return table;
}

}  // namespace halyxcf

// Writes property lists as XML into one growing buffer (linear in the size of the tree).
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "CoreFoundation/CFBase64.h"
#include "CoreFoundation/CFCollectionObjects.h"
#include "CoreFoundation/CFDataObject.h"
#include "CoreFoundation/CFErrorObject.h"
#include "CoreFoundation/CFNumber.h"
#include "CoreFoundation/CFPropertyList.h"
#include "CoreFoundation/CFStringObject.h"

using halyxcf::CastTo;

namespace {

// Same limit as the reader: a tree that deep (or one that holds itself) is refused.
constexpr int kMaxDepth = 512;
// Base64 characters per line inside <data>.
constexpr size_t kBase64Line = 76;

const char kHeader[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<!DOCTYPE plist SYSTEM \"PropertyList-1.0.dtd\">\n"
    "<plist version=\"1.0\">\n";
const char kFooter[] = "</plist>\n";

// XML 1.0 cannot carry these characters, not even as references.
bool IsXMLCharacter(UniChar c) {
    if (c < 0x20) return c == '\t' || c == '\n' || c == '\r';
    return c != 0xFFFE && c != 0xFFFF;
}

// The document's bytes, kept where the data value that is made of them takes them over.
class Output {
public:
    Output& operator+=(char c) {
        mBytes.push_back(static_cast<UInt8>(c));
        return *this;
    }
    Output& operator+=(const char* text) { return Append(text, std::strlen(text)); }
    Output& operator+=(const std::string& text) { return Append(text.data(), text.size()); }
    void append(size_t count, char c) { mBytes.insert(mBytes.end(), count, static_cast<UInt8>(c)); }
    std::vector<UInt8>& Bytes() { return mBytes; }

private:
    Output& Append(const char* text, size_t length) {
        const UInt8* bytes = reinterpret_cast<const UInt8*>(text);
        mBytes.insert(mBytes.end(), bytes, bytes + length);
        return *this;
    }
    std::vector<UInt8> mBytes;
};

class Writer {
public:
    bool Write(CFTypeRef value, int depth);
    Output mOut;
    std::string mError;
    // Checks that the tree can be written without writing the texts of its strings and data.
    bool mCheckOnly = false;

private:
    bool Fail(const std::string& message) {
        if (mError.empty()) mError = message;
        return false;
    }
    void Indent(int depth) { mOut.append(static_cast<size_t>(depth), '\t'); }
    bool AppendEscaped(const __CFString* str);
    bool WriteLeaf(const char* tag, const std::string& text, int depth) {
        Indent(depth);
        mOut += '<';
        mOut += tag;
        mOut += '>';
        mOut += text;
        mOut += "</";
        mOut += tag;
        mOut += ">\n";
        return true;
    }
};

bool Writer::AppendEscaped(const __CFString* str) {
    const std::vector<UniChar>& chars = str->mChars;
    for (size_t i = 0; i < chars.size(); ++i) {
        UniChar c = chars[i];
        bool high = c >= 0xD800 && c <= 0xDBFF;
        bool low = c >= 0xDC00 && c <= 0xDFFF;
        if (!IsXMLCharacter(c) || low ||
            (high && (i + 1 >= chars.size() || chars[i + 1] < 0xDC00 || chars[i + 1] > 0xDFFF)))
            return Fail("a string holds a character that XML cannot carry");
        if (high) ++i;
    }
    if (mCheckOnly) return true;
    for (char c : str->UTF8()) {
        switch (c) {
            case '&':
                mOut += "&amp;";
                break;
            case '<':
                mOut += "&lt;";
                break;
            case '>':
                mOut += "&gt;";
                break;
            case '\r':
                mOut += "&#13;";  // would otherwise read back as a line feed
                break;
            default:
                mOut += c;
        }
    }
    return true;
}

std::string FormatReal(double value) {
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value > 0 ? "+infinity" : "-infinity";
    char text[40];
    // The shortest of these that reads back to the same value.
    for (int precision : {15, 16, 17}) {
        std::snprintf(text, sizeof text, "%.*g", precision, value);
        if (std::strtod(text, nullptr) == value) break;
    }
    return text;
}

bool Writer::Write(CFTypeRef value, int depth) {
    if (depth > kMaxDepth) return Fail("the tree is nested too deep");
    CFTypeID type = CFGetTypeID(value);
    if (const __CFString* str = CastTo<__CFString>(value)) {
        Indent(depth);
        mOut += "<string>";
        if (!AppendEscaped(str)) return false;
        mOut += "</string>\n";
        return true;
    }
    if (const __CFDictionary* dict = CastTo<__CFDictionary>(value)) {
        Indent(depth);
        if (dict->mEntries.empty()) {
            mOut += "<dict/>\n";
            return true;
        }
        mOut += "<dict>\n";
        for (const __CFDictionary::Entry& entry : dict->mEntries) {
            const __CFString* key = CastTo<__CFString>(entry.key);
            if (key == nullptr) return Fail("a dictionary key is not a string");
            Indent(depth + 1);
            mOut += "<key>";
            if (!AppendEscaped(key)) return false;
            mOut += "</key>\n";
            if (!Write(entry.value, depth + 1)) return false;
        }
        Indent(depth);
        mOut += "</dict>\n";
        return true;
    }
    if (const __CFArray* array = CastTo<__CFArray>(value)) {
        Indent(depth);
        if (array->mValues.empty()) {
            mOut += "<array/>\n";
            return true;
        }
        mOut += "<array>\n";
        for (const void* item : array->mValues) {
            if (!Write(item, depth + 1)) return false;
        }
        Indent(depth);
        mOut += "</array>\n";
        return true;
    }
    if (const __CFData* data = CastTo<__CFData>(value)) {
        Indent(depth);
        mOut += "<data>\n";
        if (!mCheckOnly)
            halyxcf::AppendBase64(data->Bytes(), data->Length(), kBase64Line,
                                  std::string(static_cast<size_t>(depth), '\t'), &mOut.Bytes());
        Indent(depth);
        mOut += "</data>\n";
        return true;
    }
    if (type == CFNumberGetTypeID()) {
        CFNumberRef number = static_cast<CFNumberRef>(value);
        if (CFNumberIsFloatType(number)) {
            double real = 0;
            CFNumberGetValue(number, kCFNumberFloat64Type, &real);
            return WriteLeaf("real", FormatReal(real), depth);
        }
        SInt64 integer = 0;
        CFNumberGetValue(number, kCFNumberSInt64Type, &integer);
        return WriteLeaf("integer", std::to_string(integer), depth);
    }
    if (type == CFBooleanGetTypeID()) {
        Indent(depth);
        mOut += CFBooleanGetValue(static_cast<CFBooleanRef>(value)) ? "<true/>\n" : "<false/>\n";
        return true;
    }
    return Fail(value == nullptr ? "a NULL value" : "a value that is not a property-list type");
}

CFDataRef WritePropertyList(CFPropertyListRef plist, CFPropertyListFormat format,
                            std::string* error) {
    if (format != kCFPropertyListXMLFormat_v1_0) {
        *error = "only the XML format is written";
        return nullptr;
    }
    Writer writer;
    writer.mOut += kHeader;
    if (!writer.Write(plist, 0)) {
        *error = writer.mError;
        return nullptr;
    }
    writer.mOut += kFooter;
    __CFData* data = new __CFData(false);
    data->mBytes = std::move(writer.mOut.Bytes());
    return data;
}

}  // namespace

extern "C" {

CFDataRef CFPropertyListCreateData(CFAllocatorRef, CFPropertyListRef propertyList,
                                   CFPropertyListFormat format, CFOptionFlags, CFErrorRef* error) {
    if (error != nullptr) *error = nullptr;
    std::string message;
    CFDataRef data = WritePropertyList(propertyList, format, &message);
    if (data == nullptr && error != nullptr) {
        *error = halyxcf::NewError(kHalyxErrorDomainPropertyList, kCFPropertyListWriteStreamError,
                                   message);
    }
    return data;
}

CFDataRef CFPropertyListCreateXMLData(CFAllocatorRef, CFPropertyListRef propertyList) {
    std::string message;
    return WritePropertyList(propertyList, kCFPropertyListXMLFormat_v1_0, &message);
}

Boolean CFPropertyListIsValid(CFPropertyListRef plist, CFPropertyListFormat format) {
    // Valid means writable: the same walk as writing, without the text.
    if (format != kCFPropertyListXMLFormat_v1_0) return false;
    Writer writer;
    writer.mCheckOnly = true;
    return writer.Write(plist, 0);
}

}  // extern "C"

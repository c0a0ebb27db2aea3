// Reads XML property lists with expat: one frame per open element, values handed to the
// enclosing container as their elements close.
#include <expat.h>

#include <charconv>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "CoreFoundation/CFBase64.h"
#include "CoreFoundation/CFCollectionObjects.h"
#include "CoreFoundation/CFDataObject.h"
#include "CoreFoundation/CFErrorObject.h"
#include "CoreFoundation/CFNumber.h"
#include "CoreFoundation/CFPropertyList.h"
#include "CoreFoundation/CFStringConverter.h"
#include "CoreFoundation/CFStringObject.h"

using halyxcf::CastTo;

namespace {

// Deeper trees are refused: releasing or writing them would recurse too far.
constexpr size_t kMaxDepth = 512;

enum class Kind { kPlist, kDict, kArray, kKey, kString, kData, kInteger, kReal, kTrue, kFalse };

struct ElementName {
    const char* name;
    Kind kind;
};

const ElementName kElements[] = {
    {"plist", Kind::kPlist},     {"dict", Kind::kDict},     {"array", Kind::kArray},
    {"key", Kind::kKey},         {"string", Kind::kString}, {"data", Kind::kData},
    {"integer", Kind::kInteger}, {"real", Kind::kReal},     {"true", Kind::kTrue},
    {"false", Kind::kFalse},
};

bool IsContainer(Kind kind) {
    return kind == Kind::kPlist || kind == Kind::kDict || kind == Kind::kArray;
}

struct Frame {
    Kind kind;
    CFTypeRef value = nullptr;         // the dictionary or array being filled; the plist's root
    CFStringRef pendingKey = nullptr;  // dictionaries: a key still waiting for its value
    std::string text;                  // leaves: their character data (UTF-8)
};

class Reader {
public:
    explicit Reader(CFOptionFlags options) : mOptions(options) {}
    ~Reader() {
        for (Frame& frame : mStack) Drop(frame);
        CFRelease(mResult);
    }

    // The tree (owned by the caller) or NULL with Error() set.
    CFTypeRef Parse(const char* bytes, size_t length);
    const std::string& Error() const { return mError; }

private:
    static void XMLCALL OnStart(void* self, const XML_Char* name, const XML_Char**) {
        static_cast<Reader*>(self)->Start(name);
    }
    static void XMLCALL OnEnd(void* self, const XML_Char*) { static_cast<Reader*>(self)->End(); }
    static void XMLCALL OnText(void* self, const XML_Char* text, int length) {
        static_cast<Reader*>(self)->Text(text, static_cast<size_t>(length));
    }
    static void XMLCALL OnEntityDecl(void* self, const XML_Char*, int, const XML_Char*, int,
                                     const XML_Char*, const XML_Char*, const XML_Char*,
                                     const XML_Char*) {
        static_cast<Reader*>(self)->Fail("entity declarations are not allowed");
    }
    static void XMLCALL OnSkippedEntity(void* self, const XML_Char* name, int) {
        static_cast<Reader*>(self)->Fail(std::string("undefined entity &") + name + ";");
    }

    void Start(const char* name);
    void End();
    void Text(const char* text, size_t length);
    // Turns a closed leaf into its value (owned by the caller), or NULL after Fail.
    CFTypeRef MakeLeaf(Frame& frame);
    // Hands a finished value to the enclosing frame (or makes it the result) and releases it.
    void Deliver(CFTypeRef value);
    void Fail(const std::string& message);
    static void Drop(Frame& frame) {
        CFRelease(frame.value);
        CFRelease(frame.pendingKey);
        frame.value = nullptr;
        frame.pendingKey = nullptr;
    }

    CFOptionFlags mOptions;
    XML_Parser mParser = nullptr;
    std::vector<Frame> mStack;
    CFTypeRef mResult = nullptr;
    bool mFailed = false;
    std::string mError;
};

void Reader::Fail(const std::string& message) {
    if (mFailed) return;
    mFailed = true;
    char where[64];
    std::snprintf(where, sizeof where, " (line %lu)",
                  static_cast<unsigned long>(XML_GetCurrentLineNumber(mParser)));
    mError = message + where;
    XML_StopParser(mParser, XML_FALSE);
}

void Reader::Start(const char* name) {
    if (mFailed) return;
    const ElementName* element = nullptr;
    for (const ElementName& e : kElements) {
        if (std::strcmp(e.name, name) == 0) element = &e;
    }
    if (element == nullptr) return Fail(std::string("unknown element <") + name + ">");
    if (mStack.size() >= kMaxDepth) return Fail("nesting too deep");
    if (element->kind == Kind::kPlist && !mStack.empty())
        return Fail("<plist> inside another element");

    if (!mStack.empty()) {
        Frame& parent = mStack.back();
        if (!IsContainer(parent.kind))
            return Fail(std::string("element <") + name + "> inside a value");
        bool isKey = element->kind == Kind::kKey;
        if (parent.kind == Kind::kDict) {
            if (isKey && parent.pendingKey != nullptr) return Fail("<key> without a value");
            if (!isKey && parent.pendingKey == nullptr)
                return Fail("dictionary value without a <key>");
        } else if (isKey) {
            return Fail("<key> outside a dictionary");
        }
        if (parent.kind == Kind::kPlist && parent.value != nullptr)
            return Fail("more than one value in <plist>");
    } else if (mResult != nullptr) {
        return Fail("more than one top-level value");
    } else if (element->kind == Kind::kKey) {
        return Fail("<key> outside a dictionary");
    }

    Frame frame;
    frame.kind = element->kind;
    bool mutableContainers = mOptions != kCFPropertyListImmutable;
    if (frame.kind == Kind::kDict) {
        frame.value = new __CFDictionary(&kCFTypeDictionaryKeyCallBacks,
                                         &kCFTypeDictionaryValueCallBacks, mutableContainers);
    } else if (frame.kind == Kind::kArray) {
        frame.value = new __CFArray(&kCFTypeArrayCallBacks, mutableContainers);
    }
    mStack.push_back(std::move(frame));
}

void Reader::Text(const char* text, size_t length) {
    if (mFailed) return;
    if (!mStack.empty() && !IsContainer(mStack.back().kind)) {
        mStack.back().text.append(text, length);
        return;
    }
    for (size_t i = 0; i < length; ++i) {
        char c = text[i];
        if (c != ' ' && c != '\t' && c != '\n' && c != '\r') return Fail("text outside a value");
    }
}

std::string Trimmed(const std::string& text) {
    size_t begin = text.find_first_not_of(" \t\r\n");
    if (begin == std::string::npos) return std::string();
    size_t end = text.find_last_not_of(" \t\r\n");
    return text.substr(begin, end - begin + 1);
}

CFTypeRef Reader::MakeLeaf(Frame& frame) {
    bool mutableLeaves = mOptions == kCFPropertyListMutableContainersAndLeaves;
    switch (frame.kind) {
        case Kind::kKey:
        case Kind::kString: {
            std::vector<UniChar> chars;
            if (!halyxcf::DecodeBytes(reinterpret_cast<const UInt8*>(frame.text.data()),
                                      frame.text.size(), kCFStringEncodingUTF8, &chars)) {
                Fail("text is not valid UTF-8");
                return nullptr;
            }
            return halyxcf::NewString(std::move(chars),
                                      mutableLeaves && frame.kind == Kind::kString);
        }
        case Kind::kData: {
            __CFData* data = new __CFData(mutableLeaves);
            if (!halyxcf::DecodeBase64(frame.text, &data->mBytes)) {
                CFRelease(data);
                Fail("bad Base64 in <data>");
                return nullptr;
            }
            return data;
        }
        case Kind::kInteger: {
            std::string text = Trimmed(frame.text);
            const char* begin = text.c_str();
            const char* end = begin + text.size();
            bool negative = *begin == '-';
            if (*begin == '+' || *begin == '-') ++begin;
            int base = 10;
            if (end - begin > 2 && begin[0] == '0' && (begin[1] == 'x' || begin[1] == 'X')) {
                base = 16;
                begin += 2;
            }
            UInt64 magnitude = 0;
            auto result = std::from_chars(begin, end, magnitude, base);
            bool fits =
                negative ? magnitude <= 0x8000000000000000ull : magnitude <= 0x7fffffffffffffffull;
            SInt64 value =
                negative ? static_cast<SInt64>(0 - magnitude) : static_cast<SInt64>(magnitude);
            if (begin == end || result.ec != std::errc() || result.ptr != end || !fits) {
                Fail("bad <integer> \"" + text + "\"");
                return nullptr;
            }
            return CFNumberCreate(nullptr, kCFNumberSInt64Type, &value);
        }
        case Kind::kReal: {
            std::string text = Trimmed(frame.text);
            const char* begin = text.c_str();
            if (*begin == '+') ++begin;
            double value = 0;
            auto result = std::from_chars(begin, text.c_str() + text.size(), value);
            if (text.empty() || result.ec != std::errc() ||
                result.ptr != text.c_str() + text.size()) {
                Fail("bad <real> \"" + text + "\"");
                return nullptr;
            }
            return CFNumberCreate(nullptr, kCFNumberFloat64Type, &value);
        }
        case Kind::kTrue:
        case Kind::kFalse:
            if (!Trimmed(frame.text).empty()) {
                Fail("text inside a boolean");
                return nullptr;
            }
            return frame.kind == Kind::kTrue ? kCFBooleanTrue : kCFBooleanFalse;
        default:
            return nullptr;
    }
}

void Reader::End() {
    if (mFailed || mStack.empty()) return;
    Frame frame = std::move(mStack.back());
    mStack.pop_back();
    CFTypeRef value = nullptr;
    switch (frame.kind) {
        case Kind::kPlist:
            if (frame.value == nullptr) return Fail("empty <plist>");
            value = frame.value;
            break;
        case Kind::kDict:
            if (frame.pendingKey != nullptr) {
                Drop(frame);
                return Fail("<key> without a value");
            }
            value = frame.value;
            break;
        case Kind::kArray:
            value = frame.value;
            break;
        case Kind::kKey: {
            CFTypeRef key = MakeLeaf(frame);
            if (key != nullptr) mStack.back().pendingKey = static_cast<CFStringRef>(key);
            return;
        }
        default:
            value = MakeLeaf(frame);
            if (value == nullptr) return;
            break;
    }
    Deliver(value);
}

void Reader::Deliver(CFTypeRef value) {
    if (mStack.empty()) {
        mResult = value;
        return;
    }
    Frame& parent = mStack.back();
    if (parent.kind == Kind::kPlist) {
        parent.value = value;
        return;
    }
    if (parent.kind == Kind::kDict) {
        __CFDictionary* dict = CastTo<__CFDictionary>(parent.value);
        dict->Set(parent.pendingKey, value);
        CFRelease(parent.pendingKey);
        parent.pendingKey = nullptr;
    } else {
        __CFArray* array = CastTo<__CFArray>(parent.value);
        array->mValues.push_back(array->RetainOne(value));
    }
    CFRelease(value);
}

CFTypeRef Reader::Parse(const char* bytes, size_t length) {
    mParser = XML_ParserCreate(nullptr);
    if (mParser == nullptr) {
        mError = "out of memory";
        return nullptr;
    }
    XML_SetUserData(mParser, this);
    XML_SetElementHandler(mParser, OnStart, OnEnd);
    XML_SetCharacterDataHandler(mParser, OnText);
    XML_SetEntityDeclHandler(mParser, OnEntityDecl);
    XML_SetSkippedEntityHandler(mParser, OnSkippedEntity);
    // Parse in pieces so that the length always fits expat's int.
    constexpr size_t kPiece = 1 << 20;
    size_t done = 0;
    bool ok = true;
    do {
        size_t piece = length - done < kPiece ? length - done : kPiece;
        bool last = done + piece == length;
        ok = XML_Parse(mParser, bytes + done, static_cast<int>(piece), last) == XML_STATUS_OK;
        done += piece;
    } while (ok && done < length);
    if (!ok && !mFailed) {
        char message[160];
        std::snprintf(message, sizeof message, "%s (line %lu)",
                      XML_ErrorString(XML_GetErrorCode(mParser)),
                      static_cast<unsigned long>(XML_GetCurrentLineNumber(mParser)));
        mFailed = true;
        mError = message;
    }
    XML_ParserFree(mParser);
    mParser = nullptr;
    if (!mFailed && mResult == nullptr) {
        mFailed = true;
        mError = "no property list in the document";
    }
    if (mFailed) return nullptr;
    CFTypeRef result = mResult;
    mResult = nullptr;
    return result;
}

CFTypeRef ReadPropertyList(CFDataRef data, CFOptionFlags options, std::string* error) {
    const __CFData* bytes = CastTo<__CFData>(data);
    if (bytes == nullptr) {
        *error = "no data";
        return nullptr;
    }
    if (bytes->Length() >= 6 && std::memcmp(bytes->Bytes(), "bplist", 6) == 0) {
        *error = "binary property lists are not supported";
        return nullptr;
    }
    Reader reader(options);
    CFTypeRef result =
        reader.Parse(reinterpret_cast<const char*>(bytes->Bytes()), bytes->Length());
    if (result == nullptr) *error = reader.Error();
    return result;
}

}  // namespace

extern "C" {

CFPropertyListRef CFPropertyListCreateWithData(CFAllocatorRef, CFDataRef data,
                                               CFOptionFlags options, CFPropertyListFormat* format,
                                               CFErrorRef* error) {
    if (error != nullptr) *error = nullptr;
    std::string message;
    CFTypeRef result = ReadPropertyList(data, options, &message);
    if (result == nullptr) {
        if (error != nullptr) {
            *error = halyxcf::NewError(kHalyxErrorDomainPropertyList,
                                       kCFPropertyListReadCorruptError, message);
        }
        return nullptr;
    }
    if (format != nullptr) *format = kCFPropertyListXMLFormat_v1_0;
    return result;
}

CFPropertyListRef CFPropertyListCreateFromXMLData(CFAllocatorRef, CFDataRef xmlData,
                                                  CFOptionFlags mutabilityOption,
                                                  CFStringRef* errorString) {
    if (errorString != nullptr) *errorString = nullptr;
    std::string message;
    CFTypeRef result = ReadPropertyList(xmlData, mutabilityOption, &message);
    if (result == nullptr && errorString != nullptr)
        *errorString = halyxcf::NewStringFromUTF8(message);
    return result;
}

}  // extern "C"

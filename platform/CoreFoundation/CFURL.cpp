// Making, parsing and taking apart file URLs.
#include "CoreFoundation/CFURL.h"

#include <unistd.h>

#include <string>

#include "CoreFoundation/CFStringObject.h"
#include "CoreFoundation/CFURLObject.h"

using halyxcf::CastTo;

namespace {

const char kFileScheme[] = "file://";

// Characters that stay as they are in a path; every other byte is written as %XX.
bool IsPathCharacter(unsigned char c) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
    switch (c) {
        case '-':
        case '.':
        case '_':
        case '~':
        case '!':
        case '$':
        case '&':
        case '\'':
        case '(':
        case ')':
        case '*':
        case '+':
        case ',':
        case ';':
        case '=':
        case ':':
        case '@':
        case '/':
            return true;
        default:
            return false;
    }
}

std::string Escape(const std::string& path) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(path.size());
    for (unsigned char c : path) {
        if (IsPathCharacter(c)) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool Unescape(const std::string& text, std::string* out) {
    out->clear();
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            *out += text[i];
            continue;
        }
        if (i + 2 >= text.size()) return false;
        int hi = HexValue(text[i + 1]), lo = HexValue(text[i + 2]);
        if (hi < 0 || lo < 0) return false;
        *out += static_cast<char>(hi * 16 + lo);
        i += 2;
    }
    return true;
}

// Absolute, single slashes, no trailing slash except for the root.
std::string NormalizePath(const std::string& path) {
    std::string full = path;
    if (full.empty() || full[0] != '/') {
        char cwd[4096];
        std::string base = getcwd(cwd, sizeof cwd) != nullptr ? cwd : "/";
        full = base + "/" + full;
    }
    std::string out;
    out.reserve(full.size());
    for (char c : full) {
        if (c == '/' && !out.empty() && out.back() == '/') continue;
        out += c;
    }
    while (out.size() > 1 && out.back() == '/') out.pop_back();
    return out;
}

std::string UTF8Of(CFStringRef str) {
    const __CFString* s = CastTo<__CFString>(str);
    return s == nullptr ? std::string() : s->UTF8();
}

// Everything after the last "/" of a normalized path ("/" for the root).
std::string LastComponent(const std::string& path) {
    if (path == "/") return path;
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Position of the extension's dot in the last component, or npos.
size_t ExtensionDot(const std::string& path) {
    size_t slash = path.rfind('/');
    size_t start = slash == std::string::npos ? 0 : slash + 1;
    size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot <= start || dot + 1 == path.size())
        return std::string::npos;
    return dot;
}

const __CFURL* FileURL(CFURLRef url) {
    const __CFURL* u = CastTo<__CFURL>(url);
    return u != nullptr && u->mIsFile ? u : nullptr;
}

}  // namespace

__CFURL::~__CFURL() {
    CFRelease(mStringRef);
}

namespace halyxcf {

__CFURL* NewFileURL(const std::string& path, bool isDirectory) {
    if (path.empty()) return nullptr;
    __CFURL* url = new __CFURL();
    url->mIsFile = true;
    url->mPath = NormalizePath(path);
    url->mIsDirectory = isDirectory || url->mPath == "/";
    url->mString = kFileScheme + Escape(url->mPath);
    if (url->mIsDirectory && url->mPath != "/") url->mString += '/';
    return url;
}

}  // namespace halyxcf

extern "C" {

CFTypeID CFURLGetTypeID(void) {
    return __CFURL::kTypeID;
}

CFURLRef CFURLCreateWithFileSystemPath(CFAllocatorRef, CFStringRef filePath,
                                       CFURLPathStyle pathStyle, Boolean isDirectory) {
    if (pathStyle != kCFURLPOSIXPathStyle) return nullptr;
    return halyxcf::NewFileURL(UTF8Of(filePath), isDirectory);
}

CFURLRef CFURLCreateFromFileSystemRepresentation(CFAllocatorRef, const UInt8* buffer,
                                                 CFIndex bufLen, Boolean isDirectory) {
    if (buffer == nullptr || bufLen <= 0) return nullptr;
    std::string path(reinterpret_cast<const char*>(buffer), static_cast<size_t>(bufLen));
    if (path.find('\0') != std::string::npos) return nullptr;
    return halyxcf::NewFileURL(path, isDirectory);
}

CFURLRef CFURLCreateWithString(CFAllocatorRef, CFStringRef URLString, CFURLRef baseURL) {
    if (CastTo<__CFString>(URLString) == nullptr) return nullptr;
    std::string text = UTF8Of(URLString);
    if (text.empty()) return nullptr;
    for (unsigned char c : text) {
        if (c <= 0x20 || c >= 0x7F || c == '"' || c == '<' || c == '>' || c == '\\') return nullptr;
    }
    size_t colon = text.find(':');
    size_t firstSlash = text.find('/');
    bool hasScheme = colon != std::string::npos && colon > 0 &&
                     (firstSlash == std::string::npos || colon < firstSlash);
    if (!hasScheme) {
        const __CFURL* base = FileURL(baseURL);
        std::string decoded;
        if (base == nullptr || !Unescape(text, &decoded)) return nullptr;
        std::string dir =
            base->mIsDirectory ? base->mPath : base->mPath.substr(0, base->mPath.rfind('/') + 1);
        std::string path = decoded[0] == '/' ? decoded : dir + "/" + decoded;
        return halyxcf::NewFileURL(path, text.back() == '/');
    }
    std::string scheme = text.substr(0, colon);
    for (char& c : scheme) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    if (scheme == "file") {
        std::string rest = text.substr(colon + 1);
        if (rest.compare(0, 2, "//") == 0) {
            rest.erase(0, 2);
            if (rest.compare(0, 9, "localhost") == 0) rest.erase(0, 9);
        }
        std::string path;
        if (rest.empty() || rest[0] != '/' || !Unescape(rest, &path)) return nullptr;
        if (path.find('\0') != std::string::npos) return nullptr;
        return halyxcf::NewFileURL(path, rest.back() == '/');
    }
    std::string unused;
    if (!Unescape(text, &unused)) return nullptr;
    __CFURL* url = new __CFURL();
    url->mString = text;
    url->mIsDirectory = text.back() == '/';
    return url;
}

CFStringRef CFURLGetString(CFURLRef anURL) {
    const __CFURL* url = CastTo<__CFURL>(anURL);
    if (url == nullptr) return nullptr;
    if (url->mStringRef == nullptr) url->mStringRef = halyxcf::NewStringFromUTF8(url->mString);
    return url->mStringRef;
}

CFURLRef CFURLGetBaseURL(CFURLRef) {
    return nullptr;
}

CFURLRef CFURLCopyAbsoluteURL(CFURLRef relativeURL) {
    return static_cast<CFURLRef>(CFRetain(CastTo<__CFURL>(relativeURL)));
}

CFStringRef CFURLCopyScheme(CFURLRef anURL) {
    const __CFURL* url = CastTo<__CFURL>(anURL);
    if (url == nullptr) return nullptr;
    return halyxcf::NewStringFromUTF8(url->mString.substr(0, url->mString.find(':')));
}

Boolean CFURLHasDirectoryPath(CFURLRef anURL) {
    const __CFURL* url = CastTo<__CFURL>(anURL);
    return url != nullptr && url->mIsDirectory;
}

CFStringRef CFURLCopyFileSystemPath(CFURLRef anURL, CFURLPathStyle pathStyle) {
    const __CFURL* url = FileURL(anURL);
    if (url == nullptr || pathStyle != kCFURLPOSIXPathStyle) return nullptr;
    return halyxcf::NewStringFromUTF8(url->mPath);
}

Boolean CFURLGetFileSystemRepresentation(CFURLRef anURL, Boolean, UInt8* buffer,
                                         CFIndex maxBufLen) {
    const __CFURL* url = FileURL(anURL);
    if (url == nullptr || buffer == nullptr || maxBufLen <= 0) return false;
    if (static_cast<CFIndex>(url->mPath.size()) + 1 > maxBufLen) return false;
    url->mPath.copy(reinterpret_cast<char*>(buffer), url->mPath.size());
    buffer[url->mPath.size()] = 0;
    return true;
}

CFStringRef CFURLCopyLastPathComponent(CFURLRef anURL) {
    const __CFURL* url = CastTo<__CFURL>(anURL);
    if (url == nullptr) return nullptr;
    if (url->mIsFile) return halyxcf::NewStringFromUTF8(LastComponent(url->mPath));
    std::string text = url->mString;
    while (text.size() > 1 && text.back() == '/') text.pop_back();
    std::string decoded;
    Unescape(text.substr(text.rfind('/') + 1), &decoded);
    return halyxcf::NewStringFromUTF8(decoded);
}

CFStringRef CFURLCopyPathExtension(CFURLRef anURL) {
    const __CFURL* url = FileURL(anURL);
    if (url == nullptr) return nullptr;
    size_t dot = ExtensionDot(url->mPath);
    if (dot == std::string::npos) return nullptr;
    return halyxcf::NewStringFromUTF8(url->mPath.substr(dot + 1));
}

CFURLRef CFURLCreateCopyAppendingPathComponent(CFAllocatorRef, CFURLRef anURL,
                                               CFStringRef pathComponent, Boolean isDirectory) {
    const __CFURL* url = FileURL(anURL);
    if (url == nullptr || CastTo<__CFString>(pathComponent) == nullptr) return nullptr;
    std::string path = url->mPath == "/" ? std::string() : url->mPath;
    return halyxcf::NewFileURL(path + "/" + UTF8Of(pathComponent), isDirectory);
}

CFURLRef CFURLCreateCopyDeletingLastPathComponent(CFAllocatorRef, CFURLRef anURL) {
    const __CFURL* url = FileURL(anURL);
    if (url == nullptr) return nullptr;
    size_t slash = url->mPath.rfind('/');
    std::string parent =
        slash == 0 || slash == std::string::npos ? "/" : url->mPath.substr(0, slash);
    return halyxcf::NewFileURL(parent, true);
}

CFURLRef CFURLCreateCopyAppendingPathExtension(CFAllocatorRef, CFURLRef anURL,
                                               CFStringRef extension) {
    const __CFURL* url = FileURL(anURL);
    if (url == nullptr || url->mPath == "/" || CastTo<__CFString>(extension) == nullptr)
        return nullptr;
    return halyxcf::NewFileURL(url->mPath + "." + UTF8Of(extension), url->mIsDirectory);
}

CFURLRef CFURLCreateCopyDeletingPathExtension(CFAllocatorRef, CFURLRef anURL) {
    const __CFURL* url = FileURL(anURL);
    if (url == nullptr) return nullptr;
    size_t dot = ExtensionDot(url->mPath);
    return halyxcf::NewFileURL(dot == std::string::npos ? url->mPath : url->mPath.substr(0, dot),
                               url->mIsDirectory);
}

}  // extern "C"

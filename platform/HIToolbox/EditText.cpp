// The edit text's contents: conversions, the single-line rule and the typing behaviour.
#include <algorithm>
#include <string>

#include "HIToolbox/ControlObject.h"
#include "HIToolbox/WindowObject.h"
#include "CoreFoundation/CFStringEncodingNames.h"

namespace halyx_toolbox {

namespace {

constexpr UniChar kBullet = 0x2022;       // shown for each character of a password
constexpr size_t kMaxCharacters = 32767;  // selection offsets are 16-bit

bool IsControlCharacter(UniChar c) {
    return c < 0x20 || c == 0x7F;
}

std::vector<UniChar> SingleLine(std::vector<UniChar> chars) {
    chars.erase(std::remove_if(chars.begin(), chars.end(), IsControlCharacter), chars.end());
    if (chars.size() > kMaxCharacters) chars.resize(kMaxCharacters);
    return chars;
}

void Normalise(ControlRef control) {
    const SInt16 length = static_cast<SInt16>(control->text.size());
    control->selStart = std::max<SInt16>(0, std::min(control->selStart, length));
    control->selEnd = std::max<SInt16>(0, std::min(control->selEnd, length));
    if (control->selEnd < control->selStart) std::swap(control->selStart, control->selEnd);
}

void PlaceCaret(ControlRef control, long position) {
    const long length = static_cast<long>(control->text.size());
    position = std::max(0L, std::min(position, length));
    control->selStart = control->selEnd = static_cast<SInt16>(position);
}

}  // namespace

std::vector<UniChar> CharactersFromString(CFStringRef text) {
    std::vector<UniChar> chars;
    if (text == nullptr) return chars;
    const CFIndex length = CFStringGetLength(text);
    chars.resize(static_cast<size_t>(length));
    if (length > 0) CFStringGetCharacters(text, CFRange{0, length}, chars.data());
    return chars;
}

std::vector<UniChar> CharactersFromSystemBytes(const void* bytes, long length) {
    if (bytes == nullptr || length <= 0) return {};
    CFStringRef text = CFStringCreateWithBytes(nullptr, static_cast<const UInt8*>(bytes), length,
                                               kCFStringEncodingMacRoman, false);
    std::vector<UniChar> chars = CharactersFromString(text);
    if (text != nullptr) CFRelease(text);
    return chars;
}

std::vector<UniChar> CharactersFromUTF8(const char* text) {
    std::vector<UniChar> chars;
    if (text == nullptr) return chars;
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    while (*p != 0) {
        unsigned long code = 0xFFFD;
        int extra = 0;
        if (*p < 0x80) {
            code = *p;
        } else if ((*p & 0xE0) == 0xC0) {
            code = *p & 0x1F;
            extra = 1;
        } else if ((*p & 0xF0) == 0xE0) {
            code = *p & 0x0F;
            extra = 2;
        } else if ((*p & 0xF8) == 0xF0) {
            code = *p & 0x07;
            extra = 3;
        } else {
            chars.push_back(0xFFFD);
            ++p;
            continue;
        }
        ++p;
        int i = 0;
        for (; i < extra && (*p & 0xC0) == 0x80; ++i, ++p) code = (code << 6) | (*p & 0x3F);
        if (i < extra || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) code = 0xFFFD;
        if (code >= 0x10000) {
            code -= 0x10000;
            chars.push_back(static_cast<UniChar>(0xD800 | (code >> 10)));
            chars.push_back(static_cast<UniChar>(0xDC00 | (code & 0x3FF)));
        } else {
            chars.push_back(static_cast<UniChar>(code));
        }
    }
    return chars;
}

std::string SystemBytesFromCharacters(const std::vector<UniChar>& chars) {
    std::string bytes;
    if (chars.empty()) return bytes;
    // ASCII is itself in the system encoding: most texts need no conversion.
    bytes.reserve(chars.size());
    for (const UniChar c : chars) {
        if (c >= 0x80) break;
        bytes.push_back(static_cast<char>(c));
    }
    if (bytes.size() == chars.size()) return bytes;
    bytes.clear();
    CFStringRef text =
        CFStringCreateWithCharacters(nullptr, chars.data(), static_cast<CFIndex>(chars.size()));
    if (text == nullptr) return bytes;
    const CFRange all{0, CFStringGetLength(text)};
    CFIndex used = 0;
    CFStringGetBytes(text, all, kCFStringEncodingMacRoman, '?', false, nullptr, 0, &used);
    bytes.resize(static_cast<size_t>(used));
    if (used > 0) {
        CFStringGetBytes(text, all, kCFStringEncodingMacRoman, '?', false,
                         reinterpret_cast<UInt8*>(&bytes[0]), used, &used);
    }
    CFRelease(text);
    return bytes;
}

void SetEditText(ControlRef control, std::vector<UniChar> chars) {
    control->text = SingleLine(std::move(chars));
    PlaceCaret(control, static_cast<long>(control->text.size()));
}

void ReplaceSelection(ControlRef control, const std::vector<UniChar>& chars) {
    Normalise(control);
    std::vector<UniChar> inserted = SingleLine(chars);
    const size_t room =
        kMaxCharacters - (control->text.size() - (control->selEnd - control->selStart));
    if (inserted.size() > room) inserted.resize(room);
    control->text.erase(control->text.begin() + control->selStart,
                        control->text.begin() + control->selEnd);
    control->text.insert(control->text.begin() + control->selStart, inserted.begin(),
                         inserted.end());
    PlaceCaret(control, control->selStart + static_cast<long>(inserted.size()));
}

std::vector<UniChar> ShownCharacters(ControlRef control) {
    if (control->kind == ControlKind::kEditText && control->password) {
        return std::vector<UniChar>(control->text.size(), kBullet);
    }
    return control->text;
}

OSStatus EditTextKey(ControlRef control, UniChar c, UInt32 modifiers) {
    Normalise(control);
    const bool selection = control->selEnd > control->selStart;
    switch (c) {
        case 8:  // backspace
            if (!selection && control->selStart > 0) --control->selStart;
            ReplaceSelection(control, {});
            return noErr;
        case 0x7F:  // forward delete
            if (!selection && control->selEnd < static_cast<SInt16>(control->text.size())) {
                ++control->selEnd;
            }
            ReplaceSelection(control, {});
            return noErr;
        case 28:  // left arrow
            PlaceCaret(control, selection ? control->selStart : control->selStart - 1);
            return noErr;
        case 29:  // right arrow
            PlaceCaret(control, selection ? control->selEnd : control->selEnd + 1);
            return noErr;
        case 30:  // up arrow: one line, so the start
            PlaceCaret(control, 0);
            return noErr;
        case 31:  // down arrow: the end
            PlaceCaret(control, static_cast<long>(control->text.size()));
            return noErr;
        default:
            break;
    }
    if (IsControlCharacter(c) || (modifiers & cmdKey) != 0) return eventNotHandledErr;
    ReplaceSelection(control, {c});
    return noErr;
}

void EditTextClick(ControlRef control, Point where, bool extend) {
    // The character boundary nearest the click, at the field's fixed advance.
    const ControlFontStyleRec& style = control->fontStyle;
    const SInt16 size = (style.flags & kControlUseSizeMask) && style.size > 0 ? style.size : 12;
    const long advance = (size + 1) / 2;
    const long offset = where.h - control->bounds.left;
    const SInt16 anchor = control->selStart;
    PlaceCaret(control, (offset + advance / 2) / advance);
    if (extend) {
        const SInt16 at = control->selStart;
        control->selStart = std::min(anchor, at);
        control->selEnd = std::max(anchor, at);
    }
}

}  // namespace halyx_toolbox

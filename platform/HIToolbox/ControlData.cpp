// Tagged control data: the edit text's texts and selection, and every control's font style.
#include <algorithm>
#include <cstring>
#include <string>
#include <utility>

#include "HIToolbox/ControlObject.h"

namespace {

using halyx_toolbox::ControlKind;

// Copies `size` bytes out, or only measures when `buffer` is NULL.
OSErr CopyOut(const void* data, Size size, Size bufferSize, void* buffer, Size* actualSize) {
    if (actualSize != nullptr) *actualSize = size;
    if (buffer != nullptr && bufferSize > 0 && size > 0) {
        std::memcpy(buffer, data, static_cast<size_t>(std::min(size, bufferSize)));
    }
    return noErr;
}

// Copies a fixed-size record out; it must fit the buffer.
OSErr CopyRecord(const void* data, Size size, Size bufferSize, void* buffer, Size* actualSize) {
    if (actualSize != nullptr) *actualSize = size;
    if (buffer == nullptr) return noErr;
    if (bufferSize < size) return errDataSizeMismatch;
    std::memcpy(buffer, data, static_cast<size_t>(size));
    return noErr;
}

bool IsTextTag(ResType tag) {
    return tag == kControlEditTextTextTag || tag == kControlEditTextPasswordTag ||
           tag == kControlEditTextCFStringTag || tag == kControlEditTextPasswordCFStringTag ||
           tag == kControlEditTextSelectionTag;
}

bool Supports(ControlRef control, ResType tag) {
    if (tag == kControlFontStyleTag) return true;
    if (control->kind != ControlKind::kEditText || !IsTextTag(tag)) return false;
    // The password tags belong to password fields only.
    if (tag == kControlEditTextPasswordTag || tag == kControlEditTextPasswordCFStringTag) {
        return control->password;
    }
    return true;
}

}  // namespace

OSErr GetControlData(ControlRef control, ControlPartCode /*part*/, ResType tag, Size bufferSize,
                     void* buffer, Size* actualSize) {
    if (actualSize != nullptr) *actualSize = 0;
    if (!halyx_toolbox::IsLiveControl(control)) return errUnknownControl;
    if (!Supports(control, tag)) return errDataNotSupported;
    switch (tag) {
        case kControlFontStyleTag:
            return CopyRecord(&control->fontStyle, sizeof control->fontStyle, bufferSize, buffer,
                              actualSize);
        case kControlEditTextSelectionTag: {
            const ControlEditTextSelectionRec sel = {control->selStart, control->selEnd};
            return CopyRecord(&sel, sizeof sel, bufferSize, buffer, actualSize);
        }
        case kControlEditTextTextTag:
        case kControlEditTextPasswordTag: {
            const std::string bytes = halyx_toolbox::SystemBytesFromCharacters(
                tag == kControlEditTextTextTag ? halyx_toolbox::ShownCharacters(control)
                                               : control->text);
            return CopyOut(bytes.data(), static_cast<Size>(bytes.size()), bufferSize, buffer,
                           actualSize);
        }
        default: {  // the two CFString tags
            if (buffer == nullptr) {
                if (actualSize != nullptr) *actualSize = sizeof(CFStringRef);
                return noErr;
            }
            const std::vector<UniChar> chars = tag == kControlEditTextCFStringTag
                                                   ? halyx_toolbox::ShownCharacters(control)
                                                   : control->text;
            if (bufferSize < static_cast<Size>(sizeof(CFStringRef))) return errDataSizeMismatch;
            CFStringRef text = CFStringCreateWithCharacters(nullptr, chars.data(),
                                                            static_cast<CFIndex>(chars.size()));
            if (text == nullptr) return memFullErr;
            std::memcpy(buffer, &text, sizeof text);
            if (actualSize != nullptr) *actualSize = sizeof(CFStringRef);
            return noErr;
        }
    }
}

OSErr GetControlDataSize(ControlRef control, ControlPartCode part, ResType tag, Size* outSize) {
    if (outSize == nullptr) return paramErr;
    return GetControlData(control, part, tag, 0, nullptr, outSize);
}

OSErr SetControlData(ControlRef control, ControlPartCode /*part*/, ResType tag, Size size,
                     const void* data) {
    if (!halyx_toolbox::IsLiveControl(control)) return errUnknownControl;
    if (!Supports(control, tag)) return errDataNotSupported;
    if (size < 0 || (data == nullptr && size > 0)) return paramErr;
    switch (tag) {
        case kControlFontStyleTag:
            if (size != static_cast<Size>(sizeof(ControlFontStyleRec))) return errDataSizeMismatch;
            std::memcpy(&control->fontStyle, data, sizeof control->fontStyle);
            return noErr;
        case kControlEditTextSelectionTag: {
            if (size != static_cast<Size>(sizeof(ControlEditTextSelectionRec))) {
                return errDataSizeMismatch;
            }
            ControlEditTextSelectionRec sel;
            std::memcpy(&sel, data, sizeof sel);
            // A negative end (or one past the text) means the end of the text.
            const SInt16 length = static_cast<SInt16>(control->text.size());
            SInt16 start = sel.selStart < 0 || sel.selStart > length ? length : sel.selStart;
            SInt16 end = sel.selEnd < 0 || sel.selEnd > length ? length : sel.selEnd;
            if (end < start) std::swap(start, end);
            control->selStart = start;
            control->selEnd = end;
            return noErr;
        }
        case kControlEditTextTextTag:
        case kControlEditTextPasswordTag:
            halyx_toolbox::SetEditText(control,
                                       halyx_toolbox::CharactersFromSystemBytes(data, size));
            return noErr;
        default: {  // the two CFString tags
            if (size != static_cast<Size>(sizeof(CFStringRef))) return errDataSizeMismatch;
            CFStringRef text;
            std::memcpy(&text, data, sizeof text);
            halyx_toolbox::SetEditText(control, halyx_toolbox::CharactersFromString(text));
            return noErr;
        }
    }
}

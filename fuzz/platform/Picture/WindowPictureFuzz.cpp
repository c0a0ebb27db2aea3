// Paints windows whose drawing record the input decides: rectangles anywhere (negative, huge,
// inverted), clips, colours, fonts, sizes and faces, texts of any bytes in text boxes, fields
// (plain or password, focused or not, with any selection) and buttons. Every picture must be
// written; a failure to write one aborts. Output goes to /dev/null.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "HIToolbox/HIToolbox.h"
#include "Picture/Picture.h"

namespace {

struct Input {
    const uint8_t* data;
    size_t size;
    size_t at = 0;
    uint8_t Byte() { return at < size ? data[at++] : 0; }
    SInt16 Word() { return static_cast<SInt16>(Byte() << 8 | Byte()); }
    Rect Box() {
        Rect r;
        r.top = Word();
        r.left = Word();
        r.bottom = Word();
        r.right = Word();
        return r;
    }
    std::string Text() {
        const size_t length = Byte() % 64;
        std::string text;
        for (size_t i = 0; i < length && at < size; ++i) text.push_back(static_cast<char>(Byte()));
        return text;
    }
};

CFStringRef SystemString(const std::string& bytes) {
    return CFStringCreateWithBytes(nullptr, reinterpret_cast<const UInt8*>(bytes.data()),
                                   static_cast<CFIndex>(bytes.size()), kCFStringEncodingMacRoman,
                                   false);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input in{data, size};
    const Rect bounds = {0, 0, static_cast<SInt16>(1 + in.Byte()),
                         static_cast<SInt16>(1 + in.Byte())};
    WindowRef window = nullptr;
    if (CreateNewWindow(kDocumentWindowClass, kWindowNoAttributes, &bounds, &window) != noErr)
        return 0;
    ShowWindow(window);
    for (int step = 0; step < 12 && in.at < in.size; ++step) {
        const uint8_t op = in.Byte();
        const Rect r = in.Box();
        SetPortWindowPort(window);
        switch (op % 6) {
            case 0: {
                const Rect clip = in.Box();
                ClipRect(&clip);
                EraseRect(&r);
                break;
            }
            case 1: {
                const RGBColor colour = {static_cast<UInt16>(in.Word()),
                                         static_cast<UInt16>(in.Word()),
                                         static_cast<UInt16>(in.Word())};
                RGBForeColor(&colour);
                FrameRect(&r);
                break;
            }
            case 2: {
                TextFont(static_cast<SInt16>(in.Byte() % 30));
                TextSize(static_cast<SInt16>(in.Byte() % 80));
                TextFace(static_cast<Style>(in.Byte()));
                const std::string text = in.Text();
                TETextBox(text.data(), static_cast<long>(text.size()), &r, teFlushLeft);
                break;
            }
            case 3:
            case 4: {
                CFStringRef text = SystemString(in.Text());
                ControlRef control = nullptr;
                if (op % 6 == 3) {
                    CreateEditUnicodeTextControl(window, &r, text, (op & 8) != 0, nullptr,
                                                 &control);
                    const ControlEditTextSelectionRec selection = {in.Word(), in.Word()};
                    SetControlData(control, kControlEditTextPart, kControlEditTextSelectionTag,
                                   sizeof selection, &selection);
                    if (op & 16) SetKeyboardFocus(window, control, kControlEditTextPart);
                } else {
                    CreatePushButtonControl(window, &r, text, &control);
                    if (op & 8) SetControlCommandID(control, kHICommandOK);
                }
                if (op & 32) HiliteControl(control, kControlDisabledPart);
                if (text != nullptr) CFRelease(text);
                break;
            }
            default:
                HalyxDrawWindow(window);
                break;
        }
        SetPort(nullptr);
        if (HalyxWriteWindowPicture(window, "/dev/null") != noErr) {
            std::fprintf(stderr, "a picture could not be written\n");
            std::abort();
        }
    }
    DisposeWindow(window);
    return 0;
}

#include "Core/ui/UI_MessageBox.h"

#include <string.h>

#include "HIToolbox/ControlDefinitions.h"
#include "Memory/MacMemory.h"

namespace {

constexpr SInt16 kTextInset = 7;
constexpr UInt16 kFrameGrey = 0x3890;
constexpr UInt16 kFrameWhite = 0xFFFF;

}  // namespace

UI_MessageBox::UI_MessageBox(WindowRef window, MessageBoxType kind, const Rect& bounds,
                             UInt16 bufferSize, SInt16 font, SInt16 size)
    : ORBControl(nullptr, true),
      window(window),
      kind(kind),
      bounds(bounds),
      textRect(bounds),
      bufferSize(bufferSize),
      buffer(nullptr),
      font(font),
      size(size),
      style(normal),
      color{0, 0, 0},
      ready(false),
      status(noErr) {
    if (bufferSize > 0) buffer = NewPtrClear(bufferSize);
    if (buffer == nullptr) status = memFullErr;
    Str255 empty = {0};
    control = NewControl(window, &bounds, empty, true, 0, 0, 0, kControlPlacardProc, nullptr);
    InsetRect(&textRect, kTextInset, kTextInset);
    SetReference(this);
    ready = buffer != nullptr;
}

UI_MessageBox::~UI_MessageBox() {
    if (control != nullptr) DisposeControl(control);
    control = nullptr;
    if (buffer != nullptr) DisposePtr(buffer);
}

void UI_MessageBox::post(const char* text) {
    if (buffer != nullptr && text != nullptr && strlen(text) < bufferSize) {
        memcpy(buffer, text, strlen(text) + 1);
    }
    clear();
    draw();
}

void UI_MessageBox::clear() {
    GrafPtr saved;
    GetPort(&saved);
    SetPortWindowPort(window);
    EraseRect(&textRect);
    SetPort(saved);
}

void UI_MessageBox::draw() {
    GrafPtr saved;
    GetPort(&saved);
    SetPortWindowPort(window);
    const RGBColor grey = {kFrameGrey, kFrameGrey, kFrameGrey};
    if (kind == kMessageBoxEtched) {
        const RGBColor white = {kFrameWhite, kFrameWhite, kFrameWhite};
        Rect lit = bounds;
        OffsetRect(&lit, 1, 1);
        RGBForeColor(&white);
        FrameRect(&lit);
        Rect shade = bounds;
        --shade.bottom;
        --shade.right;
        RGBForeColor(&grey);
        FrameRect(&shade);
    } else {
        RGBForeColor(&grey);
        FrameRect(&bounds);
    }
    if (buffer != nullptr && buffer[0] != '\0') {
        TextFont(font);
        TextSize(size);
        TextFace(static_cast<Style>(style));
        RGBForeColor(&color);
        TETextBox(buffer, static_cast<long>(strlen(buffer)), &textRect, teFlushLeft);
    }
    SetPort(saved);
}

// The framed message area under the editor's list: a placard whose text is drawn wrapped inside the
// frame. It keeps the last posted text; a text that does not fit its buffer leaves the old one.
#ifndef HALYX_CORE_UI_UI_MESSAGEBOX_H
#define HALYX_CORE_UI_UI_MESSAGEBOX_H

#include "Core/ui/ORBControl.h"
#include "HIToolbox/MacWindows.h"

enum MessageBoxType { kMessageBoxPlain = 0, kMessageBoxEtched = 1 };

class UI_MessageBox : public ORBControl {
public:
    // Ready() tells whether the text buffer could be had (status memFullErr otherwise).
    UI_MessageBox(WindowRef window, MessageBoxType kind, const Rect& bounds, UInt16 bufferSize,
                  SInt16 font, SInt16 size);
    ~UI_MessageBox() override;

    // Replaces the text when it is shorter than the buffer, then erases the text area and draws.
    void post(const char* text);
    // Erases the text area; the text itself is kept.
    void clear();
    void draw();

    bool Ready() const { return ready; }
    OSStatus Status() const { return status; }
    const char* Text() const { return buffer != nullptr ? buffer : ""; }
    const Rect& Bounds() const { return bounds; }
    const Rect& TextRect() const { return textRect; }

private:
    WindowRef window;
    MessageBoxType kind;
    Rect bounds;
    Rect textRect;
    UInt16 bufferSize;
    char* buffer;
    SInt16 font;
    SInt16 size;
    SInt16 style;
    RGBColor color;
    bool ready;
    OSStatus status;
};

#endif  // HALYX_CORE_UI_UI_MESSAGEBOX_H

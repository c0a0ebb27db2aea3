// The single-line text field of one editor row. It edits one entry (a job note or a range, not
// owned). A password field keeps its real text aside while it is inactive and shows ten bullets
// instead, whatever the real length; everything that reads the field sees the real text.
#ifndef HALYX_CORE_UI_UI_EDITCONTROL_H
#define HALYX_CORE_UI_UI_EDITCONTROL_H

#include "Core/LinkElement_Dual.h"
#include "CoreFoundation/CFString.h"
#include "HIToolbox/Events.h"

class UI_EditControl : public LinkElement_Dual {
public:
    // The longest real text a password field keeps, and its buffer.
    static constexpr long kSavedTextSize = 256;
    static constexpr long kMaskLength = 10;

    // An empty object; Initialize makes the platform field.
    UI_EditControl(WindowRef window, ControlRef parent, LinkElement_Dual* item);
    UI_EditControl(WindowRef window, ControlRef parent, const Rect& bounds, const char* text,
                   bool visible, bool enabled, bool password, LinkElement_Dual* item);
    ~UI_EditControl() override;

    // Makes the field inside `bounds` (8 in from top and bottom, 16 from the right), embedded in
    // the parent, in the system font at size 13. 1 when already made; the creation status, or
    // memFullErr when a password field's buffers cannot be had (the field is then not made).
    OSStatus Initialize(const Rect& bounds, const char* text, bool visible, bool enabled,
                        bool password);
    // Activating takes the keyboard focus; a disabled field is never activated.
    void Activate(bool active);
    // Disabling also deactivates.
    void Enable(bool enabled);

    // Length in bytes of the real text (system encoding); 0 before the field is made.
    long getTextLen() const;
    // Copies the real text, at most size - 1 bytes and a terminator; returns the bytes copied.
    long getText(char* buffer, long size) const;
    // The number of characters of the real text.
    long getGlyphCount() const;
    OSStatus getEditSelection(SInt16* start, SInt16* end) const;
    // Replaces the real text (null: the empty text). An inactive password field keeps showing
    // the mask, or nothing for an empty text.
    void setText(const char* text);
    // Values below 0 leave that part of the font as it is.
    void setFontInfo(SInt16 font, SInt16 size, SInt16 style);
    // The metrics of the field's font; errUnknownControl before the field is made.
    OSStatus getFontInfo(FontInfo* info) const;
    // The line height of the field's font, rounded up to even.
    void calculateHeight();
    void erase();
    void draw();
    Rect getBoundsRect() const { return bounds; }
    void setBoundsRect(const Rect& newBounds);
    void Show(bool visible);
    // Installs `handler` once; later calls do nothing and answer 0.
    OSStatus InstallEditControlEventHandler(const EventTypeSpec* kinds, ItemCount count,
                                            EventHandlerUPP handler, void* userData);

    bool IsInitialized() const { return initialised; }
    bool IsPassword() const { return password; }
    bool IsActive() const { return active; }
    bool IsEnabled() const { return enabled; }
    SInt32 Height() const { return height; }
    ControlRef Control() const { return control; }
    LinkElement_Dual* Item() const { return item; }

private:
    void SaveRealText();
    void RemakeSavedString();
    void SetControlText(const char* text, long length);

    bool initialised;
    EventHandlerUPP keyHandler;
    EventHandlerRef installedHandler;
    ControlRef control;
    ControlRef parent;
    WindowRef window;
    Rect bounds;
    SInt32 height;
    LinkElement_Dual* item;
    bool password;
    bool active;
    bool enabled;
    bool useControlFont;
    char* savedText;
    char* mask;
    CFStringRef savedString;
};

#endif  // HALYX_CORE_UI_UI_EDITCONTROL_H

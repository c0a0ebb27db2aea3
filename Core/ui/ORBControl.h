// A thin wrapper around one platform control. Every operation forwards to the control and does
// nothing (or answers 0) without one. The control is disposed here only when the wrapper owns it.
#ifndef HALYX_CORE_UI_ORBCONTROL_H
#define HALYX_CORE_UI_ORBCONTROL_H

#include "Base/MacTypes.h"
#include "HIToolbox/Controls.h"

class ORBControl {
public:
    explicit ORBControl(ControlRef control = nullptr, bool ownsControl = false);
    virtual ~ORBControl();

    virtual void SetReference(SRefCon data);
    virtual SRefCon GetReference() const;
    virtual OSErr SetControlDataHandle(ResType tag, Size size, const void* data);
    virtual OSErr GetControlDataHandle(ResType tag, Size bufferSize, void* buffer,
                                       Size* actualSize) const;
    virtual void Draw();
    virtual SInt16 GetMax() const;
    virtual void SetMax(SInt16 maximum);
    virtual SInt16 GetMin() const;
    virtual void SetMin(SInt16 minimum);
    virtual SInt16 GetValue() const;
    virtual void SetValue(SInt16 value);
    virtual SInt16 GetDefaultValue() const { return defaultValue; }
    // Stores `value` when it lies within the control's limits and returns it; a value outside
    // answers the limit it passed and stores nothing.
    virtual SInt16 SetDefaultValue(SInt16 value);
    virtual void Show();
    virtual void Hide();
    virtual bool IsVisible() const;
    virtual void Enable();
    virtual void Disable();
    // Disabled means a highlight of 255.
    virtual bool IsEnabled() const;
    virtual OSErr Embed(ControlRef container);
    virtual Rect GetBounds() const;
    virtual void SetBounds(const Rect& bounds);
    virtual ControlPartCode Track(Point where);
    // Moves the control to `where` keeping its size.
    virtual void Move(Point where, bool redraw);

    ControlRef Control() const { return control; }

protected:
    ControlRef control;
    bool ownsControl;
    SInt16 defaultValue;

private:
    ORBControl(const ORBControl&) = delete;
    ORBControl& operator=(const ORBControl&) = delete;
};

#endif  // HALYX_CORE_UI_ORBCONTROL_H

#include "Core/ui/ORBControl.h"

#include "HIToolbox/ControlDefinitions.h"

ORBControl::ORBControl(ControlRef control, bool ownsControl)
    : control(control), ownsControl(ownsControl), defaultValue(0) {}

ORBControl::~ORBControl() {
    if (ownsControl && control != nullptr) DisposeControl(control);
    control = nullptr;
}

void ORBControl::SetReference(SRefCon data) {
    if (control != nullptr) SetControlReference(control, data);
}

SRefCon ORBControl::GetReference() const {
    return control != nullptr ? GetControlReference(control) : nullptr;
}

OSErr ORBControl::SetControlDataHandle(ResType tag, Size size, const void* data) {
    if (control == nullptr) return 0;
    return SetControlData(control, kControlEntireControl, tag, size, data);
}

OSErr ORBControl::GetControlDataHandle(ResType tag, Size bufferSize, void* buffer,
                                       Size* actualSize) const {
    if (control == nullptr) return 0;
    return GetControlData(control, kControlEntireControl, tag, bufferSize, buffer, actualSize);
}

void ORBControl::Draw() {
    if (control != nullptr) Draw1Control(control);
}

SInt16 ORBControl::GetMax() const {
    return control != nullptr ? GetControlMaximum(control) : 0;
}

void ORBControl::SetMax(SInt16 maximum) {
    if (control != nullptr) SetControlMaximum(control, maximum);
}

SInt16 ORBControl::GetMin() const {
    return control != nullptr ? GetControlMinimum(control) : 0;
}

void ORBControl::SetMin(SInt16 minimum) {
    if (control != nullptr) SetControlMinimum(control, minimum);
}

SInt16 ORBControl::GetValue() const {
    return control != nullptr ? GetControlValue(control) : 0;
}

void ORBControl::SetValue(SInt16 value) {
    if (control != nullptr) SetControlValue(control, value);
}

SInt16 ORBControl::SetDefaultValue(SInt16 value) {
    if (control == nullptr) return 0;
    const SInt16 maximum = GetMax();
    const SInt16 minimum = GetMin();
    if (value > maximum) return maximum;
    if (value < minimum) return minimum;
    defaultValue = value;
    return value;
}

void ORBControl::Show() {
    if (control != nullptr) SetControlVisibility(control, true, true);
}

void ORBControl::Hide() {
    if (control != nullptr) SetControlVisibility(control, false, true);
}

bool ORBControl::IsVisible() const {
    return control != nullptr && IsControlVisible(control);
}

void ORBControl::Enable() {
    if (control != nullptr) HiliteControl(control, 0);
}

void ORBControl::Disable() {
    if (control != nullptr) HiliteControl(control, kControlDisabledPart);
}

bool ORBControl::IsEnabled() const {
    return control != nullptr && GetControlHilite(control) != kControlDisabledPart;
}

OSErr ORBControl::Embed(ControlRef container) {
    if (control == nullptr) return 0;
    return EmbedControl(control, container);
}

Rect ORBControl::GetBounds() const {
    Rect bounds = {0, 0, 0, 0};
    if (control != nullptr) GetControlBounds(control, &bounds);
    return bounds;
}

void ORBControl::SetBounds(const Rect& bounds) {
    if (control != nullptr) SetControlBounds(control, &bounds);
}

ControlPartCode ORBControl::Track(Point where) {
    if (control == nullptr) return kControlNoPart;
    const Rect bounds = GetBounds();
    return PtInRect(where, &bounds) ? kControlButtonPart : kControlNoPart;
}

void ORBControl::Move(Point where, bool redraw) {
    if (control == nullptr) return;
    MoveControl(control, where.h, where.v);
    if (redraw) Draw1Control(control);
}

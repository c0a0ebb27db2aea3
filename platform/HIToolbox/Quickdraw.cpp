// Rectangles, ports, clip regions, the fixed font metrics and the recorded drawing calls.
#include "HIToolbox/Quickdraw.h"

#include <algorithm>
#include <map>
#include <new>
#include <utility>

#include "HIToolbox/PortObject.h"
#include "testing/FailureInjection.h"

namespace {

GrafPtr gCurrentPort = nullptr;
std::map<std::pair<SInt16, SInt16>, FontInfo> gFontOverrides;

SInt16 EffectiveSize(SInt16 size) {
    return size <= 0 ? 12 : size;
}

}  // namespace

// --- Rectangle arithmetic ------------------------------------------------------------------------

void SetRect(Rect* r, SInt16 left, SInt16 top, SInt16 right, SInt16 bottom) {
    if (r == nullptr) return;
    r->left = left;
    r->top = top;
    r->right = right;
    r->bottom = bottom;
}

void OffsetRect(Rect* r, SInt16 dh, SInt16 dv) {
    if (r == nullptr) return;
    r->left = static_cast<SInt16>(r->left + dh);
    r->right = static_cast<SInt16>(r->right + dh);
    r->top = static_cast<SInt16>(r->top + dv);
    r->bottom = static_cast<SInt16>(r->bottom + dv);
}

void InsetRect(Rect* r, SInt16 dh, SInt16 dv) {
    if (r == nullptr) return;
    r->left = static_cast<SInt16>(r->left + dh);
    r->right = static_cast<SInt16>(r->right - dh);
    r->top = static_cast<SInt16>(r->top + dv);
    r->bottom = static_cast<SInt16>(r->bottom - dv);
    if (EmptyRect(r)) *r = Rect{0, 0, 0, 0};
}

Boolean SectRect(const Rect* a, const Rect* b, Rect* dst) {
    if (a == nullptr || b == nullptr || dst == nullptr) return false;
    Rect out;
    out.top = std::max(a->top, b->top);
    out.left = std::max(a->left, b->left);
    out.bottom = std::min(a->bottom, b->bottom);
    out.right = std::min(a->right, b->right);
    if (EmptyRect(&out)) {
        *dst = Rect{0, 0, 0, 0};
        return false;
    }
    *dst = out;
    return true;
}

Boolean PtInRect(Point pt, const Rect* r) {
    return r != nullptr && pt.v >= r->top && pt.v < r->bottom && pt.h >= r->left && pt.h < r->right;
}

Boolean EmptyRect(const Rect* r) {
    return r == nullptr || r->bottom <= r->top || r->right <= r->left;
}

Boolean EqualRect(const Rect* a, const Rect* b) {
    return a != nullptr && b != nullptr && a->top == b->top && a->left == b->left &&
           a->bottom == b->bottom && a->right == b->right;
}

// --- Ports ---------------------------------------------------------------------------------------

void SetPort(GrafPtr port) {
    gCurrentPort = port;
}

void GetPort(GrafPtr* port) {
    if (port != nullptr) *port = gCurrentPort;
}

void OpaqueGrafPtr::Append(HalyxDrawingKind kind, const Rect& rect, const char* text, long length) {
    if (record.size() >= kHalyxPortRecordLimit) record.pop_front();
    Entry entry;
    entry.drawing.kind = kind;
    entry.drawing.rect = rect;
    entry.drawing.clip = clip;
    entry.drawing.foreColor = foreColor;
    entry.drawing.font = font;
    entry.drawing.size = size;
    entry.drawing.face = face;
    entry.drawing.control = drawingControl;
    entry.drawing.text = nullptr;
    entry.drawing.textLength = 0;
    if (text != nullptr && length >= 0) {
        entry.text.assign(text, static_cast<size_t>(length));
        entry.hasText = true;
    }
    record.push_back(std::move(entry));
}

UInt32 HalyxPortDrawingCount(GrafPtr port) {
    return port == nullptr ? 0 : static_cast<UInt32>(port->record.size());
}

Boolean HalyxPortGetDrawing(GrafPtr port, UInt32 index, HalyxDrawing* out) {
    if (port == nullptr || out == nullptr || index >= port->record.size()) return false;
    const OpaqueGrafPtr::Entry& entry = port->record[index];
    *out = entry.drawing;
    if (entry.hasText) {
        out->text = entry.text.c_str();
        out->textLength = static_cast<long>(entry.text.size());
    }
    return true;
}

void HalyxPortClearDrawings(GrafPtr port) {
    if (port != nullptr) port->record.clear();
}

// --- Pen and text state --------------------------------------------------------------------------

void RGBForeColor(const RGBColor* color) {
    if (gCurrentPort != nullptr && color != nullptr) gCurrentPort->foreColor = *color;
}

void GetForeColor(RGBColor* color) {
    if (color == nullptr) return;
    *color = gCurrentPort != nullptr ? gCurrentPort->foreColor : RGBColor{0, 0, 0};
}

void TextFont(SInt16 font) {
    if (gCurrentPort != nullptr) gCurrentPort->font = font;
}

void TextSize(SInt16 size) {
    if (gCurrentPort != nullptr) gCurrentPort->size = size;
}

void TextFace(Style face) {
    if (gCurrentPort != nullptr) gCurrentPort->face = face;
}

void HalyxGetFontInfoFor(SInt16 font, SInt16 size, FontInfo* info) {
    if (info == nullptr) return;
    const SInt16 s = EffectiveSize(size);
    auto found = gFontOverrides.find({font, s});
    if (found != gFontOverrides.end()) {
        *info = found->second;
        return;
    }
    info->ascent = static_cast<SInt16>(s - 1);
    info->descent = static_cast<SInt16>((s + 3) / 4);
    info->leading = static_cast<SInt16>((s + 3) / 8);
    info->widMax = static_cast<SInt16>((s + 1) / 2);
}

void HalyxOverrideFontInfo(SInt16 font, SInt16 size, const FontInfo* info) {
    const SInt16 s = EffectiveSize(size);
    if (info == nullptr) {
        gFontOverrides.erase({font, s});
    } else {
        gFontOverrides[{font, s}] = *info;
    }
}

void HalyxResetFontInfo(void) {
    gFontOverrides.clear();
}

void GetFontInfo(FontInfo* info) {
    if (gCurrentPort == nullptr) {
        HalyxGetFontInfoFor(systemFont, 12, info);
    } else {
        HalyxGetFontInfoFor(gCurrentPort->font, gCurrentPort->size, info);
    }
}

SInt16 TextWidth(const void* textBuf, SInt16 firstByte, SInt16 byteCount) {
    if (textBuf == nullptr || byteCount <= 0 || firstByte < 0) return 0;
    const SInt16 size = EffectiveSize(gCurrentPort != nullptr ? gCurrentPort->size : 12);
    const long width = static_cast<long>(byteCount) * ((size + 1) / 2);
    return static_cast<SInt16>(std::min<long>(width, 32767));
}

namespace halyx_toolbox {
SInt16 LineHeight(SInt16 font, SInt16 size) {
    FontInfo info;
    HalyxGetFontInfoFor(font, size, &info);
    return static_cast<SInt16>(info.ascent + info.descent + info.leading);
}
}  // namespace halyx_toolbox

// --- Drawing -------------------------------------------------------------------------------------

void EraseRect(const Rect* r) {
    if (gCurrentPort != nullptr && r != nullptr)
        gCurrentPort->Append(kHalyxDrawErase, *r, nullptr, 0);
}

void FrameRect(const Rect* r) {
    if (gCurrentPort != nullptr && r != nullptr)
        gCurrentPort->Append(kHalyxDrawFrame, *r, nullptr, 0);
}

void TETextBox(const void* text, long length, const Rect* box, SInt16 /*just*/) {
    if (gCurrentPort == nullptr || box == nullptr) return;
    if (text == nullptr || length < 0) length = 0;
    gCurrentPort->Append(kHalyxDrawText, *box, static_cast<const char*>(text), length);
}

// --- Clipping ------------------------------------------------------------------------------------

RgnHandle NewRgn(void) {
    if (HalyxShouldFail(kHalyxFailAllocation)) return nullptr;
    return new (std::nothrow) OpaqueRgnHandle();
}

void DisposeRgn(RgnHandle rgn) {
    delete rgn;
}

void RectRgn(RgnHandle rgn, const Rect* r) {
    if (rgn == nullptr || r == nullptr) return;
    rgn->bounds = EmptyRect(r) ? Rect{0, 0, 0, 0} : *r;
}

Rect* GetRegionBounds(RgnHandle rgn, Rect* bounds) {
    if (bounds == nullptr) return nullptr;
    *bounds = rgn != nullptr ? rgn->bounds : Rect{0, 0, 0, 0};
    return bounds;
}

void GetClip(RgnHandle rgn) {
    if (rgn != nullptr && gCurrentPort != nullptr) rgn->bounds = gCurrentPort->clip;
}

void SetClip(RgnHandle rgn) {
    if (rgn != nullptr && gCurrentPort != nullptr) gCurrentPort->clip = rgn->bounds;
}

void ClipRect(const Rect* r) {
    if (r != nullptr && gCurrentPort != nullptr) {
        gCurrentPort->clip = EmptyRect(r) ? Rect{0, 0, 0, 0} : *r;
    }
}

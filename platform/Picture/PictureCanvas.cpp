// Painting on a cairo image: rectangles, frames and text laid out by pango.
#include "Picture/PictureCanvas.h"

#include <cairo.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "CoreFoundation/CFString.h"

namespace halyx_picture {

namespace {

// The classic fixed-pitch font ids; every other id is drawn in the proportional face.
constexpr SInt16 kMonacoFont = 4;
constexpr SInt16 kCourierFont = 22;
constexpr SInt16 kDefaultSize = 12;
// Room between a cell's or a field's left edge and its text.
constexpr double kCellPadding = 6;
constexpr double kFieldPadding = 2;

double Width(const Rect& r) {
    return std::max(0, r.right - r.left);
}
double Height(const Rect& r) {
    return std::max(0, r.bottom - r.top);
}

void SetSource(cairo_t* cr, Colour c) {
    cairo_set_source_rgb(cr, c.red / 255.0, c.green / 255.0, c.blue / 255.0);
}

PangoFontDescription* FontFor(const TextStyle& style) {
    PangoFontDescription* desc = pango_font_description_new();
    const bool mono = style.font == kMonacoFont || style.font == kCourierFont;
    pango_font_description_set_family(desc, mono ? "DejaVu Sans Mono" : "DejaVu Sans");
    const SInt16 size = style.size > 0 ? style.size : kDefaultSize;
    pango_font_description_set_absolute_size(desc, static_cast<double>(size) * PANGO_SCALE);
    pango_font_description_set_weight(
        desc, (style.face & bold) ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_style(
        desc, (style.face & italic) ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    return desc;
}

}  // namespace

Colour ColourOf(const RGBColor& color) {
    return Colour{static_cast<unsigned char>(color.red >> 8),
                  static_cast<unsigned char>(color.green >> 8),
                  static_cast<unsigned char>(color.blue >> 8)};
}

std::string Utf8FromSystemBytes(const char* bytes, long length) {
    if (bytes == nullptr || length <= 0) return std::string();
    CFStringRef text =
        CFStringCreateWithBytes(nullptr, reinterpret_cast<const UInt8*>(bytes),
                                static_cast<CFIndex>(length), kCFStringEncodingMacRoman, false);
    if (text == nullptr) return std::string();
    const CFIndex size =
        CFStringGetMaximumSizeForEncoding(CFStringGetLength(text), kCFStringEncodingUTF8) + 1;
    std::string utf8(static_cast<size_t>(size), '\0');
    if (!CFStringGetCString(text, &utf8[0], size, kCFStringEncodingUTF8)) utf8.clear();
    CFRelease(text);
    utf8.resize(utf8.find('\0') == std::string::npos ? utf8.size() : utf8.find('\0'));
    return utf8;
}

PictureCanvas::PictureCanvas(int width, int height, Colour background) {
    if (width <= 0 || height <= 0) return;
    surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) return;
    cairo_t* context = cairo_create(surface);
    if (cairo_status(context) != CAIRO_STATUS_SUCCESS) {
        cairo_destroy(context);
        return;
    }
    options = cairo_font_options_create();
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cr = context;
    SetSource(cr, background);
    cairo_paint(cr);
}

PictureCanvas::~PictureCanvas() {
    if (options != nullptr) cairo_font_options_destroy(options);
    if (cr != nullptr) cairo_destroy(cr);
    if (surface != nullptr) cairo_surface_destroy(surface);
}

void PictureCanvas::Clip(const Rect& clip) {
    cairo_rectangle(cr, clip.left, clip.top, Width(clip), Height(clip));
    cairo_clip(cr);
}

void PictureCanvas::Fill(const Rect& r, Colour colour, const Rect& clip) {
    if (cr == nullptr) return;
    cairo_save(cr);
    Clip(clip);
    SetSource(cr, colour);
    cairo_rectangle(cr, r.left, r.top, Width(r), Height(r));
    cairo_fill(cr);
    cairo_restore(cr);
}

void PictureCanvas::RoundedBox(const Rect& r, double radius, Colour fill, Colour line,
                               const Rect& clip) {
    if (cr == nullptr || Width(r) < 2 || Height(r) < 2) return;
    cairo_save(cr);
    Clip(clip);
    const double x = r.left + 0.5, y = r.top + 0.5, w = Width(r) - 1, h = Height(r) - 1;
    radius = std::min(radius, std::min(w, h) / 2);
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - radius, y + radius, radius, -G_PI / 2, 0);
    cairo_arc(cr, x + w - radius, y + h - radius, radius, 0, G_PI / 2);
    cairo_arc(cr, x + radius, y + h - radius, radius, G_PI / 2, G_PI);
    cairo_arc(cr, x + radius, y + radius, radius, G_PI, 3 * G_PI / 2);
    cairo_close_path(cr);
    SetSource(cr, fill);
    cairo_fill_preserve(cr);
    SetSource(cr, line);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    cairo_restore(cr);
}

void PictureCanvas::Frame(const Rect& r, int width, Colour colour, const Rect& clip) {
    if (cr == nullptr || Width(r) <= 0 || Height(r) <= 0) return;
    cairo_save(cr);
    Clip(clip);
    SetSource(cr, colour);
    // The outer rectangle less the inner one: the frame's pixels and nothing else.
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_rectangle(cr, r.left, r.top, Width(r), Height(r));
    const double w = std::max(0.0, Width(r) - 2.0 * width);
    const double h = std::max(0.0, Height(r) - 2.0 * width);
    if (w > 0 && h > 0) cairo_rectangle(cr, r.left + width, r.top + width, w, h);
    cairo_fill(cr);
    cairo_restore(cr);
}

void PictureCanvas::Text(const std::string& text, const Rect& box, const TextStyle& style,
                         TextLayout layout, const Rect& clip, long caretFrom, long caretTo,
                         Colour selection) {
    if (cr == nullptr) return;
    cairo_save(cr);
    Clip(clip);
    Clip(box);
    PangoLayout* pango = pango_cairo_create_layout(cr);
    pango_cairo_context_set_font_options(pango_layout_get_context(pango), options);
    pango_layout_context_changed(pango);
    PangoFontDescription* desc = FontFor(style);
    pango_layout_set_font_description(pango, desc);
    pango_font_description_free(desc);
    if (style.face & underline) {
        PangoAttrList* attributes = pango_attr_list_new();
        pango_attr_list_insert(attributes, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
        pango_layout_set_attributes(pango, attributes);
        pango_attr_list_unref(attributes);
    }
    pango_layout_set_text(pango, text.data(), static_cast<int>(text.size()));

    double x = box.left, y = box.top;
    PangoRectangle logical;
    switch (layout) {
        case TextLayout::kWrapped:
            pango_layout_set_width(pango, static_cast<int>(Width(box) * PANGO_SCALE));
            pango_layout_set_wrap(pango, PANGO_WRAP_WORD_CHAR);
            break;
        case TextLayout::kLine:
            pango_layout_set_width(
                pango,
                static_cast<int>(std::max(0.0, Width(box) - 2 * kCellPadding) * PANGO_SCALE));
            pango_layout_set_ellipsize(pango, PANGO_ELLIPSIZE_END);
            pango_layout_get_pixel_extents(pango, nullptr, &logical);
            x += kCellPadding;
            y += (Height(box) - logical.height) / 2;
            break;
        case TextLayout::kCentredLine:
            pango_layout_get_pixel_extents(pango, nullptr, &logical);
            x += (Width(box) - logical.width) / 2;
            y += (Height(box) - logical.height) / 2;
            break;
        case TextLayout::kFieldLine:
            pango_layout_get_pixel_extents(pango, nullptr, &logical);
            x += kFieldPadding;
            y += (Height(box) - logical.height) / 2;
            break;
    }
    if (layout == TextLayout::kFieldLine && caretFrom >= 0 && caretTo >= caretFrom) {
        PangoRectangle from, to;
        pango_layout_index_to_pos(pango, static_cast<int>(caretFrom), &from);
        pango_layout_index_to_pos(pango, static_cast<int>(caretTo), &to);
        const double left = x + from.x / static_cast<double>(PANGO_SCALE);
        const double right = x + to.x / static_cast<double>(PANGO_SCALE);
        if (caretTo > caretFrom) {
            SetSource(cr, selection);
            cairo_rectangle(cr, left, box.top + 1, right - left, Height(box) - 2);
        } else {
            SetSource(cr, style.colour);
            cairo_rectangle(cr, std::floor(left), box.top + 2, 1, Height(box) - 4);
        }
        cairo_fill(cr);
    }
    SetSource(cr, style.colour);
    cairo_move_to(cr, x, y);
    pango_cairo_show_layout(cr, pango);
    g_object_unref(pango);
    cairo_restore(cr);
}

namespace {
cairo_status_t WriteToFile(void* closure, const unsigned char* data, unsigned int length) {
    return std::fwrite(data, 1, length, static_cast<FILE*>(closure)) == length
               ? CAIRO_STATUS_SUCCESS
               : CAIRO_STATUS_WRITE_ERROR;
}
}  // namespace

bool PictureCanvas::WritePng(void* file) const {
    if (surface == nullptr || file == nullptr) return false;
    cairo_surface_flush(surface);
    return cairo_surface_write_to_png_stream(surface, WriteToFile, file) == CAIRO_STATUS_SUCCESS;
}

}  // namespace halyx_picture

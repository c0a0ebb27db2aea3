// An image the size of a window, painted with cairo and pango in window coordinates.
//
// Text is laid out with DejaVu fonts at the toolkit's sizes (one point = one pixel), without
// hinting and with grey antialiasing, so that the same drawing gives the same pixels everywhere.
// Every painting call takes the clip rectangle it is painted under.
#ifndef HALYX_PLATFORM_PICTURE_PICTURECANVAS_H
#define HALYX_PLATFORM_PICTURE_PICTURECANVAS_H

#include <string>

#include "HIToolbox/Quickdraw.h"

typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;
typedef struct _cairo_font_options cairo_font_options_t;

namespace halyx_picture {

// A colour as 8-bit channels.
struct Colour {
    unsigned char red, green, blue;
};
Colour ColourOf(const RGBColor& color);

// Font id, size and face as the toolkit records them.
struct TextStyle {
    SInt16 font = systemFont;
    SInt16 size = 0;  // 0: the default size, 12
    Style face = normal;
    Colour colour = {0, 0, 0};
};

enum class TextLayout {
    kWrapped,      // from the top left, wrapped at the box's width (a text box)
    kLine,         // one line, vertically centred, cut with an ellipsis (a list cell)
    kCentredLine,  // one line centred both ways (a button title)
    kFieldLine,    // one line, vertically centred, from the left (an edit field)
};

class PictureCanvas {
public:
    PictureCanvas(int width, int height, Colour background);
    ~PictureCanvas();
    // False when the image could not be made (out of memory, or no size).
    bool Valid() const { return cr != nullptr; }

    void Fill(const Rect& r, Colour colour, const Rect& clip);
    // A rounded rectangle filled with `fill` and outlined in `line` (1 pixel, inside `r`).
    void RoundedBox(const Rect& r, double radius, Colour fill, Colour line, const Rect& clip);
    // A line `width` pixels wide along the inside of `r`.
    void Frame(const Rect& r, int width, Colour colour, const Rect& clip);
    // UTF-8 `text` in `box`. For kFieldLine, `caretFrom`..`caretTo` (UTF-8 byte offsets) marks
    // a selection drawn behind the text, or a caret where they are equal; -1 for neither.
    void Text(const std::string& text, const Rect& box, const TextStyle& style, TextLayout layout,
              const Rect& clip, long caretFrom = -1, long caretTo = -1,
              Colour selection = {0, 0, 0});

    // Writes the image as PNG into an open file; false on a write error.
    bool WritePng(void* file) const;

private:
    PictureCanvas(const PictureCanvas&) = delete;
    PictureCanvas& operator=(const PictureCanvas&) = delete;

    void Clip(const Rect& clip);

    cairo_surface_t* surface = nullptr;
    cairo_t* cr = nullptr;
    cairo_font_options_t* options = nullptr;
};

// Bytes in the system encoding as UTF-8.
std::string Utf8FromSystemBytes(const char* bytes, long length);

}  // namespace halyx_picture

#endif  // HALYX_PLATFORM_PICTURE_PICTURECANVAS_H

// Painting a window's drawing record, and writing the picture to its file.
#include <errno.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include "HIToolbox/Controls.h"
#include "HIToolbox/PortRecording.h"
#include "Picture/ControlLooks.h"
#include "Picture/Picture.h"
#include "Picture/PictureCanvas.h"
#include "Picture/PictureFile.h"

namespace {

using halyx_picture::PictureCanvas;

// Whether the record's entry still shows its control: the control is shown and stands where the
// entry drew it. Controls move and hide without erasing what they drew, so older drawings of
// them are left out.
bool StillStands(const HalyxDrawing& d) {
    if (!halyx_picture::IsShownNow(d.control)) return false;
    Rect bounds;
    GetControlBounds(d.control, &bounds);
    return EqualRect(&bounds, &d.rect);
}

void PaintRecord(PictureCanvas& canvas, WindowRef window) {
    GrafPtr port = GetWindowPort(window);
    const UInt32 count = HalyxPortDrawingCount(port);
    HalyxDrawing d;
    for (UInt32 i = 0; i < count && HalyxPortGetDrawing(port, i, &d); ++i) {
        if (d.control != nullptr && !halyx_picture::IsShownNow(d.control)) continue;
        switch (d.kind) {
            case kHalyxDrawControl:
                if (StillStands(d)) halyx_picture::PaintControl(canvas, window, d);
                break;
            case kHalyxDrawErase:
                canvas.Fill(d.rect, halyx_picture::EraseColour(d.control), d.clip);
                break;
            case kHalyxDrawFrame:
                halyx_picture::PaintOwnedFrame(canvas, d);
                break;
            case kHalyxDrawText: {
                const HalyxControlKind owner = HalyxGetControlKind(d.control);
                const bool ownText =
                    owner == kHalyxControlEditText || owner == kHalyxControlPushButton;
                if (!ownText || StillStands(d)) halyx_picture::PaintOwnedText(canvas, window, d);
                break;
            }
        }
    }
}

}  // namespace

OSStatus HalyxWriteWindowPicture(WindowRef window, const char* path) {
    if (path == nullptr || *path == '\0') return paramErr;
    ControlRef root = nullptr;
    if (GetRootControl(window, &root) != noErr) return paramErr;
    Rect content;
    GetControlBounds(root, &content);
    const int width = content.right - content.left, height = content.bottom - content.top;
    if (width <= 0 || height <= 0) return paramErr;
    PictureCanvas canvas(width, height, halyx_picture::kWindowBackground);
    if (!canvas.Valid()) return memFullErr;
    PaintRecord(canvas, window);

    FILE* file = fopen(path, "wb");
    if (file == nullptr) return halyx_picture::StatusFromErrno(errno);
    // Only a plain file is removed when it could not be written whole: a device or a pipe
    // (/dev/stdout) is left as it is.
    struct stat info;
    const bool plain = fstat(fileno(file), &info) == 0 && S_ISREG(info.st_mode);
    errno = 0;
    bool written = canvas.WritePng(file);
    int error = errno;
    if (fclose(file) != 0 && written) {
        written = false;
        error = errno;
    }
    if (written) return noErr;
    if (plain) unlink(path);
    return error != 0 ? halyx_picture::StatusFromErrno(error) : OSStatus{ioErr};
}

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define HALYX_PICTURE_LEAK_CHECKED 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(HALYX_PICTURE_LEAK_CHECKED)
// Fontconfig keeps the patterns it builds for pango's font lookups for the life of the process,
// some of them where the leak checker cannot see them; they are not ours to free. Every program
// that paints pictures carries this, so its leak checks still catch every leak of its own.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
#endif

// A picture of a window: its drawing record painted into a PNG file, the screen the headless
// toolkit does not have.
//
// The record (PortRecording.h) is painted in order onto the window's background, at the window's
// content size in pixels. Erased and framed rectangles keep their colours and clips; texts keep
// their font, size and face (the system fonts drawn as DejaVu Sans, the fixed-pitch ones as DejaVu
// Sans Mono). Each control is drawn where the record shows it drawing itself, as its kind and its
// present state show it (HalyxGetControlKind and the other published calls): an edit field with
// its text (bullets for a password) and, when it has the keyboard focus, its caret or selection
// and a focus ring; a push button with its title, the default one (command 'ok  ') marked and a
// disabled one dimmed; a data browser with its rows, its selected rows and its scroll bars; a
// placard as a frame. A control that is hidden now, disposed, or no longer where it was drawn is
// not painted. The picture is therefore the window as it stands when the record holds at least its
// last full drawing (as it does after showing the window or delivering any input).
//
// The same record and controls give the same bytes on every run.
#ifndef HALYX_PLATFORM_PICTURE_PICTURE_H
#define HALYX_PLATFORM_PICTURE_PICTURE_H

#include "HIToolbox/MacWindows.h"

#ifdef __cplusplus
extern "C" {
#endif

// Writes the picture of `window` to the file at `path` (created or replaced). noErr; paramErr
// for an unknown window, one without a size, or a null or empty path; memFullErr when the image
// cannot be made; the status of HalyxCheckPicturePath's table when the file cannot be written
// (ioErr for any other write error). A plain file that could not be written whole is
// removed; a device or a pipe is only written to.
OSStatus HalyxWriteWindowPicture(WindowRef window, const char* path);

// Whether a picture could be written at `path`, without writing anything: noErr; paramErr for a
// null or empty path; bdNamErr when the path names a folder or is too long; dirNFErr when its
// folder does not exist; permErr when the file or its folder may not be written; wPrErr on a
// read-only volume.
OSStatus HalyxCheckPicturePath(const char* path);

// A few words for a person on why writing a picture failed with `status`.
const char* HalyxPictureStatusText(OSStatus status);

#ifdef __cplusplus
}
#endif

#endif  // HALYX_PLATFORM_PICTURE_PICTURE_H

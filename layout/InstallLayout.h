// Where a program finds the files it ships with, whether it runs installed or from the build tree.
//
// Installed (by `cmake --install` or the Debian package), a program in <prefix>/bin finds
//   the plug-in bundle   <prefix>/lib/halyx-jobnotes/HalyxJobNotes.plugin
//   the example PPDs     <prefix>/share/ppd/halyx/
// relative to its own executable, so the prefix may be anything. A program run from the build tree
// (build/bin) finds the bundle assembled in the build tree and the PPDs of the source tree.
// $HALYX_BUNDLE_DIR, when set and not empty, names the bundle in both cases.
#ifndef HALYX_LAYOUT_INSTALLLAYOUT_H
#define HALYX_LAYOUT_INSTALLLAYOUT_H

#include <string>

namespace halyx::layout {

// The folder that holds the running executable; empty when /proc/self/exe cannot be read.
std::string ExecutableFolder();

// The plug-in bundle to load: $HALYX_BUNDLE_DIR, else the installed bundle beside the program,
// else the build tree's. The last candidate is returned when none exists, so that the caller's
// message names a path.
std::string DefaultBundlePath();

// The bundled sample PPD (HalyxSample.ppd): installed beside the program, else the source tree's.
std::string SamplePPDPath();

// "NAME VERSION\n" on standard output, the answer of every program to --version.
void PrintVersion(const char* programName);

}  // namespace halyx::layout

#endif  // HALYX_LAYOUT_INSTALLLAYOUT_H

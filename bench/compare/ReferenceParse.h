// The peer side of the parse comparison: the reference PPD library opening and closing a file.
// Kept apart so that only ReferenceParse.cpp sees that library's declarations.
#ifndef HALYX_BENCH_COMPARE_REFERENCEPARSE_H
#define HALYX_BENCH_COMPARE_REFERENCEPARSE_H

// True when the reference PPD library was found and linked at build time.
bool HaveReferenceParser();

// Opens `path` with the reference library and closes it again. False when the library refuses the
// file or is not linked.
bool ReferenceOpenAndClose(const char* path);

#endif  // HALYX_BENCH_COMPARE_REFERENCEPARSE_H

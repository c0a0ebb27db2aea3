// The file handle of a PPD.
//
// A PPDFile never reports itself valid (valid() is false whatever the constructor), yet opening and
// reading its data fork work from its file record all the same; callers test the opens and reads.
#ifndef HALYX_PARSER_PPDFILE_H
#define HALYX_PARSER_PPDFILE_H

#include "CoreFoundation/CFURL.h"
#include "parser/FileMac.h"

class PPDFile : public FileMac {
public:
    // An empty file record.
    explicit PPDFile(unsigned char flag = 0);
    PPDFile(short vRefNum, long dirID, char* name);
    explicit PPDFile(const FSSpec& spec);
    // The file a URL names; a URL that names no existing file gives an empty file record, whose
    // opening later fails.
    explicit PPDFile(CFURLRef url);
    virtual ~PPDFile();

    // The file record of the existing file a URL names; false (and `spec` zeroed) otherwise.
    static bool SpecFromURL(CFURLRef url, FSSpec& spec);

private:
    unsigned char mFlag;
};

#endif  // HALYX_PARSER_PPDFILE_H

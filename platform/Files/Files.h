// The file services in one include: records and references, data forks, file creation and facts.
#ifndef HALYX_PLATFORM_FILES_FILES_H
#define HALYX_PLATFORM_FILES_FILES_H

#include "Files/FileRecords.h"
#include "Files/FileForks.h"
#include "Files/FileInfo.h"

#endif  // HALYX_PLATFORM_FILES_FILES_H

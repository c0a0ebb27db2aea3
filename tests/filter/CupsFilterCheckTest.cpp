// When `check` warns that a PPD's queue would print without the job notes.
#include <gtest/gtest.h>

#include <string>

#include "tools/CupsFilterCheck.h"

using halyx::tools::CupsFilterWarning;

TEST(CupsFilterCheckTest, WarnsWhenJobNotesCannotReachTheFilter) {
    const std::string kNote = "*%ORBJobNote *Notes1/Notes 1: 40|Alpha\r\n";
    const struct {
        const char* name;
        std::string ppd;
        const char* warning;  // part of it; "" for none
    } kCases[] = {
        {"no_job_notes", "*PPD-Adobe: \"4.3\"\n", ""},
        {"after_pstops",
         kNote + "*cupsFilter2: \"application/vnd.cups-postscript application/postscript 0 "
                 "HalyxCupsFilter\"\r\n",
         ""},
        {"old_style_line",
         kNote + "*cupsFilter: \"application/vnd.cups-postscript 0 "
                 "/opt/halyx/HalyxCupsFilter\"\n",
         ""},
        {"no_filter_line", kNote, "no *cupsFilter2 line runs HalyxCupsFilter"},
        {"another_filter",
         kNote + "*cupsFilter2: \"application/vnd.cups-postscript application/postscript 0 "
                 "foo\"\n",
         "no *cupsFilter2 line"},
        {"before_pstops",
         kNote + "*cupsFilter2: \"application/postscript application/postscript 0 "
                 "HalyxCupsFilter\"\n",
         "before pstops"},
    };
    for (const auto& c : kCases) {
        std::string warning = CupsFilterWarning(c.ppd);
        if (*c.warning == '\0')
            EXPECT_EQ(warning, "") << c.name;
        else
            EXPECT_NE(warning.find(c.warning), std::string::npos) << c.name << ": " << warning;
    }
}

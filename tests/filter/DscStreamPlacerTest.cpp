// Where the pieces land in a stream, for every shape of stream the filter meets. Each case is fed
// whole, one byte at a time and in chunks of three, so that line endings and sections that straddle
// two reads are covered too.
#include <gtest/gtest.h>

#include <string>

#include "filter/DscStreamPlacer.h"

namespace {

struct StreamCase {
    const char* name;
    std::string input;
    std::string expected;
    int documents;
};

const std::string kComments = "%%C1: a\n%%C2: b\n";
const std::string kFeatures = "F1\nF2\n";
const std::string kSetup = "%%BeginSetup\n" + kFeatures + "%%EndSetup\n";

std::string Place(const std::string& input, size_t chunk, int* documents) {
    JobPieces pieces;
    pieces.comments = {"%%C1: a\n", "%%C2: b\n"};
    pieces.features = {"F1\n", "F2\n"};
    StringSink out;
    DscStreamPlacer placer(pieces, out);
    for (size_t at = 0; at < input.size(); at += chunk)
        placer.Feed(input.data() + at, std::min(chunk, input.size() - at));
    placer.Finish();
    *documents = placer.Documents();
    return out.text;
}

const std::string kBinary = "\n%%EndSetup\r\n%%EndComments\n";  // 27 bytes that look like DSC

const StreamCase kCases[] = {
    {"pstops_setup",
     "%!PS-Adobe-3.0\n%%Pages: 1\n%RBINumCopies: 1\n%%EndComments\n%%BeginProlog\n%%EndProlog\n"
     "%%BeginSetup\n[{\n%%BeginFeature: *PageSize A4\n%%EndFeature\n} stopped cleartomark\n"
     "%%EndSetup\n%%Page: 1 1\nshowpage\n%%Trailer\n%%EOF\n",
     "%!PS-Adobe-3.0\n%%Pages: 1\n%RBINumCopies: 1\n" + kComments +
         "%%EndComments\n%%BeginProlog\n%%EndProlog\n%%BeginSetup\n[{\n%%BeginFeature: *PageSize "
         "A4\n%%EndFeature\n} stopped cleartomark\n" +
         kFeatures + "%%EndSetup\n%%Page: 1 1\nshowpage\n%%Trailer\n%%EOF\n",
     1},
    {"no_setup_section",
     "%!PS-Adobe-3.0\n%%EndComments\n%%BeginProlog\n%%EndProlog\n%%Page: 1 1\nshowpage\n%%EOF\n",
     "%!PS-Adobe-3.0\n" + kComments + "%%EndComments\n%%BeginProlog\n%%EndProlog\n" + kSetup +
         "%%Page: 1 1\nshowpage\n%%EOF\n",
     1},
    {"crlf_endings",
     "%!PS-Adobe-3.0\r\n%%EndComments\r\n%%BeginSetup\r\n%%EndSetup\r\n%%Page: 1 1\r\n",
     "%!PS-Adobe-3.0\r\n" + kComments + "%%EndComments\r\n%%BeginSetup\r\n" + kFeatures +
         "%%EndSetup\r\n%%Page: 1 1\r\n",
     1},
    {"cr_endings", "%!PS-Adobe-3.0\r%%EndComments\r%%BeginSetup\r%%EndSetup\r%%Page: 1 1\r",
     "%!PS-Adobe-3.0\r" + kComments + "%%EndComments\r%%BeginSetup\r" + kFeatures +
         "%%EndSetup\r%%Page: 1 1\r",
     1},
    {"pjl_and_ctrl_d",
     "\x1b%-12345X@PJL JOB\n@PJL ENTER LANGUAGE = POSTSCRIPT\n%!PS-Adobe-3.0\n%%EndComments\n"
     "%%Page: 1 1\n%%EOF\n\x04\x1b%-12345X@PJL EOJ\n",
     "\x1b%-12345X@PJL JOB\n@PJL ENTER LANGUAGE = POSTSCRIPT\n%!PS-Adobe-3.0\n" + kComments +
         "%%EndComments\n" + kSetup + "%%Page: 1 1\n%%EOF\n\x04\x1b%-12345X@PJL EOJ\n",
     1},
    {"two_documents_with_job_control",
     "\x1b%-12345X%!PS-Adobe-3.0\n%%EndComments\n%%Page: 1 1\n\x04\x1b%-12345X%!PS-Adobe-3.0\n"
     "%%EndComments\n%%Page: 1 1\n\x04",
     "\x1b%-12345X%!PS-Adobe-3.0\n" + kComments + "%%EndComments\n" + kSetup +
         "%%Page: 1 1\n\x04\x1b%-12345X%!PS-Adobe-3.0\n" + kComments + "%%EndComments\n" + kSetup +
         "%%Page: 1 1\n\x04",
     2},
    {"embedded_documents_are_not_looked_into",
     "%!PS-Adobe-3.0\n%%EndComments\n%%BeginSetup\n%%BeginDocument: a.eps\n%!PS-Adobe-3.0 EPSF\n"
     "%%EndComments\n%%BeginDocument: b.eps\n%%EndSetup\n%%EndDocument\n%%BeginSetup\n"
     "%%EndSetup\n%%EOF\n%%EndDocument\n%%EndSetup\n%%Page: 1 1\n",
     "%!PS-Adobe-3.0\n" + kComments +
         "%%EndComments\n%%BeginSetup\n%%BeginDocument: a.eps\n%!PS-Adobe-3.0 EPSF\n"
         "%%EndComments\n%%BeginDocument: b.eps\n%%EndSetup\n%%EndDocument\n%%BeginSetup\n"
         "%%EndSetup\n%%EOF\n%%EndDocument\n" +
         kFeatures + "%%EndSetup\n%%Page: 1 1\n",
     1},
    {"binary_and_data_sections_are_skipped",
     "%!PS-Adobe-3.0\n%%EndComments\n%%BeginSetup\n%%BeginBinary: 27\n" + kBinary +
         "%%EndBinary\n%%BeginData: 2 ASCII Lines\n%%EndSetup\n%%EndComments\n%%EndData\n"
         "%%BeginData: 27 Binary Bytes\n" +
         kBinary + "%%EndData\n%%EndSetup\n",
     "%!PS-Adobe-3.0\n" + kComments + "%%EndComments\n%%BeginSetup\n%%BeginBinary: 27\n" + kBinary +
         "%%EndBinary\n%%BeginData: 2 ASCII Lines\n%%EndSetup\n%%EndComments\n"
         "%%EndData\n%%BeginData: 27 Binary Bytes\n" +
         kBinary + "%%EndData\n" + kFeatures + "%%EndSetup\n",
     1},
    {"header_ended_by_prolog",
     "%!PS-Adobe-3.0\n%%Title: t\n%%BeginProlog\n%%EndProlog\n%%Page: 1 1\n",
     "%!PS-Adobe-3.0\n%%Title: t\n" + kComments + "%%EndComments\n%%BeginProlog\n%%EndProlog\n" +
         kSetup + "%%Page: 1 1\n",
     1},
    {"unstructured_program", "%!\n/x 1 def\nshowpage\n",
     "%!\n" + kComments + "%%EndComments\n" + kSetup + "/x 1 def\nshowpage\n", 1},
    {"setup_left_open", "%!PS-Adobe-3.0\n%%EndComments\n%%BeginSetup\nx\n%%Page: 1 1\n",
     "%!PS-Adobe-3.0\n" + kComments + "%%EndComments\n%%BeginSetup\nx\n" + kFeatures +
         "%%EndSetup\n%%Page: 1 1\n",
     1},
    {"pieces_left_at_the_end", "%!PS-Adobe-3.0\n%%EndComments\n%%BeginSetup\nx",
     "%!PS-Adobe-3.0\n" + kComments + "%%EndComments\n%%BeginSetup\nx\n" + kFeatures +
         "%%EndSetup\n",
     1},
    {"long_line_is_passed_on",
     "%!PS-Adobe-3.0\n%%EndComments\n%%BeginSetup\n%%EndSetup" + std::string(5000, 'x') +
         "\n%%EndSetup\n",
     "%!PS-Adobe-3.0\n" + kComments + "%%EndComments\n%%BeginSetup\n%%EndSetup" +
         std::string(5000, 'x') + "\n" + kFeatures + "%%EndSetup\n",
     1},
    {"not_postscript", "@PJL JOB\nhello\n%%EndComments\n", "@PJL JOB\nhello\n%%EndComments\n", 0},
};

TEST(DscStreamPlacerTest, PlacesPiecesInEveryDocumentAndPassesTheRest) {
    for (const StreamCase& c : kCases) {
        for (size_t chunk : {c.input.size() + 1, size_t{1}, size_t{3}}) {
            SCOPED_TRACE(std::string(c.name) + ", chunks of " + std::to_string(chunk));
            int documents = -1;
            EXPECT_EQ(Place(c.input, chunk, &documents), c.expected);
            EXPECT_EQ(documents, c.documents);
        }
    }
}

}  // namespace

// Which pieces files the filter refuses, and why. Every file is made in /tmp under a name the
// filter accepts (unless the case is about the name) and removed afterwards.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "filter/JobOrigin.h"
#include "filter/PiecesFile.h"

namespace {

std::string Plist(const std::string& body) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">" + body +
           "</plist>\n";
}

// "%%ORBCustom1: Hi\n", "userdict /X 1 put\n" and "%%Orientation: Portrait" in Base64.
const std::string kComment = "<data>JSVPUkJDdXN0b20xOiBIaQo=</data>";
const std::string kFeature = "<data>dXNlcmRpY3QgL1ggMSBwdXQK</data>";
const std::string kUnterminated = "<data>JSVPcmllbnRhdGlvbjogUG9ydHJhaXQ=</data>";

// Makes files under free names of the accepted form and removes them when it goes.
class TempNames {
public:
    ~TempNames() {
        for (const std::string& path : mMade) std::remove(path.c_str());
    }
    std::string Free() {
        for (int tries = 0; tries < 100; ++tries) {
            std::string path = "/tmp/Halyx.temp" + std::to_string(10000 + std::rand() % 55535);
            struct stat info;
            if (lstat(path.c_str(), &info) == 0) continue;
            mMade.push_back(path);
            return path;
        }
        return "";
    }
    std::string Write(const std::string& bytes) {
        std::string path = Free();
        int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        if (fd >= 0) {
            EXPECT_EQ(write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
            close(fd);
        }
        return path;
    }

private:
    std::vector<std::string> mMade;
};

struct RefusedCase {
    const char* name;
    std::function<std::string(TempNames&)> make;  // returns the path to read
    const char* reason;                           // part of the reason given
};

const RefusedCase kRefused[] = {
    {"name_outside_the_pattern", [](TempNames&) { return std::string("/etc/passwd"); }, "its name"},
    {"name_with_more_digits", [](TempNames&) { return std::string("/tmp/Halyx.temp123456"); },
     "its name"},
    {"name_with_a_folder_part", [](TempNames&) { return std::string("/tmp/Halyx.temp1/../x"); },
     "its name"},
    {"symbolic_link",
     [](TempNames& t) {
         std::string target = t.Write(Plist("<array/>"));
         std::string link = t.Free();
         EXPECT_EQ(symlink(target.c_str(), link.c_str()), 0);
         return link;
     },
     "symbolic link"},
    {"fifo",  // must not block the job
     [](TempNames& t) {
         std::string path = t.Free();
         EXPECT_EQ(mkfifo(path.c_str(), 0644), 0);
         return path;
     },
     "not a regular file"},
    {"folder",
     [](TempNames& t) {
         std::string path = t.Free();
         EXPECT_EQ(mkdir(path.c_str(), 0755), 0);
         return path;
     },
     "not a regular file"},
    {"hard_link",
     [](TempNames& t) {
         std::string first = t.Write(Plist("<array/>"));
         std::string second = t.Free();
         EXPECT_EQ(link(first.c_str(), second.c_str()), 0);
         return second;
     },
     "more than one link"},
    {"too_large",
     [](TempNames& t) {
         std::string path = t.Write("");
         EXPECT_EQ(truncate(path.c_str(), PiecesFile::kMaxPiecesFileSize + 1), 0);
         return path;
     },
     "too large"},
    {"not_a_property_list", [](TempNames& t) { return t.Write("%!PS\n"); }, "property list"},
    {"root_not_an_array", [](TempNames& t) { return t.Write(Plist("<dict/>")); }, "root"},
    {"odd_count",
     [](TempNames& t) { return t.Write(Plist("<array><integer>30</integer></array>")); }, "pairs"},
    {"site_not_an_integer",
     [](TempNames& t) {
         return t.Write(Plist("<array><real>30.5</real>" + kComment + "</array>"));
     },
     "not an integer"},
    {"piece_not_data",
     [](TempNames& t) {
         return t.Write(Plist("<array><integer>81</integer><string>x</string></array>"));
     },
     "piece 1 is not data"},
    {"nul_byte",  // "%%A\0B\n"
     [](TempNames& t) {
         return t.Write(Plist("<array><integer>81</integer>" + kFeature +
                              "<integer>81</integer><data>JSVBAEIK</data></array>"));
     },
     "piece 2 holds a NUL byte"},
    {"comment_of_two_lines",  // "%%A\n%%B\n"
     [](TempNames& t) {
         return t.Write(Plist("<array><integer>30</integer><data>JSVBCiUlQgo=</data></array>"));
     },
     "not one comment line"},
    {"comment_that_is_code",  // "showpage\n"
     [](TempNames& t) {
         return t.Write(Plist("<array><integer>504</integer><data>c2hvd3BhZ2UK</data></array>"));
     },
     "not one comment line"},
};

TEST(PiecesFileTest, RefusesFilesItCannotTrust) {
    TempNames names;
    for (const RefusedCase& c : kRefused) {
        SCOPED_TRACE(c.name);
        std::string path = c.make(names);
        JobPieces pieces;
        pieces.features.push_back("stale\n");
        std::string why;
        EXPECT_FALSE(PiecesFile::Read(path.c_str(), getuid(), &pieces, &why));
        EXPECT_NE(why.find(c.reason), std::string::npos) << why;
        EXPECT_TRUE(pieces.Empty());
    }
}

TEST(PiecesFileTest, RefusesSomeoneElsesFile) {
    TempNames names;
    std::string path = names.Write(Plist("<array/>"));
    JobPieces pieces;
    std::string why;
    EXPECT_FALSE(PiecesFile::Read(path.c_str(), getuid() + 1, &pieces, &why));
    EXPECT_EQ(why, "it does not belong to the job's user");
}

TEST(PiecesFileTest, SortsAcceptedPiecesBySite) {
    TempNames names;
    std::string path = names.Write(
        Plist("<array><integer>504</integer>" + kUnterminated + "<integer>20</integer>" + kFeature +
              "<integer>7</integer>" + kFeature + "<integer>30</integer>" + kComment +
              "<integer>81</integer><data></data></array>"));
    JobPieces pieces;
    std::string why;
    ASSERT_TRUE(PiecesFile::Read(path.c_str(), getuid(), &pieces, &why)) << why;
    EXPECT_EQ(pieces.comments,
              (std::vector<std::string>{"%%Orientation: Portrait\n", "%%ORBCustom1: Hi\n"}));
    EXPECT_EQ(pieces.features, std::vector<std::string>{"userdict /X 1 put\n"});
    EXPECT_EQ(pieces.unknownSites, std::vector<int32_t>{7});
}

TEST(JobOriginTest, OnlyThisHostCounts) {
    const struct {
        const char* host;
        bool local;
    } kHosts[] = {{"localhost", true},        {"LocalHost", true}, {"127.0.0.1", true},
                  {"127.8.9.10", true},       {"::1", true},       {"[::1]", true},
                  {"::ffff:127.0.0.1", true}, {"", false},         {nullptr, false},
                  {"128.0.0.1", false},       {"10.0.0.1", false}, {"::2", false},
                  {"localhost.evil", false},  {"[::1", false}};
    for (const auto& h : kHosts) EXPECT_EQ(IsLocalJobOrigin(h.host), h.local) << h.host;
}

}  // namespace

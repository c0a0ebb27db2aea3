#include "Resources/ResourceMap.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {

using halyx::resources::ResourceMap;

std::string ReadFixture(const std::string& name) {
    std::ifstream in(std::string(HALYX_TEST_DATA_DIR) + "/platform/Resources/" + name,
                     std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

OSErr Load(ResourceMap* map, const std::string& bytes) {
    return map->Load((const UInt8*)bytes.data(), bytes.size());
}

// Wraps a dictionary body in a property list document.
std::string Plist(const std::string& body) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><plist version=\"1.0\">" + body + "</plist>";
}

TEST(ResourceMapTest, ReadsStringListsInTheSystemEncoding) {
    ResourceMap map;
    ASSERT_EQ(noErr, Load(&map, ReadFixture("strings.rsrc")));
    std::string text;
    ASSERT_TRUE(map.IndString(128, 1, &text));
    EXPECT_EQ("First entry", text);
    ASSERT_TRUE(map.IndString(128, 2, &text));
    EXPECT_EQ("\x8A\xA5\xC9", text);
    ASSERT_TRUE(map.IndString(128, 3, &text));
    EXPECT_EQ("alpha ?", text);  // no Greek in the system encoding
    ASSERT_TRUE(map.IndString(128, 4, &text));
    EXPECT_EQ("", text);
    ASSERT_TRUE(map.IndString(-8900, 1, &text));
    EXPECT_EQ("Only entry", text);

    EXPECT_FALSE(map.IndString(128, 0, &text));
    EXPECT_FALSE(map.IndString(128, 5, &text));
    EXPECT_FALSE(map.IndString(-8900, -1, &text));
    EXPECT_FALSE(map.IndString(1, 1, &text));  // the TEXT resource is no string list
    EXPECT_FALSE(map.HasStringList(1));
}

TEST(ResourceMapTest, CutsEntriesAt255Bytes) {
    ResourceMap map;
    std::string longText(300, 'x');
    ASSERT_EQ(noErr, Load(&map, Plist("<dict><key>STR#</key><dict><key>7</key><array><string>" +
                                      longText + "</string></array></dict></dict>")));
    std::string text;
    ASSERT_TRUE(map.IndString(7, 1, &text));
    EXPECT_EQ(std::string(255, 'x'), text);
}

TEST(ResourceMapTest, RefusesWhatIsNoResourceMapAndForgetsTheOldOne) {
    const char* bad[] = {
        "",
        "not xml at all",
        "<plist version=\"1.0\"><array/></plist>",
        "<plist version=\"1.0\"><dict><key>STR#</key><array/></dict></plist>",
        "<plist version=\"1.0\"><dict><key>STR#</key><dict><key>12x</key><array/></dict></dict>"
        "</plist>",
        "<plist version=\"1.0\"><dict><key>STR#</key><dict><key>40000</key><array/></dict></dict>"
        "</plist>",
        "<plist version=\"1.0\"><dict><key>STR#</key><dict><key></key><array/></dict></dict>"
        "</plist>",
        "<plist version=\"1.0\"><dict><key>STR#</key><dict><key>1</key><string>x</string></dict>"
        "</dict></plist>",
        "<plist version=\"1.0\"><dict><key>STR#</key><dict><key>1</key><array><integer>3</integer>"
        "</array></dict></dict></plist>",
        "<plist version=\"1.0\"><dict><key>TEXT</key><string>x</string></dict></plist>",
    };
    for (const char* bytes : bad) {
        ResourceMap map;
        ASSERT_EQ(noErr, Load(&map, ReadFixture("strings.rsrc")));
        EXPECT_EQ(mapReadErr, Load(&map, bytes)) << bytes;
        std::string text;
        EXPECT_FALSE(map.IndString(128, 1, &text)) << bytes;
    }
    ResourceMap empty;
    EXPECT_EQ(mapReadErr, empty.Load(nullptr, 0));
    EXPECT_EQ(noErr, Load(&empty, Plist("<dict/>")));
}

}  // namespace

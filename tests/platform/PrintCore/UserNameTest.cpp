#include "PrintCore/UserName.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <stdlib.h>
#include <unistd.h>

#include <string>

namespace {

std::string Text(CFStringRef string) {
    if (string == nullptr) return "<null>";
    char buffer[512];
    bool ok = CFStringGetCString(string, buffer, sizeof buffer, kCFStringEncodingUTF8);
    CFRelease(string);
    return ok ? buffer : "<unconvertible>";
}

TEST(UserName, FullNameIsTheCommentUpToItsFirstComma) {
    EXPECT_EQ("Ada Lovelace",
              Text(HalyxCopyUserNameFrom("Ada Lovelace,Room 1,555", "ada", "u", "l", false)));
    EXPECT_EQ("Ada Lovelace",
              Text(HalyxCopyUserNameFrom("Ada Lovelace", "ada", nullptr, nullptr, false)));
    // The short name ignores the comment.
    EXPECT_EQ("ada", Text(HalyxCopyUserNameFrom("Ada Lovelace", "ada", "u", "l", true)));
}

TEST(UserName, EachMissingSourceFallsToTheNextInOrder) {
    // An empty comment, or one that starts with its comma, has no full name.
    EXPECT_EQ("ada", Text(HalyxCopyUserNameFrom("", "ada", "u", "l", false)));
    EXPECT_EQ("ada", Text(HalyxCopyUserNameFrom(",Room 1", "ada", "u", "l", false)));
    EXPECT_EQ("ada", Text(HalyxCopyUserNameFrom(nullptr, "ada", "u", "l", false)));
    // Login name from the account first, then $USER, then $LOGNAME; empty values count as absent.
    EXPECT_EQ("u", Text(HalyxCopyUserNameFrom(nullptr, nullptr, "u", "l", false)));
    EXPECT_EQ("u", Text(HalyxCopyUserNameFrom("", "", "u", "l", true)));
    EXPECT_EQ("l", Text(HalyxCopyUserNameFrom(nullptr, "", "", "l", false)));
    EXPECT_EQ("l", Text(HalyxCopyUserNameFrom(nullptr, nullptr, nullptr, "l", true)));
    EXPECT_EQ("<null>", Text(HalyxCopyUserNameFrom("", "", "", "", false)));
    EXPECT_EQ("<null>", Text(HalyxCopyUserNameFrom(nullptr, nullptr, nullptr, nullptr, true)));
}

TEST(UserName, NamesAreReadAsUTF8ElseAsLatin1) {
    EXPECT_EQ("M\xC3\xBCller",
              Text(HalyxCopyUserNameFrom("M\xC3\xBCller,", "m", nullptr, nullptr, false)));
    // A lone 0xFC byte is not UTF-8: it is the Latin 1 u-umlaut.
    EXPECT_EQ("M\xC3\xBCller",
              Text(HalyxCopyUserNameFrom(nullptr, "M\xFCller", nullptr, nullptr, true)));
}

class UserNameFromProcess : public ::testing::Test {
protected:
    void SetUp() override {
        Save("USER", savedUser);
        Save("LOGNAME", savedLogname);
    }
    void TearDown() override {
        Restore("USER", savedUser);
        Restore("LOGNAME", savedLogname);
    }
    static void Save(const char* name, std::string& saved) {
        const char* value = getenv(name);
        saved = value != nullptr ? value : std::string(1, '\0');
    }
    static void Restore(const char* name, const std::string& saved) {
        if (saved.size() == 1 && saved[0] == '\0') {
            unsetenv(name);
        } else {
            setenv(name, saved.c_str(), 1);
        }
    }
    std::string savedUser;
    std::string savedLogname;
};

TEST_F(UserNameFromProcess, TheAccountDatabaseComesBeforeTheEnvironment) {
    setenv("USER", "from-user-variable", 1);
    setenv("LOGNAME", "from-logname-variable", 1);
    const struct passwd* account = getpwuid(getuid());
    if (account == nullptr || account->pw_name[0] == '\0') {
        // No account entry (a bare container): the variables stand in, $USER first.
        EXPECT_EQ("from-user-variable", Text(CSCopyUserName(true)));
        unsetenv("USER");
        EXPECT_EQ("from-logname-variable", Text(CSCopyUserName(true)));
        return;
    }
    std::string login = account->pw_name;
    std::string comment = account->pw_gecos != nullptr ? account->pw_gecos : "";
    std::string fullName = comment.substr(0, comment.find(','));
    EXPECT_EQ(login, Text(CSCopyUserName(true)));
    EXPECT_EQ(fullName.empty() ? login : fullName, Text(CSCopyUserName(false)));
}

}  // namespace

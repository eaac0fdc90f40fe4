#include "platform/user_defaults.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <sstream>

#include "support/temp_home.h"

namespace corvane::platform {
namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(UserDefaults, ValuesSurviveAWriteAndANewReader) {
    testing::TempHome home;
    {
        UserDefaults defaults(home.PreferencesFile());
        defaults.SetString("Checksum", "SHA512");
        defaults.SetInteger("HideDir", 1);
        ASSERT_TRUE(defaults.Synchronize());
    }
    UserDefaults reread(home.PreferencesFile());
    EXPECT_EQ(reread.StringForKey("Checksum"), "SHA512");
    EXPECT_EQ(reread.IntegerForKey("HideDir"), 1);
    EXPECT_EQ(reread.StringForKey("Missing"), std::nullopt);
    EXPECT_EQ(reread.IntegerForKey("Missing"), 0);
}

TEST(UserDefaults, WritesAnXmlPropertyListInAPrivateFolder) {
    testing::TempHome home;
    UserDefaults defaults(home.PreferencesFile());
    defaults.SetString("MalwareBazaar_LastModified", "Tue, 08 Dec 2026 10:00:00 GMT");
    ASSERT_TRUE(defaults.Synchronize());
    std::string xml = ReadFile(home.PreferencesFile());
    EXPECT_NE(xml.find("<plist"), std::string::npos);
    EXPECT_NE(xml.find("<key>MalwareBazaar_LastModified</key>"), std::string::npos);
    struct stat st {};
    ASSERT_EQ(stat((home.Path() + "/Library/Preferences").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
}

TEST(UserDefaults, ConvertsBetweenTextAndNumbersLikeTheSystemDefaults) {
    testing::TempHome home;
    UserDefaults defaults(home.PreferencesFile());
    defaults.SetInteger("DockStatus", 1);
    defaults.SetString("HideDir", "1");
    EXPECT_EQ(defaults.StringForKey("DockStatus"), "1");
    EXPECT_EQ(defaults.IntegerForKey("HideDir"), 1);
}

TEST(UserDefaults, AnUnreadableFileReadsAsEmptyAndIsReplacedWhole) {
    testing::TempHome home;
    std::filesystem::create_directories(home.Path() + "/Library/Preferences");
    std::ofstream(home.PreferencesFile()) << "not a property list";
    UserDefaults defaults(home.PreferencesFile());
    EXPECT_EQ(defaults.StringForKey("Checksum"), std::nullopt);
    defaults.SetString("Checksum", "MD5");
    ASSERT_TRUE(defaults.Synchronize());
    EXPECT_EQ(UserDefaults(home.PreferencesFile()).StringForKey("Checksum"), "MD5");
    // Nothing but the property list is left behind in the folder.
    int files = 0;
    for (auto& entry : std::filesystem::directory_iterator(home.Path() + "/Library/Preferences")) {
        (void)entry;
        ++files;
    }
    EXPECT_EQ(files, 1);
}

}  // namespace
}  // namespace corvane::platform

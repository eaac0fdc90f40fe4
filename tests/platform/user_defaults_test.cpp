#include "platform/user_defaults.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <sstream>

#include "platform/files.h"
#include "platform/text.h"
#include "support/planted_fifo.h"
#include "support/temp_home.h"
#include "support/whole_file.h"

namespace corvane::platform {
namespace {

using corvane::testing::ReadWholeFile;

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

// A FIFO in place of the preferences file holds nothing up and reads as no values; a write replaces it.
TEST(UserDefaults, AFifoInPlaceOfTheFileReadsAsNoValues) {
    testing::TempHome home;
    ASSERT_TRUE(MakeFolders(ParentFolder(home.PreferencesFile()), 0700));
    testing::PlantedFifo fifo(home.PreferencesFile());
    ASSERT_TRUE(fifo.made());
    UserDefaults defaults(home.PreferencesFile());
    EXPECT_EQ(defaults.StringForKey("Checksum"), std::nullopt);
    EXPECT_FALSE(fifo.HadToUnblock()) << "reading the preferences waited on the FIFO";
    defaults.SetString("Checksum", "SHA1");
    ASSERT_TRUE(defaults.Synchronize());
    EXPECT_EQ(UserDefaults(home.PreferencesFile()).StringForKey("Checksum"), "SHA1");
}

TEST(UserDefaults, WritesAnXmlPropertyListInAPrivateFolder) {
    testing::TempHome home;
    UserDefaults defaults(home.PreferencesFile());
    defaults.SetString("MalwareBazaar_LastModified", "Tue, 08 Dec 2026 10:00:00 GMT");
    ASSERT_TRUE(defaults.Synchronize());
    std::string xml = ReadWholeFile(home.PreferencesFile());
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

// Well-formed XML in UTF-8 as far as the text goes: valid UTF-8, and no control character but tab, line feed
// and carriage return.
bool IsXmlText(const std::string& text) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r') return false;
    }
    return ValidUtf8(text) == text;
}

struct StoredCase {
    const char* name;
    std::string value;
    std::string stored;
};

void PrintTo(const StoredCase& c, std::ostream* out) {
    *out << c.name;
}

class StoredTextTest : public ::testing::TestWithParam<StoredCase> {};

TEST_P(StoredTextTest, TheFileStaysXmlInUtf8AndTheValueReadsBackAsStorableText) {
    testing::TempHome home;
    const StoredCase& c = GetParam();
    {
        UserDefaults defaults(home.PreferencesFile());
        defaults.SetString("MalwareBazaar_LastModified", c.value);
        EXPECT_EQ(defaults.StringForKey("MalwareBazaar_LastModified"), c.stored);
        ASSERT_TRUE(defaults.Synchronize());
    }
    EXPECT_TRUE(IsXmlText(ReadWholeFile(home.PreferencesFile())));
    EXPECT_EQ(UserDefaults(home.PreferencesFile()).StringForKey("MalwareBazaar_LastModified"), c.stored);
    EXPECT_EQ(StorableText(c.value), c.stored);
    EXPECT_EQ(StorableText(c.stored), c.stored);
}

const std::string kReplacement = "\xEF\xBF\xBD";

INSTANTIATE_TEST_SUITE_P(
    Values, StoredTextTest,
    ::testing::Values(StoredCase{"Ascii", "Wed, 09 Dec 2026 08:00:00 GMT", "Wed, 09 Dec 2026 08:00:00 GMT"},
                      StoredCase{"Utf8", "Mi, 09 D\xC3\xA9z 2026", "Mi, 09 D\xC3\xA9z 2026"},
                      StoredCase{"Latin1Byte", "Mi, 09 D\xE9z 2026", "Mi, 09 D" + kReplacement + "z 2026"},
                      StoredCase{"ControlCharacters", "a\x01-\x1F\tc",
                                 "a" + kReplacement + "-" + kReplacement + "\tc"},
                      StoredCase{"Noncharacter", "x\xEF\xBF\xBE", "x" + kReplacement}),
    [](const ::testing::TestParamInfo<StoredCase>& paramInfo) { return paramInfo.param.name; });

}  // namespace
}  // namespace corvane::platform

#include "program/settings.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/event_loop.h"
#include "platform/user_defaults.h"
#include "program/ids.h"
#include "support/app_fixture.h"

namespace corvane {
namespace {

class SettingsTest : public testing::AppTest {
  protected:
    // Stores values as an earlier run of the program would have, in a file of its own.
    void StorePreferences(const std::function<void(platform::UserDefaults&)>& fill) {
        platform::UserDefaults earlier(home.PreferencesFile());
        fill(earlier);
        ASSERT_TRUE(earlier.Synchronize());
    }
    platform::UserDefaults Stored() { return platform::UserDefaults(home.PreferencesFile()); }
};

TEST_F(SettingsTest, WithoutAPreferencesFileTheDefaultsApplyAndNothingIsWritten) {
    ReadSettings();
    EXPECT_EQ(SelectedAlgorithm, "MD5");
    EXPECT_EQ(ShowDockTime, 0);
    EXPECT_EQ(UseShortPaths, 0);
    EXPECT_FALSE(std::filesystem::exists(home.PreferencesFile()));
}

TEST_F(SettingsTest, AFileWithoutChecksumLeavesTheAlgorithmEmpty) {
    StorePreferences([](auto& d) { d.SetString(kLastModifiedKey, "Mon, 07 Dec 2026 08:00:00 GMT"); });
    ReadSettings();
    EXPECT_EQ(SelectedAlgorithm, "");
    EXPECT_EQ(ShowDockTime, 0);
    EXPECT_EQ(UseShortPaths, 0);
}

TEST_F(SettingsTest, StoredValuesAreReadKeepingTheLowEightBits) {
    StorePreferences([](auto& d) {
        d.SetString(kChecksumKey, "SHA512");
        d.SetInteger(kDockStatusKey, 1);
        d.SetInteger(kHideDirKey, 257);
    });
    ReadSettings();
    EXPECT_EQ(SelectedAlgorithm, "SHA512");
    EXPECT_EQ(ShowDockTime, 1);
    EXPECT_EQ(UseShortPaths, 1);
}

TEST_F(SettingsTest, AFolderInPlaceOfThePreferencesFileCountsAsPresent) {
    std::filesystem::create_directories(home.PreferencesFile());
    ReadSettings();
    EXPECT_EQ(SelectedAlgorithm, "");
}

TEST_F(SettingsTest, HandlersStoreTheirSettingAtOnce) {
    BuildWindow();
    ui().UserSelectItem(kAlgorithmPopup, 4);
    HandleAlgorithmChange();
    EXPECT_EQ(Stored().StringForKey(kChecksumKey), "SHA512");

    ToggleShortPaths();
    EXPECT_EQ(Stored().IntegerForKey(kHideDirKey), 1);
    ToggleShortPaths();
    EXPECT_EQ(Stored().IntegerForKey(kHideDirKey), 0);

    ToggleDockTime();
    EXPECT_EQ(Stored().IntegerForKey(kDockStatusKey), 1);
    EXPECT_TRUE(ui().IsChecked(kDockTimeCheckbox));
}

}  // namespace
}  // namespace corvane

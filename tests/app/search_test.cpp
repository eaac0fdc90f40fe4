#include "app/search.h"

#include <gtest/gtest.h>

#include "app/event_loop.h"
#include "platform/events.h"
#include "program/events.h"
#include "program/ids.h"
#include "support/app_fixture.h"

namespace corvane {
namespace {

class SearchTest : public testing::AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        BuildWindow();
    }
    void Fill(std::initializer_list<const char*> names) {
        ui().ClearRows(kChecksumList);
        for (const char* name : names) ui().AppendRow(kChecksumList, {{name, "", "", "", ""}, false, name});
    }
    // The user types: the field's text changes and the loop gets the change.
    void Type(const std::string& text) {
        ui().UserSetText(kSearchField, text);
        DispatchEvent(ControlEvent(kSearchField, platform::kTextChange));
    }
    int Selected() { return ui().SelectedRow(kChecksumList); }
};

TEST_F(SearchTest, StartsAtTheThirdCharacterAndIgnoresCase) {
    Fill({"/u/Alpha.txt", "/u/Report.PDF", "/u/report2.txt"});
    Type("re");
    Type("  re  ");
    EXPECT_EQ(Selected(), -1);  // two characters once the blanks are gone
    Type("REP");
    EXPECT_EQ(Selected(), 1);
    EXPECT_EQ(ui().RevealedRow(kChecksumList), 1);
    EXPECT_EQ(SearchText, "rep");
    EXPECT_EQ(SearchLastRow, 1);
}

TEST_F(SearchTest, TheSameTermContinuesAfterTheLastMatchAndWrapsOnce) {
    Fill({"/u/report1", "/u/other", "/u/report2"});
    Type("report");
    EXPECT_EQ(Selected(), 0);
    Type("report ");  // a trailing blank leaves the term unchanged
    EXPECT_EQ(Selected(), 2);
    Type("REPORT");
    EXPECT_EQ(Selected(), 0);
}

// Keystrokes faster than the loop: each change posts its event, and the loop catches up afterwards.
TEST_F(SearchTest, QueuedKeystrokesStartTheNewTermAtTheFirstMatch) {
    Fill({"/etc/hostname", "/etc/passwd", "/etc/group"});
    auto post = [this](const std::string& text) {
        ui().UserSetText(kSearchField, text);
        platform::Events().Post(ControlEvent(kSearchField, platform::kTextChange));
    };
    auto catchUp = [] {
        while (auto event = platform::Events().Wait(0)) DispatchEvent(*event);
    };
    for (const char* text : {"/", "/e", "/et", "/etc", "/etc/"}) post(text);
    catchUp();
    EXPECT_EQ(Selected(), 0);
    EXPECT_EQ(SearchLastRow, 0);
    post("/etc/ ");  // the same term, typed after the loop caught up, moves on
    catchUp();
    EXPECT_EQ(Selected(), 1);
}

TEST_F(SearchTest, ASingleMatchIsFoundAgain) {
    Fill({"/u/a", "/u/unique", "/u/b"});
    Type("uniq");
    Type("UNIQ");
    EXPECT_EQ(Selected(), 1);
    EXPECT_EQ(SearchLastRow, 1);
}

TEST_F(SearchTest, ATermWithoutAMatchKeepsTheSelectionButBecomesTheTerm) {
    Fill({"/u/abc", "/u/abd"});
    Type("abd");
    ASSERT_EQ(Selected(), 1);
    Type("xyz");
    EXPECT_EQ(Selected(), 1);
    EXPECT_EQ(SearchText, "xyz");
    EXPECT_EQ(SearchLastRow, -1);
}

TEST_F(SearchTest, TermsAreCutToSixtyCharacters) {
    std::string name(70, 'a');
    Fill({("/u/" + name).c_str()});
    Type(name);
    EXPECT_EQ(Selected(), 0);
    EXPECT_EQ(SearchText, std::string(60, 'a'));
}

TEST_F(SearchTest, AnEmptyListSelectsNothingButTakesTheTerm) {
    Type("abc");
    EXPECT_EQ(Selected(), -1);
    EXPECT_EQ(SearchText, "abc");
}

TEST_F(SearchTest, ARefilledListContinuesAfterTheOldRowNumber) {
    Fill({"/x/a", "/x/b", "/x/c", "/x/d"});
    Type("/x/d");
    ASSERT_EQ(SearchLastRow, 3);
    Fill({"/x/d", "/x/d"});
    Type("/x/d ");
    EXPECT_EQ(Selected(), 0);  // row 4 lies beyond the end, so the search runs from the top
}

TEST_F(SearchTest, NonAsciiLettersMatchInAnyCase) {
    Fill({"/u/\xC3\x84rger.txt"});  // Ärger
    Type("\xC3\xA4rg");             // ärg
    EXPECT_EQ(Selected(), 0);
}

TEST_F(SearchTest, AReleasedFieldSearchesNoMore) {
    Fill({"/u/abc"});
    ReleaseSearchField();
    Type("abc");
    EXPECT_EQ(Selected(), -1);
    EXPECT_TRUE(NativeControls.empty());
}

}  // namespace
}  // namespace corvane

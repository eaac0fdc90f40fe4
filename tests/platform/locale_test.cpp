#include "platform/locale.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include "support/locale_for_testing.h"

namespace corvane::platform {
namespace {

struct EnvironmentCase {
    const char* lcAll;
    const char* lcTime;
    const char* lang;
    const char* identifier;
};

class LocaleFromEnvironment : public ::testing::TestWithParam<EnvironmentCase> {};

void SetOrUnset(const char* name, const char* value) {
    if (value) {
        setenv(name, value, 1);
    } else {
        unsetenv(name);
    }
}

// Each case runs in its own process, so the first capture sees exactly this environment.
TEST_P(LocaleFromEnvironment, TakesTheFirstSetVariableWithoutEncoding) {
    const EnvironmentCase& c = GetParam();
    SetOrUnset("LC_ALL", c.lcAll);
    SetOrUnset("LC_TIME", c.lcTime);
    SetOrUnset("LANG", c.lang);
    CaptureUserLocale();
    setenv("LANG", "fr_FR.UTF-8", 1);  // later changes do not count
    EXPECT_EQ(LocaleIdentifier(), c.identifier);
}

INSTANTIATE_TEST_SUITE_P(Cases, LocaleFromEnvironment,
                         ::testing::Values(EnvironmentCase{nullptr, nullptr, nullptr, "en_US"},
                                           EnvironmentCase{nullptr, nullptr, "en_CA.UTF-8", "en_CA"},
                                           EnvironmentCase{nullptr, "de_DE.UTF-8", "en_US.UTF-8", "de_DE"},
                                           EnvironmentCase{"en_GB.ISO-8859-1", "de_DE.UTF-8", "en_US.UTF-8",
                                                           "en_GB"},
                                           EnvironmentCase{nullptr, nullptr, "sr_RS@latin", "sr_RS"},
                                           EnvironmentCase{"", nullptr, "en_US.UTF-8", "en_US"},
                                           EnvironmentCase{nullptr, nullptr, "C", "en_US_POSIX"},
                                           EnvironmentCase{nullptr, nullptr, "C.UTF-8", "en_US_POSIX"}));

struct GroupingCase {
    const char* identifier;
    int64_t value;
    const char* text;
};

class GroupedNumber : public ::testing::TestWithParam<GroupingCase> {};

TEST_P(GroupedNumber, UsesTheLocalesSeparator) {
    SetLocaleIdentifierForTesting(GetParam().identifier);
    EXPECT_EQ(FormatGroupedNumber(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Cases, GroupedNumber,
                         ::testing::Values(GroupingCase{"en_US", 0, "0"}, GroupingCase{"en_US", 12, "12"},
                                           GroupingCase{"en_US", 999, "999"},
                                           GroupingCase{"en_US", 1000, "1,000"},
                                           GroupingCase{"en_US", 1234567, "1,234,567"},
                                           GroupingCase{"en_US", -1234, "-1,234"},
                                           GroupingCase{"de_DE", 1234567, "1.234.567"}));

}  // namespace
}  // namespace corvane::platform

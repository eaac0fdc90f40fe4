// A headless program with a fresh home folder and the shared state at its start-up values.
#pragma once

#include <gtest/gtest.h>

#include "app/main_window.h"
#include "app/settings.h"
#include "app/startup.h"
#include "platform/events.h"
#include "platform/headless/headless.h"
#include "platform/ui.h"
#include "support/temp_home.h"

namespace corvane::testing {

class AppTest : public ::testing::Test {
protected:
    void SetUp() override { InitializeSharedState(); }

    void BuildWindow() {
        ReadSettings();
        BuildMainWindow();
    }

    platform::Ui& ui() { return platform::TheUi(); }

    TempHome home;
    platform::HeadlessServices services;
};

}  // namespace corvane::testing

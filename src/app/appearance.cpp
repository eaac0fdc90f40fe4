#include "app/appearance.h"

#include "platform/application.h"
#include "platform/ui.h"
#include "program/ids.h"

namespace corvane {

namespace {
bool registered = false;
}

void RegisterAppearanceObserver() {
    platform::Application().SetAppearanceObserver(true);
    registered = true;
}

void RemoveAppearanceObserver() {
    if (!registered) return;
    platform::Application().SetAppearanceObserver(false);
    registered = false;
}

void ApplyStatusLineColors() {
    constexpr platform::Color kPaleYellow = 0xDFFEFF;  // red 255, green 254, blue 223
    constexpr platform::Color kBlack = 0;
    platform::TheUi().SetColors(kStatusLine, kPaleYellow, kBlack);
}

}  // namespace corvane

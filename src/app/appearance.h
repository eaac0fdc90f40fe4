// Following the desktop's light or dark appearance.
#pragma once

namespace corvane {

void RegisterAppearanceObserver();
void RemoveAppearanceObserver();
// The status line keeps a pale yellow background and black text in both appearances.
void ApplyStatusLineColors();

}  // namespace corvane

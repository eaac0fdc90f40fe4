// The About box.
#pragma once

namespace corvane {

void ShowAbout();

}  // namespace corvane

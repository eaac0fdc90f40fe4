// The program's own windows and controls: the numbers it gives them when it builds them.
#pragma once

#include "platform/ids.h"

namespace corvane {

// Windows.
inline constexpr platform::WindowId kMainWindow{1};
inline constexpr platform::WindowId kUpdateWindow{2};
inline constexpr platform::WindowId kExclusionsSheet{3};

// Main window, in creation order.
inline constexpr platform::ControlId kAlgorithmLabel{1};
inline constexpr platform::ControlId kExclusionsButton{2};
inline constexpr platform::ControlId kExportButton{3};
inline constexpr platform::ControlId kAlgorithmPopup{4};
inline constexpr platform::ControlId kSearchField{5};
inline constexpr platform::ControlId kClearFilesButton{6};
inline constexpr platform::ControlId kShortPathsCheckbox{7};
inline constexpr platform::ControlId kDockTimeCheckbox{8};
inline constexpr platform::ControlId kStatusLine{9};
inline constexpr platform::ControlId kChecksumList{10};
inline constexpr platform::ControlId kAbortButton{11};
inline constexpr platform::ControlId kRunProgressBar{12};
inline constexpr platform::ControlId kEtaLine{13};
inline constexpr platform::ControlId kAlgorithmHelpIcon{14};
inline constexpr platform::ControlId kShortPathsHelpIcon{15};
inline constexpr platform::ControlId kDockTimeHelpIcon{16};
inline constexpr platform::ControlId kSearchHelpIcon{17};
// Update window.
inline constexpr platform::ControlId kUpdateDialogText{18};
inline constexpr platform::ControlId kUpdateDialogBar{19};
// Exclusions sheet.
inline constexpr platform::ControlId kExclusionsLabel{20};
inline constexpr platform::ControlId kExclusionsEditor{21};
inline constexpr platform::ControlId kExclusionsCancel{22};
inline constexpr platform::ControlId kExclusionsSave{23};
inline constexpr platform::ControlId kExclusionsDefaults{24};

}  // namespace corvane

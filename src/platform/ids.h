// Program-wide handles of the windows and controls the program builds.
#pragma once

namespace corvane::platform {

enum class WindowId : int { None = 0, Main = 1, Update = 2, ExclusionsSheet = 3 };

enum class ControlId : int {
    None = 0,
    // Main window, in creation order.
    AlgorithmLabel,
    ExclusionsButton,
    ExportButton,
    AlgorithmPopup,
    SearchField,
    ClearFilesButton,
    ShortPathsCheckbox,
    DockTimeCheckbox,
    StatusLine,
    ChecksumList,
    AbortButton,
    RunProgressBar,
    EtaLine,
    AlgorithmHelpIcon,
    ShortPathsHelpIcon,
    DockTimeHelpIcon,
    SearchHelpIcon,
    // Update window.
    UpdateDialogText,
    UpdateDialogBar,
    // Exclusions sheet.
    ExclusionsLabel,
    ExclusionsEditor,
    ExclusionsCancel,
    ExclusionsSave,
    ExclusionsDefaults,
};

}  // namespace corvane::platform

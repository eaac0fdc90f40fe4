#include "inputs/run_start_controls.h"

#include "platform/ui.h"

namespace corvane {

void SetRunStartControls() {
    using platform::ControlId;
    auto& ui = platform::TheUi();
    for (ControlId id :
         {ControlId::ChecksumList, ControlId::ExportButton, ControlId::ShortPathsCheckbox,
          ControlId::DockTimeCheckbox, ControlId::AlgorithmPopup, ControlId::ClearFilesButton}) {
        ui.SetEnabled(id, false);
    }
    ui.SetEnabled(ControlId::AbortButton, true);
    for (ControlId id : {ControlId::ExclusionsButton, ControlId::SearchField, ControlId::SearchHelpIcon}) {
        ui.SetEnabled(id, false);
    }
}

}  // namespace corvane

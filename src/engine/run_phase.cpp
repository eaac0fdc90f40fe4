#include "engine/run_phase.h"

#include <array>
#include <cstddef>
#include <iterator>

#include "platform/ui.h"
#include "program/ids.h"

namespace corvane {

namespace {

using platform::ControlId;

enum Setting { Off, On, Same };

constexpr ControlId kRunControls[] = {
    kChecksumList,     kAlgorithmPopup,   kShortPathsCheckbox, kDockTimeCheckbox, kExportButton,
    kClearFilesButton, kExclusionsButton, kAbortButton,        kSearchField,      kSearchHelpIcon,
};

struct PhaseRow {
    RunPhase phase;
    std::array<Setting, std::size(kRunControls)> settings;  // in the order of kRunControls
};

// clang-format off
constexpr PhaseRow kPhaseTable[] = {
    //                       list  algo  short dock  export clear excl  abort search help
    {RunPhase::Idle,       {Off,  Same, Same, Same, Off,   Off,  Same, Off,  Off,   Off}},
    {RunPhase::Queued,     {Off,  Off,  Off,  Off,  Off,   Off,  Off,  On,   Off,   Off}},
    {RunPhase::Rerun,      {Off,  Off,  Off,  Same, Off,   Off,  Off,  On,   Same,  Same}},
    {RunPhase::Started,    {Same, Same, Same, Same, Same,  Same, Same, Same, Off,   Same}},
    {RunPhase::Cancelling, {Same, Same, Same, Same, Same,  Same, Same, Off,  Same,  Same}},
    {RunPhase::Completed,  {On,   On,   On,   On,   On,    On,   On,   Off,  On,    On}},
    {RunPhase::Aborted,    {Same, On,   On,   On,   Off,   On,   On,   Off,  Off,   Off}},
};
// clang-format on

constexpr bool RowsInPhaseOrder() {
    if (std::size(kPhaseTable) != static_cast<size_t>(RunPhase::Aborted) + 1) return false;
    for (size_t i = 0; i < std::size(kPhaseTable); ++i) {
        if (static_cast<size_t>(kPhaseTable[i].phase) != i) return false;
    }
    return true;
}
static_assert(RowsInPhaseOrder(), "kPhaseTable holds one row per phase, in the order of RunPhase");

}  // namespace

void SetControlsForPhase(RunPhase phase) {
    auto& ui = platform::TheUi();
    const PhaseRow& row = kPhaseTable[static_cast<size_t>(phase)];
    for (size_t i = 0; i < std::size(kRunControls); ++i) {
        if (row.settings[i] != Same) ui.SetEnabled(kRunControls[i], row.settings[i] == On);
    }
}

}  // namespace corvane

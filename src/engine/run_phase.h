// Which of the main window's controls are enabled in each phase of a run: the one place that decides it.
#pragma once

namespace corvane {

// The moments at which a run changes what the user may do.
enum class RunPhase {
    Idle,        // the window is new or Clear Files emptied it: nothing to export, clear, abort or search
    Queued,      // a drop or a paste is about to start a run: only Abort works
    Rerun,       // the same files again after a change of algorithm or name display
    Started,     // a run has begun: the search field waits for its rows
    Cancelling,  // Abort is waiting for the worker
    Completed,   // every file is done: everything but Abort works
    Aborted,     // the files are forgotten; the settings and Clear Files work again
};

// Enables and disables the run's controls as the phase says; the ones the phase leaves alone keep their
// state.
void SetControlsForPhase(RunPhase phase);

}  // namespace corvane

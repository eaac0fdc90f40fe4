// The program's one event queue: posted to from any thread, read by the main thread.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/ids.h"

namespace corvane::platform {

// The kinds of event a backend posts; the program numbers its own from kFirstProgramEvent on.
enum EventKind : int {
    kMenuEvent = 1,
    kCloseRequestEvent = 2,
    kControlEvent = 3,
    kSizeEvent = 6,
    kDropEvent = 10,
    kRestoreEvent = 14,
    kTimerEvent = 15,
    kFirstProgramEvent = 65536,
};

// Control event types a backend posts.
enum ControlEventType : int {
    kLeftClick = 0,
    kRightClick = 1,
    kSelectionChange = 768,
    kTextChange = 1000,
};

struct Event {
    int kind = 0;
    WindowId window = WindowId::None;
    int object = 0;  // control id, menu item or timer number, by kind
    int type = 0;    // control events only
    int64_t data = 0;
    std::string text;     // drops: the dropped paths, one per line (platform/path_lines.h)
    uint64_t serial = 0;  // worker notices: the number of the run that posted them
};

inline Event WindowEvent(int kind, WindowId window) {
    return Event{kind, window, 0, 0, 0, {}};
}
inline Event MakeMenuEvent(int item, WindowId window) {
    return Event{kMenuEvent, window, item, 0, 0, {}};
}
inline Event MakeControlEvent(ControlId control, int type, int64_t data, WindowId window) {
    return Event{kControlEvent, window, static_cast<int>(control), type, data, {}};
}

// What a backend provides so that the main thread's wait can run the toolkit's own loop.
class EventPump {
  public:
    virtual ~EventPump() = default;
    // Runs the toolkit until something may have arrived: an event of ours (Wake), the deadline, or work of
    // the toolkit's own. Spurious returns are fine.
    virtual void Block(std::optional<std::chrono::steady_clock::time_point> deadline) = 0;
    // Called from any thread after an event was posted.
    virtual void Wake() = 0;
};

class EventQueue {
  public:
    using Clock = std::chrono::steady_clock;

    // Adds the event at the end. A newer size event replaces the window's one still waiting; a text-change
    // event is dropped while one of the same control is still waiting (its handler reads the current text).
    void Post(Event event);
    Event Wait();
    std::optional<Event> Wait(int timeoutMs);

    // A repeating window timer; adding a number that exists replaces it. Its first event comes one
    // interval after it was added.
    void AddTimer(WindowId window, int number, int intervalMs);
    // Removes the timer and discards its events still waiting.
    void RemoveTimer(WindowId window, int number);
    bool HasTimer(WindowId window, int number) const;

    // Closed windows lose their pending events and take no new ones until opened again.
    void WindowClosed(WindowId window);
    void WindowOpened(WindowId window);

    size_t PendingCount() const;
    std::vector<Event> PendingEvents() const;
    void Clear();

    void SetPump(EventPump* pump);

  private:
    struct Timer {
        WindowId window;
        int number;
        Clock::duration interval;
        Clock::time_point due;
    };
    std::optional<Event> WaitUntil(std::optional<Clock::time_point> deadline);
    void FireDueTimers(Clock::time_point now);
    std::optional<Clock::time_point> NextTimerDue() const;

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Event> pending_;
    std::vector<Timer> timers_;
    std::set<WindowId> closed_;
    EventPump* pump_ = nullptr;
};

EventQueue& Events();

}  // namespace corvane::platform

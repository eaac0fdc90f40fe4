#include "platform/events.h"

#include <algorithm>

namespace corvane::platform {

EventQueue& Events() {
    static EventQueue queue;
    return queue;
}

namespace {

bool IsTextChange(const Event& event) {
    return event.kind == kControlEvent && event.type == kTextChange;
}

// A text-change event says only that the control's text changed; its handler reads the text the control
// holds when the event is taken. One waiting event therefore covers every later change of the same
// control, and a second one would make the handler see the same text twice.
bool TextChangeWaiting(const std::deque<Event>& pending, const Event& event) {
    return IsTextChange(event) && std::any_of(pending.begin(), pending.end(), [&](const Event& e) {
               return IsTextChange(e) && e.window == event.window && e.object == event.object;
           });
}

}  // namespace

void EventQueue::Post(Event event) {
    EventPump* pump;
    {
        std::lock_guard lock(mutex_);
        if (closed_.contains(event.window)) return;
        if (event.kind == kSizeEvent) {
            // A newer size event replaces the one still waiting.
            std::erase_if(pending_,
                          [&](const Event& e) { return e.kind == kSizeEvent && e.window == event.window; });
        }
        if (TextChangeWaiting(pending_, event)) return;
        pending_.push_back(std::move(event));
        pump = pump_;
    }
    changed_.notify_all();
    if (pump) pump->Wake();
}

Event EventQueue::Wait() {
    return *WaitUntil(std::nullopt);
}

std::optional<Event> EventQueue::Wait(int timeoutMs) {
    return WaitUntil(Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0)));
}

std::optional<Event> EventQueue::WaitUntil(std::optional<Clock::time_point> deadline) {
    std::unique_lock lock(mutex_);
    for (;;) {
        auto now = Clock::now();
        FireDueTimers(now);
        if (!pending_.empty()) {
            Event event = std::move(pending_.front());
            pending_.pop_front();
            return event;
        }
        if (deadline && now >= *deadline) return std::nullopt;
        auto until = NextTimerDue();
        if (deadline && (!until || *deadline < *until)) until = deadline;
        if (pump_) {
            EventPump* pump = pump_;
            lock.unlock();
            pump->Block(until);
            lock.lock();
        } else if (until) {
            changed_.wait_until(lock, *until);
        } else {
            changed_.wait(lock);
        }
    }
}

void EventQueue::FireDueTimers(Clock::time_point now) {
    for (auto& timer : timers_) {
        if (timer.due > now) continue;
        pending_.push_back(Event{kTimerEvent, timer.window, timer.number, 0, 0, {}});
        // Missed ticks are not made up for: one event, then the next interval from now.
        timer.due = now + timer.interval;
    }
}

std::optional<EventQueue::Clock::time_point> EventQueue::NextTimerDue() const {
    std::optional<Clock::time_point> next;
    for (const auto& timer : timers_) {
        if (!next || timer.due < *next) next = timer.due;
    }
    return next;
}

void EventQueue::AddTimer(WindowId window, int number, int intervalMs) {
    RemoveTimer(window, number);
    EventPump* pump;
    {
        std::lock_guard lock(mutex_);
        auto interval = std::chrono::milliseconds(intervalMs);
        timers_.push_back(Timer{window, number, interval, Clock::now() + interval});
        pump = pump_;
    }
    changed_.notify_all();
    if (pump) pump->Wake();
}

void EventQueue::RemoveTimer(WindowId window, int number) {
    std::lock_guard lock(mutex_);
    std::erase_if(timers_, [&](const Timer& t) { return t.window == window && t.number == number; });
    std::erase_if(pending_, [&](const Event& e) {
        return e.kind == kTimerEvent && e.window == window && e.object == number;
    });
}

bool EventQueue::HasTimer(WindowId window, int number) const {
    std::lock_guard lock(mutex_);
    return std::any_of(timers_.begin(), timers_.end(),
                       [&](const Timer& t) { return t.window == window && t.number == number; });
}

void EventQueue::WindowClosed(WindowId window) {
    std::lock_guard lock(mutex_);
    closed_.insert(window);
    std::erase_if(pending_, [&](const Event& e) { return e.window == window; });
    std::erase_if(timers_, [&](const Timer& t) { return t.window == window; });
}

void EventQueue::WindowOpened(WindowId window) {
    std::lock_guard lock(mutex_);
    closed_.erase(window);
}

size_t EventQueue::PendingCount() const {
    std::lock_guard lock(mutex_);
    return pending_.size();
}

std::vector<Event> EventQueue::PendingEvents() const {
    std::lock_guard lock(mutex_);
    return {pending_.begin(), pending_.end()};
}

void EventQueue::Clear() {
    std::lock_guard lock(mutex_);
    pending_.clear();
    timers_.clear();
    closed_.clear();
}

void EventQueue::SetPump(EventPump* pump) {
    std::lock_guard lock(mutex_);
    pump_ = pump;
}

}  // namespace corvane::platform

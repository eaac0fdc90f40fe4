#include "platform/events.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <thread>

#include "program/events.h"

namespace corvane::platform {
namespace {

Event SizeEvent(int64_t marker) {
    return Event{kSizeEvent, kMainWindow, 0, 0, marker, {}};
}

TEST(EventQueue, DeliversInArrivalOrderAcrossThreads) {
    EventQueue queue;
    std::thread poster([&] {
        for (int i = 0; i < 100; ++i) queue.Post(ControlEvent(kEtaLine, kWorkerProgress, i));
    });
    for (int i = 0; i < 100; ++i) EXPECT_EQ(queue.Wait().data, i);
    poster.join();
}

TEST(EventQueue, WaitWithTimeOutReturnsNothingWhenIdle) {
    EventQueue queue;
    EXPECT_FALSE(queue.Wait(5).has_value());
    queue.Post(MenuEvent(kPasteItem));
    auto event = queue.Wait(5);
    ASSERT_TRUE(event.has_value());
    EXPECT_EQ(event->object, kPasteItem);
}

TEST(EventQueue, KeepsOnlyTheNewestPendingSizeEventPerWindow) {
    EventQueue queue;
    queue.Post(SizeEvent(1));
    queue.Post(MenuEvent(kResetLayoutItem));
    queue.Post(SizeEvent(2));
    Event size2 = SizeEvent(3);
    size2.window = kUpdateWindow;
    queue.Post(size2);
    auto pending = queue.PendingEvents();
    ASSERT_EQ(pending.size(), 3u);
    EXPECT_EQ(pending[0].kind, kMenuEvent);
    EXPECT_EQ(pending[1].data, 2);
    EXPECT_EQ(pending[2].window, kUpdateWindow);
}

TEST(EventQueue, KeepsOneWaitingTextChangePerControl) {
    EventQueue queue;
    Event field = ControlEvent(kSearchField, kTextChange);
    Event editor = ControlEvent(kExclusionsEditor, kTextChange, 0, kExclusionsSheet);
    queue.Post(field);
    queue.Post(MenuEvent(kPasteItem));
    queue.Post(field);
    queue.Post(editor);
    queue.Post(ControlEvent(kSearchField, kLeftClick));
    queue.Post(editor);
    auto pending = queue.PendingEvents();
    ASSERT_EQ(pending.size(), 4u);
    EXPECT_EQ(pending[0].object, static_cast<int>(kSearchField));  // keeps its place
    EXPECT_EQ(pending[1].kind, kMenuEvent);
    EXPECT_EQ(pending[2].object, static_cast<int>(kExclusionsEditor));
    EXPECT_EQ(pending[3].type, kLeftClick);
    // Once taken, the next change is posted again.
    queue.Wait();
    queue.Post(field);
    EXPECT_EQ(queue.PendingEvents().back().type, kTextChange);
    EXPECT_EQ(queue.PendingCount(), 4u);
}

// A timer of interval 0 is due at every look, so these tests never wait for time to pass.
TEST(EventQueue, TimersFireRepeatedlyAndRemovalDiscardsTheirPendingEvents) {
    EventQueue queue;
    queue.AddTimer(kMainWindow, 2001, 0);
    for (int tick = 0; tick < 2; ++tick) {
        Event event = queue.Wait();
        EXPECT_EQ(event.kind, kTimerEvent);
        EXPECT_EQ(event.object, 2001);
    }

    queue.Post(MenuEvent(kPasteItem));
    EXPECT_EQ(queue.Wait().object, kPasteItem);  // the due timer fired into the queue behind it
    ASSERT_EQ(queue.PendingCount(), 1u);
    queue.RemoveTimer(kMainWindow, 2001);
    EXPECT_FALSE(queue.HasTimer(kMainWindow, 2001));
    EXPECT_EQ(queue.PendingCount(), 0u);
    EXPECT_FALSE(queue.Wait(0).has_value());
}

TEST(EventQueue, AddingATimerTwiceKeepsOne) {
    EventQueue queue;
    queue.AddTimer(kMainWindow, 2001, 0);
    queue.AddTimer(kMainWindow, 2001, 0);
    ASSERT_TRUE(queue.Wait(0).has_value());
    EXPECT_EQ(queue.PendingCount(), 0u);  // a second timer would have fired with the first
}

TEST(EventQueue, ClosedWindowsLoseTheirEvents) {
    EventQueue queue;
    Event progress{kUpdateProgressEvent, kUpdateWindow, 0, 0, 0, {}};
    queue.Post(progress);
    queue.Post(MenuEvent(kPasteItem));
    queue.WindowClosed(kUpdateWindow);
    queue.Post(progress);
    ASSERT_EQ(queue.PendingCount(), 1u);
    EXPECT_EQ(queue.Wait().object, kPasteItem);
    queue.WindowOpened(kUpdateWindow);
    queue.Post(progress);
    EXPECT_EQ(queue.PendingCount(), 1u);
}

// Whether the post comes before the wait or during it, the wait returns the event.
TEST(EventQueue, APostFromAnotherThreadReachesAWaitWithoutTimeOut) {
    EventQueue queue;
    std::thread poster([&] { queue.Post(MenuEvent(kQuitItem)); });
    EXPECT_EQ(queue.Wait().object, kQuitItem);
    poster.join();
}

// Stands in for a toolkit's loop: Block says when it has begun and lasts until Wake.
class WaitingPump : public EventPump {
  public:
    void Block(std::optional<std::chrono::steady_clock::time_point>) override {
        std::unique_lock lock(mutex_);
        blocked_ = true;
        changed_.notify_all();
        changed_.wait(lock, [this] { return woken_; });
        woken_ = false;
    }
    void Wake() override {
        std::lock_guard lock(mutex_);
        woken_ = true;
        changed_.notify_all();
    }
    void WaitUntilBlocked() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return blocked_; });
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool blocked_ = false;
    bool woken_ = false;
};

TEST(EventQueue, APostFromAnotherThreadWakesTheBlockedPump) {
    EventQueue queue;
    WaitingPump pump;
    queue.SetPump(&pump);
    std::thread poster([&] {
        pump.WaitUntilBlocked();
        queue.Post(MenuEvent(kQuitItem));
    });
    EXPECT_EQ(queue.Wait().object, kQuitItem);
    poster.join();
}

}  // namespace
}  // namespace corvane::platform

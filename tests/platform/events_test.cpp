#include "platform/events.h"

#include <gtest/gtest.h>

#include <thread>

namespace corvane::platform {
namespace {

Event SizeEvent(int64_t marker) { return Event{kSizeEvent, WindowId::Main, 0, 0, marker, {}}; }

TEST(EventQueue, DeliversInArrivalOrderAcrossThreads) {
    EventQueue queue;
    std::thread poster([&] {
        for (int i = 0; i < 100; ++i) queue.Post(ControlEvent(ControlId::EtaLine, kWorkerProgress, i));
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
    size2.window = WindowId::Update;
    queue.Post(size2);
    auto pending = queue.PendingEvents();
    ASSERT_EQ(pending.size(), 3u);
    EXPECT_EQ(pending[0].kind, kMenuEvent);
    EXPECT_EQ(pending[1].data, 2);
    EXPECT_EQ(pending[2].window, WindowId::Update);
}

TEST(EventQueue, KeepsOneWaitingTextChangePerControl) {
    EventQueue queue;
    Event field = ControlEvent(ControlId::SearchField, kTextChange);
    Event editor = ControlEvent(ControlId::ExclusionsEditor, kTextChange, 0, WindowId::ExclusionsSheet);
    queue.Post(field);
    queue.Post(MenuEvent(kPasteItem));
    queue.Post(field);
    queue.Post(editor);
    queue.Post(ControlEvent(ControlId::SearchField, kLeftClick));
    queue.Post(editor);
    auto pending = queue.PendingEvents();
    ASSERT_EQ(pending.size(), 4u);
    EXPECT_EQ(pending[0].object, static_cast<int>(ControlId::SearchField));  // keeps its place
    EXPECT_EQ(pending[1].kind, kMenuEvent);
    EXPECT_EQ(pending[2].object, static_cast<int>(ControlId::ExclusionsEditor));
    EXPECT_EQ(pending[3].type, kLeftClick);
    // Once taken, the next change is posted again.
    queue.Wait();
    queue.Post(field);
    EXPECT_EQ(queue.PendingEvents().back().type, kTextChange);
    EXPECT_EQ(queue.PendingCount(), 4u);
}

TEST(EventQueue, TimersFireRepeatedlyAndRemovalDiscardsTheirPendingEvents) {
    EventQueue queue;
    queue.AddTimer(WindowId::Main, 2001, 10);
    auto first = queue.Wait(200);
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(first->kind, kTimerEvent);
    EXPECT_EQ(first->object, 2001);
    EXPECT_TRUE(queue.Wait(200).has_value());

    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    queue.Post(MenuEvent(kPasteItem));  // fires the due timer into the queue behind it
    queue.RemoveTimer(WindowId::Main, 2001);
    EXPECT_FALSE(queue.HasTimer(WindowId::Main, 2001));
    for (const Event& e : queue.PendingEvents()) EXPECT_NE(e.kind, kTimerEvent);
    EXPECT_EQ(queue.Wait(5)->object, kPasteItem);
    EXPECT_FALSE(queue.Wait(40).has_value());
}

TEST(EventQueue, AddingATimerTwiceKeepsOne) {
    EventQueue queue;
    queue.AddTimer(WindowId::Main, 2001, 10);
    queue.AddTimer(WindowId::Main, 2001, 10);
    std::this_thread::sleep_for(std::chrono::milliseconds(15));
    ASSERT_TRUE(queue.Wait(0).has_value());
    EXPECT_FALSE(queue.Wait(0).has_value());
}

TEST(EventQueue, ClosedWindowsLoseTheirEvents) {
    EventQueue queue;
    Event progress{kUpdateProgressEvent, WindowId::Update, 0, 0, 0, {}};
    queue.Post(progress);
    queue.Post(MenuEvent(kPasteItem));
    queue.WindowClosed(WindowId::Update);
    queue.Post(progress);
    ASSERT_EQ(queue.PendingCount(), 1u);
    EXPECT_EQ(queue.Wait().object, kPasteItem);
    queue.WindowOpened(WindowId::Update);
    queue.Post(progress);
    EXPECT_EQ(queue.PendingCount(), 1u);
}

TEST(EventQueue, APostFromAnotherThreadWakesAWaitWithoutTimeOut) {
    EventQueue queue;
    std::thread poster([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        queue.Post(MenuEvent(kQuitItem));
    });
    EXPECT_EQ(queue.Wait().object, kQuitItem);
    poster.join();
}

}  // namespace
}  // namespace corvane::platform

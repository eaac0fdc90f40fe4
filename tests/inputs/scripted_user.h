// Stands in for the person at the exclusions sheet: each time the program waits for an event, the next
// scripted action is done, as a real backend would report it (the editor's text stored first, then the
// control event posted).
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>

#include "platform/events.h"
#include "platform/ui.h"
#include "program/events.h"
#include "program/ids.h"

namespace corvane::testing {

class ScriptedUser : public platform::EventPump {
  public:
    ScriptedUser() { platform::Events().SetPump(this); }
    ~ScriptedUser() override { platform::Events().SetPump(nullptr); }

    void Then(std::function<void()> action) { actions_.push_back(std::move(action)); }
    void Click(platform::ControlId button) {
        Then([button] { Post(button, platform::kLeftClick); });
    }
    void Type(const std::string& text) {
        Then([text] {
            platform::TheUi().UserSetText(kExclusionsEditor, text);
            Post(kExclusionsEditor, platform::kTextChange);
        });
    }

    void Block(std::optional<std::chrono::steady_clock::time_point>) override {
        if (actions_.empty()) {
            ADD_FAILURE() << "the program waits for more than the script holds";
            Post(kExclusionsCancel, platform::kLeftClick);
            return;
        }
        auto action = std::move(actions_.front());
        actions_.pop_front();
        action();
    }
    void Wake() override {}

    bool Done() const { return actions_.empty(); }

  private:
    static void Post(platform::ControlId control, int type) {
        platform::Events().Post(ControlEvent(control, type, 0, kExclusionsSheet));
    }

    std::deque<std::function<void()>> actions_;
};

}  // namespace corvane::testing

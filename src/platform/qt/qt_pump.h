// Runs Qt's event loop while the main thread waits on the program's event queue.
#pragma once

#include <condition_variable>
#include <mutex>

#include "platform/events.h"

namespace corvane::platform {

class QtEventPump : public EventPump {
  public:
    void Block(std::optional<std::chrono::steady_clock::time_point> deadline) override;
    void Wake() override;

  private:
    // Before the QApplication exists there is no Qt loop to run: a plain wait stands in for it.
    std::mutex mutex_;
    std::condition_variable woken_;
    bool wakePending_ = false;
};

}  // namespace corvane::platform

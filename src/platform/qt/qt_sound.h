// System sounds through the freedesktop sound theme (libcanberra), played on a thread of their own so
// that a slow or missing sound device never holds up the caller; without a device nothing is heard.
#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

namespace corvane::platform {

class SoundPlayer {
  public:
    SoundPlayer() = default;
    ~SoundPlayer();
    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;

    // Queues the sound theme's event ("bell", "complete"); returns at once.
    void Play(const std::string& eventId);

  private:
    void Run();

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::string> queue_;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace corvane::platform

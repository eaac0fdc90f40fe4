// The system sounds a backend plays.
#pragma once

namespace corvane::platform {

// System sound numbers.
constexpr int kAlertSound = 4096;
constexpr int kCompletionSound = 22;

class SoundService {
  public:
    virtual ~SoundService() = default;

    virtual void PlaySystemSound(int sound) = 0;
};

// The backend's sounds; installed by the backend (platform/services.h).
SoundService& Sounds();

}  // namespace corvane::platform

// The rest of the desktop a backend reaches: opening addresses, showing files in the file manager, the
// running applications and synthetic key presses.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace corvane::platform {

// The key code of V and the Command (here: Control) modifier flag of a synthetic key press.
constexpr int kKeyCodeV = 9;
constexpr int kKeyCodeCommand = 55;
constexpr uint64_t kCommandFlag = 0x100000;

class DesktopService {
  public:
    virtual ~DesktopService() = default;

    virtual void OpenUrl(const std::string& url) = 0;
    virtual void RevealFile(const std::string& path) = 0;
    virtual std::vector<std::string> RunningApplicationNames() = 0;
    virtual void LaunchApplication(const std::string& name) = 0;
    virtual void PostKeyPress(int keyCode, uint64_t flags) = 0;
};

// The backend's desktop; installed by the backend (platform/services.h).
DesktopService& Desktop();

}  // namespace corvane::platform

// The desktop's clipboard, as text.
#pragma once

#include <cstdint>
#include <string>

namespace corvane::platform {

class ClipboardService {
  public:
    virtual ~ClipboardService() = default;

    virtual std::string ClipboardText() = 0;
    virtual void SetClipboardText(const std::string& text) = 0;
    // Rises on every change of the clipboard, our own writes included.
    virtual int64_t ClipboardChangeCount() = 0;
};

// The backend's clipboard; installed by the backend (platform/services.h).
ClipboardService& Clipboard();

}  // namespace corvane::platform

#include "platform/qt/qt_sound.h"

#include <canberra.h>
#include <dlfcn.h>

#include <memory>

#include "platform/owned.h"

namespace corvane::platform {

namespace {

// ALSA reports a missing sound card on standard error; a sound that cannot be heard is not an error here.
void QuietAlsaErrors(const char*, int, const char*, int, const char*, ...) {}

using SoundContext = Owned<ca_context, ca_context_destroy>;

void SilenceAlsa() {
    void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_GLOBAL);
    if (!alsa) return;
    using SetHandler = int (*)(void (*)(const char*, int, const char*, int, const char*, ...));
    if (auto set = reinterpret_cast<SetHandler>(dlsym(alsa, "snd_lib_error_set_handler")))
        set(QuietAlsaErrors);
}

}  // namespace

SoundPlayer::~SoundPlayer() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
}

void SoundPlayer::Play(const std::string& eventId) {
    {
        std::lock_guard lock(mutex_);
        if (queue_.size() >= 8) return;  // a burst of sounds is heard once the device catches up, not forever
        queue_.push_back(eventId);
        if (!thread_.joinable()) thread_ = std::thread([this] { Run(); });
    }
    wake_.notify_all();
}

void SoundPlayer::Run() {
    SilenceAlsa();
    ca_context* created = nullptr;
    SoundContext context(ca_context_create(&created) == CA_SUCCESS ? created : nullptr);
    if (context) {
        ca_context_change_props(context.get(), CA_PROP_APPLICATION_NAME, "Corvane", CA_PROP_APPLICATION_ID,
                                "corvane", nullptr);
    }
    for (;;) {
        std::string eventId;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
            if (stopping_) break;
            eventId = queue_.front();
            queue_.pop_front();
        }
        if (context) ca_context_play(context.get(), 0, CA_PROP_EVENT_ID, eventId.c_str(), nullptr);
    }
}

}  // namespace corvane::platform

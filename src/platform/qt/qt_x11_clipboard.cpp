#include "platform/qt/qt_x11_clipboard.h"

#include <poll.h>
#include <xcb/xcb.h>

#include <QGuiApplication>
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace corvane::platform {

namespace {

using Clock = std::chrono::steady_clock;

template <typename T>
using XcbReply = std::unique_ptr<T, decltype(&std::free)>;

template <typename T>
XcbReply<T> Owned(T* reply) {
    return XcbReply<T>(reply, &std::free);
}

// One request for the selection: a connection and an unmapped window of our own to receive the answer on.
class SelectionReader {
  public:
    explicit SelectionReader(int timeoutMs)
        : timeout_(timeoutMs), connection_(xcb_connect(nullptr, &screen_)) {}
    ~SelectionReader() {
        if (window_) xcb_destroy_window(connection_, window_);
        xcb_disconnect(connection_);
    }
    SelectionReader(const SelectionReader&) = delete;
    SelectionReader& operator=(const SelectionReader&) = delete;

    bool Open() {
        if (xcb_connection_has_error(connection_)) return false;
        xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection_));
        for (int i = 0; i < screen_ && screens.rem > 1; ++i) xcb_screen_next(&screens);
        if (!screens.data) return false;
        window_ = xcb_generate_id(connection_);
        const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;  // for the chunks of a large answer
        xcb_create_window(connection_, XCB_COPY_FROM_PARENT, window_, screens.data->root, 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &events);
        clipboard_ = Atom("CLIPBOARD");
        property_ = Atom("CORVANE_CLIPBOARD");
        incr_ = Atom("INCR");
        return clipboard_ && property_ && incr_;
    }

    xcb_atom_t Atom(const char* name) {
        auto reply = Owned(xcb_intern_atom_reply(
            connection_, xcb_intern_atom(connection_, 0, static_cast<uint16_t>(strlen(name)), name),
            nullptr));
        return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    }

    bool HasOwner() {
        auto reply = Owned(xcb_get_selection_owner_reply(
            connection_, xcb_get_selection_owner(connection_, clipboard_), nullptr));
        return reply && reply->owner != XCB_WINDOW_NONE;
    }

    // The selection converted to the target; nothing when the owner refuses or does not answer in time.
    std::optional<std::string> Convert(xcb_atom_t target) {
        xcb_convert_selection(connection_, window_, clipboard_, target, property_, XCB_CURRENT_TIME);
        xcb_flush(connection_);
        auto notify = WaitFor(XCB_SELECTION_NOTIFY);
        if (!notify) return std::nullopt;
        auto* selection = reinterpret_cast<xcb_selection_notify_event_t*>(notify.get());
        if (selection->property == XCB_ATOM_NONE) return std::nullopt;
        xcb_atom_t type = XCB_ATOM_NONE;
        std::string value = TakeProperty(type);
        if (type != incr_) return value;
        // A large answer comes in chunks, each announced by a new value of the property; an empty one ends
        // it.
        std::string whole;
        for (;;) {
            if (!WaitFor(XCB_PROPERTY_NOTIFY)) return std::nullopt;
            std::string chunk = TakeProperty(type);
            if (chunk.empty()) return whole;
            whole += chunk;
        }
    }

  private:
    // Reads and deletes our property (the deletion asks the owner for the next chunk).
    std::string TakeProperty(xcb_atom_t& type) {
        auto reply =
            Owned(xcb_get_property_reply(connection_,
                                         xcb_get_property(connection_, 1, window_, property_,
                                                          XCB_GET_PROPERTY_TYPE_ANY, 0, UINT32_MAX / 4),
                                         nullptr));
        if (!reply) return {};
        type = reply->type;
        const char* bytes = static_cast<const char*>(xcb_get_property_value(reply.get()));
        return std::string(bytes, static_cast<size_t>(xcb_get_property_value_length(reply.get())));
    }

    // The next event of the kind that concerns our request, within the time-out.
    XcbReply<xcb_generic_event_t> WaitFor(uint8_t kind) {
        Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeout_);
        for (;;) {
            while (auto event = Owned(xcb_poll_for_event(connection_))) {
                if ((event->response_type & 0x7F) != kind) continue;
                if (kind == XCB_PROPERTY_NOTIFY) {
                    auto* change = reinterpret_cast<xcb_property_notify_event_t*>(event.get());
                    if (change->atom != property_ || change->state != XCB_PROPERTY_NEW_VALUE) continue;
                }
                return event;
            }
            auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
            if (left <= 0 || xcb_connection_has_error(connection_))
                return Owned<xcb_generic_event_t>(nullptr);
            pollfd socket{xcb_get_file_descriptor(connection_), POLLIN, 0};
            poll(&socket, 1, static_cast<int>(left));
        }
    }

    int timeout_;
    int screen_ = 0;
    xcb_connection_t* connection_;
    xcb_window_t window_ = XCB_WINDOW_NONE;
    xcb_atom_t clipboard_ = XCB_ATOM_NONE;
    xcb_atom_t property_ = XCB_ATOM_NONE;
    xcb_atom_t incr_ = XCB_ATOM_NONE;
};

// The owner's targets (an ATOM list).
std::vector<xcb_atom_t> Targets(SelectionReader& reader) {
    std::optional<std::string> list = reader.Convert(reader.Atom("TARGETS"));
    std::vector<xcb_atom_t> targets;
    if (!list) return targets;
    targets.resize(list->size() / sizeof(xcb_atom_t));
    list->copy(reinterpret_cast<char*>(targets.data()), targets.size() * sizeof(xcb_atom_t));
    return targets;
}

}  // namespace

std::optional<std::string> ReadX11ClipboardBytes(int timeoutMs) {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return std::nullopt;
    SelectionReader reader(timeoutMs);
    if (!reader.Open()) return std::nullopt;
    if (!reader.HasOwner()) return std::string();
    std::vector<xcb_atom_t> offered = Targets(reader);
    for (const char* name : {"UTF8_STRING", "text/plain;charset=utf-8", "text/plain", "STRING", "TEXT"}) {
        xcb_atom_t target = reader.Atom(name);
        if (!target || std::find(offered.begin(), offered.end(), target) == offered.end()) continue;
        std::string text = reader.Convert(target).value_or("");
        if (text.ends_with('\0')) text.pop_back();
        return text;
    }
    return std::string();
}

}  // namespace corvane::platform

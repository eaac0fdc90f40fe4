#include "platform/qt/qt_x11_window_hints.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QWidget>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace corvane::platform {

namespace {

// The Motif window manager hints: flags, functions, decorations, input mode, status.
constexpr uint32_t kHintsFunctions = 1U << 0;
constexpr uint32_t kHintsDecorations = 1U << 1;
constexpr uint32_t kFunctionMove = 1U << 2;
constexpr uint32_t kDecorationBorder = 1U << 1;
constexpr uint32_t kDecorationTitle = 1U << 3;

xcb_atom_t InternAtom(xcb_connection_t* connection, const char* name) {
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(connection,
                              xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name),
                              nullptr),
        &std::free);
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

}  // namespace

void RequestMoveOnlyDecorations(QWidget* window) {
    if (!qGuiApp || !window || QGuiApplication::platformName() != QLatin1String("xcb")) return;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection) return;
    xcb_atom_t hints = InternAtom(connection, "_MOTIF_WM_HINTS");
    if (hints == XCB_ATOM_NONE) return;
    const std::array<uint32_t, 5> values{kHintsFunctions | kHintsDecorations, kFunctionMove,
                                         kDecorationBorder | kDecorationTitle, 0, 0};
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(window->winId()), hints,
                        hints, 32, static_cast<uint32_t>(values.size()), values.data());
    xcb_flush(connection);
}

}  // namespace corvane::platform

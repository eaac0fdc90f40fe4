// Another X client's clipboard text as the bytes it offers. Qt decodes X selections before handing them on
// (UTF8_STRING as UTF-8, STRING as Latin-1), which turns the bytes of a file name that is not UTF-8 into
// U+FFFD or into other bytes; this asks the X server itself, on a connection of its own.
#pragma once

#include <optional>
#include <string>

namespace corvane::platform {

// The CLIPBOARD selection's text in the first target its owner offers of UTF8_STRING,
// "text/plain;charset=utf-8", "text/plain", STRING and TEXT, without a terminating zero byte; "" when there
// is no owner, no such target or no answer within timeoutMs. Nothing when Qt does not run on X11 or the
// display cannot be reached. Never call it while this program owns the selection: the owner would be the
// waiting main thread.
std::optional<std::string> ReadX11ClipboardBytes(int timeoutMs);

}  // namespace corvane::platform

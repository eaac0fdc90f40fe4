// Downloads an HTTP(S) address into a file (libcurl).
#pragma once

#include <chrono>
#include <string>

namespace corvane::platform {

struct DownloadOptions {
    std::string userAgent;
    std::chrono::milliseconds connectTimeout{30000};
    // The transfer fails when no byte has arrived for this long; there is no limit on the whole transfer.
    std::chrono::milliseconds stallLimit{60000};
};

// Writes the body of the address (redirects followed, http and https only) to the open file descriptor.
// Succeeds when the transfer ended without a transport error and with an HTTP status below 400, so an
// error page is never taken for the content. The caller owns the file and deletes it after a failure.
bool DownloadToFile(const std::string& url, int fd, const DownloadOptions& options);

// The program is ending: every download in progress fails at once, wherever it waits (name resolution,
// connection, a stalled transfer), and none starts any more.
void CancelDownloads();

}  // namespace corvane::platform

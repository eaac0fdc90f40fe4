#include "platform/download.h"

#include <curl/curl.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <set>
#include <string_view>

#include "platform/fd_io.h"
#include "platform/owned.h"

namespace corvane::platform {

namespace {

using Clock = std::chrono::steady_clock;

struct Transfer {
    int fd;
    std::chrono::milliseconds stallLimit;
    curl_off_t lastReceived = 0;
    Clock::time_point lastArrival = Clock::now();
};

size_t WriteBody(char* data, size_t size, size_t count, void* user) {
    auto* transfer = static_cast<Transfer*>(user);
    size_t total = size * count;
    // A short count makes libcurl fail the transfer.
    return WriteAll(transfer->fd, std::string_view(data, total)) ? total : 0;
}

// libcurl calls this about once a second even while nothing arrives; a non-zero answer aborts.
int WatchForStall(void* user, curl_off_t, curl_off_t received, curl_off_t, curl_off_t) {
    auto* transfer = static_cast<Transfer*>(user);
    auto now = Clock::now();
    if (received != transfer->lastReceived) {
        transfer->lastReceived = received;
        transfer->lastArrival = now;
        return 0;
    }
    return now - transfer->lastArrival >= transfer->stallLimit ? 1 : 0;
}

// The transfers in progress, so that CancelDownloads can wake each one's wait.
std::mutex transfersMutex;
std::set<CURLM*> activeTransfers;
std::atomic<bool> downloadsCancelled{false};

using EasyHandle = Owned<CURL, curl_easy_cleanup>;
using MultiHandle = Owned<CURLM, curl_multi_cleanup>;

// Listed while it runs; a transfer listed after the cancel is refused.
class ListedTransfer {
  public:
    explicit ListedTransfer(CURLM* multi) : multi_(multi) {
        std::lock_guard lock(transfersMutex);
        listed_ = !downloadsCancelled;
        if (listed_) activeTransfers.insert(multi_);
    }
    ~ListedTransfer() {
        std::lock_guard lock(transfersMutex);
        activeTransfers.erase(multi_);
    }
    ListedTransfer(const ListedTransfer&) = delete;
    ListedTransfer& operator=(const ListedTransfer&) = delete;
    bool listed() const { return listed_; }

  private:
    CURLM* multi_;
    bool listed_ = false;
};

// Runs the transfer until it ends or the downloads are cancelled; its result, or an abort.
CURLcode Perform(CURLM* multi) {
    ListedTransfer transfer(multi);
    if (!transfer.listed()) return CURLE_ABORTED_BY_CALLBACK;
    while (!downloadsCancelled) {
        int running = 0;
        if (curl_multi_perform(multi, &running) != CURLM_OK) return CURLE_FAILED_INIT;
        if (running == 0) {
            int left = 0;
            while (CURLMsg* message = curl_multi_info_read(multi, &left)) {
                if (message->msg == CURLMSG_DONE) return message->data.result;
            }
            return CURLE_FAILED_INIT;
        }
        // At most a second, so that the stall watch is asked even while nothing arrives.
        if (curl_multi_poll(multi, nullptr, 0, 1000, nullptr) != CURLM_OK) return CURLE_FAILED_INIT;
    }
    return CURLE_ABORTED_BY_CALLBACK;
}

void InitializeCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

}  // namespace

bool DownloadToFile(const std::string& url, int fd, const DownloadOptions& options) {
    InitializeCurlOnce();
    EasyHandle handle(curl_easy_init());
    CURL* curl = handle.get();
    if (!curl) return false;
    Transfer transfer{fd, options.stallLimit};
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(options.connectTimeout.count()));
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_USERAGENT, options.userAgent.c_str());
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, WriteBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, WatchForStall);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &transfer);

    bool ok = false;
    if (MultiHandle multi{curl_multi_init()}; multi && curl_multi_add_handle(multi.get(), curl) == CURLM_OK) {
        ok = Perform(multi.get()) == CURLE_OK;
        curl_multi_remove_handle(multi.get(), curl);
    }
    long status = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    return ok && status < 400;
}

void CancelDownloads() {
    std::lock_guard lock(transfersMutex);
    downloadsCancelled = true;
    for (CURLM* multi : activeTransfers) curl_multi_wakeup(multi);
}

}  // namespace corvane::platform

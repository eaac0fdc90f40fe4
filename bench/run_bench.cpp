// A whole run of 10,000 files of 1 KiB through the headless backend, the main thread handling every
// notice as the event loop does. Reports the time per file beyond the worker's 2 ms pause.
//
//   build/bench/run_bench [--benchmark_repetitions=3]
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/event_loop.h"
#include "app/main_window.h"
#include "app/startup.h"
#include "engine/checksum_worker.h"
#include "engine/run_control.h"
#include "engine/run_state.h"
#include "platform/events.h"
#include "platform/headless/headless.h"
#include "platform/ui.h"
#include "program/events.h"

namespace {

constexpr int kFiles = 10000;

std::string MakeFiles(const std::string& folder) {
    std::filesystem::create_directories(folder);
    std::string list;
    std::string content(1024, 'x');
    for (int i = 0; i < kFiles; ++i) {
        std::string path = folder + "/file" + std::to_string(i) + ".bin";
        content[0] = static_cast<char>(i);
        std::ofstream(path, std::ios::binary) << content;
        list += (i ? "\n" : "") + path;
    }
    return list;
}

void BM_Run10000Files(benchmark::State& state, const char* algorithm) {
    corvane::platform::HeadlessServices services;
    char home[] = "/tmp/corvane-run-bench-XXXXXX";
    std::string root = mkdtemp(home);
    setenv("HOME", root.c_str(), 1);
    corvane::InitializeSharedState();
    corvane::BuildMainWindow();
    std::string list = MakeFiles(root + "/files");
    corvane::platform::TheUi().SelectItemWithTitle(corvane::kAlgorithmPopup, algorithm);

    int64_t notices = 0;
    double elapsedMs = 0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        corvane::FilePathList = list;
        corvane::StartChecksumRun();
        while (corvane::LiveWorkers > 0 || corvane::platform::Events().PendingCount() > 0) {
            if (auto event = corvane::platform::Events().Wait(5)) {
                if (event->type == corvane::kWorkerProgress) ++notices;
                corvane::DispatchEvent(*event);
            }
        }
        elapsedMs +=
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    }
    auto runs = static_cast<double>(state.iterations());
    double perFile = elapsedMs / runs / kFiles;
    state.counters["rows"] = static_cast<double>(corvane::platform::TheUi().RowCount(corvane::kChecksumList));
    state.counters["notices_per_run"] = static_cast<double>(notices) / runs;
    state.counters["ms_per_file"] = perFile;
    state.counters["ms_per_file_beyond_2ms"] = perFile - 2.0;
    std::filesystem::remove_all(root);
}

}  // namespace

BENCHMARK_CAPTURE(BM_Run10000Files, MD5, "MD5")->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK_CAPTURE(BM_Run10000Files, SHA256, "SHA256")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

BENCHMARK_MAIN();

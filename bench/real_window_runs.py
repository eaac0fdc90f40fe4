#!/usr/bin/env python3
"""Times runs of the real program on folders of small files, from outside, through /proc.

Used by real_window_bench.sh, which starts the program on a private X display. For each folder and each
repetition it copies the folder's path to the clipboard (the program's clipboard watcher starts the run),
finds the worker thread as the new thread of the process that lives longest, and measures:

- per file beyond the pause: the worker thread's life divided by the number of files, less the 2 ms pause;
- main-thread CPU per file: the main thread's CPU time (schedstat) from the worker's start until the main
  thread has settled after the worker's end, divided by the number of files;
- lag: how long the main thread kept working after the worker had ended;
- RSS after Clear Files: VmRSS a moment after a click on the Clear Files button, and how much of the RSS
  growth since the previous measurement stays per file processed.

Prints one Markdown table row per run and a line of medians per folder.
"""
import argparse
import os
import statistics
import subprocess
import sys
import time

PAUSE_MS = 2.0


def tasks(pid):
    try:
        return set(os.listdir(f"/proc/{pid}/task"))
    except FileNotFoundError:
        sys.exit("the program ended")


def cpu_ns(pid, tid):
    """The thread's CPU time in nanoseconds, or None once it has gone."""
    try:
        with open(f"/proc/{pid}/task/{tid}/schedstat") as f:
            return int(f.read().split()[0])
    except (FileNotFoundError, ProcessLookupError):
        return None


def rss_kib(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return 0


def copy_to_clipboard(text):
    # xclip stays behind to serve the selection until another client takes it.
    subprocess.run(["xclip", "-selection", "clipboard"], input=text.encode(), check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def click_clear_files(window):
    # The button sits 120 px from the right edge and 35 px from the bottom, 100 x 25.
    geometry = subprocess.run(["xdotool", "getwindowgeometry", "--shell", window], check=True,
                              capture_output=True, text=True).stdout
    values = dict(line.split("=", 1) for line in geometry.split())
    x, y = int(values["WIDTH"]) - 70, int(values["HEIGHT"]) - 22
    subprocess.run(["xdotool", "mousemove", "--window", window, str(x), str(y), "click", "1"], check=True)


def time_one_run(pid, folder, min_life=0.3, start_timeout=20.0, run_timeout=3600.0):
    main = str(pid)
    known = tasks(pid)
    copy_to_clipboard(folder)
    seen = {}  # tid -> (first seen, main CPU then)
    last_cpu = {}
    worker = None
    deadline = time.monotonic() + start_timeout
    while True:
        now = time.monotonic()
        current = tasks(pid)
        for tid in current - known:
            if tid not in seen:
                seen[tid] = (now, cpu_ns(pid, main))
            if worker is None and now - seen[tid][0] >= min_life:
                worker = tid
        for tid in current:
            if tid in seen:
                value = cpu_ns(pid, tid)
                if value is not None:
                    last_cpu[tid] = value
        if worker is not None and worker not in current:
            end = now
            break
        if worker is None and now > deadline:
            sys.exit(f"no worker thread within {start_timeout} s of copying {folder}")
        if now - deadline > run_timeout:
            sys.exit("the run did not end")
        time.sleep(0.001)
    start, main_at_start = seen[worker]
    # The main thread may still be working through notices: wait until its CPU time stands still.
    previous = cpu_ns(pid, main)
    settled = time.monotonic()
    while True:
        time.sleep(0.25)
        value = cpu_ns(pid, main)
        if value - previous < 2_000_000:
            break
        previous = value
        settled = time.monotonic()
    return {
        "life": end - start,
        "main_cpu": (previous - main_at_start) / 1e9,
        "worker_cpu": last_cpu.get(worker, 0) / 1e9,
        "lag": max(0.0, settled - end),
    }


def load():
    with open("/proc/loadavg") as f:
        return " ".join(f.read().split()[:3])


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--pid", type=int, required=True)
    parser.add_argument("--window", required=True)
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("folders", nargs="+", help="folders of files, each run --runs times")
    args = parser.parse_args()

    print("| files | run | worker life s | ms/file beyond pause | main CPU ms/file | worker CPU ms/file "
          "| main lag s | RSS after Clear Files MiB | KiB/file kept | load |")
    print("|---|---|---|---|---|---|---|---|---|---|")
    previous_rss = rss_kib(args.pid)
    print(f"| | start | | | | | | {previous_rss / 1024:.1f} | | {load()} |")
    medians = []
    for folder in args.folders:
        count = len(os.listdir(folder))
        rows = []
        for run in range(1, args.runs + 1):
            result = time_one_run(args.pid, folder)
            time.sleep(0.5)
            click_clear_files(args.window)
            time.sleep(2.0)
            rss = rss_kib(args.pid)
            row = {
                "beyond": result["life"] * 1000 / count - PAUSE_MS,
                "main": result["main_cpu"] * 1000 / count,
                "kept": (rss - previous_rss) / count,
            }
            rows.append(row)
            previous_rss = rss
            print(f"| {count} | {run} | {result['life']:.2f} | {row['beyond']:.3f} | {row['main']:.3f} "
                  f"| {result['worker_cpu'] * 1000 / count:.3f} | {result['lag']:.2f} | {rss / 1024:.1f} "
                  f"| {row['kept']:.2f} | {load()} |", flush=True)
        medians.append((count, {key: statistics.median(r[key] for r in rows) for key in rows[0]}))
    print()
    for count, m in medians:
        print(f"{count} files, medians of {args.runs}: {m['beyond']:.3f} ms/file beyond the pause, "
              f"{m['main']:.3f} ms main-thread CPU/file, {m['kept']:.2f} KiB/file kept after Clear Files")


if __name__ == "__main__":
    main()

#pragma once
// What every benchmark file shares: the one QApplication of the run, and working folders that
// live for the whole run.
#include <stdlib.h>

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace mitoran::bench {

// The running application, made by main() (bench_main.cpp) before the first benchmark and
// destroyed after the last, while the rest of Qt is still there: an application left to static
// destruction at exit outlives parts of Qt it needs and crashes on the way out. Benchmarks that
// need windows, events or timers call this first.
QApplication& application();

// A temporary folder for files that several runs of a benchmark read. The data files are named
// relative to the working folder (names reaching outside it are refused), and other benchmarks
// move the working folder between runs, so each benchmark enters its folder before it starts.
class BenchFolder {
  public:
    explicit BenchFolder(const std::string& tag) {
        std::string pattern = "/tmp/mitoran-bench-" + tag + "-XXXXXX";
        if (!::mkdtemp(pattern.data())) {
            std::perror("bench: mkdtemp");
            std::abort();
        }
        path_ = pattern;
        enter();
    }
    ~BenchFolder() {
        std::error_code ec;
        std::filesystem::current_path(std::filesystem::temp_directory_path(), ec);
        std::filesystem::remove_all(path_, ec);
    }
    BenchFolder(const BenchFolder&) = delete;
    BenchFolder& operator=(const BenchFolder&) = delete;

    void enter() const { std::filesystem::current_path(path_); }
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

}  // namespace mitoran::bench

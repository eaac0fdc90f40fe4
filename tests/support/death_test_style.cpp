// Death tests fork while worker threads may exist; the thread-safe style re-runs the test in a fresh process.
// The flag is set from a global environment, which runs after GoogleTest has constructed its flags and read
// the command line: an assignment at static initialisation could run before the flag's own construction,
// which then put back the default (and leaked the assigned text).
// Such a child leaves through exit() without removing the folders it made, so every test program keeps its
// temporary folders in one folder of its own (TMPDIR), which the program, not a child, removes at its end.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <system_error>

namespace {

class DeathTestEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        if (!GTEST_FLAG_GET(internal_run_death_test).empty()) return;  // a child: TMPDIR is the parent's
        std::string pattern = (std::filesystem::temp_directory_path() / "corvane-tests-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) return;
        root_ = pattern;
        setenv("TMPDIR", root_.c_str(), 1);
    }
    void TearDown() override {
        std::error_code ignored;
        if (!root_.empty()) std::filesystem::remove_all(root_, ignored);
    }

  private:
    std::string root_;
};

// GoogleTest owns the environment from here on.
[[maybe_unused]] ::testing::Environment* const kDeathTestEnvironment =
    ::testing::AddGlobalTestEnvironment(new DeathTestEnvironment);

}  // namespace

// A temporary folder for one test, with HOME pointing into it and the shared state at its start values.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/startup.h"

namespace corvane::testing {

class TempFolderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "corvane-inputs-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
        std::filesystem::create_directory(root_ + "/home");
        setenv("HOME", (root_ + "/home").c_str(), 1);
        InitializeSharedState();
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }

    // A path below the temporary folder.
    std::string Path(const std::string& relative) const { return root_ + "/" + relative; }
    std::string MakeFolder(const std::string& relative) const {
        std::filesystem::create_directories(Path(relative));
        return Path(relative);
    }
    std::string MakeFile(const std::string& relative, const std::string& content = "data") const {
        std::filesystem::create_directories(std::filesystem::path(Path(relative)).parent_path());
        std::ofstream(Path(relative), std::ios::binary) << content;
        return Path(relative);
    }
    std::string MakeLink(const std::string& target, const std::string& relative) const {
        std::filesystem::create_symlink(target, Path(relative));
        return Path(relative);
    }

    std::string root_;
};

}  // namespace corvane::testing

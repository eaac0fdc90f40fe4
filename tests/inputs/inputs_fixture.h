// A headless program with a fresh home folder, plus helpers that make files, folders and links in it.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "program/ids.h"
#include "support/app_fixture.h"

namespace corvane::testing {

class InputsTest : public AppTest {
  protected:
    // A path below the temporary home folder.
    std::string Path(const std::string& relative) const { return home.Path() + "/" + relative; }
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
    static std::string ReadFile(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // The controls of a run that has just started: everything off but Abort.
    static void ExpectRunStartControls() {
        auto& ui = platform::TheUi();
        using platform::ControlId;
        for (ControlId id :
             {kChecksumList, kExportButton, kShortPathsCheckbox, kDockTimeCheckbox, kAlgorithmPopup,
              kClearFilesButton, kExclusionsButton, kSearchField, kSearchHelpIcon}) {
            EXPECT_FALSE(ui.IsEnabled(id)) << static_cast<int>(id);
        }
        EXPECT_TRUE(ui.IsEnabled(kAbortButton));
    }
};

}  // namespace corvane::testing

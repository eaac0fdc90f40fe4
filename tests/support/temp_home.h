// A fresh home folder for one test: HOME and XDG_DATA_HOME point into a temporary directory that is
// removed afterwards.
#pragma once

#include <stdlib.h>

#include <string>

#include "support/temp_folder.h"

namespace corvane::testing {

class TempHome {
  public:
    TempHome() {
        setenv("HOME", folder_.path().c_str(), 1);
        setenv("XDG_DATA_HOME", (folder_.path() + "/.local/share").c_str(), 1);
    }

    const std::string& Path() const { return folder_.path(); }
    std::string PreferencesFile() const { return Path() + "/Library/Preferences/com.veltrane.Corvane.plist"; }

  private:
    TempFolder folder_;
};

}  // namespace corvane::testing

// The settings kept in the user defaults, and their values in memory.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

namespace corvane {

inline const char* const kChecksumKey = "Checksum";
inline const char* const kDockStatusKey = "DockStatus";
inline const char* const kHideDirKey = "HideDir";
inline const char* const kLastModifiedKey = "MalwareBazaar_LastModified";

// The chosen algorithm's name; "" when the preferences file exists without a "Checksum" value.
inline std::string SelectedAlgorithm;
// 1: the badge shows the time left; 0: the percentage.
inline std::atomic<uint8_t> ShowDockTime{0};
// 1: the list shows parent folder and file name; 0: the full path.
inline std::atomic<uint8_t> UseShortPaths{0};

std::string ReadStringSetting(const std::string& key);
int64_t ReadIntegerSetting(const std::string& key);
void WriteStringSetting(const std::string& key, const std::string& value);
void WriteIntegerSetting(const std::string& key, int64_t value);

// Start-up: the three settings from the user defaults, or their defaults when there is no preferences file.
void ReadSettings();

}  // namespace corvane

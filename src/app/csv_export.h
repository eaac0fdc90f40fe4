// Exporting the list as a CSV file.
#pragma once

#include <ctime>
#include <string>

namespace corvane {

// One cell as a quoted CSV field: tabs, line feeds and carriage returns become blanks, quotes are doubled.
std::string QuoteCsvField(const std::string& cell);
// The current local date and time, month first for en_US and en_CA, day first otherwise, in the locale's
// calendar and digits.
std::string ExportDateText();
std::string ExportDateText(std::time_t when, const std::string& localeIdentifier);
// The name part of the chosen path without the characters that make trouble in file names.
std::string CleanExportFileName(const std::string& name);
// The Export Checksums button: asks for a file and writes every row of the list into it.
void ExportChecksums();

}  // namespace corvane

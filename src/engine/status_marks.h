// The texts of the list's "Status" column.
#pragma once

namespace corvane {

// Not in the malware database.
inline const char* const OkMark = "\xE2\x9C\x85";  // U+2705
// In the malware database; the row is red.
inline const char* const ThreatMark = "\xE2\x9D\x97\xEF\xB8\x8F";  // U+2757 U+FE0F
// Never produced here; a row carrying it is red like a threat and the export maps it.
inline const char* const SuspiciousMark = "\xE2\x9A\xA0\xEF\xB8\x8F";  // U+26A0 U+FE0F
// The checksum column holds an error text, or the checksum could not be looked up in the malware database.
inline const char* const ErrorMark = "  \xE2\x9D\x8C";  // two blanks, U+274C

}  // namespace corvane

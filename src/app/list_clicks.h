// Clicks on the list's rows: a left click copies the checksum, a right click reveals the file.
#pragma once

namespace corvane {

void CopySelectedChecksum();
void RevealSelectedFile();

}  // namespace corvane

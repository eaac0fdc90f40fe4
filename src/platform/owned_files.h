// Files at fixed names in a folder that other users can write to (such as /tmp/). Such a file is never
// opened through a symbolic link, never used when another user owns it, when it is not a regular file or
// when it has a second name (a hard link): it then counts as missing. Files made here are new, mode 0600.
#pragma once

#include <cstdint>
#include <string>

namespace corvane::platform {

// A read-only descriptor, or -1. The descriptors made here are the caller's to close (a UniqueFd holds one).
int OpenOwnedFileForReading(const std::string& path);
// A write-only descriptor of a new, empty file (0600) at the path: this user's entry standing there is
// removed first, so that nothing is written through an existing name (a hard link to another file of the
// user's). -1 when something there cannot be removed (another user's entry, a folder).
int CreateOwnedFile(const std::string& path);
// The size of an owned regular file; -1 for anything else.
int64_t OwnedFileSize(const std::string& path);
// Removes the entry when this user owns it (a link itself, never its target). True when nothing is left.
bool RemoveOwnedEntry(const std::string& path);
// Renames an entry of a private folder to the target, which must be missing or an owned regular file.
bool MoveIntoPlace(const std::string& from, const std::string& to);

// A new folder only this user can enter, inside the parent; "" on failure. Its name holds the process id.
std::string MakePrivateFolder(const std::string& parent);
// Removes the private folders in the parent that a process of this user, now ended, left behind (killed
// before it could remove them), never following links.
void RemoveLeftoverPrivateFolders(const std::string& parent);
// Removes the folder and everything below it, never following links.
void RemoveFolderTree(const std::string& path);

// The program is ending: from now on no owned file is created or moved into place and no private folder is
// made, so that what stands once this returns is all there is to remove.
void CloseOwnedFiles();
// Removes the private folders in the parent that this process made.
void RemoveOwnPrivateFolders(const std::string& parent);

}  // namespace corvane::platform

// File-system queries and writes the program needs.
#pragma once

#include <cstdint>
#include <string>

#include "platform/unique_fd.h"

namespace corvane::platform {

// The size query: symbolic links followed; a size for anything that is not a directory.
struct PathStatus {
    enum Kind { Unavailable, Directory, Sized };
    Kind kind = Unavailable;
    int64_t size = 0;
    bool IsDirectory() const { return kind == Directory; }
    bool HasSizeAbove0() const { return kind == Sized && size > 0; }
};
// What the path names; nothing for an empty path or one holding a NUL byte.
PathStatus QueryPath(const std::string& path);
// True only when the answer is that no such file exists (other failures are not "missing").
bool PathIsMissing(const std::string& path);

// The path opened for reading, only when it names a regular file (or a link to one); empty otherwise.
// Opening a pipe would wake its blocked writer and opening a device node may act on the device, so the
// type is tested first; the opened descriptor is tested again for a file swapped in between. O_NONBLOCK
// keeps such a pipe from blocking the open and changes nothing for a regular file.
UniqueFd OpenRegularFile(const std::string& path);
// The whole content of a regular file, opened by OpenRegularFile: anything but a readable regular file
// counts as missing (false).
bool ReadRegularFile(const std::string& path, std::string& text);

// Creates every missing folder of the path with the given mode.
bool MakeFolders(const std::string& path, unsigned mode);
// Writes the text to a temporary file beside the path and renames it over the path, so a crash never
// leaves half a file. Creates the missing folders (0700). The user's own symbolic link stays in place and
// its target is replaced (another user's link is replaced itself); an existing file keeps its permissions,
// a new one gets the mode less the umask.
bool WriteFileAtomically(const std::string& path, const std::string& text, unsigned mode);
// The program is ending: waits for a WriteFileAtomically in progress, and lets none start any more (they
// wait until the process ends), so that no temporary file is left beside a settings file or an export.
void StopFileWrites();
// Renames the entry to a name that must not exist yet; false (errno EEXIST) when it does, so that nothing
// standing there is ever replaced.
bool RenameWithoutReplacing(const std::string& from, const std::string& to);
// The folder part of a path ("" when it has no "/").
std::string ParentFolder(const std::string& path);

}  // namespace corvane::platform

// The search field: finds rows of the list by file name as the user types.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include "program/ids.h"

namespace corvane {

// A native control and the routine its text changes call.
struct NativeControlEntry {
    platform::ControlId control = platform::ControlId::None;
    std::function<int()> callback;
};

// The key of the search field's entry.
inline const char* const kSearchFieldKey = "fieldA";
// Its one entry, kSearchFieldKey, holds the search field.
inline std::map<std::string, NativeControlEntry> NativeControls;
// The last search term, lower-cased.
inline std::string SearchText;
// The row of the last match; -1 when a new term begins.
inline int64_t SearchLastRow = -1;

// Registers the main window's search field (created disabled with the other controls).
void RegisterSearchField();
// A change of the field's text runs the callback of every registered control.
void OnControlTextChange();
// Selects the next row whose file name contains the term (3 to 60 characters, case ignored), wrapping once.
int SearchFileList();
// Shutdown: forgets the field.
void ReleaseSearchField();

}  // namespace corvane

#include "app/search.h"

#include "engine/list_cells.h"
#include "platform/text.h"
#include "platform/ui.h"
#include "program/ids.h"

namespace corvane {

namespace {

using platform::ControlId;

constexpr size_t kMaxTermCharacters = 60;

bool RowMatches(int64_t row, const std::string& term) {
    auto found = platform::TheUi().Row(kChecksumList, static_cast<size_t>(row));
    return found && ToLowerSimple(found->cells[kNameCell]).find(term) != std::string::npos;
}

// The first matching row in [from, to), or -1.
int64_t FindRow(int64_t from, int64_t to, const std::string& term) {
    for (int64_t row = from; row < to; ++row) {
        if (RowMatches(row, term)) return row;
    }
    return -1;
}

}  // namespace

void RegisterSearchField() {
    NativeControls[kSearchFieldKey] = {kSearchField, SearchFileList};
}

void OnControlTextChange() {
    for (auto& [key, entry] : NativeControls) {
        if (entry.control == ControlId::None || !entry.callback) continue;
        entry.callback();
    }
}

int SearchFileList() {
    auto entry = NativeControls.find(kSearchFieldKey);
    if (entry == NativeControls.end() || entry->second.control == ControlId::None) return 0;
    auto& ui = platform::TheUi();
    std::string term =
        FirstCharacters(std::string(TrimBlanks(ui.Text(entry->second.control))), kMaxTermCharacters);
    if (CharacterCount(term) < 3) return 0;
    auto count = static_cast<int64_t>(ui.RowCount(kChecksumList));
    term = ToLowerSimple(term);
    int64_t start = 0;
    if (term == SearchText) {
        start = SearchLastRow + 1;
    } else {
        SearchText = term;
        SearchLastRow = -1;
    }
    int64_t match = FindRow(start, count, term);
    if (match < 0 && start > 0) match = FindRow(0, start, term);
    if (match < 0) return 0;
    ui.SelectRow(kChecksumList, static_cast<int>(match));
    ui.ScrollRowToVisible(kChecksumList, static_cast<int>(match));
    SearchLastRow = match;
    return 0;
}

void ReleaseSearchField() {
    auto entry = NativeControls.find(kSearchFieldKey);
    if (entry == NativeControls.end()) return;
    entry->second.control = ControlId::None;
    entry->second.callback = nullptr;
    NativeControls.erase(entry);
}

}  // namespace corvane

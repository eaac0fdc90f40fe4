#include "platform/ui.h"

#include <malloc.h>

#include <algorithm>

#include "platform/events.h"

namespace corvane::platform {

Ui& TheUi() {
    static Ui ui;
    return ui;
}

void Ui::Notify(const UiChange& change) {
    UiObserver* observer;
    {
        std::lock_guard lock(mutex_);
        observer = observer_;
    }
    if (observer) observer->OnUiChange(change);
}

void Ui::SetObserver(UiObserver* observer) {
    std::lock_guard lock(mutex_);
    observer_ = observer;
}

void Ui::Reset() {
    std::lock_guard lock(mutex_);
    windows_.clear();
    controls_.clear();
    tables_.clear();
    badge_.clear();
}

// ---- windows

void Ui::CreateWindow(WindowId id, const WindowSpec& spec) {
    {
        std::lock_guard lock(mutex_);
        WindowState state;
        state.spec = spec;
        state.title = spec.title;
        state.contentSize = spec.contentSize;
        windows_[id] = state;
    }
    Events().WindowOpened(id);
    Notify({UiChange::WindowCreated, id});
}

void Ui::CloseWindow(WindowId id) {
    {
        std::lock_guard lock(mutex_);
        if (!windows_.erase(id)) return;
        for (auto it = controls_.begin(); it != controls_.end();) {
            if (it->second.window == id) {
                tables_.erase(it->first);
                it = controls_.erase(it);
            } else {
                ++it;
            }
        }
    }
    Events().WindowClosed(id);
    Notify({UiChange::WindowClosed, id});
}

bool Ui::WindowExists(WindowId id) const {
    std::lock_guard lock(mutex_);
    return windows_.contains(id);
}

std::optional<WindowState> Ui::Window(WindowId id) const {
    std::lock_guard lock(mutex_);
    auto it = windows_.find(id);
    if (it == windows_.end()) return std::nullopt;
    return it->second;
}

void Ui::ChangeWindow(WindowId id, const std::function<void(WindowState&)>& change,
                      std::optional<UiChange::What> what) {
    {
        std::lock_guard lock(mutex_);
        auto it = windows_.find(id);
        if (it == windows_.end()) return;
        change(it->second);
    }
    if (what) Notify({*what, id});
}

void Ui::SetWindowTitle(WindowId id, const std::string& title) {
    ChangeWindow(id, [&](WindowState& w) { w.title = title; });
}

void Ui::SetRepresentedFile(WindowId id, const std::string& path) {
    ChangeWindow(id, [&](WindowState& w) { w.representedFile = path; });
}

void Ui::SetAcceptsFileDrops(WindowId id, bool accepts) {
    ChangeWindow(id, [&](WindowState& w) { w.acceptsFileDrops = accepts; });
}

void Ui::SetContentSize(WindowId id, Size size) {
    ChangeWindow(id, [&](WindowState& w) { w.contentSize = size; });
}

void Ui::UserSetContentSize(WindowId id, Size size) {
    ChangeWindow(
        id, [&](WindowState& w) { w.contentSize = size; }, std::nullopt);
}

Size Ui::ContentSize(WindowId id) const {
    std::lock_guard lock(mutex_);
    auto it = windows_.find(id);
    return it == windows_.end() ? Size{} : it->second.contentSize;
}

void Ui::MakeKeyAndFront(WindowId id) {
    ChangeWindow(
        id, [](WindowState& w) { ++w.activations; }, UiChange::WindowActivated);
}

// ---- controls

void Ui::CreateControl(ControlId id, const ControlSpec& spec) {
    WindowId window = spec.window;
    {
        std::lock_guard lock(mutex_);
        ControlState state;
        state.kind = spec.kind;
        state.window = spec.window;
        state.frame = spec.frame;
        state.text = spec.text;
        controls_[id] = state;
        if (spec.kind == ControlKind::Table) tables_[id] = Table{};
    }
    Notify({UiChange::ControlCreated, window, id});
}

bool Ui::ControlExists(ControlId id) const {
    std::lock_guard lock(mutex_);
    return controls_.contains(id);
}

ControlState Ui::Control(ControlId id) const {
    std::lock_guard lock(mutex_);
    auto it = controls_.find(id);
    return it == controls_.end() ? ControlState{} : it->second;
}

std::vector<ControlId> Ui::ControlsOf(WindowId window) const {
    std::lock_guard lock(mutex_);
    std::vector<ControlId> ids;
    for (const auto& [id, state] : controls_) {
        if (state.window == window) ids.push_back(id);
    }
    return ids;
}

void Ui::ChangeControl(ControlId id, const std::function<void(ControlState&)>& change, bool mirror) {
    WindowId window;
    {
        std::lock_guard lock(mutex_);
        auto it = controls_.find(id);
        if (it == controls_.end()) return;
        change(it->second);
        window = it->second.window;
    }
    if (mirror) Notify({UiChange::ControlChanged, window, id});
}

void Ui::SetText(ControlId id, const std::string& text) {
    ChangeControl(id, [&](ControlState& c) { c.text = text; });
}

void Ui::UserSetText(ControlId id, const std::string& text) {
    ChangeControl(
        id, [&](ControlState& c) { c.text = text; }, false);
}

std::string Ui::Text(ControlId id) const {
    return Control(id).text;
}

void Ui::SetEnabled(ControlId id, bool enabled) {
    ChangeControl(id, [&](ControlState& c) { c.enabled = enabled; });
}

bool Ui::IsEnabled(ControlId id) const {
    return Control(id).enabled;
}

void Ui::SetChecked(ControlId id, bool checked) {
    ChangeControl(id, [&](ControlState& c) { c.checked = checked; });
}

void Ui::UserSetChecked(ControlId id, bool checked) {
    ChangeControl(
        id, [&](ControlState& c) { c.checked = checked; }, false);
}

bool Ui::IsChecked(ControlId id) const {
    return Control(id).checked;
}

void Ui::SetFrame(ControlId id, Rect frame) {
    ChangeControl(id, [&](ControlState& c) { c.frame = frame; });
}

Rect Ui::Frame(ControlId id) const {
    return Control(id).frame;
}

void Ui::SetTooltip(ControlId id, const std::string& tooltip) {
    ChangeControl(id, [&](ControlState& c) { c.tooltip = tooltip; });
}

void Ui::SetImage(ControlId id, const std::string& image, bool imageLeft) {
    ChangeControl(id, [&](ControlState& c) {
        c.image = image;
        c.imageLeft = imageLeft;
    });
}

void Ui::SetBezel(ControlId id, Bezel bezel) {
    ChangeControl(id, [&](ControlState& c) { c.bezel = bezel; });
}

void Ui::SetAlignment(ControlId id, TextAlign align) {
    ChangeControl(id, [&](ControlState& c) { c.align = align; });
}

void Ui::SetDefault(ControlId id, bool isDefault) {
    ChangeControl(id, [&](ControlState& c) { c.isDefault = isDefault; });
}

void Ui::SetColors(ControlId id, std::optional<Color> background, std::optional<Color> foreground) {
    ChangeControl(id, [&](ControlState& c) {
        c.background = background;
        c.foreground = foreground;
    });
}

void Ui::SetItems(ControlId id, const std::vector<std::string>& items) {
    ChangeControl(id, [&](ControlState& c) {
        c.items = items;
        if (c.kind == ControlKind::Popup) c.selected = items.empty() ? -1 : 0;
    });
}

void Ui::SelectItem(ControlId id, int index) {
    ChangeControl(id, [&](ControlState& c) {
        if (index >= -1 && index < static_cast<int>(c.items.size())) c.selected = index;
    });
}

void Ui::UserSelectItem(ControlId id, int index) {
    ChangeControl(
        id,
        [&](ControlState& c) {
            if (index >= -1 && index < static_cast<int>(c.items.size())) c.selected = index;
        },
        false);
}

bool Ui::SelectItemWithTitle(ControlId id, const std::string& title) {
    bool found = false;
    ChangeControl(id, [&](ControlState& c) {
        auto it = std::find(c.items.begin(), c.items.end(), title);
        if (it == c.items.end()) return;
        c.selected = static_cast<int>(it - c.items.begin());
        found = true;
    });
    return found;
}

std::string Ui::SelectedItemText(ControlId id) const {
    std::lock_guard lock(mutex_);
    auto it = controls_.find(id);
    if (it == controls_.end()) return {};
    const ControlState& c = it->second;
    if (c.selected < 0 || c.selected >= static_cast<int>(c.items.size())) return {};
    return c.items[static_cast<size_t>(c.selected)];
}

void Ui::SetValue(ControlId id, int value) {
    ChangeControl(id, [&](ControlState& c) { c.value = value; });
}

int Ui::Value(ControlId id) const {
    return Control(id).value;
}

// ---- the list's rows

void Ui::ClearRows(ControlId id) {
    WindowId window;
    {
        std::vector<ListRow> old;  // freed after the lock: a long list holds megabytes
        std::lock_guard lock(mutex_);
        auto it = tables_.find(id);
        if (it == tables_.end()) return;
        old.swap(it->second.rows);
        ++it->second.generation;
        controls_[id].selected = -1;
        window = controls_[id].window;
    }
    Notify({UiChange::RowsChanged, window, id});
    // The allocator keeps freed memory for later requests; an emptied list (and a mirror's view of it, let
    // go above) should not hold on to it.
    malloc_trim(0);
}

size_t Ui::AppendRow(ControlId id, const ListRow& row) {
    WindowId window;
    size_t index;
    {
        std::lock_guard lock(mutex_);
        auto it = tables_.find(id);
        if (it == tables_.end()) return 0;
        index = it->second.rows.size();
        it->second.rows.push_back(row);
        window = controls_[id].window;
    }
    Notify({UiChange::RowsChanged, window, id});
    return index;
}

void Ui::SetRowRed(ControlId id, size_t row, bool red) {
    WindowId window;
    {
        std::lock_guard lock(mutex_);
        auto it = tables_.find(id);
        if (it == tables_.end() || row >= it->second.rows.size() || it->second.rows[row].red == red) return;
        it->second.rows[row].red = red;
        ++it->second.recoloured;
        window = controls_[id].window;
    }
    Notify({UiChange::RowsChanged, window, id});
}

size_t Ui::RowCount(ControlId id) const {
    std::lock_guard lock(mutex_);
    auto it = tables_.find(id);
    return it == tables_.end() ? 0 : it->second.rows.size();
}

std::optional<ListRow> Ui::Row(ControlId id, size_t row) const {
    std::lock_guard lock(mutex_);
    auto it = tables_.find(id);
    if (it == tables_.end() || row >= it->second.rows.size()) return std::nullopt;
    return it->second.rows[row];
}

std::vector<ListRow> Ui::Rows(ControlId id) const {
    std::lock_guard lock(mutex_);
    auto it = tables_.find(id);
    return it == tables_.end() ? std::vector<ListRow>{} : it->second.rows;
}

uint64_t Ui::RowsGeneration(ControlId id) const {
    std::lock_guard lock(mutex_);
    auto it = tables_.find(id);
    return it == tables_.end() ? 0 : it->second.generation;
}

uint64_t Ui::RowsRecoloured(ControlId id) const {
    std::lock_guard lock(mutex_);
    auto it = tables_.find(id);
    return it == tables_.end() ? 0 : it->second.recoloured;
}

int Ui::SelectedRow(ControlId id) const {
    return Control(id).selected;
}

void Ui::SelectRow(ControlId id, int row) {
    ChangeControl(id, [&](ControlState& c) { c.selected = row; });
}

void Ui::UserSelectRow(ControlId id, int row) {
    ChangeControl(
        id, [&](ControlState& c) { c.selected = row; }, false);
}

void Ui::SetColumnWidths(ControlId id, const std::vector<int>& widths) {
    ChangeControl(id, [&](ControlState& c) { c.columnWidths = widths; });
}

void Ui::ScrollRowToVisible(ControlId id, int row) {
    WindowId window;
    {
        std::lock_guard lock(mutex_);
        auto it = controls_.find(id);
        if (it == controls_.end()) return;
        it->second.revealedRow = row;
        window = it->second.window;
    }
    Notify({UiChange::RowRevealed, window, id});
}

int Ui::RevealedRow(ControlId id) const {
    return Control(id).revealedRow;
}

// ---- badge

void Ui::SetBadgeLabel(const std::string& label) {
    {
        std::lock_guard lock(mutex_);
        if (badge_ == label) return;  // nothing to draw again
        badge_ = label;
    }
    Notify({UiChange::BadgeChanged});
}

std::string Ui::BadgeLabel() const {
    std::lock_guard lock(mutex_);
    return badge_;
}

}  // namespace corvane::platform

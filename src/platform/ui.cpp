#include "platform/ui.h"

#include <malloc.h>

#include <algorithm>
#include <type_traits>
#include <variant>

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

namespace {

// A change of the control's own fields, made when its kind takes it (a text to a label, a button or a
// field alike; a bezel to a button only) and left out for the other kinds.
template <class Change>
std::function<void(ControlState&)> OwnFields(Change change) {
    return [change](ControlState& control) {
        std::visit(
            [&](auto& own) {
                if constexpr (std::is_invocable_v<Change&, decltype(own)>) change(own);
            },
            control.fields);
    };
}

bool IsItemOf(int index, const PopupState& popup) {
    return index >= -1 && index < static_cast<int>(popup.items.size());
}

}  // namespace

void Ui::CreateControl(ControlId id, const ControlSpec& spec) {
    WindowId window = spec.window;
    {
        std::lock_guard lock(mutex_);
        ControlState state;
        state.kind = spec.kind;
        state.window = spec.window;
        state.frame = spec.frame;
        state.fields = InitialKindState(spec.kind);
        OwnFields([&](HasText auto& own) { own.text = spec.text; })(state);
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
    ChangeControl(id, OwnFields([&](HasText auto& own) { own.text = text; }));
}

void Ui::UserSetText(ControlId id, const std::string& text) {
    ChangeControl(id, OwnFields([&](HasText auto& own) { own.text = text; }), false);
}

std::string Ui::Text(ControlId id) const {
    return Control(id).Text();
}

void Ui::SetEnabled(ControlId id, bool enabled) {
    ChangeControl(id, [&](ControlState& c) { c.enabled = enabled; });
}

bool Ui::IsEnabled(ControlId id) const {
    return Control(id).enabled;
}

void Ui::SetChecked(ControlId id, bool checked) {
    ChangeControl(id, OwnFields([&](CheckboxState& box) { box.checked = checked; }));
}

void Ui::UserSetChecked(ControlId id, bool checked) {
    ChangeControl(id, OwnFields([&](CheckboxState& box) { box.checked = checked; }), false);
}

bool Ui::IsChecked(ControlId id) const {
    ControlState control = Control(id);
    const auto* box = std::get_if<CheckboxState>(&control.fields);
    return box && box->checked;
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
    ChangeControl(id, OwnFields([&](HasImage auto& own) {
                      own.image = image;
                      if constexpr (requires { own.imageLeft; }) own.imageLeft = imageLeft;
                  }));
}

void Ui::SetBezel(ControlId id, Bezel bezel) {
    ChangeControl(id, OwnFields([&](ButtonState& button) { button.bezel = bezel; }));
}

void Ui::SetAlignment(ControlId id, TextAlign align) {
    ChangeControl(id, OwnFields([&](HasAlign auto& own) { own.align = align; }));
}

void Ui::SetDefault(ControlId id, bool isDefault) {
    ChangeControl(id, OwnFields([&](ButtonState& button) { button.isDefault = isDefault; }));
}

void Ui::SetColors(ControlId id, std::optional<Color> background, std::optional<Color> foreground) {
    ChangeControl(id, OwnFields([&](HasColors auto& own) {
                      own.background = background;
                      own.foreground = foreground;
                  }));
}

void Ui::SetItems(ControlId id, const std::vector<std::string>& items) {
    ChangeControl(id, [&](ControlState& c) {
        if (auto* popup = std::get_if<PopupState>(&c.fields)) {
            popup->items = items;
            popup->selected = items.empty() ? -1 : 0;
        } else if (auto* table = std::get_if<TableState>(&c.fields)) {
            table->columnTitles = items;
        }
    });
}

void Ui::SelectItem(ControlId id, int index) {
    ChangeControl(id, OwnFields([&](PopupState& popup) {
                      if (IsItemOf(index, popup)) popup.selected = index;
                  }));
}

void Ui::UserSelectItem(ControlId id, int index) {
    ChangeControl(id, OwnFields([&](PopupState& popup) {
                      if (IsItemOf(index, popup)) popup.selected = index;
                  }),
                  false);
}

bool Ui::SelectItemWithTitle(ControlId id, const std::string& title) {
    bool found = false;
    ChangeControl(id, OwnFields([&](PopupState& popup) {
                      auto it = std::find(popup.items.begin(), popup.items.end(), title);
                      if (it == popup.items.end()) return;
                      popup.selected = static_cast<int>(it - popup.items.begin());
                      found = true;
                  }));
    return found;
}

std::string Ui::SelectedItemText(ControlId id) const {
    ControlState control = Control(id);
    const auto* popup = std::get_if<PopupState>(&control.fields);
    if (!popup || popup->selected < 0 || popup->selected >= static_cast<int>(popup->items.size())) return {};
    return popup->items[static_cast<size_t>(popup->selected)];
}

void Ui::SetValue(ControlId id, int value) {
    ChangeControl(id, OwnFields([&](ProgressState& bar) { bar.value = value; }));
}

int Ui::Value(ControlId id) const {
    ControlState control = Control(id);
    const auto* bar = std::get_if<ProgressState>(&control.fields);
    return bar ? bar->value : 0;
}

// ---- the list's rows

void Ui::ClearRows(ControlId id) {
    WindowId window;
    bool hadRows;
    {
        std::vector<ListRow> old;  // freed after the lock: a long list holds megabytes
        std::lock_guard lock(mutex_);
        auto it = tables_.find(id);
        if (it == tables_.end()) return;
        old.swap(it->second.rows);
        hadRows = !old.empty();
        ++it->second.generation;
        ControlState& control = controls_[id];
        std::get<TableState>(control.fields).selected = -1;
        window = control.window;
    }
    Notify({UiChange::RowsChanged, window, id});
    // The allocator keeps freed memory for later requests; an emptied list (and a mirror's view of it, let
    // go above) should not hold on to it. Clearing an empty list frees nothing, and a trim walks the heap.
    if (hadRows) malloc_trim(0);
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
    ControlState control = Control(id);
    const auto* table = std::get_if<TableState>(&control.fields);
    return table ? table->selected : -1;
}

void Ui::SelectRow(ControlId id, int row) {
    ChangeControl(id, OwnFields([&](TableState& table) { table.selected = row; }));
}

void Ui::UserSelectRow(ControlId id, int row) {
    ChangeControl(id, OwnFields([&](TableState& table) { table.selected = row; }), false);
}

void Ui::SetColumnWidths(ControlId id, const std::vector<int>& widths) {
    ChangeControl(id, OwnFields([&](TableState& table) { table.columnWidths = widths; }));
}

void Ui::ScrollRowToVisible(ControlId id, int row) {
    WindowId window;
    {
        std::lock_guard lock(mutex_);
        auto it = controls_.find(id);
        if (it == controls_.end()) return;
        OwnFields([&](TableState& table) { table.revealedRow = row; })(it->second);
        window = it->second.window;
    }
    Notify({UiChange::RowRevealed, window, id});
}

int Ui::RevealedRow(ControlId id) const {
    ControlState control = Control(id);
    const auto* table = std::get_if<TableState>(&control.fields);
    return table ? table->revealedRow : -1;
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

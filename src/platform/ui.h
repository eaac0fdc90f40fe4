// The retained state of every window and control. The state is the truth: it is readable at once from any
// thread, and a backend (if any) mirrors it into real widgets on the GUI thread.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/control_state.h"
#include "platform/geometry.h"
#include "platform/ids.h"

namespace corvane::platform {

enum class WindowKind {
    Document,  // titled, closable, minimisable, resizable; accepts file drops when asked
    Panel,     // a floating window with a title bar only, not closable, movable or resizable
    Sheet,     // window-modal over its parent
};

struct WindowSpec {
    WindowKind kind = WindowKind::Document;
    Size contentSize;
    std::string title;
    WindowId parent = WindowId::None;
    bool transparentTitleBar = false;
};

struct WindowState {
    WindowSpec spec;
    std::string title;
    std::string representedFile;
    Size contentSize;
    bool acceptsFileDrops = false;
    int activations = 0;  // how often the program made it key and brought it to the front
};

struct ControlSpec {
    ControlKind kind = ControlKind::Label;
    WindowId window = WindowId::None;
    Rect frame;
    std::string text;
};

inline constexpr size_t kColumns = 5;
struct ListRow {
    std::array<std::string, kColumns> cells;  // as shown: valid UTF-8
    bool red = false;
    std::string file;  // the row's file path as bytes, for revealing it
};

// What changed, for a backend that mirrors the state.
struct UiChange {
    enum What {
        WindowCreated,
        WindowClosed,
        WindowChanged,
        WindowActivated,
        ControlCreated,
        ControlChanged,
        RowsChanged,
        RowRevealed,  // the table should scroll its selected row into view
        BadgeChanged,
    };
    What what;
    WindowId window = WindowId::None;
    ControlId control = ControlId::None;
};

class UiObserver {
  public:
    virtual ~UiObserver() = default;
    // Called on the thread that made the change, outside the model's lock.
    virtual void OnUiChange(const UiChange& change) = 0;
};

class Ui {
  public:
    // Windows.
    void CreateWindow(WindowId id, const WindowSpec& spec);
    void CloseWindow(WindowId id);
    bool WindowExists(WindowId id) const;
    std::optional<WindowState> Window(WindowId id) const;
    void SetWindowTitle(WindowId id, const std::string& title);
    void SetRepresentedFile(WindowId id, const std::string& path);
    void SetAcceptsFileDrops(WindowId id, bool accepts);
    // Sets the content size keeping the window's top-left corner where it is.
    void SetContentSize(WindowId id, Size size);
    Size ContentSize(WindowId id) const;
    void MakeKeyAndFront(WindowId id);

    // Controls.
    void CreateControl(ControlId id, const ControlSpec& spec);
    bool ControlExists(ControlId id) const;
    ControlState Control(ControlId id) const;
    std::vector<ControlId> ControlsOf(WindowId window) const;
    void SetText(ControlId id, const std::string& text);
    std::string Text(ControlId id) const;
    void SetEnabled(ControlId id, bool enabled);
    bool IsEnabled(ControlId id) const;
    void SetChecked(ControlId id, bool checked);
    bool IsChecked(ControlId id) const;
    void SetFrame(ControlId id, Rect frame);
    Rect Frame(ControlId id) const;
    void SetTooltip(ControlId id, const std::string& tooltip);
    void SetImage(ControlId id, const std::string& image, bool imageLeft);
    void SetBezel(ControlId id, Bezel bezel);
    void SetAlignment(ControlId id, TextAlign align);
    void SetDefault(ControlId id, bool isDefault);
    void SetColors(ControlId id, std::optional<Color> background, std::optional<Color> foreground);
    void SetItems(ControlId id, const std::vector<std::string>& items);
    void SelectItem(ControlId id, int index);
    // Selects the item with this title; without one the selection stays as it is. Returns whether it found
    // one.
    bool SelectItemWithTitle(ControlId id, const std::string& title);
    // The selected item's title, "" without a selection.
    std::string SelectedItemText(ControlId id) const;
    void SetValue(ControlId id, int value);
    int Value(ControlId id) const;

    // The list's rows.
    void ClearRows(ControlId id);
    size_t AppendRow(ControlId id, const ListRow& row);
    void SetRowRed(ControlId id, size_t row, bool red);
    size_t RowCount(ControlId id) const;
    std::optional<ListRow> Row(ControlId id, size_t row) const;
    std::vector<ListRow> Rows(ControlId id) const;
    // Bumped whenever the rows are emptied, so a mirror can tell a refill from an append.
    uint64_t RowsGeneration(ControlId id) const;
    // Bumped whenever a row's colour changes, so a mirror redraws the rows it shows only when one did.
    uint64_t RowsRecoloured(ControlId id) const;
    int SelectedRow(ControlId id) const;
    void SelectRow(ControlId id, int row);
    void SetColumnWidths(ControlId id, const std::vector<int>& widths);
    // Scrolls the list so that the row is visible.
    void ScrollRowToVisible(ControlId id, int row);
    int RevealedRow(ControlId id) const;

    // The application icon's badge label; "" removes it.
    void SetBadgeLabel(const std::string& label);
    std::string BadgeLabel() const;

    // Changes the user made in a real widget: stored without being mirrored back.
    void UserSetContentSize(WindowId id, Size size);
    void UserSetText(ControlId id, const std::string& text);
    void UserSetChecked(ControlId id, bool checked);
    void UserSelectItem(ControlId id, int index);
    void UserSelectRow(ControlId id, int row);

    void SetObserver(UiObserver* observer);
    void Reset();

  private:
    struct Table {
        std::vector<ListRow> rows;
        uint64_t generation = 0;
        uint64_t recoloured = 0;
    };
    void Notify(const UiChange& change);
    void ChangeControl(ControlId id, const std::function<void(ControlState&)>& change, bool mirror = true);
    // Changes a window that exists, then tells the observer what (nothing for a change the user made).
    void ChangeWindow(WindowId id, const std::function<void(WindowState&)>& change,
                      std::optional<UiChange::What> what = UiChange::WindowChanged);

    mutable std::recursive_mutex mutex_;
    std::map<WindowId, WindowState> windows_;
    std::map<ControlId, ControlState> controls_;
    std::map<ControlId, Table> tables_;
    std::string badge_;
    UiObserver* observer_ = nullptr;
};

Ui& TheUi();

}  // namespace corvane::platform

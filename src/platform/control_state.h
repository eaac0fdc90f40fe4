// The retained state of a control: what every control has, and beside it the fields of its own kind.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/geometry.h"
#include "platform/ids.h"

namespace corvane::platform {

enum class ControlKind {
    Label,   // static text
    Button,  // push button
    Popup,   // non-editable choice list
    Checkbox,
    TextField,  // single-line, read-only, selectable
    SearchField,
    Table,        // multi-column list of rows held here
    ProgressBar,  // determinate, 0..100 unless told otherwise
    HelpIcon,     // image view with a tooltip
    TextEditor,   // plain multi-line text
};

enum class Bezel { None, Square, Rounded };
enum class TextAlign { Natural, Left, Center, Right };

// Colours are 24-bit numbers with red in the low byte (0xDFFEFF is red 255, green 254, blue 223).
using Color = uint32_t;
constexpr Color kRed = 0x0000FF;

struct LabelState {
    std::string text;
    TextAlign align = TextAlign::Natural;
    std::optional<Color> background;
    std::optional<Color> foreground;
};

struct ButtonState {
    std::string text;
    std::string image;  // symbol image name
    bool imageLeft = false;
    Bezel bezel = Bezel::None;
    TextAlign align = TextAlign::Natural;
    bool isDefault = false;
};

struct PopupState {
    std::vector<std::string> items;
    int selected = -1;
};

struct CheckboxState {
    std::string text;
    bool checked = false;
};

// A text field or a search field.
struct FieldState {
    std::string text;
    std::optional<Color> background;
    std::optional<Color> foreground;
};

// The table's rows are kept apart (Ui::Rows): a long list is not copied with the control's state.
struct TableState {
    std::vector<std::string> columnTitles;
    std::vector<int> columnWidths;
    int selected = -1;     // the selected row
    int revealedRow = -1;  // the row last scrolled into view
};

struct ProgressState {
    int value = 0;
};

struct HelpIconState {
    std::string image;  // symbol image name
};

struct EditorState {
    std::string text;
};

// Which kinds' own fields hold a text, an alignment, an image or colours.
template <class Own>
concept HasText = requires(Own own) {
    own.text;
};
template <class Own>
concept HasAlign = requires(Own own) {
    own.align;
};
template <class Own>
concept HasImage = requires(Own own) {
    own.image;
};
template <class Own>
concept HasColors = requires(Own own) {
    own.background;
    own.foreground;
};

using KindState = std::variant<LabelState, ButtonState, PopupState, CheckboxState, FieldState, TableState,
                               ProgressState, HelpIconState, EditorState>;

// The fields a control of this kind starts with.
KindState InitialKindState(ControlKind kind);

struct ControlState {
    ControlKind kind = ControlKind::Label;
    WindowId window = WindowId::None;
    Rect frame;
    bool enabled = true;
    std::string tooltip;
    KindState fields;

    // The text of the kinds that show one; "" for the others.
    std::string Text() const;
};

}  // namespace corvane::platform

#include "platform/control_state.h"

namespace corvane::platform {

KindState InitialKindState(ControlKind kind) {
    switch (kind) {
        case ControlKind::Label:
            return LabelState{};
        case ControlKind::Button:
            return ButtonState{};
        case ControlKind::Popup:
            return PopupState{};
        case ControlKind::Checkbox:
            return CheckboxState{};
        case ControlKind::TextField:
        case ControlKind::SearchField:
            return FieldState{};
        case ControlKind::Table:
            return TableState{};
        case ControlKind::ProgressBar:
            return ProgressState{};
        case ControlKind::HelpIcon:
            return HelpIconState{};
        case ControlKind::TextEditor:
            return EditorState{};
    }
    return LabelState{};
}

std::string ControlState::Text() const {
    return std::visit(
        [](const auto& own) -> std::string {
            if constexpr (HasText<decltype(own)>) {
                return own.text;
            } else {
                return {};
            }
        },
        fields);
}

}  // namespace corvane::platform

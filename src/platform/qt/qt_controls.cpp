#include "platform/qt/qt_controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QWheelEvent>

#include "platform/events.h"
#include "platform/qt/qt_fonts.h"
#include "platform/qt/qt_icons.h"
#include "platform/qt/qt_table.h"
#include "platform/qt/qt_text.h"

namespace corvane::platform {

namespace {

constexpr int kButtonIconSize = 12;
constexpr int kButtonIconGap = 3;
constexpr int kButtonMargin = 3;
constexpr int kHelpIconSize = 20;

Qt::Alignment ToQtAlignment(TextAlign align) {
    switch (align) {
        case TextAlign::Center:
            return Qt::AlignHCenter | Qt::AlignVCenter;
        case TextAlign::Right:
            return Qt::AlignRight | Qt::AlignVCenter;
        default:
            return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

// Background and text colours, when the state gives them.
template <class Own>
void ApplyColors(QWidget* widget, const Own& own, QPalette::ColorRole background,
                 QPalette::ColorRole foreground) {
    QPalette palette;  // no role of its own: everything else follows the parent and the theme
    if (own.background) palette.setColor(background, ToQColor(*own.background));
    if (own.foreground) palette.setColor(foreground, ToQColor(*own.foreground));
    widget->setPalette(palette);
}

class LabelControl : public QLabel, public ControlHost {
  public:
    LabelControl(ControlId id, WindowId window, QWidget* parent) : QLabel(parent), ControlHost(id, window) {
        setTextFormat(Qt::PlainText);
        // Static text never acts on a click; one lying over a button lets the button have it.
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    QWidget* Widget() override { return this; }
    void Apply(const ControlState& state) override {
        ApplyCommon(state);
        const auto& label = std::get<LabelState>(state.fields);
        setText(DisplayText(label.text));
        setAlignment(ToQtAlignment(label.align));
        ApplyColors(this, label, QPalette::Window, QPalette::WindowText);
        setAutoFillBackground(label.background.has_value());
    }
};

// A push button that draws its icon and title itself, so that the title's alignment is honoured and the
// pair fits the narrow fixed frames the program gives its buttons.
class ButtonControl : public QPushButton, public ControlHost {
  public:
    ButtonControl(ControlId id, WindowId window, QWidget* parent)
        : QPushButton(parent), ControlHost(id, window) {
        setAutoDefault(false);
        setFont(ButtonFont());
        setIconSize(QSize(kButtonIconSize, kButtonIconSize));
        connect(this, &QPushButton::clicked, this, [this] { Post(kLeftClick); });
    }
    QWidget* Widget() override { return this; }
    void Apply(const ControlState& state) override {
        ApplyCommon(state);
        const auto& button = std::get<ButtonState>(state.fields);
        setText(DisplayText(button.text));
        setIcon(SymbolIcon(button.image));
        setDefault(button.isDefault);
        setFlat(button.bezel == Bezel::None);
        align_ = button.align;
        update();
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QStylePainter painter(this);
        QStyleOptionButton option;
        initStyleOption(&option);
        option.text.clear();
        option.icon = QIcon();
        painter.drawControl(QStyle::CE_PushButtonBevel, option);

        QRect inner = rect().adjusted(kButtonMargin, 0, -kButtonMargin, 0);
        bool hasIcon = !icon().isNull();
        int iconWidth = hasIcon ? iconSize().width() + kButtonIconGap : 0;
        QString title = fontMetrics().elidedText(text(), Qt::ElideRight, inner.width() - iconWidth);
        int contentWidth = iconWidth + fontMetrics().horizontalAdvance(title);
        int x = inner.left();
        if (align_ == TextAlign::Right) {
            x = inner.right() + 1 - contentWidth;
        } else if (align_ != TextAlign::Left) {
            x = inner.left() + (inner.width() - contentWidth) / 2;
        }
        if (hasIcon) {
            QIcon::Mode mode = isEnabled() ? QIcon::Normal : QIcon::Disabled;
            QPixmap pixmap = icon().pixmap(iconSize(), devicePixelRatio(), mode);
            painter.drawPixmap(x, (height() - iconSize().height()) / 2, pixmap);
            x += iconWidth;
        }
        QRect textRect(x, 0, inner.right() + 1 - x, height());
        painter.drawItemText(textRect, Qt::AlignLeft | Qt::AlignVCenter, palette(), isEnabled(), title,
                             QPalette::ButtonText);
    }

  private:
    TextAlign align_ = TextAlign::Natural;
};

class PopupControl : public QComboBox, public ControlHost {
  public:
    PopupControl(ControlId id, WindowId window, QWidget* parent)
        : QComboBox(parent), ControlHost(id, window) {
        connect(this, &QComboBox::activated, this, [this](int index) {
            TheUi().UserSelectItem(Id(), index);
            Post(kSelectionChange);
        });
    }
    QWidget* Widget() override { return this; }
    void Apply(const ControlState& state) override {
        ApplyCommon(state);
        const auto& popup = std::get<PopupState>(state.fields);
        QStringList items;
        for (const auto& item : popup.items) items << ToQString(item);
        QStringList shown;
        for (int i = 0; i < count(); ++i) shown << itemText(i);
        if (items != shown) {
            clear();
            addItems(items);
        }
        setCurrentIndex(popup.selected);
    }

  protected:
    // The choice changes only in the open list: a wheel notch over the closed control goes on to the
    // window instead of stepping to the next item.
    void wheelEvent(QWheelEvent* event) override { event->ignore(); }
};

class CheckboxControl : public QCheckBox, public ControlHost {
  public:
    CheckboxControl(ControlId id, WindowId window, QWidget* parent)
        : QCheckBox(parent), ControlHost(id, window) {
        connect(this, &QCheckBox::clicked, this, [this](bool checked) {
            TheUi().UserSetChecked(Id(), checked);
            Post(kLeftClick);
        });
    }
    QWidget* Widget() override { return this; }
    void Apply(const ControlState& state) override {
        ApplyCommon(state);
        const auto& box = std::get<CheckboxState>(state.fields);
        setText(DisplayText(box.text));
        setChecked(box.checked);
        TakeClicksOnBoxAndText();
    }

  protected:
    void resizeEvent(QResizeEvent* event) override {
        QCheckBox::resizeEvent(event);
        TakeClicksOnBoxAndText();
    }
    void changeEvent(QEvent* event) override {
        QCheckBox::changeEvent(event);
        if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
            TakeClicksOnBoxAndText();
        }
    }

  private:
    // The frame is wider than the box and its text and overlaps other controls; the rest of it lets clicks
    // through to what lies below, as the box acts only on clicks on itself or its text.
    void TakeClicksOnBoxAndText() {
        QStyleOptionButton option;
        initStyleOption(&option);
        QRect area = style()->subElementRect(QStyle::SE_CheckBoxClickRect, &option, this);
        if (mask() != QRegion(area)) setMask(area);
    }
};

// A single-line field: read-only (the status line), or editable with a clear button (the search field).
class FieldControl : public QLineEdit, public ControlHost {
  public:
    FieldControl(ControlId id, WindowId window, QWidget* parent, bool search)
        : QLineEdit(parent), ControlHost(id, window) {
        // Drops belong to the window, not to the field.
        setAcceptDrops(false);
        if (search) {
            setClearButtonEnabled(true);
            connect(this, &QLineEdit::textEdited, this, [this](const QString& text) {
                TheUi().UserSetText(Id(), FromQString(text));
                Post(kTextChange);
            });
        } else {
            setReadOnly(true);
        }
    }
    QWidget* Widget() override { return this; }
    void Apply(const ControlState& state) override {
        ApplyCommon(state);
        const auto& field = std::get<FieldState>(state.fields);
        QString wanted = ToQString(field.text);
        if (text() != wanted) {
            setText(wanted);
            if (isReadOnly()) setCursorPosition(0);  // show the start of a long text
        }
        ApplyColors(this, field, QPalette::Base, QPalette::Text);
    }
};

class ProgressControl : public QProgressBar, public ControlHost {
  public:
    ProgressControl(ControlId id, WindowId window, QWidget* parent)
        : QProgressBar(parent), ControlHost(id, window) {
        setRange(0, 100);
        setTextVisible(false);
    }
    QWidget* Widget() override { return this; }
    void Apply(const ControlState& state) override {
        ApplyCommon(state);
        // QProgressBar ignores values outside its range; above 100 the bar is full.
        setValue(std::clamp(std::get<ProgressState>(state.fields).value, 0, 100));
    }
};

class HelpIconControl : public QLabel, public ControlHost {
  public:
    HelpIconControl(ControlId id, WindowId window, QWidget* parent)
        : QLabel(parent), ControlHost(id, window) {
        setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    QWidget* Widget() override { return this; }
    void Apply(const ControlState& state) override {
        ApplyCommon(state);
        const auto& icon = std::get<HelpIconState>(state.fields);
        if (icon.image != image_) {
            image_ = icon.image;
            setPixmap(SymbolIcon(image_).pixmap(kHelpIconSize, kHelpIconSize));
        }
    }

  private:
    std::string image_;
};

class EditorControl : public QPlainTextEdit, public ControlHost {
  public:
    EditorControl(ControlId id, WindowId window, QWidget* parent)
        : QPlainTextEdit(parent), ControlHost(id, window) {
        setAcceptDrops(false);
        connect(this, &QPlainTextEdit::textChanged, this, [this] {
            if (applying_) return;
            TheUi().UserSetText(Id(), FromQString(toPlainText()));
            Post(kTextChange);
        });
    }
    QWidget* Widget() override { return this; }
    void Apply(const ControlState& state) override {
        ApplyCommon(state);
        QString wanted = ToQString(std::get<EditorState>(state.fields).text);
        if (toPlainText() == wanted) return;
        // A text set by the program is not a user change: nothing is posted for it. The cursor stays
        // where it was as far as the new text allows.
        int cursorAt = textCursor().position();
        applying_ = true;
        setPlainText(wanted);
        applying_ = false;
        QTextCursor cursor = textCursor();
        cursor.setPosition(std::min(cursorAt, static_cast<int>(wanted.size())));
        setTextCursor(cursor);
    }

  private:
    bool applying_ = false;
};

}  // namespace

void ControlHost::Post(int type, int64_t data) const {
    Events().Post(MakeControlEvent(id_, type, data, window_));
}

void ControlHost::ApplyCommon(const ControlState& state) {
    QWidget* widget = Widget();
    widget->setGeometry(state.frame.x, state.frame.y, state.frame.width, state.frame.height);
    widget->setEnabled(state.enabled);
    widget->setToolTip(DisplayText(state.tooltip));
}

ControlHost* CreateControlHost(ControlId id, const ControlState& state, QWidget* parent) {
    WindowId window = state.window;
    switch (state.kind) {
        case ControlKind::Label:
            return new LabelControl(id, window, parent);
        case ControlKind::Button:
            return new ButtonControl(id, window, parent);
        case ControlKind::Popup:
            return new PopupControl(id, window, parent);
        case ControlKind::Checkbox:
            return new CheckboxControl(id, window, parent);
        case ControlKind::TextField:
            return new FieldControl(id, window, parent, false);
        case ControlKind::SearchField:
            return new FieldControl(id, window, parent, true);
        case ControlKind::Table:
            return CreateTableHost(id, window, parent);
        case ControlKind::ProgressBar:
            return new ProgressControl(id, window, parent);
        case ControlKind::HelpIcon:
            return new HelpIconControl(id, window, parent);
        case ControlKind::TextEditor:
            return new EditorControl(id, window, parent);
    }
    return new LabelControl(id, window, parent);
}

}  // namespace corvane::platform

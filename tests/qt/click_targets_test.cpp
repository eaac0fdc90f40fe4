// Where the main window's frames overlap, a click reaches the control it is meant for: a check box takes
// only clicks on its box and its text, static text takes none, and the rest lets them through to what lies
// below.
#include <QCheckBox>
#include <QPushButton>
#include <QStyleOptionButton>
#include <optional>
#include <ostream>

#include "app/layout.h"
#include "program/ids.h"
#include "qt_fixture.h"

namespace corvane::platform {
namespace {

// The main window's controls in creation order: a later one lies above an earlier one.
std::vector<ControlId> MainControls() {
    std::vector<ControlId> ids;
    for (int id = static_cast<int>(kAlgorithmLabel); id <= static_cast<int>(kSearchHelpIcon); ++id) {
        ids.push_back(static_cast<ControlId>(id));
    }
    return ids;
}

// Static text, which never acts on a click.
bool IsStaticText(ControlId id) {
    return id == kAlgorithmLabel || id == kEtaLine;
}

QRect FrameOf(ControlId id) {
    return WidgetFor(id)->geometry();
}

// The part of the content where a click acts on the control: none for static text, a check box's box and
// text, else the whole frame.
QRect ActingArea(ControlId id) {
    if (IsStaticText(id)) return {};
    auto* box = qobject_cast<QCheckBox*>(WidgetFor(id));
    if (!box) return FrameOf(id);
    QStyleOptionButton option;
    option.initFrom(box);
    option.text = box->text();
    option.icon = box->icon();
    option.iconSize = box->iconSize();
    QRect area = box->style()->subElementRect(QStyle::SE_CheckBoxClickRect, &option, box);
    return area.translated(box->pos());
}

// The control a click at the point is meant for: the topmost whose acting area holds it, else none.
std::optional<ControlId> MeantFor(QPoint at) {
    std::vector<ControlId> ids = MainControls();
    for (auto it = ids.rbegin(); it != ids.rend(); ++it) {
        if (ActingArea(*it).contains(at)) return *it;
    }
    return std::nullopt;
}

// The control whose widget Qt gives a mouse press at the point of the content, as the window routes it.
std::optional<ControlId> ReceiverAt(QPoint at) {
    QWidget* content = ContentWidgetFor(kMainWindow);
    for (QWidget* widget = content->childAt(at); widget && widget != content;
         widget = widget->parentWidget()) {
        for (ControlId id : MainControls()) {
            if (WidgetFor(id) == widget) return id;
        }
    }
    return std::nullopt;
}

std::string NameOf(std::optional<ControlId> id) {
    return id ? std::to_string(static_cast<int>(*id)) : "none";
}

struct WindowCase {
    const char* name;
    int width;
    bool laidOut;  // false: the creation frames, before the first layout
};

void PrintTo(const WindowCase& c, std::ostream* os) {
    *os << c.name;
}

class ClickTargetTest : public MainWindowTest, public ::testing::WithParamInterface<WindowCase> {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        if (GetParam().laidOut) {
            TheUi().SetContentSize(kMainWindow, {GetParam().width, 500});
            LayoutMainWindow();
        }
        // Every control enabled, as after a completed run, so that each can take its clicks.
        for (ControlId id : MainControls()) TheUi().SetEnabled(id, true);
        Settle();
        Events().Clear();
    }
};

TEST_P(ClickTargetTest, EveryOverlapSendsClicksToTheControlMeantForThem) {
    std::vector<ControlId> ids = MainControls();
    int pairs = 0;
    for (size_t i = 0; i < ids.size(); ++i) {
        for (size_t j = i + 1; j < ids.size(); ++j) {
            QRect overlap = FrameOf(ids[i]).intersected(FrameOf(ids[j]));
            if (overlap.isEmpty()) continue;
            ++pairs;
            for (int y = overlap.top(); y <= overlap.bottom(); ++y) {
                for (int x = overlap.left(); x <= overlap.right(); ++x) {
                    QPoint at(x, y);
                    std::optional<ControlId> meant = MeantFor(at);
                    std::optional<ControlId> receiver = ReceiverAt(at);
                    if (meant == receiver) continue;
                    ADD_FAILURE() << "controls " << static_cast<int>(ids[i]) << " and "
                                  << static_cast<int>(ids[j]) << ": a click at (" << x << ", " << y
                                  << ") is meant for " << NameOf(meant) << " but reaches "
                                  << NameOf(receiver);
                    return;
                }
            }
        }
    }
    EXPECT_GT(pairs, 0);
}

// A real click through the window on every button, in the middle of each part it shares with another frame.
TEST_P(ClickTargetTest, ButtonsUnderOtherFramesTakeTheirClicks) {
    QWidget* content = ContentWidgetFor(kMainWindow);
    for (ControlId button : {kExclusionsButton, kExportButton, kAbortButton, kClearFilesButton}) {
        for (ControlId other : MainControls()) {
            QRect overlap = FrameOf(button).intersected(FrameOf(other));
            if (other == button || overlap.isEmpty() || MeantFor(overlap.center()) != button) continue;
            Events().Clear();
            QTest::mouseClick(Main()->windowHandle(), Qt::LeftButton, {},
                              content->mapTo(Main(), overlap.center()));
            std::vector<Event> events = ControlEventsOf(button);
            ASSERT_EQ(events.size(), 1u)
                << "button " << static_cast<int>(button) << " under " << static_cast<int>(other);
            EXPECT_EQ(events[0].type, kLeftClick);
        }
    }
}

// The reported case: after the layout at the smallest width, the Exclusions button lies under the short-paths
// check box's frame.
TEST_F(MainWindowTest, ExclusionsButtonTakesClicksAfterTheLayoutAtTheSmallestWidth) {
    LayoutMainWindow();
    Settle();
    ASSERT_EQ(WidgetFor(kExclusionsButton)->geometry(), QRect(440, 50, 100, 25));
    ASSERT_TRUE(WidgetFor(kShortPathsCheckbox)->geometry().contains(490, 62));
    QPoint at = ContentWidgetFor(kMainWindow)->mapTo(Main(), QPoint(490, 62));
    QTest::mouseClick(Main()->windowHandle(), Qt::LeftButton, {}, at);
    EXPECT_EQ(ControlEventsOf(kExclusionsButton).size(), 1u);
    EXPECT_TRUE(ControlEventsOf(kShortPathsCheckbox).empty());
    // The check box still takes clicks on its box.
    QPoint box = ContentWidgetFor(kMainWindow)->mapTo(Main(), QPoint(248, 62));
    QTest::mouseClick(Main()->windowHandle(), Qt::LeftButton, {}, box);
    EXPECT_EQ(ControlEventsOf(kShortPathsCheckbox).size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Windows, ClickTargetTest,
                         ::testing::Values(WindowCase{"Created", 800, false},
                                           WindowCase{"LaidOutAt800", 800, true},
                                           WindowCase{"LaidOutAt1024", 1024, true}),
                         [](const ::testing::TestParamInfo<WindowCase>& paramInfo) {
                             return paramInfo.param.name;
                         });

}  // namespace
}  // namespace corvane::platform

// The real widgets that start-up builds, and where the layout moves them.
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>

#include "app/layout.h"
#include "engine/run_control.h"
#include "program/events.h"
#include "qt_fixture.h"

namespace corvane::platform {
namespace {

struct Expected {
    ControlId id;
    const char* className;
    QRect frame;
    const char* text;  // nullptr: no text to compare
    bool enabled;
};

const Expected kCreated[] = {
    {kAlgorithmLabel, "QLabel", {10, 30, 580, 25}, "Choose the checksum algorithm:", true},
    {kExclusionsButton, "QPushButton", {660, 50, 130, 30}, "Exclusions", true},
    {kExportButton, "QPushButton", {480, 50, 170, 30}, "Export Checksums", false},
    {kAlgorithmPopup, "QComboBox", {10, 50, 200, 25}, "MD5", true},
    {kSearchField, "QLineEdit", {560, 5, 190, 24}, "", false},
    {kClearFilesButton, "QPushButton", {660, 460, 130, 25}, "Clear Files", false},
    {kShortPathsCheckbox, "QCheckBox", {240, 50, 320, 25}, "Use short file paths", true},
    {kDockTimeCheckbox, "QCheckBox", {240, 30, 300, 25}, "Show time left on Dock", true},
    {kStatusLine, "QLineEdit", {10, 90, 780, 25}, kReadyText, true},
    {kChecksumList, "QTableView", {10, 130, 780, 296}, nullptr, false},
    {kAbortButton, "QPushButton", {560, 460, 100, 25}, "Abort", false},
    {kRunProgressBar, "QProgressBar", {10, 440, 780, 20}, nullptr, true},
    {kEtaLine, "QLabel", {10, 460, 600, 25}, "", true},
    {kAlgorithmHelpIcon, "QLabel", {210, 54, 24, 24}, nullptr, true},
    {kShortPathsHelpIcon, "QLabel", {384, 54, 24, 24}, nullptr, true},
    {kDockTimeHelpIcon, "QLabel", {404, 34, 24, 24}, nullptr, true},
    {kSearchHelpIcon, "QLabel", {760, 10, 24, 24}, nullptr, false},
};

QString ShownText(QWidget* widget) {
    if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text();
    if (auto* field = qobject_cast<QLineEdit*>(widget)) return field->text();
    if (auto* popup = qobject_cast<QComboBox*>(widget)) return popup->currentText();
    return {};
}

TEST_F(MainWindowTest, EveryControlIsTheRightWidgetInItsCreationFrame) {
    for (const Expected& e : kCreated) {
        SCOPED_TRACE(static_cast<int>(e.id));
        QWidget* widget = WidgetFor(e.id);
        ASSERT_NE(widget, nullptr);
        EXPECT_TRUE(widget->inherits(e.className)) << widget->metaObject()->className();
        EXPECT_EQ(widget->parentWidget(), ContentWidgetFor(kMainWindow));
        EXPECT_EQ(widget->geometry(), e.frame);
        EXPECT_EQ(widget->isEnabled(), e.enabled);
        EXPECT_TRUE(widget->isVisible());
        if (e.text) {
            EXPECT_EQ(ShownText(widget).toStdString(), e.text);
        }
    }
}

TEST_F(MainWindowTest, MainWindowHasItsTitleAndAContentAreaBelowTheMenuBar) {
    auto* main = qobject_cast<QMainWindow*>(Main());
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(main->isVisible());
    EXPECT_EQ(main->windowTitle().toStdString(), MainWindowTitle(0));
    EXPECT_EQ(ContentWidgetFor(kMainWindow)->size(), QSize(800, 500));
    EXPECT_GT(main->height(), 500);  // the menu bar is not part of the content
    EXPECT_TRUE(main->acceptDrops());
    ASSERT_NE(main->menuBar(), nullptr);
    ASSERT_EQ(main->menuBar()->actions().size(), 1);
    EXPECT_EQ(main->menuBar()->actions()[0]->text(), "Corvane");
}

TEST_F(MainWindowTest, ApplicationMenuPostsAboutAndQuit) {
    auto* main = qobject_cast<QMainWindow*>(Main());
    QMenu* menu = main->menuBar()->actions()[0]->menu();
    ASSERT_NE(menu, nullptr);
    QStringList titles;
    for (QAction* action : menu->actions()) {
        if (!action->isSeparator()) titles << action->text();
    }
    EXPECT_EQ(titles, QStringList({"About Corvane", "Quit Corvane"}));
    for (QAction* action : menu->actions()) {
        if (action->text() == "Quit Corvane") {
            EXPECT_EQ(action->shortcut(), QKeySequence("Ctrl+Q"));
        }
        action->trigger();
    }
    EXPECT_EQ(CountEvents(kMenuEvent, kAppAboutItem), 1);
    EXPECT_EQ(CountEvents(kMenuEvent, kQuitItem), 1);
}

TEST_F(MainWindowTest, HelpIconsCarryTheirTooltipsAndAnIcon) {
    for (ControlId id : {kAlgorithmHelpIcon, kShortPathsHelpIcon, kDockTimeHelpIcon, kSearchHelpIcon}) {
        auto* icon = qobject_cast<QLabel*>(WidgetFor(id));
        ASSERT_NE(icon, nullptr);
        EXPECT_FALSE(icon->pixmap().isNull());
        // Line feed plus carriage return separates paragraphs by an empty line.
        QString expected = QString::fromStdString(TheUi().Control(id).tooltip).replace("\n\r", "\n\n");
        EXPECT_FALSE(expected.isEmpty());
        EXPECT_EQ(icon->toolTip(), expected);
    }
    EXPECT_TRUE(WidgetFor(kAlgorithmHelpIcon)->toolTip().startsWith("MD5: Fast."));
}

TEST_F(MainWindowTest, ButtonsShowTheirSymbolImages) {
    for (ControlId id : {kExclusionsButton, kExportButton, kAbortButton, kClearFilesButton}) {
        auto* button = qobject_cast<QPushButton*>(WidgetFor(id));
        ASSERT_NE(button, nullptr);
        EXPECT_FALSE(button->icon().isNull()) << button->text().toStdString();
    }
}

TEST_F(MainWindowTest, PopupListsTheAlgorithmsWithTheSettingSelected) {
    auto* popup = qobject_cast<QComboBox*>(WidgetFor(kAlgorithmPopup));
    ASSERT_NE(popup, nullptr);
    QStringList items;
    for (int i = 0; i < popup->count(); ++i) items << popup->itemText(i);
    EXPECT_EQ(items, QStringList({"MD5", "CRC32", "SHA1", "SHA256", "SHA512"}));
    EXPECT_EQ(popup->currentIndex(), 0);
    TheUi().SelectItemWithTitle(kAlgorithmPopup, "SHA256");
    EXPECT_EQ(popup->currentText(), "SHA256");
}

TEST_F(MainWindowTest, StatusLineIsReadOnlyWithItsColours) {
    auto* status = qobject_cast<QLineEdit*>(WidgetFor(kStatusLine));
    ASSERT_NE(status, nullptr);
    EXPECT_TRUE(status->isReadOnly());
    EXPECT_EQ(status->palette().color(QPalette::Base), QColor(255, 254, 223));
    EXPECT_EQ(status->palette().color(QPalette::Text), QColor(0, 0, 0));
    auto* search = qobject_cast<QLineEdit*>(WidgetFor(kSearchField));
    EXPECT_FALSE(search->isReadOnly());
    EXPECT_TRUE(search->isClearButtonEnabled());
}

TEST_F(MainWindowTest, ListHasItsColumnsAndLook) {
    auto* list = qobject_cast<QTableView*>(WidgetFor(kChecksumList));
    ASSERT_NE(list, nullptr);
    const char* titles[] = {"File Name", "File Checksum", "File Size", "File Date", "Status"};
    const int widths[] = {360, 200, 80, 80, 50};
    ASSERT_EQ(list->model()->columnCount(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(list->model()->headerData(i, Qt::Horizontal).toString(), titles[i]);
        EXPECT_EQ(list->horizontalHeader()->sectionSize(i), widths[i]);
    }
    EXPECT_FALSE(list->horizontalHeader()->sectionsMovable());
    EXPECT_FALSE(list->showGrid());
    EXPECT_TRUE(list->alternatingRowColors());
    EXPECT_EQ(list->selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_EQ(list->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(list->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(list->verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    EXPECT_EQ(list->verticalHeader()->sectionResizeMode(0), QHeaderView::Fixed);
    EXPECT_EQ(list->model()->rowCount(), 0);
}

TEST_F(MainWindowTest, LayoutAtTheMinimumMovesTheWidgetsToTheirPlaces) {
    LayoutMainWindow();
    Settle();
    const std::pair<ControlId, QRect> frames[] = {
        {kStatusLine, {10, 90, 780, 25}},      {kChecksumList, {10, 130, 780, 260}},
        {kRunProgressBar, {10, 400, 780, 20}}, {kEtaLine, {10, 425, 780, 25}},
        {kAbortButton, {520, 465, 100, 25}},   {kClearFilesButton, {680, 465, 100, 25}},
        {kExportButton, {560, 50, 100, 25}},   {kExclusionsButton, {440, 50, 100, 25}},
        {kSearchField, {560, 5, 190, 24}},     {kSearchHelpIcon, {760, 10, 24, 24}},
    };
    for (const auto& [id, frame] : frames) {
        EXPECT_EQ(WidgetFor(id)->geometry(), frame) << static_cast<int>(id);
    }
    auto* list = qobject_cast<QTableView*>(WidgetFor(kChecksumList));
    const int widths[] = {351, 195, 117, 78, 39};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(list->horizontalHeader()->sectionSize(i), widths[i]);
    EXPECT_EQ(ContentWidgetFor(kMainWindow)->size(), QSize(800, 500));
}

TEST_F(MainWindowTest, ButtonTitlesFitTheirFramesAfterTheLayout) {
    LayoutMainWindow();
    Settle();
    for (ControlId id : {kExportButton, kExclusionsButton, kAbortButton, kClearFilesButton}) {
        auto* button = qobject_cast<QPushButton*>(WidgetFor(id));
        int needed = button->fontMetrics().horizontalAdvance(button->text()) + button->iconSize().width();
        // Margins of 3 on each side and 3 between icon and title.
        EXPECT_LE(needed + 9, button->width()) << button->text().toStdString();
    }
    for (ControlId id : {kAlgorithmLabel, kShortPathsCheckbox, kDockTimeCheckbox, kStatusLine}) {
        QWidget* widget = WidgetFor(id);
        EXPECT_LE(widget->fontMetrics().horizontalAdvance(ShownText(widget)), widget->width() - 24);
    }
}

TEST_F(MainWindowTest, ContentSizeSetByTheProgramKeepsTheTopLeftCorner) {
    QPoint corner = Main()->pos();
    TheUi().SetContentSize(kMainWindow, {900, 600});
    Settle();
    EXPECT_EQ(ContentWidgetFor(kMainWindow)->size(), QSize(900, 600));
    EXPECT_EQ(Main()->pos(), corner);
    // The program's own change is already in the state: no size event comes back for it.
    EXPECT_EQ(CountEvents(kSizeEvent), 0);
}

}  // namespace
}  // namespace corvane::platform

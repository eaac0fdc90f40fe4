// Changes made on another thread reach the widgets on the GUI thread, batched.
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTableView>
#include <thread>

#include "program/ids.h"
#include "qt_fixture.h"

namespace corvane::platform {
namespace {

ListRow MakeRow(int i, bool red = false) {
    ListRow row;
    row.cells = {"/tmp/file" + std::to_string(i), "sum" + std::to_string(i), "1 KB", "01/02/2026",
                 "\xE2\x9C\x85"};
    row.red = red;
    return row;
}

QTableView* List() {
    return qobject_cast<QTableView*>(WidgetFor(kChecksumList));
}

TEST_F(MainWindowTest, TextsAndRowsSetOnAWorkerThreadReachTheWidgets) {
    constexpr int kRows = 10000;
    int insertions = 0;
    QObject::connect(List()->model(), &QAbstractItemModel::rowsInserted, [&] { ++insertions; });
    std::thread worker([] {
        for (int i = 0; i < kRows; ++i) TheUi().AppendRow(kChecksumList, MakeRow(i, i == 7));
        TheUi().SetText(kStatusLine, "Processing...");
        TheUi().SetText(kEtaLine, "3 total files");
        TheUi().SetValue(kRunProgressBar, 40);
    });
    worker.join();
    // Nothing reaches a widget off the GUI thread.
    EXPECT_EQ(List()->model()->rowCount(), 0);
    EXPECT_TRUE(QTest::qWaitFor([] { return List()->model()->rowCount() == kRows; }, kHangGuardMs));
    // The appends made while the GUI thread was busy reach the view as one insertion.
    EXPECT_EQ(insertions, 1);
    EXPECT_EQ(qobject_cast<QLineEdit*>(WidgetFor(kStatusLine))->text(), "Processing...");
    EXPECT_EQ(qobject_cast<QLabel*>(WidgetFor(kEtaLine))->text(), "3 total files");
    EXPECT_EQ(qobject_cast<QProgressBar*>(WidgetFor(kRunProgressBar))->value(), 40);
    QAbstractItemModel* model = List()->model();
    EXPECT_EQ(model->data(model->index(9999, 0)).toString(), "/tmp/file9999");
    EXPECT_EQ(model->data(model->index(7, 3), Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
    EXPECT_FALSE(model->data(model->index(8, 3), Qt::ForegroundRole).isValid());
}

TEST_F(MainWindowTest, ChangeForAControlClosedMeanwhileIsDropped) {
    WindowSpec spec;
    spec.kind = WindowKind::Sheet;
    spec.contentSize = {460, 200};
    spec.parent = kMainWindow;
    TheUi().CreateWindow(kExclusionsSheet, spec);
    TheUi().CreateControl(kExclusionsLabel, {ControlKind::Label, kExclusionsSheet, {20, 10, 440, 20}, ""});
    std::thread worker([] { TheUi().SetText(kExclusionsLabel, "late"); });
    worker.join();
    TheUi().CloseWindow(kExclusionsSheet);
    Settle();
    EXPECT_EQ(WidgetFor(kExclusionsLabel), nullptr);
    EXPECT_NE(WidgetFor(kStatusLine), nullptr);
}

TEST_F(MainWindowTest, AppendsBecomeInsertionsAndARefillAReset) {
    QAbstractItemModel* model = List()->model();
    int inserted = 0;
    int resets = 0;
    QObject::connect(model, &QAbstractItemModel::rowsInserted,
                     [&](const QModelIndex&, int first, int last) { inserted += last - first + 1; });
    QObject::connect(model, &QAbstractItemModel::modelReset, [&] { ++resets; });
    int changed = 0;
    QObject::connect(model, &QAbstractItemModel::dataChanged, [&] { ++changed; });
    for (int i = 0; i < 3; ++i) TheUi().AppendRow(kChecksumList, MakeRow(i));
    EXPECT_EQ(inserted, 3);
    EXPECT_EQ(resets, 0);
    // The rows already shown are not drawn again for an append.
    EXPECT_EQ(changed, 0);
    // Emptied and refilled to more rows than before between two updates: still a reset, not an append.
    std::thread worker([] {
        TheUi().ClearRows(kChecksumList);
        for (int i = 10; i < 15; ++i) TheUi().AppendRow(kChecksumList, MakeRow(i));
    });
    worker.join();
    Settle();
    EXPECT_EQ(resets, 1);
    EXPECT_EQ(model->rowCount(), 5);
    EXPECT_EQ(model->data(model->index(0, 0)).toString(), "/tmp/file10");
}

TEST_F(MainWindowTest, RowTurnedRedLaterIsDrawnRed) {
    TheUi().AppendRow(kChecksumList, MakeRow(0));
    QAbstractItemModel* model = List()->model();
    int changed = 0;
    QObject::connect(model, &QAbstractItemModel::dataChanged,
                     [&](const QModelIndex& first) { changed += first.row() == 0 ? 1 : 0; });
    EXPECT_FALSE(model->data(model->index(0, 0), Qt::ForegroundRole).isValid());
    TheUi().SetRowRed(kChecksumList, 0, true);
    EXPECT_EQ(changed, 1);  // the view draws the row again
    for (int column = 0; column < 5; ++column) {
        EXPECT_EQ(model->data(model->index(0, column), Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
    }
    TheUi().SetRowRed(kChecksumList, 0, true);
    EXPECT_EQ(changed, 1);
}

TEST_F(MainWindowTest, ProgressAboveOneHundredDrawsAFullBar) {
    auto* bar = qobject_cast<QProgressBar*>(WidgetFor(kRunProgressBar));
    TheUi().SetValue(kRunProgressBar, 50);
    EXPECT_EQ(bar->value(), 50);
    TheUi().SetValue(kRunProgressBar, 261);
    EXPECT_EQ(bar->value(), 100);
    EXPECT_EQ(bar->maximum(), 100);
}

TEST_F(MainWindowTest, ProgramSelectionOfARowShowsIt) {
    for (int i = 0; i < 200; ++i) TheUi().AppendRow(kChecksumList, MakeRow(i));
    TheUi().SetEnabled(kChecksumList, true);
    TheUi().SelectRow(kChecksumList, 150);
    Settle();
    QModelIndexList selected = List()->selectionModel()->selectedRows();
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(selected[0].row(), 150);
    EXPECT_TRUE(List()->viewport()->rect().intersects(List()->visualRect(List()->model()->index(150, 0))));
    // A selection made by the program reports nothing.
    EXPECT_TRUE(ControlEventsOf(kChecksumList).empty());
}

}  // namespace
}  // namespace corvane::platform

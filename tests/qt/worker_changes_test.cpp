// Changes made on another thread reach the widgets on the GUI thread, batched.
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTableView>
#include <thread>

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
    return qobject_cast<QTableView*>(WidgetFor(ControlId::ChecksumList));
}

TEST_F(MainWindowTest, TextsAndRowsSetOnAWorkerThreadReachTheWidgets) {
    constexpr int kRows = 10000;
    int insertions = 0;
    QObject::connect(List()->model(), &QAbstractItemModel::rowsInserted, [&] { ++insertions; });
    std::thread worker([] {
        for (int i = 0; i < kRows; ++i) TheUi().AppendRow(ControlId::ChecksumList, MakeRow(i, i == 7));
        TheUi().SetText(ControlId::StatusLine, "Processing...");
        TheUi().SetText(ControlId::EtaLine, "3 total files");
        TheUi().SetValue(ControlId::RunProgressBar, 40);
    });
    worker.join();
    // Nothing reaches a widget off the GUI thread.
    EXPECT_EQ(List()->model()->rowCount(), 0);
    EXPECT_TRUE(QTest::qWaitFor([] { return List()->model()->rowCount() == kRows; }, kHangGuardMs));
    // The appends made while the GUI thread was busy reach the view as one insertion.
    EXPECT_EQ(insertions, 1);
    EXPECT_EQ(qobject_cast<QLineEdit*>(WidgetFor(ControlId::StatusLine))->text(), "Processing...");
    EXPECT_EQ(qobject_cast<QLabel*>(WidgetFor(ControlId::EtaLine))->text(), "3 total files");
    EXPECT_EQ(qobject_cast<QProgressBar*>(WidgetFor(ControlId::RunProgressBar))->value(), 40);
    QAbstractItemModel* model = List()->model();
    EXPECT_EQ(model->data(model->index(9999, 0)).toString(), "/tmp/file9999");
    EXPECT_EQ(model->data(model->index(7, 3), Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
    EXPECT_FALSE(model->data(model->index(8, 3), Qt::ForegroundRole).isValid());
}

TEST_F(MainWindowTest, ChangeForAControlClosedMeanwhileIsDropped) {
    WindowSpec spec;
    spec.kind = WindowKind::Sheet;
    spec.contentSize = {460, 200};
    spec.parent = WindowId::Main;
    TheUi().CreateWindow(WindowId::ExclusionsSheet, spec);
    TheUi().CreateControl(ControlId::ExclusionsLabel,
                          {ControlKind::Label, WindowId::ExclusionsSheet, {20, 10, 440, 20}, ""});
    std::thread worker([] { TheUi().SetText(ControlId::ExclusionsLabel, "late"); });
    worker.join();
    TheUi().CloseWindow(WindowId::ExclusionsSheet);
    Settle();
    EXPECT_EQ(WidgetFor(ControlId::ExclusionsLabel), nullptr);
    EXPECT_NE(WidgetFor(ControlId::StatusLine), nullptr);
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
    for (int i = 0; i < 3; ++i) TheUi().AppendRow(ControlId::ChecksumList, MakeRow(i));
    EXPECT_EQ(inserted, 3);
    EXPECT_EQ(resets, 0);
    // The rows already shown are not drawn again for an append.
    EXPECT_EQ(changed, 0);
    // Emptied and refilled to more rows than before between two updates: still a reset, not an append.
    std::thread worker([] {
        TheUi().ClearRows(ControlId::ChecksumList);
        for (int i = 10; i < 15; ++i) TheUi().AppendRow(ControlId::ChecksumList, MakeRow(i));
    });
    worker.join();
    Settle();
    EXPECT_EQ(resets, 1);
    EXPECT_EQ(model->rowCount(), 5);
    EXPECT_EQ(model->data(model->index(0, 0)).toString(), "/tmp/file10");
}

TEST_F(MainWindowTest, RowTurnedRedLaterIsDrawnRed) {
    TheUi().AppendRow(ControlId::ChecksumList, MakeRow(0));
    QAbstractItemModel* model = List()->model();
    int changed = 0;
    QObject::connect(model, &QAbstractItemModel::dataChanged,
                     [&](const QModelIndex& first) { changed += first.row() == 0 ? 1 : 0; });
    EXPECT_FALSE(model->data(model->index(0, 0), Qt::ForegroundRole).isValid());
    TheUi().SetRowRed(ControlId::ChecksumList, 0, true);
    EXPECT_EQ(changed, 1);  // the view draws the row again
    for (int column = 0; column < 5; ++column) {
        EXPECT_EQ(model->data(model->index(0, column), Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
    }
    TheUi().SetRowRed(ControlId::ChecksumList, 0, true);
    EXPECT_EQ(changed, 1);
}

TEST_F(MainWindowTest, ProgressAboveOneHundredDrawsAFullBar) {
    auto* bar = qobject_cast<QProgressBar*>(WidgetFor(ControlId::RunProgressBar));
    TheUi().SetValue(ControlId::RunProgressBar, 50);
    EXPECT_EQ(bar->value(), 50);
    TheUi().SetValue(ControlId::RunProgressBar, 261);
    EXPECT_EQ(bar->value(), 100);
    EXPECT_EQ(bar->maximum(), 100);
}

TEST_F(MainWindowTest, ProgramSelectionOfARowShowsIt) {
    for (int i = 0; i < 200; ++i) TheUi().AppendRow(ControlId::ChecksumList, MakeRow(i));
    TheUi().SetEnabled(ControlId::ChecksumList, true);
    TheUi().SelectRow(ControlId::ChecksumList, 150);
    Settle();
    QModelIndexList selected = List()->selectionModel()->selectedRows();
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(selected[0].row(), 150);
    EXPECT_TRUE(List()->viewport()->rect().intersects(List()->visualRect(List()->model()->index(150, 0))));
    // A selection made by the program reports nothing.
    EXPECT_TRUE(ControlEventsOf(ControlId::ChecksumList).empty());
}

}  // namespace
}  // namespace corvane::platform

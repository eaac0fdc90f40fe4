// How the windows are painted: at most once a frame, and the list's marks from kept pixmaps.
#include <QPainter>
#include <QScrollBar>
#include <QTableView>

#include "platform/qt/qt_mark_delegate.h"
#include "platform/qt/qt_paint_pacer.h"
#include "program/ids.h"
#include "qt_fixture.h"

namespace corvane::platform {
namespace {

class PaintCounter : public QObject {
  public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int paints = 0;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

TEST_F(QtBackendTest, PaintWithinAFrameOfThePreviousWaitsForTheFrameToPass) {
    PaintPacer::Clock::time_point now = PaintPacer::Clock::now();
    QWidget window;
    window.resize(200, 100);
    new PaintPacer(&window, [&now] { return now; });
    PaintCounter counter(&window);
    window.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return counter.paints > 0; }, 5000));

    now += PaintPacer::kFrame;
    window.update();
    ASSERT_TRUE(QTest::qWaitFor([&] { return counter.paints == 2; }, 5000));
    // Within the frame of that paint: held back, however long the loop runs meanwhile.
    window.update();
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(counter.paints, 2);
    // Painted once the frame has passed, without another change.
    now += PaintPacer::kFrame;
    EXPECT_TRUE(QTest::qWaitFor([&] { return counter.paints == 3; }, 5000));
    // A window that must show now is painted at once.
    PaintPacer::PaintNow(&window);
    EXPECT_EQ(counter.paints, 4);
}

TEST_F(MainWindowTest, DrawingAWindowNowPaintsItWithinTheCall) {
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Main()));
    Settle();
    PaintCounter counter(WidgetFor(kStatusLine));
    // The second call comes within a frame of the first.
    for (int call = 0; call < 2; ++call) {
        int before = counter.paints;
        Application().DrawWindowNow(kMainWindow);
        EXPECT_GT(counter.paints, before) << "call " << call;
    }
}

TEST_F(MainWindowTest, StatusTextChangedInABurstEndsUpPainted) {
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Main()));
    auto* status = WidgetFor(kStatusLine);
    for (int i = 0; i < 50; ++i) {
        TheUi().SetText(kStatusLine, "Processing: file" + std::to_string(i));
        QCoreApplication::processEvents();
    }
    PaintCounter counter(status);
    EXPECT_TRUE(QTest::qWaitFor([&] { return counter.paints > 0; }, 5000));
}

TEST_F(MainWindowTest, RowsAddedBelowAFullListDrawOnlyTheScrollBar) {
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Main()));
    auto* list = qobject_cast<QTableView*>(WidgetFor(kChecksumList));
    auto add = [](int from, int to) {
        for (int i = from; i < to; ++i) {
            ListRow row;
            row.cells = {"/tmp/file" + std::to_string(i), "sum", "1 KB", "01/02/26", "\xE2\x9C\x85"};
            TheUi().AppendRow(kChecksumList, row);
        }
    };
    PaintCounter rows(list->viewport());
    // The first rows show.
    add(0, 3);
    ASSERT_TRUE(QTest::qWaitFor([&] { return rows.paints > 0; }, 5000));
    add(3, 200);
    ASSERT_TRUE(QTest::qWaitFor([&] { return list->verticalScrollBar()->maximum() > 0; }, 5000));
    PaintCounter bar(list->verticalScrollBar());
    ASSERT_TRUE(QTest::qWaitFor([&] { return bar.paints > 0; }, 5000));
    int painted = rows.paints;
    int barPainted = bar.paints;

    // The window paints what changed in one go: once the scroll bar shows the new rows, the rows shown
    // would have been drawn with it.
    add(200, 300);
    ASSERT_TRUE(QTest::qWaitFor([&] { return bar.paints > barPainted; }, 5000));
    EXPECT_EQ(rows.paints, painted);
    // Scrolled to the end, the rows added later are drawn.
    list->scrollToBottom();
    EXPECT_TRUE(QTest::qWaitFor([&] { return rows.paints > painted; }, 5000));
}

class MarkCellsTest : public MainWindowTest {
  protected:
    static QTableView* List() { return qobject_cast<QTableView*>(WidgetFor(kChecksumList)); }

    static void AddRows(int count) {
        const char* marks[] = {"\xE2\x9C\x85", "\xE2\x9D\x97\xEF\xB8\x8F", "  \xE2\x9D\x8C"};
        for (int i = 0; i < count; ++i) {
            ListRow row;
            row.cells = {"/tmp/file" + std::to_string(i), "sum", "1 KB", "01/02/26", marks[i % 3]};
            row.red = i % 3 == 1;
            TheUi().AppendRow(kChecksumList, row);
        }
        Settle();
    }

    // One cell painted over white by the delegate given.
    static QImage Cell(const QAbstractItemDelegate& delegate, int row) {
        QModelIndex index = List()->model()->index(row, 4);
        QStyleOptionViewItem option;
        option.initFrom(List()->viewport());
        option.rect = List()->visualRect(index).translated(-List()->visualRect(index).topLeft());
        option.widget = List();
        QImage image(option.rect.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        QPainter painter(&image);
        delegate.paint(&painter, option, index);
        return image;
    }
};

TEST_F(MarkCellsTest, EachLookOfAMarkIsDrawnOnce) {
    AddRows(60);
    auto* delegate = dynamic_cast<MarkDelegate*>(List()->itemDelegateForColumn(4));
    ASSERT_NE(delegate, nullptr);
    List()->grab();
    int drawn = delegate->DrawnCells();
    // Three marks, a red row for the threat, on plain and alternate rows at most.
    EXPECT_GE(drawn, 3);
    EXPECT_LE(drawn, 6);
    List()->grab();
    EXPECT_EQ(delegate->DrawnCells(), drawn);
}

TEST_F(MarkCellsTest, KeptCellsLookAsTheStyleDrawsThem) {
    AddRows(3);
    QStyledItemDelegate plain;
    MarkDelegate kept;
    for (int row = 0; row < 3; ++row) {
        QImage expected = Cell(plain, row);
        // The first paint fills the cache, the second copies from it.
        for (int paint = 0; paint < 2; ++paint) {
            QImage got = Cell(kept, row);
            ASSERT_EQ(got.size(), expected.size());
            int worst = 0;
            for (int y = 0; y < got.height(); ++y) {
                for (int x = 0; x < got.width(); ++x) {
                    QRgb a = got.pixel(x, y), b = expected.pixel(x, y);
                    worst = std::max({worst, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                                      std::abs(qBlue(a) - qBlue(b))});
                }
            }
            EXPECT_LE(worst, 2) << "row " << row << ", paint " << paint;
        }
    }
    EXPECT_EQ(kept.DrawnCells(), 3);
}

}  // namespace
}  // namespace corvane::platform

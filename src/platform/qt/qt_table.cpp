#include "platform/qt/qt_table.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QMouseEvent>
#include <QTableView>
#include <utility>

#include "platform/events.h"
#include "platform/qt/qt_mark_delegate.h"
#include "platform/qt/qt_text.h"

namespace corvane::platform {

namespace {

constexpr int kStatusColumn = 4;

// Reads rows straight from the layer; it only keeps the row count and generation it last announced to
// the view, so that appends become row insertions and a refill becomes a reset.
class RowsModel : public QAbstractTableModel {
  public:
    explicit RowsModel(ControlId id, QObject* parent) : QAbstractTableModel(parent), id_(id) {}

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : rows_; }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(kColumns);
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ForegroundRole)) return {};
        std::optional<ListRow> row = TheUi().Row(id_, static_cast<size_t>(index.row()));
        if (!row) return {};
        if (role == Qt::ForegroundRole) return row->red ? QVariant(QColor(Qt::red)) : QVariant();
        return ToQString(row->cells[static_cast<size_t>(index.column())]);
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
        return section < titles_.size() ? QVariant(titles_[section]) : QVariant();
    }

    void SetTitles(const QStringList& titles) {
        if (titles == titles_) return;
        titles_ = titles;
        emit headerDataChanged(Qt::Horizontal, 0, static_cast<int>(kColumns) - 1);
    }

    enum class Synced { Same, Appended, Reset };

    Synced Sync() {
        Ui& ui = TheUi();
        uint64_t recoloured = ui.RowsRecoloured(id_);
        uint64_t generation = ui.RowsGeneration(id_);
        int count = static_cast<int>(ui.RowCount(id_));
        bool settled = ui.RowsGeneration(id_) == generation;
        if (!settled || generation != generation_ || count < rows_) {
            beginResetModel();
            rows_ = count;
            // A refill that raced with this read is reset again by the notice that follows it.
            generation_ = settled ? generation : generation - 1;
            recoloured_ = recoloured;
            endResetModel();
            return Synced::Reset;
        }
        Synced synced = Synced::Same;
        if (count > rows_) {
            beginInsertRows({}, rows_, count - 1);
            rows_ = count;
            endInsertRows();
            synced = Synced::Appended;
        }
        // A row may turn red after it was added. Only then are the shown rows drawn again: an append alone
        // leaves them as they are.
        if (recoloured != recoloured_ && rows_ > 0) {
            emit dataChanged(index(0, 0), index(rows_ - 1, kColumns - 1), {Qt::ForegroundRole});
        }
        recoloured_ = recoloured;
        return synced;
    }

  private:
    ControlId id_;
    QStringList titles_;
    int rows_ = 0;
    uint64_t generation_ = 0;
    uint64_t recoloured_ = 0;
};

class TableControl : public QTableView, public ControlHost {
  public:
    TableControl(ControlId id, WindowId window, QWidget* parent)
        : QTableView(parent), ControlHost(id, window), model_(new RowsModel(id, this)) {
        setModel(model_);
        setItemDelegateForColumn(kStatusColumn, new MarkDelegate(this));
        setSelectionBehavior(QAbstractItemView::SelectRows);
        setSelectionMode(QAbstractItemView::SingleSelection);
        setEditTriggers(QAbstractItemView::NoEditTriggers);
        setShowGrid(false);
        setAlternatingRowColors(true);
        setWordWrap(false);
        setCornerButtonEnabled(false);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        setAcceptDrops(false);
        viewport()->setAcceptDrops(false);
        verticalHeader()->hide();
        verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
        QHeaderView* header = horizontalHeader();
        header->setSectionsMovable(false);
        header->setSectionResizeMode(QHeaderView::Interactive);
        header->setStretchLastSection(false);
        header->setHighlightSections(false);
        header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        setContextMenuPolicy(Qt::CustomContextMenu);
        connect(this, &QWidget::customContextMenuRequested, this,
                [this](const QPoint& at) { ContextMenu(at); });
        // Keys, clicks and drags all move the selection; the layer holds whatever the user sees selected.
        connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
            if (!applying_) TheUi().UserSelectRow(Id(), SelectedRow());
        });
    }

    QWidget* Widget() override { return this; }

    void Apply(const ControlState& state) override {
        ApplyCommon(state);
        const auto& table = std::get<TableState>(state.fields);
        QStringList titles;
        for (const auto& title : table.columnTitles) titles << ToQString(title);
        model_->SetTitles(titles);
        if (table.columnWidths != widths_) {
            // Only a change of the program's widths is applied, so widths the user dragged stay otherwise.
            widths_ = table.columnWidths;
            for (size_t i = 0; i < widths_.size() && i < kColumns; ++i) {
                horizontalHeader()->resizeSection(static_cast<int>(i), widths_[i]);
            }
        }
        Sync();
        if (table.selected != SelectedRow()) {
            applying_ = true;
            if (table.selected < 0 || table.selected >= model_->rowCount()) {
                clearSelection();
            } else {
                selectRow(table.selected);
                scrollTo(model_->index(table.selected, 0));
            }
            applying_ = false;
        }
    }

    void SyncRows() override { Sync(); }

    void RevealRow(int row) override {
        Sync();
        if (row >= 0 && row < model_->rowCount()) scrollTo(model_->index(row, 0));
    }

  protected:
    void mousePressEvent(QMouseEvent* event) override {
        // The right button only asks for the context menu; the selection is changed there.
        if (event->button() == Qt::RightButton) {
            event->accept();
            return;
        }
        QTableView::mousePressEvent(event);
        if (event->button() == Qt::LeftButton) leftPressed_ = true;
    }

    // The second press of a double click is a press like the first.
    void mouseDoubleClickEvent(QMouseEvent* event) override {
        QTableView::mouseDoubleClickEvent(event);
        if (event->button() == Qt::LeftButton) leftPressed_ = true;
    }

    // A left click is a press and a release on the list: it is reported when the button comes up, so the
    // row a drag ended on is the selected one. A release outside the list (a drag out of it) reports
    // nothing.
    void mouseReleaseEvent(QMouseEvent* event) override {
        QTableView::mouseReleaseEvent(event);
        if (event->button() != Qt::LeftButton || !leftPressed_) return;
        leftPressed_ = false;
        if (viewport()->rect().contains(event->position().toPoint())) Post(kLeftClick);
    }

    // After rows were added below a full list, only the scroll bar changes: the rows shown are not drawn
    // again, as Qt's own layout would do for every append.
    void doItemsLayout() override {
        if (std::exchange(layout_, Layout::None) == Layout::ScrollBarOnly) {
            updateGeometries();
            return;
        }
        QTableView::doItemsLayout();
    }

  private:
    void Sync() {
        int lastShown = rowAt(viewport()->height() - 1);  // -1 when the rows end above the list's bottom
        RowsModel::Synced synced = model_->Sync();
        if (synced == RowsModel::Synced::Appended && isVisible() && lastShown >= 0) {
            // Unless rows that show are still waiting for the layout.
            if (layout_ == Layout::None) layout_ = Layout::ScrollBarOnly;
        } else if (synced != RowsModel::Synced::Same) {
            layout_ = Layout::Full;
        }
    }

    int SelectedRow() const {
        QModelIndexList rows = selectionModel()->selectedRows();
        return rows.isEmpty() ? -1 : rows.first().row();
    }

    void ContextMenu(const QPoint& at) {
        QModelIndex index = indexAt(at);
        if (index.isValid()) selectRow(index.row());
        Post(kRightClick);
    }

    RowsModel* model_;
    std::vector<int> widths_;
    bool applying_ = false;     // the program's own selection is already in the layer
    bool leftPressed_ = false;  // the left button went down on the list and is not up yet
    // What the next layout has to do, by what changed since the last one.
    enum class Layout { None, ScrollBarOnly, Full };
    Layout layout_ = Layout::None;
};

}  // namespace

ControlHost* CreateTableHost(ControlId id, WindowId window, QWidget* parent) {
    return new TableControl(id, window, parent);
}

}  // namespace corvane::platform

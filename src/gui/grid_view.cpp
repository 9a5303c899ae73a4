// The grid as a table over its dataset: cells painted from the model's drawing, the
// cursor and the selected column kept in step both ways, the user's keys, clicks and
// title clicks handed to the model, and the cell being typed shown over its cell.
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <memory>

#include "gui/dataset_model.h"
#include "gui/form_view.h"
#include "gui/grid_cells.h"
#include "gui/grid_delegate.h"
#include "gui/grid_settings.h"
#include "gui/qt_text.h"
#include "gui/screen_layouts.h"
#include "platform/dataset/field.h"

namespace pag::gui {

namespace {

constexpr int kRowHeight = 20;
constexpr int kDefaultColumnWidth = 64;
constexpr int kWidestFit = 260;
constexpr int kRowsMeasured = 200;
constexpr int kCellMargin = 4;          // fitting to the content never makes a column wider
constexpr int kOpeningWidthFrom = 200;  // narrower: the window is not laid out yet

// The grid's visible columns, and for each the grid column it shows.
struct GridColumns {
    std::vector<TableColumn> table;
    std::vector<int> gridIndex;
    std::vector<int> widths;

    // The same columns at the same widths (titles may differ).
    bool sameShape(const GridColumns& o) const {
        return gridIndex == o.gridIndex && widths == o.widths;
    }

    bool sameAs(const GridColumns& o) const {
        if (!sameShape(o)) return false;
        for (size_t i = 0; i < table.size(); ++i)
            if (table[i].title != o.table[i].title ||
                table[i].titlePicture != o.table[i].titlePicture)
                return false;
        return true;
    }
};

GridColumns visibleColumns(Grid& grid) {
    GridColumns out;
    ClientDataSet* data = grid.DataSet();
    for (int i = 0; i < grid.ColumnCount(); ++i) {
        const GridColumn& col = grid.Columns()[static_cast<size_t>(i)];
        if (!col.visible) continue;
        Field* f = data ? data->FindField(col.fieldName) : nullptr;
        // Money and numbers sit on the right.
        bool right =
            col.alignment == Alignment::Right ||
            (f && (f->GetAlignment() == Alignment::Right || f->DataType() == FieldType::Float));
        TableColumn t{
            col.fieldName, toQ(grid.ColumnTitle(i)), right ? Qt::AlignRight : Qt::AlignLeft, {}};
        // A title the screen draws as a picture; a glyph of the symbol font shows the
        // empty check box.
        if (!col.titlePicture.empty())
            t.titlePicture = toQ(col.titlePicture);
        else if (col.titleFont == "Symbol")
            t.titlePicture = QStringLiteral("imgUncheck");
        out.table.push_back(std::move(t));
        out.gridIndex.push_back(i);
        out.widths.push_back(col.width > 0 ? col.width : kDefaultColumnWidth);
    }
    return out;
}

// Keeps the table and the grid model in step.
class GridBinding : public QObject {
public:
    GridBinding(FormView& view, Grid& grid, QTableView* table)
        : QObject(table),
          view_(view),
          grid_(grid),
          table_(table),
          viewport_(table->viewport()),
          editor_(new QLineEdit),
          lookup_(new QToolButton(table->viewport())),
          key_(toQ(view.form().Name() + "." + grid.Name())) {
        // The cell being typed: drawn from the model's editor, never typed into
        // itself (the keys go to the grid, which runs the screen's key handlers).
        editor_->setParent(table_->viewport());
        editor_->setFocusPolicy(Qt::NoFocus);
        editor_->setAttribute(Qt::WA_TransparentForMouseEvents);
        editor_->hide();
        // The lookup of a cell that has one (the ellipsis): it takes no focus, so the
        // keys stay with the grid.
        lookup_->setObjectName(QStringLiteral("gridLookup"));
        lookup_->setText(QStringLiteral("…"));
        lookup_->setToolTip(QStringLiteral("Pesquisar (Ctrl+Enter)"));
        lookup_->setFocusPolicy(Qt::NoFocus);
        lookup_->hide();
        QObject::connect(lookup_, &QToolButton::clicked, table_,
                         [this] { view_.act([&] { grid_.PressEditButton(); }); });
        table_->installEventFilter(this);
        viewport_->installEventFilter(this);
    }

    void attach() {
        ClientDataSet* data = grid_.DataSet();
        if (!data) return;
        columns_ = visibleColumns(grid_);
        model_ = new DataSetTableModel(*data, columns_.table, table_);
        table_->setModel(model_);
        table_->setItemDelegate(
            new GridCellDelegate([this](const QModelIndex& i) { return cellCommands(i); }, table_));
        QObject::connect(model_, &DataSetTableModel::dataSetChanged, table_, [this] {
            if (!fitted_ && model_->rowCount() > 0) fitColumns();
            showCursor();
        });
        // A new list (another row count) resets the table: the widths and order stay.
        QObject::connect(model_, &QAbstractItemModel::modelAboutToBeReset, table_, [this] {
            resetColumns_ = model_->columnCount();
            resetState_ = table_->horizontalHeader()->saveState();
        });
        QObject::connect(model_, &QAbstractItemModel::modelReset, table_, [this] {
            if (model_->columnCount() != resetColumns_ || resetState_.isEmpty()) return;
            Programmatic quiet(programmatic_);
            table_->horizontalHeader()->restoreState(resetState_);
            tellShownOrder();
        });
        QObject::connect(table_->selectionModel(), &QItemSelectionModel::currentChanged, table_,
                         [this](const QModelIndex& now) { userMoved(now); });
        QObject::connect(table_, &QTableView::clicked, table_, [this](const QModelIndex& i) {
            int col = gridColumn(i.column());
            view_.act([&] { grid_.ClickCell(col); });
        });
        QObject::connect(table_, &QTableView::doubleClicked, table_,
                         [this] { view_.act([&] { grid_.DoubleClick(); }); });
        QObject::connect(table_->horizontalHeader(), &QHeaderView::sectionClicked, table_,
                         [this](int section) {
                             int col = gridColumn(section);
                             view_.act([&] { grid_.ClickTitle(col); });
                         });
        keepUserLayout();
        fitColumns();
        showCursor();
    }

    // The grid changed (columns added, hidden, retitled or resized; the cell editor).
    void redraw() {
        if (!model_) return attach();
        GridColumns now = visibleColumns(grid_);
        if (now.sameShape(columns_) && !now.sameAs(columns_)) {
            // Only titles changed (the mark column's box): the widths and order stay.
            columns_ = std::move(now);
            model_->retitle(columns_.table);
        } else if (!now.sameAs(columns_)) {
            columns_ = std::move(now);
            model_->setColumns(columns_.table);
            fitColumns();
        }
        table_->viewport()->update();
        showCursor();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // Compared by the pointer kept at construction: the filter still sees events
        // while the table is being destroyed, when its methods may not be called.
        if (watched == viewport_ && event->type() == QEvent::Resize) {
            takeOpeningWidth();
            growColumns();
        }
        if (watched != table_ || event->type() != QEvent::KeyPress) return false;
        auto& key = static_cast<QKeyEvent&>(*event);
        if (key.modifiers() != Qt::NoModifier ||
            (key.key() != Qt::Key_PageUp && key.key() != Qt::Key_PageDown))
            return false;
        // A page of rows at a time: the model's handlers see the key, the view knows
        // how many rows a page is.
        ClientDataSet* data = grid_.DataSet();
        int page = std::max(1, table_->viewport()->height() / kRowHeight - 1);
        int step = key.key() == Qt::Key_PageUp ? -page : page;
        view_.act([&] {
            grid_.KeyDown(key.key() == Qt::Key_PageUp ? Key::PageUp : Key::PageDown);
            if (data && data->Active()) data->MoveBy(step);
        });
        return true;
    }

private:
    // Changes of the view's own (fitting, restoring) that are not the user's.
    struct Programmatic {
        bool& flag;
        bool was;
        explicit Programmatic(bool& f) : flag(f), was(f) { flag = true; }
        ~Programmatic() { flag = was; }
    };

    // The user's widths and order are kept per operator; the columns grow with the
    // window past its opening width.
    void keepUserLayout() {
        QHeaderView* header = table_->horizontalHeader();
        header->setSectionsMovable(true);
        header->setStretchLastSection(false);
        QObject::connect(
            header, &QHeaderView::sectionResized, table_, [this](int section, int, int size) {
                if (programmatic_) return;
                if (section >= 0 && section < static_cast<int>(base_.size()))
                    base_[static_cast<size_t>(section)] = static_cast<int>(size / growth());
                remember();
            });
        QObject::connect(header, &QHeaderView::sectionMoved, table_, [this] {
            tellShownOrder();
            if (!programmatic_) remember();
        });
    }

    // The grid's model learns the order the user sees (the list exported follows it).
    void tellShownOrder() {
        QHeaderView* header = table_->horizontalHeader();
        std::vector<int> order;
        for (int v = 0; v < header->count(); ++v)
            order.push_back(gridColumn(header->logicalIndex(v)));
        grid_.SetShownOrder(std::move(order));
    }

    void remember() {
        storeGridState(key_, model_->columnCount(), table_->horizontalHeader()->saveState());
    }

    void restoreRemembered() {
        const QByteArray state = storedGridState(key_, model_->columnCount());
        Programmatic quiet(programmatic_);
        if (state.isEmpty())
            leadFirst();
        else
            table_->horizontalHeader()->restoreState(state);
        tellShownOrder();
    }

    // The screen's first columns in front, as long as the user has set no order.
    void leadFirst() {
        QHeaderView* header = table_->horizontalHeader();
        int place = 0;
        for (const std::string& field : leadingColumns(view_.form().Name(), grid_.Name()))
            for (size_t i = 0; i < columns_.table.size(); ++i)
                if (columns_.table[i].fieldName == field) {
                    header->moveSection(header->visualIndex(static_cast<int>(i)), place++);
                    break;
                }
    }

    // The width the table has once its window shows with its first rows fitted is its
    // opening width. It is read after the events waiting now: a window being shown
    // lays its controls out in several steps (a dialog's grids are built before it).
    void takeOpeningWidth() {
        if (opening_ != 0 || openingPending_ || !fitted_ || !table_->isVisible()) return;
        openingPending_ = true;
        QTimer::singleShot(0, table_, [this] {
            openingPending_ = false;
            const int now = viewport_->width();
            if (now < kOpeningWidthFrom) return;
            opening_ = now;
            takeBaseWidths();
        });
    }

    // How much wider than at its opening width the table is now (never narrower).
    double growth() const {
        const int now = table_->viewport()->width();
        return opening_ > 0 && now > opening_ ? static_cast<double>(now) / opening_ : 1.0;
    }

    void takeBaseWidths() {
        QHeaderView* header = table_->horizontalHeader();
        base_.assign(static_cast<size_t>(model_->columnCount()), 0);
        const double g = growth();
        for (size_t i = 0; i < base_.size(); ++i)
            base_[i] = static_cast<int>(header->sectionSize(static_cast<int>(i)) / g);
    }

    // The columns widen in proportion when the window grows past its opening width;
    // room still left over goes to the widest text column (the names), so the table
    // never ends in empty space.
    void growColumns() {
        if (!model_ || base_.size() != static_cast<size_t>(model_->columnCount())) return;
        const double g = growth();
        QHeaderView* header = table_->horizontalHeader();
        Programmatic quiet(programmatic_);
        int total = 0, names = -1;
        for (size_t i = 0; i < base_.size(); ++i) {
            const int section = static_cast<int>(i);
            header->resizeSection(section, static_cast<int>(base_[i] * g));
            if (header->isSectionHidden(section)) continue;
            total += header->sectionSize(section);
            Field* f =
                grid_.DataSet() ? grid_.DataSet()->FindField(columns_.table[i].fieldName) : nullptr;
            if (f && f->DataType() == FieldType::Text &&
                (names < 0 || base_[i] > base_[static_cast<size_t>(names)]))
                names = section;
        }
        const int spare = table_->viewport()->width() - total;
        if (names >= 0 && spare > 0)
            header->resizeSection(names, header->sectionSize(names) + spare);
    }

    int gridColumn(int tableColumn) const {
        if (tableColumn < 0 || tableColumn >= static_cast<int>(columns_.gridIndex.size()))
            return -1;
        return columns_.gridIndex[static_cast<size_t>(tableColumn)];
    }

    int tableColumn(int gridCol) const {
        for (size_t i = 0; i < columns_.gridIndex.size(); ++i)
            if (columns_.gridIndex[i] == gridCol) return static_cast<int>(i);
        return 0;
    }

    std::vector<DrawCommand> cellCommands(const QModelIndex& index) const {
        return drawGridCell(grid_, model_->recNoOf(index.row()), gridColumn(index.column()));
    }

    // The screen's widths, widened where the title or the texts would not fit.
    void fitColumns() {
        QHeaderView* header = table_->horizontalHeader();
        for (size_t i = 0; i < columns_.widths.size(); ++i) {
            int section = static_cast<int>(i);
            // Widened to fit the title, and the texts within reason: long names are
            // cut with an ellipsis.
            int most = std::min(kWidestFit, columns_.widths[i] * 3 / 2);
            int width = std::max({columns_.widths[i], header->sectionSizeHint(section),
                                  std::min(contentWidth(section), most)});
            Programmatic quiet(programmatic_);
            header->resizeSection(section, width);
        }
        fitted_ = model_->rowCount() > 0;
        takeOpeningWidth();
        restoreRemembered();
        takeBaseWidths();
        growColumns();
    }

    // The widest text of a column among the first rows.
    int contentWidth(int column) const {
        const QFontMetrics metrics = table_->fontMetrics();
        int widest = 0;
        for (int row = 0; row < std::min(model_->rowCount(), kRowsMeasured); ++row)
            widest = std::max(widest, metrics.horizontalAdvance(model_->cellText(row, column)));
        return widest > 0 ? widest + 2 * kCellMargin : 0;
    }

    // The table's current cell follows the dataset's cursor and the selected column.
    void showCursor() {
        ClientDataSet* data = grid_.DataSet();
        if (!model_ || !data || syncing_) return;
        int row = model_->cursorRow();
        QModelIndex target = model_->index(row, tableColumn(grid_.SelectedIndex()));
        if (table_->currentIndex() != target) {
            syncing_ = true;
            table_->setCurrentIndex(target);
            if (target.isValid()) table_->scrollTo(target);
            syncing_ = false;
        }
        showEditor(target);
        showLookup(target);
    }

    void showLookup(const QModelIndex& cell) {
        const GridColumn* col = grid_.SelectedColumn();
        const bool has = cell.isValid() && col && grid_.Editing() && !col->readOnly &&
                         col->buttonStyle == ColumnButtonStyle::Ellipsis;
        if (!has) return lookup_->hide();
        const QRect r = table_->visualRect(cell);
        const int side = r.height();
        lookup_->setGeometry(r.right() - side + 1, r.top(), side, side);
        lookup_->show();
        lookup_->raise();
    }

    void showEditor(const QModelIndex& cell) {
        if (!grid_.EditorShowing() || !cell.isValid()) {
            editor_->hide();
            return;
        }
        editor_->setGeometry(table_->visualRect(cell));
        editor_->setAlignment(columns_.table[static_cast<size_t>(cell.column())].alignment);
        editor_->setText(toQ(grid_.EditorText()));
        editor_->setCursorPosition(static_cast<int>(editor_->text().size()));
        editor_->show();
    }

    void userMoved(const QModelIndex& now) {
        ClientDataSet* data = grid_.DataSet();
        if (syncing_ || !data || !now.isValid()) return;
        syncing_ = true;
        view_.act([&] {
            const int recNo = model_->recNoOf(now.row());
            if (recNo > 0 && recNo != data->RecNo()) data->SetRecNo(recNo);
            int col = gridColumn(now.column());
            if (col >= 0 && col != grid_.SelectedIndex()) grid_.SetSelectedIndex(col);
        });
        syncing_ = false;
        showCursor();  // a refused move puts the table back on the cursor
    }

    FormView& view_;
    Grid& grid_;
    QTableView* table_;
    QWidget* viewport_;
    QLineEdit* editor_;
    QToolButton* lookup_;
    DataSetTableModel* model_ = nullptr;
    GridColumns columns_;
    bool syncing_ = false;
    bool fitted_ = false;
    QString key_;
    bool programmatic_ = false;
    QByteArray resetState_;
    int resetColumns_ = -1;
    std::vector<int> base_;  // each column's width at the opening width
    int opening_ = 0;        // the table's width when first shown
    bool openingPending_ = false;
};

}  // namespace

ControlView makeGridView(FormView& view, Grid& grid, QWidget* parent) {
    auto* table = new QTableView(parent);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setSelectionBehavior(grid.Options().rowSelect ? QAbstractItemView::SelectRows
                                                         : QAbstractItemView::SelectItems);
    table->verticalHeader()->setDefaultSectionSize(kRowHeight);
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setMinimumWidth(14);
    table->verticalHeader()->setVisible(false);
    table->horizontalHeader()->setHighlightSections(false);
    table->horizontalHeader()->setSectionsClickable(true);
    table->setFocusPolicy(grid.TabStop() ? Qt::StrongFocus : Qt::ClickFocus);
    view.watch(table, grid);
    auto* binding = new GridBinding(view, grid, table);
    binding->attach();
    return {table, [binding] { binding->redraw(); }};
}

}  // namespace pag::gui

// The grid as a table over its dataset, and the page control as tabs.
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTableView>
#include <memory>

#include "gui/dataset_model.h"
#include "gui/form_view.h"
#include "gui/qt_text.h"
#include "platform/dataset/field.h"

namespace pag::gui {

namespace {

// The grid's visible columns, and for each the grid column it shows.
struct GridColumns {
    std::vector<TableColumn> table;
    std::vector<int> gridIndex;
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
        out.table.push_back(
            {col.fieldName, toQ(grid.ColumnTitle(i)), right ? Qt::AlignRight : Qt::AlignLeft});
        out.gridIndex.push_back(i);
    }
    return out;
}

// Keeps the table and the grid model in step.
class GridBinding {
public:
    GridBinding(FormView& view, Grid& grid, QTableView* table)
        : view_(view), grid_(grid), table_(table) {}

    void attach() {
        ClientDataSet* data = grid_.DataSet();
        if (!data) return;
        columns_ = visibleColumns(grid_);
        model_ = new DataSetTableModel(*data, columns_.table, table_);
        table_->setModel(model_);
        QObject::connect(model_, &DataSetTableModel::dataSetChanged, table_,
                         [this] { showCursor(); });
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
        showCursor();
    }

    // Columns changed in the model (added, hidden, retitled).
    void redraw() {
        if (!model_) return attach();
        GridColumns now = visibleColumns(grid_);
        bool same = now.gridIndex == columns_.gridIndex;
        for (size_t i = 0; same && i < now.table.size(); ++i)
            same = now.table[i].title == columns_.table[i].title;
        if (!same) {
            columns_ = std::move(now);
            model_->setColumns(columns_.table);
        }
        showCursor();
    }

private:
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

    // The table's current cell follows the dataset's cursor and the selected column.
    void showCursor() {
        ClientDataSet* data = grid_.DataSet();
        if (!model_ || !data || syncing_) return;
        int row = data->Active() ? data->RecNo() - 1 : -1;
        QModelIndex target = model_->index(row, tableColumn(grid_.SelectedIndex()));
        if (table_->currentIndex() == target) return;
        syncing_ = true;
        table_->setCurrentIndex(target);
        if (target.isValid()) table_->scrollTo(target);
        syncing_ = false;
    }

    void userMoved(const QModelIndex& now) {
        ClientDataSet* data = grid_.DataSet();
        if (syncing_ || !data || !now.isValid()) return;
        syncing_ = true;
        view_.act([&] {
            if (now.row() + 1 != data->RecNo()) data->SetRecNo(now.row() + 1);
            int col = gridColumn(now.column());
            if (col >= 0 && col != grid_.SelectedIndex()) grid_.SetSelectedIndex(col);
        });
        syncing_ = false;
        showCursor();  // a refused move puts the table back on the cursor
    }

    FormView& view_;
    Grid& grid_;
    QTableView* table_;
    DataSetTableModel* model_ = nullptr;
    GridColumns columns_;
    bool syncing_ = false;
};

}  // namespace

ControlView makeGridView(FormView& view, Grid& grid, QWidget* parent) {
    auto* table = new QTableView(parent);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setSelectionBehavior(grid.Options().rowSelect ? QAbstractItemView::SelectRows
                                                         : QAbstractItemView::SelectItems);
    table->verticalHeader()->setDefaultSectionSize(20);
    table->verticalHeader()->setMinimumWidth(14);
    view.watch(table, grid);
    auto binding = std::make_shared<GridBinding>(view, grid, table);
    binding->attach();
    return {table, [binding] { binding->redraw(); }};
}

ControlView makePagesView(FormView& view, PageControl& pages, QWidget* parent) {
    auto* tabs = new QTabWidget(parent);
    std::vector<Page*> list = pages.Pages();
    for (Page* page : list) {
        auto* w = new QWidget(tabs);
        view.buildChildren(*page, w);
        tabs->addTab(w, toQ(page->Caption()));
    }
    auto draw = [tabs, &pages, list] {
        for (size_t i = 0; i < list.size(); ++i) {
            int index = static_cast<int>(i);
            tabs->setTabText(index, toQ(list[i]->Caption()));
            tabs->setTabVisible(index, list[i]->TabVisible());
            tabs->setTabEnabled(index, list[i]->Enabled());
        }
        QSignalBlocker quiet(tabs);
        if (pages.ActivePageIndex() >= 0) tabs->setCurrentIndex(pages.ActivePageIndex());
    };
    for (Page* page : list)
        view.follow(*page, draw);
    QObject::connect(tabs, &QTabWidget::currentChanged, tabs,
                     [&view, &pages, list, draw](int index) {
                         if (index < 0 || index >= static_cast<int>(list.size())) return;
                         if (index != pages.ActivePageIndex())
                             view.act([&] { pages.SelectPage(*list[static_cast<size_t>(index)]); });
                         draw();  // a refused change shows the page the model kept
                     });
    return {tabs, draw};
}

}  // namespace pag::gui

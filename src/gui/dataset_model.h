#pragma once

#include <QAbstractTableModel>
#include <string>
#include <vector>

#include "platform/dataset/client_dataset.h"
#include "platform/signal.h"

namespace pag::gui {

// One column of a dataset table: the field, its title and how its text sits.
struct TableColumn {
    std::string fieldName;
    QString title;
    Qt::Alignment alignment = Qt::AlignLeft;
    QString titlePicture;  // a grid picture shown as the title instead of text
};

// A Qt table over a dataset. Rows are read through the display record, so drawing
// never moves the cursor nor fires an event. Follows the dataset's change signal.
class DataSetTableModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    DataSetTableModel(ClientDataSet& data, std::vector<TableColumn> columns,
                      QObject* parent = nullptr);
    // Every visible field of the dataset, with its label.
    static std::vector<TableColumn> visibleFields(ClientDataSet& data);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;

    // The text a cell shows (the field's display text on that row).
    QString cellText(int row, int column) const;
    // The dataset row a table row shows (1-based); 0 for the row being inserted,
    // which the table shows in its place among the others.
    int recNoOf(int row) const;
    // The table row of the dataset's cursor (the row being inserted while there is
    // one); -1 without rows.
    int cursorRow() const;
    ClientDataSet& dataSet() const { return data_; }
    const std::vector<TableColumn>& columns() const { return columns_; }
    void setColumns(std::vector<TableColumn> columns);
    // New titles for the same columns: the table keeps its widths and order.
    void retitle(std::vector<TableColumn> columns);

Q_SIGNALS:
    // The dataset changed (rows, values or cursor); views resync their current row.
    void dataSetChanged();

private:
    void onChanged();
    int shownRows() const;

    ClientDataSet& data_;
    std::vector<TableColumn> columns_;
    int rows_ = 0;
    Signal<>::Connection conn_;
};

}  // namespace pag::gui

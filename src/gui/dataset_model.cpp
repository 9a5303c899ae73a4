#include "gui/dataset_model.h"

#include <exception>

#include "gui/grid_pictures.h"
#include "gui/qt_text.h"
#include "platform/dataset/field.h"

namespace pag::gui {

QString searchKey(const QString& text) {
    QString decomposed = text.normalized(QString::NormalizationForm_D);
    QString key;
    key.reserve(decomposed.size());
    for (QChar c : decomposed)
        if (c.category() != QChar::Mark_NonSpacing) key.append(c);
    return key.toCaseFolded();
}

DataSetTableModel::DataSetTableModel(ClientDataSet& data, std::vector<TableColumn> columns,
                                     QObject* parent)
    : QAbstractTableModel(parent), data_(data), columns_(std::move(columns)) {
    rows_ = shownRows();
    conn_ = data_.Changed.connect([this] { onChanged(); });
}

std::vector<TableColumn> DataSetTableModel::visibleFields(ClientDataSet& data) {
    std::vector<TableColumn> columns;
    for (size_t i = 0; i < data.FieldCount(); ++i) {
        Field& f = data.Fields(i);
        if (!f.Visible()) continue;
        Qt::Alignment a = f.GetAlignment() == Alignment::Right ? Qt::AlignRight : Qt::AlignLeft;
        columns.push_back({f.FieldName(), toQ(f.DisplayLabel()), a, {}});
    }
    return columns;
}

void DataSetTableModel::setColumns(std::vector<TableColumn> columns) {
    beginResetModel();
    columns_ = std::move(columns);
    rows_ = shownRows();
    endResetModel();
}

void DataSetTableModel::retitle(std::vector<TableColumn> columns) {
    if (columns.size() != columns_.size()) return setColumns(std::move(columns));
    columns_ = std::move(columns);
    if (!columns_.empty())
        Q_EMIT headerDataChanged(Qt::Horizontal, 0, static_cast<int>(columns_.size()) - 1);
}

int DataSetTableModel::shownRows() const {
    if (!data_.Active()) return 0;
    return data_.RecordCount() + (data_.InsertingAt() >= 0 ? 1 : 0);
}

int DataSetTableModel::recNoOf(int row) const {
    const int inserting = data_.InsertingAt();
    if (inserting < 0 || row < inserting) return row + 1;
    return row == inserting ? 0 : row;
}

int DataSetTableModel::cursorRow() const {
    if (!data_.Active()) return -1;
    const int inserting = data_.InsertingAt();
    return inserting >= 0 ? inserting : data_.RecNo() - 1;
}

void DataSetTableModel::onChanged() {
    int rows = shownRows();
    if (rows != rows_) {
        beginResetModel();
        rows_ = rows;
        endResetModel();
    } else if (rows_ > 0 && !columns_.empty()) {
        Q_EMIT dataChanged(index(0, 0), index(rows_ - 1, columnCount() - 1));
    }
    Q_EMIT dataSetChanged();
}

int DataSetTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int DataSetTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QString DataSetTableModel::cellText(int row, int column) const {
    if (row < 0 || row >= rows_ || column < 0 || column >= columnCount()) return {};
    Field* f = data_.FindField(columns_[static_cast<size_t>(column)].fieldName);
    if (!f) return {};
    try {
        const int recNo = recNoOf(row);
        // The row being inserted is the dataset's own buffer.
        if (recNo == 0) return toQ(f->DisplayText());
        DisplayRecordScope scope(data_, recNo);
        return toQ(f->DisplayText());
    } catch (const std::exception&) {
        // A display handler that cannot read this row leaves the cell blank.
        return {};
    }
}

QVariant DataSetTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    if (role == Qt::DisplayRole) return cellText(index.row(), index.column());
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(columns_[static_cast<size_t>(index.column())].alignment |
                                   Qt::AlignVCenter);
    return {};
}

QVariant DataSetTableModel::headerData(int section, Qt::Orientation o, int role) const {
    if (o == Qt::Vertical || section < 0 || section >= columnCount()) return {};
    const TableColumn& col = columns_[static_cast<size_t>(section)];
    if (role == Qt::DecorationRole && !col.titlePicture.isEmpty())
        return gridPicture(col.titlePicture);
    if (role == Qt::DisplayRole && col.titlePicture.isEmpty()) return col.title;
    return {};
}

}  // namespace pag::gui

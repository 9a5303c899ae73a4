#pragma once

#include <QDialog>
#include <vector>

#include "gui/dataset_model.h"

class QLineEdit;
class QSortFilterProxyModel;
class QTableView;

namespace pag::gui {

// The pick list: the dataset's visible fields in a table, with a search line that
// moves to the first row (as shown) whose first column begins with what was typed,
// ignoring case and accents. A title click sorts by that column in pt-BR order
// (QCollator, case-insensitive, numbers by value). Single or multiple choice.
class PickDialog final : public QDialog {
    Q_OBJECT
public:
    PickDialog(ClientDataSet& data, const QString& title, bool multiple, QWidget* parent = nullptr);

    // The chosen rows (0-based), in the dataset's order.
    std::vector<int> chosenRows() const;
    // Moves to the first row matching text; false when none does.
    bool search(const QString& text);
    QLineEdit* searchLine() const { return search_; }
    QTableView* table() const { return table_; }

protected:
    // The arrow and page keys typed in the search line move through the list.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    DataSetTableModel model_;
    QSortFilterProxyModel* sorted_;
    QLineEdit* search_;
    QTableView* table_;
};

}  // namespace pag::gui

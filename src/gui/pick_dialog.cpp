#include "gui/pick_dialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "gui/qt_text.h"

namespace pag::gui {

PickDialog::PickDialog(ClientDataSet& data, const QString& title, bool multiple, QWidget* parent)
    : QDialog(parent),
      model_(data, DataSetTableModel::visibleFields(data)),
      search_(new QLineEdit(this)),
      table_(new QTableView(this)) {
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(QStringLiteral("&Pesquisar:"), this);
    label->setBuddy(search_);
    layout->addWidget(label);
    layout->addWidget(search_);
    table_->setModel(&model_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(multiple ? QAbstractItemView::MultiSelection
                                      : QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(table_);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Cancelar"), QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(search_, &QLineEdit::textEdited, this, [this](const QString& t) { search(t); });
    if (!multiple) connect(table_, &QTableView::doubleClicked, this, &QDialog::accept);
    int current = data.RecNo() - 1;
    if (!multiple && current >= 0) table_->selectRow(current);
    resize(520, 360);
}

bool PickDialog::search(const QString& text) {
    const QString key = searchKey(text);
    for (int row = 0; row < model_.rowCount(); ++row) {
        if (searchKey(model_.cellText(row, 0)).startsWith(key)) {
            table_->setCurrentIndex(model_.index(row, 0));
            if (table_->selectionMode() == QAbstractItemView::SingleSelection)
                table_->selectRow(row);
            table_->scrollTo(model_.index(row, 0));
            return true;
        }
    }
    return false;
}

std::vector<int> PickDialog::chosenRows() const {
    std::vector<int> rows;
    for (const QModelIndex& i : table_->selectionModel()->selectedRows())
        rows.push_back(i.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

}  // namespace pag::gui

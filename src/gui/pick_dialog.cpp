#include "gui/pick_dialog.h"

#include <QCollator>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "gui/qt_text.h"

namespace pag::gui {

namespace {

// The users' order: pt-BR, case and accents secondary, "10" after "9".
class CollatedRows final : public QSortFilterProxyModel {
public:
    explicit CollatedRows(QObject* parent) : QSortFilterProxyModel(parent) {
        collator_.setCaseSensitivity(Qt::CaseInsensitive);
        collator_.setNumericMode(true);
    }

protected:
    bool lessThan(const QModelIndex& a, const QModelIndex& b) const override {
        return collator_.compare(searchKey(a.data().toString()), searchKey(b.data().toString())) <
               0;
    }

private:
    QCollator collator_{QLocale(QLocale::Portuguese, QLocale::Brazil)};
};

}  // namespace

PickDialog::PickDialog(ClientDataSet& data, const QString& title, bool multiple, QWidget* parent)
    : QDialog(parent),
      model_(data, DataSetTableModel::visibleFields(data)),
      sorted_(new CollatedRows(this)),
      search_(new QLineEdit(this)),
      table_(new QTableView(this)) {
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(QStringLiteral("&Pesquisar:"), this);
    label->setBuddy(search_);
    layout->addWidget(label);
    layout->addWidget(search_);
    search_->installEventFilter(this);
    sorted_->setSourceModel(&model_);
    table_->setModel(sorted_);
    table_->setSortingEnabled(true);
    table_->sortByColumn(-1, Qt::AscendingOrder);  // the query's order until a title click
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(multiple ? QAbstractItemView::MultiSelection
                                      : QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    // Names on one line, each column as wide as its texts.
    table_->setWordWrap(false);
    table_->resizeColumnsToContents();
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
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
    if (!multiple && current >= 0)
        table_->selectRow(sorted_->mapFromSource(model_.index(current, 0)).row());
    resize(520, 360);
}

bool PickDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched != search_ || event->type() != QEvent::KeyPress) return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key != Qt::Key_Up && key != Qt::Key_Down && key != Qt::Key_PageUp &&
        key != Qt::Key_PageDown)
        return false;
    QKeyEvent copy(QEvent::KeyPress, key, static_cast<QKeyEvent*>(event)->modifiers());
    QCoreApplication::sendEvent(table_, &copy);
    return true;
}

bool PickDialog::search(const QString& text) {
    // The column the list is sorted by first (the code until a title is clicked),
    // then any column, so a name finds its row as well as a code does.
    const QString key = searchKey(text);
    const int sortedBy = std::max(0, table_->horizontalHeader()->sortIndicatorSection());
    auto startsWith = [&](int row, int column) {
        return searchKey(sorted_->index(row, column).data().toString()).startsWith(key);
    };
    for (int pass = 0; pass < 2; ++pass)
        for (int row = 0; row < sorted_->rowCount(); ++row)
            for (int column = 0; column < sorted_->columnCount(); ++column) {
                if ((pass == 0) != (column == sortedBy) || !startsWith(row, column)) continue;
                QModelIndex cell = sorted_->index(row, 0);
                table_->setCurrentIndex(cell);
                if (table_->selectionMode() == QAbstractItemView::SingleSelection)
                    table_->selectRow(row);
                table_->scrollTo(cell);
                return true;
            }
    return false;
}

std::vector<int> PickDialog::chosenRows() const {
    std::vector<int> rows;
    for (const QModelIndex& i : table_->selectionModel()->selectedRows())
        rows.push_back(sorted_->mapToSource(i).row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

}  // namespace pag::gui

#include "gui/qt_user_interface.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <cstdio>

#include "gui/cashout_chart.h"
#include "gui/form_dialog.h"
#include "gui/help_viewer.h"
#include "gui/pick_dialog.h"
#include "gui/qt_text.h"
#include "gui/report_painter.h"
#include "platform/dataset/field.h"
#include "platform/ui/dispatch.h"

namespace pag::gui {

namespace {

QMessageBox::Icon iconOf(MessageKind kind) {
    switch (kind) {
        case MessageKind::Error:
            return QMessageBox::Critical;
        case MessageKind::Warning:
            return QMessageBox::Warning;
        case MessageKind::Confirmation:
            return QMessageBox::Question;
        case MessageKind::Information:
            break;
    }
    return QMessageBox::Information;
}

QString titleOf(MessageKind kind) {
    switch (kind) {
        case MessageKind::Error:
            return QStringLiteral("Erro");
        case MessageKind::Warning:
            return QStringLiteral("Aviso");
        case MessageKind::Confirmation:
            return QStringLiteral("Confirmação");
        case MessageKind::Information:
            break;
    }
    return QStringLiteral("Informação");
}

// A message box does not show under the hourglass: lift it for the box's life.
class CursorLifted {
public:
    CursorLifted() : lifted_(QApplication::overrideCursor() != nullptr) {
        if (lifted_) QApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    ~CursorLifted() {
        if (lifted_) QApplication::restoreOverrideCursor();
    }
    CursorLifted(const CursorLifted&) = delete;
    CursorLifted& operator=(const CursorLifted&) = delete;

private:
    bool lifted_;
};

}  // namespace

QtUserInterface::~QtUserInterface() {
    while (busyDepth_ > 0)
        busy(false, 0);
}

void QtUserInterface::showMessage(MessageKind kind, const std::string& text) {
    if (unattended) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(titleOf(kind)), text.c_str());
        return;
    }
    CursorLifted cursor;
    QMessageBox box(iconOf(kind), titleOf(kind), toQ(text), QMessageBox::NoButton, parent_);
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
}

bool QtUserInterface::ask(const std::string& text) {
    if (answerQuestion) return answerQuestion(toQ(text));
    if (unattended) {
        std::fprintf(stderr, "Confirmação: %s (Não)\n", text.c_str());
        return false;
    }
    CursorLifted cursor;
    QMessageBox box(QMessageBox::Question, QStringLiteral("Confirmação"), toQ(text),
                    QMessageBox::NoButton, parent_);
    QPushButton* yes = box.addButton(QStringLiteral("Sim"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("Não"), QMessageBox::NoRole);
    // Enter answers what changes nothing: going on takes a deliberate "Sim".
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

bool QtUserInterface::pickOne(ClientDataSet& data, const std::string& title,
                              const std::string& emptyText) {
    if (!data.Active() || data.IsEmpty()) {
        showMessage(MessageKind::Information, emptyText);
        return false;
    }
    if (unattended) return false;
    CursorLifted cursor;
    PickDialog dialog(data, toQ(title), false, parent_);
    if (dialog.exec() != QDialog::Accepted) return false;
    std::vector<int> rows = dialog.chosenRows();
    if (rows.empty()) return false;
    data.SetRecNo(rows.front() + 1);
    return true;
}

std::vector<std::string> QtUserInterface::pickMany(ClientDataSet& data, const std::string& keyField,
                                                   const std::string& title) {
    std::vector<std::string> chosen;
    if (unattended || !data.Active() || data.IsEmpty()) return chosen;
    CursorLifted cursor;
    PickDialog dialog(data, toQ(title), true, parent_);
    if (dialog.exec() != QDialog::Accepted) return chosen;
    Field& key = data.FieldByName(keyField);
    for (int row : dialog.chosenRows()) {
        DisplayRecordScope scope(data, row + 1);
        chosen.push_back(key.AsString());
    }
    return chosen;
}

bool QtUserInterface::find(ClientDataSet& data) {
    if (unattended || !data.Active() || data.IsEmpty()) return false;
    CursorLifted cursor;
    bool ok = false;
    QString text =
        QInputDialog::getText(parent_, QStringLiteral("Localizar"),
                              QStringLiteral("Texto a localizar:"), QLineEdit::Normal, {}, &ok);
    if (!ok || text.isEmpty()) return false;
    DataSetTableModel model(data, DataSetTableModel::visibleFields(data));
    const QString key = searchKey(text);
    for (int row = 0; row < model.rowCount(); ++row)
        for (int col = 0; col < model.columnCount(); ++col)
            if (searchKey(model.cellText(row, col)).contains(key)) {
                data.SetRecNo(row + 1);
                return true;
            }
    showMessage(MessageKind::Information, "Registro não encontrado.");
    return false;
}

ModalResult QtUserInterface::showModal(Form& form) {
    CursorLifted cursor;
    FormDialog dialog(form, *this, parent_);
    if (onModalShown)
        QTimer::singleShot(0, &dialog, [this, &dialog] {
            if (onModalShown) onModalShown(dialog);
        });
    return dialog.run();
}

void QtUserInterface::busy(bool on, int /*kind*/) {
    if (on) {
        ++busyDepth_;
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (busyDepth_ > 0) {
        --busyDepth_;
        QApplication::restoreOverrideCursor();
    } else {
        return;
    }
    if (onBusy) onBusy(busyDepth_ > 0);
}

void QtUserInterface::showHelp(int helpContext) {
    showHelpTopic({}, helpContext);
}

void QtUserInterface::showHelpTopic(const std::string& /*helpFile*/, int helpContext) {
    if (unattended) return;
    // The user guide shipped with the program, opened at the section of the screen.
    showUserGuide(parent_, helpSection(helpContext));
}

void QtUserInterface::showStatus(const std::string& text) {
    if (onStatus) onStatus(toQ(text));
}

}  // namespace pag::gui

namespace pag::gui {

std::optional<std::string> QtUserInterface::chooseSaveFile(const std::string& title,
                                                           const std::string& filter,
                                                           const std::string& suggestedName) {
    if (answerSaveFile) {
        const std::optional<QString> answer = answerSaveFile(toQ(title));
        return answer ? std::optional<std::string>(fromQ(*answer)) : std::nullopt;
    }
    if (unattended) return std::nullopt;
    CursorLifted cursor;
    QFileDialog dialog(parent_, toQ(title), {}, toQ(filter));
    dialog.setObjectName(QStringLiteral("dlgSalvarArquivo"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    const QString suggested = toQ(suggestedName);
    const qsizetype dot = suggested.lastIndexOf(QLatin1Char('.'));
    if (dot > 0) dialog.setDefaultSuffix(suggested.mid(dot + 1));
    dialog.selectFile(suggested);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return fromQ(dialog.selectedFiles().front());
}

bool QtUserInterface::printReport(const PrintableReport& report, ReportDestination where,
                                  const std::string& file) {
    if (where == ReportDestination::PdfFile) {
        BusyScope avi(*this, 6);
        saveReportPdf(report, toQ(file));
        showStatus("Lista salva em " + file);
        return true;
    }
    if (unattended) return false;
    CursorLifted cursor;
    return printReportOnPrinter(report, parent_);
}

void QtUserInterface::showCashOut(const CashOut& data, size_t firstShown,
                                  const CashOutActions& actions) {
    if (chart_) chart_->close();
    chart_ = new CashOutChart(data, firstShown, actions, parent_);
    chart_->show();
    chart_->raise();
}

CashOutChart* QtUserInterface::cashOutChart() const {
    return chart_;
}

}  // namespace pag::gui

#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/user_interface.h"

class QDialog;

namespace pag::gui {
class CashOutChart;
}

namespace pag::gui {

// The user interface services with real dialogs, in Portuguese.
class QtUserInterface final : public UserInterface {
public:
    QtUserInterface() = default;
    ~QtUserInterface() override;

    // The window dialogs are centred on.
    void setParentWidget(QWidget* w) { parent_ = w; }
    // Called once a modal form's dialog is on screen (the screenshots use it).
    std::function<void(QDialog&)> onModalShown;
    // When set, answers the Yes/No questions instead of the user (the screenshots).
    std::function<bool(const QString&)> answerQuestion;
    // When set, answers the save dialogs (by their title) instead of the user.
    std::function<std::optional<QString>(const QString&)> answerSaveFile;
    // Nobody at the screen (screenshots): messages go to the error output, questions
    // are answered "Não" and pick lists with nothing.
    bool unattended = false;
    // Told when the busy animation shows and hides (the main window's indicator).
    std::function<void(bool)> onBusy;
    // Where passing notes show (the main window's status bar).
    std::function<void(const QString&)> onStatus;

    void showMessage(MessageKind kind, const std::string& text) override;
    bool ask(const std::string& text) override;
    bool pickOne(ClientDataSet& data, const std::string& title,
                 const std::string& emptyText) override;
    std::vector<std::string> pickMany(ClientDataSet& data, const std::string& keyField,
                                      const std::string& title) override;
    bool find(ClientDataSet& data) override;
    ModalResult showModal(Form& form) override;
    void busy(bool on, int kind) override;
    void showHelp(int helpContext) override;
    void showStatus(const std::string& text) override;
    // A save dialog of Qt's own (objectName "dlgSalvarArquivo"), so that tests find it
    // among the top-level widgets and answer it.
    std::optional<std::string> chooseSaveFile(const std::string& title, const std::string& filter,
                                              const std::string& suggestedName) override;
    bool printReport(const PrintableReport& report, ReportDestination where,
                     const std::string& file) override;
    // The chart in a window of its own beside the screen (objectName "frmSaidaCaixa");
    // a second request replaces the first.
    void showCashOut(const CashOut& data, size_t firstShown,
                     const CashOutActions& actions) override;
    // The chart window open, if any.
    CashOutChart* cashOutChart() const;
    // F1 on a form that names its help file.
    void showHelpTopic(const std::string& helpFile, int helpContext);

    int busyDepth() const { return busyDepth_; }

private:
    QPointer<QWidget> parent_;
    QPointer<CashOutChart> chart_;
    int busyDepth_ = 0;
};

}  // namespace pag::gui

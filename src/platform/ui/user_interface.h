#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace pag {

class ClientDataSet;
class Form;
struct PrintableReport;
struct CashOut;
struct CashOutActions;

enum class MessageKind { Error, Information, Warning, Confirmation };
enum class ModalResult { None, Ok, Cancel, Yes, No };
// Where a printable list goes: the printer the user picks, or a PDF file.
enum class ReportDestination { Printer, PdfFile };

// Everything the core asks of the person in front of the screen. The desktop front
// end implements it with real dialogs; tests and scenario files use a scripted
// double that records messages and answers from a queue.
class UserInterface {
public:
    virtual ~UserInterface() = default;

    virtual void showMessage(MessageKind kind, const std::string& text) = 0;
    // Yes/No question; true on "Sim".
    virtual bool ask(const std::string& text) = 0;
    // Single pick list over an open dataset: on true the dataset's cursor is left on
    // the chosen row. emptyText is shown instead when the dataset has no rows.
    virtual bool pickOne(ClientDataSet& data, const std::string& title,
                         const std::string& emptyText) = 0;
    // Multiple pick list: returns the chosen values of keyField (empty = none chosen).
    virtual std::vector<std::string> pickMany(ClientDataSet& data, const std::string& keyField,
                                              const std::string& title) = 0;
    // Find dialog over a dataset: on true the cursor is on the found row.
    virtual bool find(ClientDataSet& data) = 0;
    // Shows a form modally and returns when it closes.
    virtual ModalResult showModal(Form& form) = 0;
    virtual void busy(bool on, int kind) = 0;
    virtual void showHelp(int helpContext) = 0;
    // A passing note that needs no answer (a save that went through); screens without
    // a status line ignore it.
    virtual void showStatus(const std::string& /*text*/) {}
    // The name of a file to write, chosen by the user; nullopt when the user gave up.
    // filter reads "Arquivos CSV (*.csv)"; suggestedName is the name offered first.
    virtual std::optional<std::string> chooseSaveFile(const std::string& /*title*/,
                                                      const std::string& /*filter*/,
                                                      const std::string& /*suggestedName*/) {
        showMessage(MessageKind::Error, "Esta interface não permite escolher arquivos.");
        return std::nullopt;
    }
    // Prints a list or saves it as PDF (file names the PDF). False when the user gave up
    // (the print dialog cancelled); a failure throws std::exception with a pt-BR message.
    virtual bool printReport(const PrintableReport& /*report*/, ReportDestination /*where*/,
                             const std::string& /*file*/) {
        showMessage(MessageKind::Error, "Esta interface não imprime relatórios.");
        return false;
    }
    // Shows the cash going out per due date as a chart beside the screen, which goes on
    // working meanwhile; the chart reaches the screen through actions. Front ends that
    // draw no charts refuse.
    virtual void showCashOut(const CashOut& /*data*/, size_t /*firstShown*/,
                             const CashOutActions& /*actions*/) {
        showMessage(MessageKind::Error, "Esta interface não mostra gráficos.");
    }
};

}  // namespace pag

#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/export/cash_out.h"
#include "platform/export/report_layout.h"
#include "platform/ui/user_interface.h"
#include "platform/value.h"

namespace pag {

class Field;

// Thrown when the core asks something the script did not foresee.
struct UnexpectedInteraction : std::logic_error {
    using std::logic_error::logic_error;
};

// The user of tests and scenario files. It records every message shown, every
// question, pick list, modal form, busy animation and help request, and answers from
// queues filled before the action that asks. A question with no queued answer (or a
// modal form with no handler) is a failure: it is recorded in Problems() and thrown as
// UnexpectedInteraction, so the test fails even when a dispatch boundary turns the
// exception into an error message. A scenario file's session derives from it to
// report failures at its lines and to run modal forms with the file's lines.
class ScriptedUserInterface : public UserInterface {
public:
    struct Message {
        MessageKind kind;
        std::string text;
        int line = 0;  // the script's line that was running
    };
    // One answer queued before the action that asks.
    struct Answer {
        enum class Kind { YesNo, Pick, PickMany, Find };
        Kind kind = Kind::YesNo;
        int line = 0;         // where the script queued it
        int depth = 0;        // modal forms open when it was queued
        std::string written;  // the command as written, for reports
        bool yes = false;
        // The question expected, when the script names one: whether a shown text is it.
        std::function<bool(const std::string&)> question;
        int row = 0;                      // record number, from 1 (0: by criteria or none)
        std::string criteria;             // "FIELD=VALUE" or "A=1;B=2": the first row that matches
        bool none = false;                // the user chose nothing
        std::vector<std::string> values;  // the key values chosen in a multiple pick list

        static Answer AtRow(int row);
        static Answer Where(std::string criteria);
        static Answer None();
    };
    // The answer to a single pick list or find dialog.
    using PickAnswer = Answer;

    virtual ~ScriptedUserInterface() = default;

    // ---- answers, queued before the action that asks
    void Queue(Answer a);
    void QueueAnswer(bool yes);
    void AnswerYes() { QueueAnswer(true); }
    void AnswerNo() { QueueAnswer(false); }
    void QueuePick(Answer a);
    // The chosen key values; empty = the user chose none.
    void QueuePickMany(std::vector<std::string> values);
    void QueueFind(Answer a);
    // The file the next save dialog answers; nullopt: the user cancels it.
    void QueueSaveFile(std::optional<std::string> file) { saveFiles_.push_back(std::move(file)); }
    // Runs while a form is shown modally; its result closes the form when the
    // handler left it open. Without a handler a modal form is a failure.
    std::function<ModalResult(Form&)> ModalHandler;
    // The script is over: whatever the module still asks while it is taken down gets
    // the cautious answer (No, nothing picked, dialogs cancelled) and nothing is recorded.
    void Detach() { detached_ = true; }

    // ---- what happened
    const std::vector<Message>& Messages() const { return messages_; }
    // The oldest message not yet taken (null when none); TakeMessage moves past it.
    const Message* OldestUnchecked() const;
    std::optional<Message> TakeMessage();
    bool HasUntakenMessages() const { return taken_ < messages_.size(); }
    const std::vector<std::string>& Questions() const { return questions_; }
    const std::vector<std::string>& PickListsShown() const { return pickTitles_; }
    const std::vector<std::string>& ModalFormsShown() const { return modalForms_; }
    // Shown and not yet hidden: 0 when every animation was hidden again.
    int BusyDepth() const { return busyDepth_; }
    int BusyTimesShown() const { return busyShown_; }
    const std::vector<int>& BusyKinds() const { return busyKinds_; }
    const std::vector<int>& HelpShown() const { return help_; }
    // The titles of the save dialogs shown, and the lists handed over for printing.
    const std::vector<std::string>& SaveDialogsShown() const { return saveTitles_; }
    struct PrintedReport {
        ReportDestination where;
        std::string file;
        PrintableReport report;
    };
    const std::vector<PrintedReport>& ReportsPrinted() const { return printed_; }
    // The cash-out charts asked for: what each showed, and its actions, which a test
    // runs as the clicks on the chart would.
    struct ChartShown {
        CashOut data;
        size_t firstShown = 0;
        CashOutActions actions;
    };
    const std::vector<ChartShown>& ChartsShown() const { return charts_; }
    // The earliest answer still queued that was queued at this modal depth or deeper.
    const Answer* UnusedFrom(int depth) const;
    // Failures, and answers queued but never used: empty when the script went as planned.
    std::vector<std::string> Problems() const;

    // ---- UserInterface
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
    std::optional<std::string> chooseSaveFile(const std::string& title, const std::string& filter,
                                              const std::string& suggestedName) override;
    bool printReport(const PrintableReport& report, ReportDestination where,
                     const std::string& file) override;
    void showCashOut(const CashOut& data, size_t firstShown,
                     const CashOutActions& actions) override;

protected:
    // ---- what the running script decides; the defaults serve a unit test
    virtual int currentLine() const { return 0; }
    // Records a failure and ends the action (throws).
    [[noreturn]] virtual void fail(const std::string& text);
    // Records a failure without throwing (where a throw could escape a destructor).
    virtual void note(const std::string& text) { failures_.push_back(text); }
    // A failure already ended the script: nothing may be asked or recorded any more.
    virtual bool stopped() const { return false; }
    // Ends the action when the script has stopped.
    virtual void checkRunning() {}
    // How the script says an answer of this kind, for the failure of a missing one.
    virtual std::string howToAnswer(Answer::Kind) const { return {}; }
    // The value a criterion's text stands for in a field (text as it stands by default).
    // Throws std::exception (pt-BR) for a value the field cannot hold.
    virtual Value criterionValue(const Field& field, const std::string& text);
    // The value a chosen key stands for in a field of that type; nullopt leaves it
    // unchecked. Throws std::exception (pt-BR) for a value the field cannot hold.
    virtual std::optional<Value> keyValue(const Field& key, const std::string& chosen);
    // Runs a modal form until it closes.
    virtual ModalResult runModal(Form& form);

private:
    std::deque<Answer>& queueOf(Answer::Kind kind);
    // The next answer of a kind; fails when none was queued.
    Answer take(Answer::Kind kind, const std::string& unexpected);
    bool applyRow(ClientDataSet& data, const Answer& a, const std::string& what);
    // Moves data to the first row matching criteria; fails when none does.
    void locate(ClientDataSet& data, const std::string& criteria, const std::string& what);

    std::deque<Answer> yesNo_, picks_, pickMany_, finds_;
    std::vector<Message> messages_;
    size_t taken_ = 0;
    std::vector<std::string> questions_, pickTitles_, modalForms_, failures_;
    int busyDepth_ = 0, busyShown_ = 0;
    std::vector<int> busyKinds_, help_;
    std::deque<std::optional<std::string>> saveFiles_;
    std::vector<std::string> saveTitles_;
    std::vector<PrintedReport> printed_;
    std::vector<ChartShown> charts_;
    bool detached_ = false;
};

}  // namespace pag

#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/ui/user_interface.h"

namespace pag {

// Thrown when the core asks something the script did not foresee.
struct UnexpectedInteraction : std::logic_error {
    using std::logic_error::logic_error;
};

// The user interface of tests and scenario files. It records every message shown,
// every question, pick list, modal form, busy animation and help request, and answers
// from queues filled before the action that asks. A question with no queued answer
// (or a modal form with no handler) is a failure: it is recorded in Problems() and
// thrown as UnexpectedInteraction, so the test fails even when a dispatch boundary
// turns the exception into an error message.
class ScriptedUserInterface : public UserInterface {
public:
    struct Message {
        MessageKind kind;
        std::string text;
    };
    // The answer to a single pick list or find dialog.
    struct PickAnswer {
        enum class Kind { Row, Where, Nothing };
        Kind kind = Kind::Nothing;
        int row = 0;           // record number, from 1
        std::string criteria;  // "FIELD=VALUE" or "A=1;B=2": the first row that matches
        static PickAnswer AtRow(int row) { return {Kind::Row, row, {}}; }
        static PickAnswer Where(std::string criteria) { return {Kind::Where, 0, criteria}; }
        static PickAnswer None() { return {}; }
    };

    // ---- answers, queued before the action that asks
    void QueueAnswer(bool yes) { answers_.push_back(yes); }
    void AnswerYes() { QueueAnswer(true); }
    void AnswerNo() { QueueAnswer(false); }
    void QueuePick(PickAnswer a) { picks_.push_back(std::move(a)); }
    // The chosen key values; empty = the user chose none.
    void QueuePickMany(std::vector<std::string> values) { pickMany_.push_back(std::move(values)); }
    void QueueFind(PickAnswer a) { finds_.push_back(std::move(a)); }
    // Runs while a form is shown modally; its result closes the form when the
    // handler left it open. Without a handler a modal form is a failure.
    std::function<ModalResult(Form&)> ModalHandler;

    // ---- what happened
    const std::vector<Message>& Messages() const { return messages_; }
    // The oldest message not yet taken; nullopt when none is left.
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

private:
    [[noreturn]] void fail(const std::string& text);
    bool applyPick(ClientDataSet& data, const PickAnswer& a, const std::string& what);

    std::deque<bool> answers_;
    std::deque<PickAnswer> picks_, finds_;
    std::deque<std::vector<std::string>> pickMany_;
    std::vector<Message> messages_;
    size_t taken_ = 0;
    std::vector<std::string> questions_, pickTitles_, modalForms_, failures_;
    int busyDepth_ = 0, busyShown_ = 0;
    std::vector<int> busyKinds_, help_;
};

}  // namespace pag

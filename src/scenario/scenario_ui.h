#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/date.h"
#include "platform/ui/user_interface.h"
#include "scenario/script_text.h"

namespace pag::scenario {

// Thrown to end a scenario file once its failure is recorded. Not a std::exception,
// so that a screen's handler catching errors does not take it for one of its own.
struct ScenarioStop {};

// What the user interface needs from the running scenario.
class ScenarioDriver {
public:
    virtual ~ScenarioDriver() = default;
    virtual int CurrentLine() const = 0;
    virtual int ModalDepth() const = 0;
    virtual Date Today() const = 0;
    // Records a failure at the current line and throws ScenarioStop.
    [[noreturn]] virtual void Fail(const std::string& text) = 0;
    // Records a failure at the current line without throwing (where a throw could
    // escape a destructor); the file stops once the running action returns.
    virtual void Note(const std::string& text) = 0;
    // A failure was recorded: nothing may go on.
    virtual bool Stopped() const = 0;
    // Whether a shown text is the one expected (a message key or a quoted text);
    // fails the file for a key no open form knows.
    virtual bool TextMatches(const Word& expected, const std::string& shown) = 0;
    // Runs the following lines of the file against a form shown modally, until it closes.
    virtual ModalResult RunModal(Form& form) = 0;
};

// The user of a scenario file: records the messages shown (with the line that was
// running) for `expect message`, answers questions and lists from what the file queued
// before the action, and hands modal forms to the file's following lines.
class ScenarioUserInterface final : public UserInterface {
public:
    struct Message {
        MessageKind kind;
        std::string text;
        int line;
    };
    // One answer queued by the file.
    struct Answer {
        enum class Kind { YesNo, Pick, PickMany, Find };
        Kind kind = Kind::YesNo;
        int line = 0;         // where the file queued it
        int depth = 0;        // modal forms open when it was queued
        std::string written;  // the command as written, for reports
        bool yes = false;
        std::optional<Word> question;     // the question expected (`answer yes KEY`)
        int row = 0;                      // pick N (0: by criteria or none)
        std::string criteria;             // pick FIELD=VALUE
        bool none = false;                // pick none / pickmany none
        std::vector<std::string> values;  // pickmany
    };

    explicit ScenarioUserInterface(ScenarioDriver& driver) : driver_(driver) {}

    void Queue(Answer a);
    // The file is over: whatever the module still asks while it is taken down gets the
    // cautious answer (No, nothing picked, dialogs cancelled) and nothing is recorded.
    void Detach() { detached_ = true; }
    // The earliest answer still queued that was queued at this modal depth or deeper.
    const Answer* UnusedFrom(int depth) const;

    // The oldest message not yet checked (null when none); Take moves past it.
    const Message* OldestUnchecked() const;
    void TakeMessage() { ++checked_; }
    const std::vector<Message>& Messages() const { return messages_; }
    int BusyDepth() const { return busyDepth_; }
    const std::vector<int>& HelpShown() const { return help_; }

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
    std::deque<Answer>& queueOf(Answer::Kind kind);
    // The next answer of a kind; fails the file when none was queued.
    Answer take(Answer::Kind kind, const std::string& unexpected);
    bool applyRow(ClientDataSet& data, const Answer& a, const std::string& what);
    void checkRunning() const;

    ScenarioDriver& driver_;
    std::deque<Answer> yesNo_, picks_, pickMany_, finds_;
    std::vector<Message> messages_;
    size_t checked_ = 0;
    int busyDepth_ = 0;
    std::vector<int> help_;
    bool detached_ = false;
};

}  // namespace pag::scenario

#pragma once

#include <string>

#include "platform/date.h"
#include "scenario/script_text.h"
#include "testing/scripted_user_interface.h"

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

// The user of a scenario file: the scripted user, with the file's lines behind it.
// Messages carry the line that was running (for `expect message`), failures stop the
// file at its line, criteria and chosen keys are read as the file's values, and modal
// forms are handed to the file's following lines.
class ScenarioUserInterface final : public ScriptedUserInterface {
public:
    explicit ScenarioUserInterface(ScenarioDriver& driver) : driver_(driver) {}

    // Makes answer expect the question `expected` (a message key or a quoted text).
    void ExpectQuestion(Answer& answer, Word expected);

protected:
    int currentLine() const override { return driver_.CurrentLine(); }
    [[noreturn]] void fail(const std::string& text) override;
    void note(const std::string& text) override { driver_.Note(text); }
    bool stopped() const override { return driver_.Stopped(); }
    // A screen that caught the stop and carried on must not get further answers.
    void checkRunning() override {
        if (driver_.Stopped()) throw ScenarioStop();
    }
    std::string howToAnswer(Answer::Kind kind) const override;
    Value criterionValue(const Field& field, const std::string& text) override;
    std::optional<Value> keyValue(const Field& key, const std::string& chosen) override;
    ModalResult runModal(Form& form) override { return driver_.RunModal(form); }

private:
    ScenarioDriver& driver_;
};

}  // namespace pag::scenario

#pragma once

// The running of one scenario file, shared by the files that implement its commands.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "contracts/client/login_context.h"
#include "platform/ui/form.h"
#include "platform/ui/grid.h"
#include "scenario/scenario_database.h"
#include "scenario/scenario_host.h"
#include "scenario/scenario_runner.h"
#include "scenario/scenario_ui.h"
#include "scenario/script_text.h"

namespace pag::scenario {

class Session;
using Words = std::vector<Word>;

// One command of the language: its name (one word, or two for the checks: "expect
// field"), the number of words its line holds in all, and its kind.
struct Command {
    enum class Kind { SetUp, Action, Answer, Check };
    const char* name;
    int minWords, maxWords;
    Kind kind;
    void (Session::*run)(const Words&);
    const char* usage;
};

class Session final : public ScenarioDriver {
public:
    Session(std::vector<ScriptLine> lines, const ScenarioOptions& options);
    ~Session() override;
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    ScenarioResult Run();

    // ---- ScenarioDriver
    int CurrentLine() const override { return line_; }
    int ModalDepth() const override { return static_cast<int>(modal_.size()); }
    Date Today() const override { return options_.today; }
    [[noreturn]] void Fail(const std::string& text) override;
    void Note(const std::string& text) override;
    bool Stopped() const override { return failure_.has_value(); }
    bool TextMatches(const Word& expected, const std::string& shown) override;
    ModalResult RunModal(Form& form) override;

private:
    struct Failure {
        int line;
        std::string text;
    };

    static const std::vector<Command>& Commands();
    static const Command* findCommand(const Words& words);

    // ---- running (session.cpp)
    [[noreturn]] void failAt(int line, const std::string& text);
    void checkCommands();
    void runLines(const Form* modal);
    void execute(const ScriptLine& line);
    void finish();
    // Runs a user action through the dispatch boundary; stops when the action
    // recorded a failure. True when the action ran to its end.
    bool dispatch(const std::function<void()>& action);

    // ---- lookups (session.cpp)
    Form& topForm();
    Control& control(const Word& name);
    template <typename T>
    T& controlAs(const Word& name, const char* kind) {
        Control& c = control(name);
        if (auto* typed = dynamic_cast<T*>(&c)) return *typed;
        Fail(name.text + " não é " + kind);
    }
    ClientDataSet& dataSet(const std::string& name);
    // "DATASET.FIELD" of an open dataset.
    Field& field(const Word& qualified);
    std::vector<const TMessages*> messageTables();
    // How a report shows an expected text: KEY ("text") or "text".
    std::string describeExpected(const Word& expected);
    // Focus to c as the user's click would give it; false when a handler kept it away.
    bool focus(Control& c);

    // ---- set-up and answers (session_setup.cpp)
    void cmdDb(const Words& w);
    void cmdSql(const Words& w);
    void cmdLogin(const Words& w);
    void cmdOpen(const Words& w);
    void cmdAnswer(const Words& w);
    void cmdPick(const Words& w);
    void cmdPickMany(const Words& w);
    void cmdFind(const Words& w);
    ScenarioUserInterface::Answer answer(ScenarioUserInterface::Answer::Kind kind, const Words& w);
    void requireDatabase(const char* command);

    // ---- input (session_input.cpp)
    void cmdType(const Words& w);
    void cmdEnter(const Words& w);
    void cmdExit(const Words& w);
    void cmdClick(const Words& w);
    void cmdChoose(const Words& w);
    void cmdKey(const Words& w);
    void cmdSelect(const Words& w);
    void cmdTitle(const Words& w);
    void cmdCellClick(const Words& w);
    void cmdDblClick(const Words& w);
    void cmdGoto(const Words& w);
    void cmdRow(const Words& w);
    void cmdClose(const Words& w);
    int gridColumn(Grid& grid, const Word& fieldName);
    void requireUsable(Control& c);

    // ---- checks (session_checks.cpp)
    void expectMessage(const Words& w);
    void expectNoMessage(const Words& w);
    void expectField(const Words& w);
    void expectEach(const Words& w);
    void expectCount(const Words& w);
    void expectState(const Words& w);
    void expectControlState(const Words& w);
    void expectFocus(const Words& w);
    void expectPage(const Words& w);
    void expectForm(const Words& w);
    void expectText(const Words& w);
    void expectImage(const Words& w);
    void expectServer(const Words& w);
    void checkFieldValue(Field& f, const Word& expected, const std::string& where);

    ScenarioOptions options_;
    std::vector<ScriptLine> lines_;
    size_t next_ = 0;
    int line_ = 0;
    int passed_ = 0;
    std::optional<Failure> failure_;
    // Declared before what uses it: the host goes first, then the database, then the
    // user interface the host's forms talk to.
    ScenarioUserInterface ui_{*this};
    std::unique_ptr<ScenarioDatabase> db_;
    std::optional<LoginContext> login_;
    std::unique_ptr<ScenarioHost> host_;
    std::vector<Form*> modal_;
};

}  // namespace pag::scenario

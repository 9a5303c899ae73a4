#include "scenario/session.h"

#include <algorithm>
#include <cctype>

#include "contracts/client/base_screens/form_support.h"
#include "platform/ui/dispatch.h"

namespace pag::scenario {

namespace {

// Whether shown matches a message text whose "%s" placeholders stand for any text.
bool matchesTemplate(const std::string& pattern, const std::string& shown) {
    std::vector<std::string> pieces;
    size_t start = 0;
    for (size_t at; (at = pattern.find("%s", start)) != std::string::npos; start = at + 2)
        pieces.push_back(pattern.substr(start, at - start));
    pieces.push_back(pattern.substr(start));
    if (pieces.size() == 1) return pattern == shown;
    if (!shown.starts_with(pieces.front()) || !shown.ends_with(pieces.back())) return false;
    size_t pos = pieces.front().size();
    size_t end = shown.size() - pieces.back().size();
    if (pos > end) return false;
    for (size_t i = 1; i + 1 < pieces.size(); ++i) {
        size_t found = shown.find(pieces[i], pos);
        if (found == std::string::npos || found + pieces[i].size() > end) return false;
        pos = found + pieces[i].size();
    }
    return true;
}

bool sameKey(const std::string& a, const std::string& b, bool ignoreCase) {
    if (!ignoreCase) return a == b;
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

// The texts of a key in the tables: exact key first, then ignoring case (as TMessages).
std::vector<std::string> textsOf(const std::vector<const TMessages*>& tables,
                                 const std::string& key) {
    for (bool ignoreCase : {false, true}) {
        std::vector<std::string> texts;
        for (const TMessages* t : tables)
            for (const auto& [k, text] : t->Lines())
                if (sameKey(k, key, ignoreCase)) texts.push_back(text);
        if (!texts.empty()) return texts;
    }
    return {};
}

}  // namespace

Session::Session(std::vector<ScriptLine> lines, const ScenarioOptions& options)
    : options_(options), lines_(std::move(lines)) {}

Session::~Session() {
    // The module's forms go while the database and the user interface still exist; a
    // question asked on the way out must not fail a file that has already ended.
    ui_.Detach();
    host_.reset();
}

// ---------------------------------------------------------------- failures

void Session::failAt(int line, const std::string& text) {
    if (!failure_) failure_ = Failure{line, text};
    throw ScenarioStop();
}

void Session::Fail(const std::string& text) {
    failAt(line_, text);
}

void Session::Note(const std::string& text) {
    if (!failure_) failure_ = Failure{line_, text};
}

// ---------------------------------------------------------------- running

const Command* Session::findCommand(const Words& words) {
    if (words.empty()) return nullptr;
    std::string name = words[0].text;
    if (name == "expect" && words.size() > 1) name += " " + words[1].text;
    for (const Command& c : Commands())
        if (name == c.name) return &c;
    return nullptr;
}

void Session::checkCommands() {
    // A mistyped command stops the file before anything runs.
    for (const ScriptLine& l : lines_) {
        line_ = l.number;
        const Command* c = findCommand(l.words);
        if (!c) Fail("comando desconhecido '" + joinWords(l.words) + "' (veja docs/scenarios.md)");
        int n = static_cast<int>(l.words.size());
        if (n < c->minWords || n > c->maxWords) Fail(std::string("uso: ") + c->usage);
    }
    line_ = 0;
}

ScenarioResult Session::Run() {
    try {
        checkCommands();
        runLines(nullptr);
        finish();
    } catch (const ScenarioStop&) {
    }
    ScenarioResult r;
    r.passed = passed_;
    if (failure_) {
        r.failed = true;
        r.line = failure_->line;
        r.message = failure_->text;
    }
    return r;
}

void Session::runLines(const Form* modal) {
    while (next_ < lines_.size()) {
        if (modal && !modal->Visible()) return;
        execute(lines_[next_++]);
    }
}

void Session::execute(const ScriptLine& line) {
    line_ = line.number;
    const Command& c = *findCommand(line.words);
    const int depth = ModalDepth();
    const Form* runningIn = modal_.empty() ? nullptr : modal_.back();
    try {
        (this->*c.run)(line.words);
    } catch (const ScenarioStop&) {
        throw;
    } catch (const std::exception& e) {
        Fail(e.what());
    }
    if (Stopped()) throw ScenarioStop();
    line_ = line.number;
    if (c.kind == Command::Kind::Check) ++passed_;
    // Answers queued for this action must have been used by it. An action that closed
    // the dialog it ran in hands its answers to the action that opened the dialog,
    // which goes on now.
    bool closedItsDialog = runningIn && !runningIn->Visible();
    if (c.kind == Command::Kind::Action && !closedItsDialog)
        if (const auto* a = ui_.UnusedFrom(depth))
            failAt(a->line, "'" + a->written + "' não foi usada pela ação da linha " +
                                std::to_string(line.number));
}

void Session::finish() {
    line_ = lines_.empty() ? 0 : lines_.back().number;
    if (const auto* a = ui_.UnusedFrom(0))
        failAt(a->line, "'" + a->written + "' não foi usada até o fim do arquivo");
    if (const auto* m = ui_.OldestUnchecked())
        failAt(m->line, "mensagem não conferida: \"" + m->text + "\" (use expect message)");
    if (ui_.BusyDepth() > 0) Fail("a animação de espera ficou visível no fim do arquivo");
}

bool Session::dispatch(const std::function<void()>& action) {
    bool done = dispatchUserAction(ui_, action);
    if (Stopped()) throw ScenarioStop();
    return done;
}

ModalResult Session::RunModal(Form& form) {
    const int openedAt = line_;
    modal_.push_back(&form);
    struct Pop {
        std::vector<Form*>& stack;
        ~Pop() { stack.pop_back(); }
    } pop{modal_};
    runLines(&form);
    line_ = openedAt;
    if (Stopped()) throw ScenarioStop();
    if (form.Visible())
        Fail("o arquivo terminou com o formulário " + form.Name() +
             " aberto (feche-o com close ou com o botão que o fecha)");
    return form.GetModalResult();
}

// ---------------------------------------------------------------- lookups

Form& Session::topForm() {
    if (!modal_.empty()) return *modal_.back();
    if (host_)
        if (Form* f = host_->mainForm()) return *f;
    Fail("nenhuma tela aberta (use open)");
}

Control& Session::control(const Word& name) {
    Form& form = topForm();
    if (name.text == form.Name()) return form;
    if (Control* c = form.Find(name.text)) return *c;
    Fail("o controle " + name.text + " não existe no formulário " + form.Name());
}

ClientDataSet& Session::dataSet(const std::string& name) {
    if (!host_) Fail("nenhuma tela aberta (use open) para o conjunto de dados " + name);
    ClientDataSet* ds = host_->findDataSet(name);
    if (!ds) Fail("o conjunto de dados " + name + " não existe nas telas abertas");
    return *ds;
}

Field& Session::field(const Word& qualified) {
    size_t dot = qualified.text.find('.');
    if (dot == std::string::npos || dot == 0 || dot + 1 == qualified.text.size())
        Fail("escreva CONJUNTO.CAMPO, não '" + qualified.text + "'");
    ClientDataSet& ds = dataSet(qualified.text.substr(0, dot));
    if (!ds.Active()) Fail("o conjunto de dados " + ds.Name() + " está fechado");
    return ds.FieldByName(qualified.text.substr(dot + 1));
}

std::vector<const TMessages*> Session::messageTables() {
    std::vector<const TMessages*> tables;
    if (host_) tables = host_->messageTables();
    for (const Form* f : modal_)
        if (auto* owner = dynamic_cast<const HasMessageTables*>(f))
            for (const TMessages* t : owner->MessageTables())
                tables.push_back(t);
    return tables;
}

bool Session::TextMatches(const Word& expected, const std::string& shown) {
    if (expected.quoted) return expected.text == shown;
    std::vector<std::string> texts = textsOf(messageTables(), expected.text);
    if (texts.empty())
        Fail("a chave de mensagem '" + expected.text +
             "' não existe nas tabelas das telas abertas (para um texto, use aspas)");
    return std::any_of(texts.begin(), texts.end(),
                       [&](const std::string& t) { return matchesTemplate(t, shown); });
}

std::string Session::describeExpected(const Word& expected) {
    if (expected.quoted) return "\"" + expected.text + "\"";
    std::vector<std::string> texts = textsOf(messageTables(), expected.text);
    return expected.text + (texts.empty() ? "" : " (\"" + texts.front() + "\")");
}

bool Session::focus(Control& c) {
    if (c.Focused()) return true;
    if (!c.CanFocus())
        Fail("o controle " + c.Name() +
             " não pode receber o foco (desabilitado, oculto ou numa página que não aparece)");
    dispatch([&c] { c.SetFocus(); });
    return c.Focused();
}

// ---------------------------------------------------------------- the language

const std::vector<Command>& Session::Commands() {
    using K = Command::Kind;
    using S = Session;
    static const std::vector<Command> table{
        {"db", 2, 2, K::SetUp, &S::cmdDb, "db demo|empty|ARQUIVO"},
        {"sql", 2, 2, K::SetUp, &S::cmdSql, "sql \"COMANDO\""},
        {"login", 4, 5, K::SetUp, &S::cmdLogin,
         "login empresa=01 filial=0001 operador=ADMIN [orcafina=S]"},
        {"open", 3, 3, K::Action, &S::cmdOpen, "open EMPRESA DATA (ou open - -)"},
        {"type", 3, 3, K::Action, &S::cmdType, "type CONTROLE TEXTO"},
        {"enter", 2, 2, K::Action, &S::cmdEnter, "enter CONTROLE"},
        {"exit", 2, 2, K::Action, &S::cmdExit, "exit CONTROLE"},
        {"click", 2, 2, K::Action, &S::cmdClick, "click CONTROLE"},
        {"choose", 3, 3, K::Action, &S::cmdChoose, "choose CONTROLE ITEM"},
        {"key", 3, 3, K::Action, &S::cmdKey, "key CONTROLE TECLA"},
        {"select", 3, 3, K::Action, &S::cmdSelect, "select GRADE CAMPO"},
        {"title", 3, 3, K::Action, &S::cmdTitle, "title GRADE CAMPO"},
        {"cellclick", 3, 3, K::Action, &S::cmdCellClick, "cellclick GRADE CAMPO"},
        {"dblclick", 2, 2, K::Action, &S::cmdDblClick, "dblclick GRADE"},
        {"goto", 3, 3, K::Action, &S::cmdGoto, "goto CONJUNTO CAMPO=VALOR[;CAMPO=VALOR]"},
        {"row", 3, 3, K::Action, &S::cmdRow, "row CONJUNTO first|last|next|prior|N"},
        {"close", 1, 1, K::Action, &S::cmdClose, "close"},
        {"answer", 2, 3, K::Answer, &S::cmdAnswer, "answer yes|no [CHAVE|\"PERGUNTA\"]"},
        {"pick", 2, 2, K::Answer, &S::cmdPick, "pick N|CAMPO=VALOR|none"},
        {"pickmany", 2, 2, K::Answer, &S::cmdPickMany, "pickmany VALOR,VALOR|none"},
        {"find", 2, 2, K::Answer, &S::cmdFind, "find CAMPO=VALOR|none"},
        {"expect message", 3, 3, K::Check, &S::expectMessage, "expect message CHAVE|\"TEXTO\""},
        {"expect no-message", 2, 2, K::Check, &S::expectNoMessage, "expect no-message"},
        {"expect field", 5, 5, K::Check, &S::expectField, "expect field CONJUNTO.CAMPO = VALOR"},
        {"expect each", 5, 5, K::Check, &S::expectEach, "expect each CONJUNTO.CAMPO = VALOR"},
        {"expect count", 5, 5, K::Check, &S::expectCount, "expect count CONJUNTO =|>|< N"},
        {"expect state", 4, 4, K::Check, &S::expectState,
         "expect state CONJUNTO inactive|browse|edit|insert"},
        {"expect enabled", 3, 3, K::Check, &S::expectControlState, "expect enabled CONTROLE"},
        {"expect disabled", 3, 3, K::Check, &S::expectControlState, "expect disabled CONTROLE"},
        {"expect visible", 3, 3, K::Check, &S::expectControlState, "expect visible CONTROLE"},
        {"expect hidden", 3, 3, K::Check, &S::expectControlState, "expect hidden CONTROLE"},
        {"expect checked", 3, 3, K::Check, &S::expectControlState, "expect checked CONTROLE"},
        {"expect unchecked", 3, 3, K::Check, &S::expectControlState, "expect unchecked CONTROLE"},
        {"expect focus", 3, 3, K::Check, &S::expectFocus, "expect focus CONTROLE"},
        {"expect page", 3, 3, K::Check, &S::expectPage, "expect page PAGINA"},
        {"expect form", 3, 3, K::Check, &S::expectForm, "expect form CLASSE"},
        {"expect text", 4, 4, K::Check, &S::expectText, "expect text CONTROLE TEXTO"},
        {"expect image", 5, 5, K::Check, &S::expectImage, "expect image GRADE CAMPO FIGURA|none"},
        {"expect server", 5, 5, K::Check, &S::expectServer, "expect server \"SELECT ...\" = VALOR"},
    };
    return table;
}

}  // namespace pag::scenario

// Set-up commands (db, sql, login, open) and the answers queued for the next action.
#include <map>

#include "scenario/scenario_values.h"
#include "scenario/session.h"

namespace pag::scenario {

void Session::requireDatabase(const char* command) {
    if (!db_) Fail(std::string("use db antes de ") + command);
}

void Session::cmdDb(const Words& w) {
    if (db_) Fail("o banco de dados já foi escolhido: use db uma única vez, no início");
    const std::string& what = w[1].text;
    if (what == "demo" && !w[1].quoted) {
        db_ = ScenarioDatabase::demo(options_.today, options_.postgresServer);
    } else if (what == "empty" && !w[1].quoted) {
        db_ = ScenarioDatabase::empty(options_.postgresServer);
    } else {
        std::filesystem::path file(what);
        if (file.is_relative() && !options_.baseDir.empty()) file = options_.baseDir / file;
        db_ = ScenarioDatabase::copyOf(file, options_.postgresServer);
    }
}

void Session::cmdSql(const Words& w) {
    requireDatabase("sql");
    db_->exec(sqlWithDates(w[1].text, options_.today));
}

void Session::cmdLogin(const Words& w) {
    requireDatabase("login");
    if (host_) Fail("login depois de open não é possível: a tela já foi aberta");
    LoginContext ctx;
    std::map<std::string, std::string*> texts{
        {"empresa", &ctx.EmprProc}, {"filial", &ctx.FiliProc}, {"operador", &ctx.Operador}};
    for (size_t i = 1; i < w.size(); ++i) {
        const std::string& part = w[i].text;
        size_t eq = part.find('=');
        std::string key = part.substr(0, eq);
        std::string value = eq == std::string::npos ? std::string() : part.substr(eq + 1);
        if (eq == std::string::npos || value.empty())
            Fail("login: escreva CHAVE=VALOR, não '" + part + "'");
        if (auto it = texts.find(key); it != texts.end()) {
            *it->second = value;
        } else if (key == "orcafina" && (value == "S" || value == "N")) {
            ctx.UtilizaOrcaFina = value == "S";
        } else {
            Fail("login: '" + part + "' não é empresa=, filial=, operador= nem orcafina=S|N");
        }
    }
    requireCompleteLogin(ctx);
    ctx.WebURL = "local";
    ctx.DatabaseFile = db_->path();
    login_ = ctx;
}

void Session::cmdOpen(const Words& w) {
    if (!login_) Fail("use login antes de open");
    if (!host_) {
        ScenarioHostFactory factory =
            options_.hostFactory ? options_.hostFactory : findScenarioHost(options_.hostName);
        if (!factory)
            Fail("a tela " + options_.hostName +
                 " ainda não está disponível neste programa: nenhum módulo de telas foi "
                 "registrado para os cenários, e open precisa dele");
        host_ = factory(*login_, ui_);
        if (!host_) Fail("o módulo " + options_.hostName + " não criou a tela");
    }
    auto isDash = [](const Word& word) { return !word.quoted && word.text == "-"; };
    Value company = isDash(w[1]) ? Value() : Value(w[1].text);
    Value date = isDash(w[2]) ? Value() : Value(parseScenarioDate(w[2].text, options_.today));
    dispatch([&] { host_->open(company, date); });
}

// ---------------------------------------------------------------- answers

ScenarioUserInterface::Answer Session::answer(ScenarioUserInterface::Answer::Kind kind,
                                              const Words& w) {
    ScenarioUserInterface::Answer a;
    a.kind = kind;
    a.line = line_;
    a.depth = ModalDepth();
    a.written = joinWords(w);
    a.none = !w[1].quoted && w[1].text == "none";
    return a;
}

void Session::cmdAnswer(const Words& w) {
    auto a = answer(ScenarioUserInterface::Answer::Kind::YesNo, w);
    if (w[1].text != "yes" && w[1].text != "no") Fail("uso: answer yes|no [CHAVE|\"PERGUNTA\"]");
    a.yes = w[1].text == "yes";
    if (w.size() > 2) ui_.ExpectQuestion(a, w[2]);
    ui_.Queue(std::move(a));
}

void Session::cmdPick(const Words& w) {
    auto a = answer(ScenarioUserInterface::Answer::Kind::Pick, w);
    const std::string& t = w[1].text;
    if (!a.none) {
        if (t.find('=') != std::string::npos) {
            parseCriteria(t);  // refuses a malformed criterion here, at its own line
            a.criteria = t;
        } else if (!t.empty() && t.find_first_not_of("0123456789") == std::string::npos &&
                   t.size() < 9 && std::stoi(t) > 0) {
            a.row = std::stoi(t);
        } else {
            Fail("uso: pick N|CAMPO=VALOR|none (N a partir de 1)");
        }
    }
    ui_.Queue(std::move(a));
}

void Session::cmdPickMany(const Words& w) {
    auto a = answer(ScenarioUserInterface::Answer::Kind::PickMany, w);
    if (!a.none) {
        const std::string& t = w[1].text;
        for (size_t start = 0;;) {
            size_t comma = t.find(',', start);
            std::string v = t.substr(start, comma == std::string::npos ? comma : comma - start);
            if (v.empty()) Fail("pickmany: valor vazio em '" + t + "'");
            a.values.push_back(v);
            if (comma == std::string::npos) break;
            start = comma + 1;
        }
    }
    ui_.Queue(std::move(a));
}

void Session::cmdFind(const Words& w) {
    auto a = answer(ScenarioUserInterface::Answer::Kind::Find, w);
    if (!a.none) {
        parseCriteria(w[1].text);
        a.criteria = w[1].text;
    }
    ui_.Queue(std::move(a));
}

}  // namespace pag::scenario

// pag12000 export: the boleto list of a company, selected through the filter dialog's
// own controls (so the dialog's checks run as they do for a user), written to CSV as
// the desktop's "Exportar lista (CSV)" writes it.
#include <cstdio>
#include <stdexcept>
#include <string>

#include "Cli_pag12000/habconta.h"
#include "Cli_pag12100/filtro_hab.h"
#include "pkg_PAG12000/pkg_pag12000.h"
#include "platform/sql/pg_connection.h"
#include "platform/ui/buttons.h"
#include "platform/ui/date_edit.h"
#include "platform/ui/dispatch.h"
#include "tools/commands.h"
#include "tools/database_target.h"
#include "tools/screen_session.h"

namespace pag::tools {

namespace {

constexpr const char* kUso =
    "uso: pag12000 export --db BANCO --empresa 01 [--filial 0001]\n"
    "         [--de dd/mm/aaaa] [--ate dd/mm/aaaa] [--fornecedor CODIGO] --out ARQUIVO.csv\n"
    "     (sem --de e --ate: os boletos que vencem hoje, como a tela abre;\n"
    "      BANCO: um arquivo SQLite ou postgresql://...)\n";

struct Opcoes {
    std::string db, empresa, filial = "0001", de, ate, fornecedor, out;
};

bool leOpcoes(int argc, char** argv, Opcoes& o) {
    for (int i = 0; i < argc; ++i) {
        const std::string a = argv[i];
        if (i + 1 >= argc) return false;
        std::string* alvo = a == "--db"           ? &o.db
                            : a == "--empresa"    ? &o.empresa
                            : a == "--filial"     ? &o.filial
                            : a == "--de"         ? &o.de
                            : a == "--ate"        ? &o.ate
                            : a == "--fornecedor" ? &o.fornecedor
                            : a == "--out"        ? &o.out
                                                  : nullptr;
        if (!alvo) return false;
        *alvo = argv[++i];
    }
    return !o.db.empty() && !o.empresa.empty() && !o.out.empty();
}

// The first message the screen or the dialog showed as an error, if any.
const ScriptedUserInterface::Message* primeiroErro(const ScriptedUserInterface& ui) {
    for (const auto& m : ui.Messages())
        if (m.kind == MessageKind::Error || m.kind == MessageKind::Warning) return &m;
    return nullptr;
}

Date dataDe(const std::string& texto, const char* opcao) {
    try {
        return Date::parse(texto);
    } catch (const std::invalid_argument& e) {
        throw std::runtime_error(std::string("data inválida em ") + opcao + " '" + texto +
                                 "': " + e.what());
    }
}

// The dialog's controls take the criteria, then its confirmation loads the boletos.
void filtra(ScreenSession& s, const Opcoes& o) {
    if (!frmFiltroHab) throw std::runtime_error("o filtro de boletos não foi criado");
    TfrmFiltroHab& f = *frmFiltroHab;
    if (!o.de.empty()) f.Get<DateEdit>("depDataIni").SetDate(dataDe(o.de, "--de"));
    if (!o.ate.empty()) f.Get<DateEdit>("depDataFin").SetDate(dataDe(o.ate, "--ate"));
    if (!o.fornecedor.empty()) {
        s.ui.QueuePickMany({o.fornecedor});
        dispatchUserAction(s.ui, [&] {
            f.Get<RadioButton>("rbtListaForn").Click();
            f.Get<LookupButton>("btnListForn").Click();
        });
        if (f.stForneced.find(o.fornecedor) == std::string::npos)
            throw std::runtime_error("fornecedor '" + o.fornecedor + "' não encontrado");
    }
    dispatchUserAction(s.ui, [&] { f.Confirma(); });
}

int exporta(const Opcoes& o) {
    // A file that is not there would be created empty; a server says itself whether
    // the database exists.
    if (!isPostgresUri(o.db) && !databaseFileExists(o.db))
        throw std::runtime_error("o banco '" + o.db + "' não existe");
    ScreenSession s(o.db, o.empresa, o.filial);
    IniProc(Value(ValueArray{Value(o.empresa), Value(Date::today())}));
    TfrmHabConta& tela = s.tela();
    if (const auto* m = primeiroErro(s.ui)) throw std::runtime_error(m->text);
    filtra(s, o);
    if (const auto* m = primeiroErro(s.ui)) throw std::runtime_error(m->text);
    if (!s.ui.Problems().empty()) throw std::runtime_error(s.ui.Problems().front());
    const long n = tela.ExportaListaCsv(
        o.out, [](long feitos) { std::fprintf(stderr, "  %ld boletos...\n", feitos); });
    std::printf("%ld boletos exportados para %s\n", n, o.out.c_str());
    return 0;
}

}  // namespace

int runExport(int argc, char** argv) {
    Opcoes o;
    if (!leOpcoes(argc, argv, o)) return printUsage(kUso);
    try {
        return exporta(o);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "pag12000 export: %s\n", e.what());
        return 1;
    }
}

}  // namespace pag::tools

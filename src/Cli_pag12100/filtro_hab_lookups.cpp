// The filter dialog's seven criterion lists: the "Todos"/"Lista" radio buttons, the lookup
// queries on the suite's database and the multi-pick lookups that fill the lists.
#include "Cli_pag12100/filtro_hab_codes.h"
#include "Cli_pag12100/filtro_hab_impl.h"
#include "contracts/client/suite_context.h"
#include "contracts/consiste.h"

#include "Cli_pag12100/filtro_hab_sql.h"

namespace pag {

namespace {
using namespace filtro_sql;

FieldDef coluna(const char* name, int size, const char* label) {
    FieldDef def;
    def.name = name;
    def.size = size;
    def.label = label;
    return def;
}

FieldDef oculta(const char* name, int size, FieldType type = FieldType::Text) {
    FieldDef def;
    def.name = name;
    def.type = type;
    def.size = size;
    def.visible = false;
    return def;
}

void prepara(Query& q, Database* db, const char* sql, std::vector<FieldDef> campos) {
    q.SetDatabase(db);
    q.SetSQL(sql);
    q.SetFieldDefs(std::move(campos));
}

}  // namespace

std::string PesquisaLista(UserInterface& ui, DataSource& fonte, const std::string& campoChave,
                          const std::string& titulo) {
    return JuntaCodigos(ui.pickMany(*fonte.DataSet(), campoChave, titulo));
}

void FiltroHabImpl::criaConsultas() {
    Database* db = Suite().db;
    prepara(qryFornecedor, db, kSqlFornecedor,
            {coluna("NRINSJURFORN", 20, "Inscrição Jurídica"),
             coluna("NMRAZSOCFORN", 40, "Razão Social"), coluna("NMFANTFORN", 40, "Nome Fantasia"),
             oculta("IDTPIJURFORN", 1), oculta("CDFORNECED", 21)});
    prepara(qryFilial, db, kSqlFilial,
            {coluna("CDFILIAL", 4, "Código"), coluna("NMFILIAL", 30, "Nome")});
    prepara(qryFormaPag, db, kSqlFormaPag,
            {coluna("CDTPBAIXAPAG", 2, "Código"), coluna("NMTPBAIXAPAG", 50, "Nome"),
             oculta("IDBAIXAUTILP", 1), oculta("VRMAXDOCCNAB", 0, FieldType::Float)});
    prepara(qryPesqBanco, db, kSqlPesqBanco,
            {coluna("CDBANCO", 3, "Código"), coluna("NMBANCO", 30, "Nome")});
    prepara(qryTipoCtPagar, db, kSqlTipoCtPagar,
            {coluna("CDTPCTPAGAR", 6, "Código"), coluna("DSTPCTPAGAR", 40, "Descrição")});
    prepara(qryGrForn, db, kSqlGrForn,
            {coluna("CDGRUPFORN", 12, "Código"), coluna("NMGRUPFORN", 50, "Nome")});
}

void FiltroHabImpl::ligaLookups() {
    for (size_t i = 0; i < grupos.size(); ++i) {
        GrupoLista& g = grupos[i];
        // Both buttons of a pair share the handler; only the one becoming checked runs it.
        g.rbtTodos->OnClick = [this, i] { rbtGrupoClick(grupos[i]); };
        g.rbtLista->OnClick = [this, i] { rbtGrupoClick(grupos[i]); };
        g.botao->SetTitle(f.msgPadrao.Msg(g.chaveTitulo));
        g.botao->OnClick = [this, i] { PesquisaGrupo(grupos[i]); };
    }
}

void FiltroHabImpl::rbtGrupoClick(GrupoLista& g) {
    g.botao->SetEnabled(g.rbtLista->Checked());
    // The account-type list is kept until a confirmation with "Todos" discards it.
    if (g.limpaNoClique) (f.*g.lista).clear();
}

void FiltroHabImpl::PesquisaGrupo(GrupoLista& g) {
    Query& q = *g.query;
    q.Close();
    if (&q == &qryFornecedor) {
        // Only suppliers of the chosen person type and of the chosen groups are offered.
        int pessoa = rdgPessoa.ItemIndex();
        q.ParamByName("P_TIDTPIJURFORN").SetAsString(pessoa == 0 ? "T" : "");
        q.ParamByName("P_IDTPIJURFORN").SetAsString(TiposPessoaFornecedor(pessoa));
        q.ParamByName("P_TCDGRUPFORN").SetAsString(rbtTodosGrForn.Checked() ? "T" : "");
        q.ParamByName("P_CDGRUPFORN").SetAsString(f.stGrForn);
    }
    q.Open();
    if (q.IsEmpty()) Erro(g.chaveNaoHa, g.focaTodosSemRegistro ? g.rbtTodos : nullptr);
    if (&q == &qryFornecedor) {
        Field& tipo = q.FieldByName("IDTPIJURFORN");
        q.FieldByName("NRINSJURFORN").OnGetText = [&tipo](Field& nr, bool display) {
            return display ? formatPersonDocument(tipo.AsString(), nr.AsString()) : nr.AsString();
        };
    }
    std::string codigos =
        PesquisaLista(formUserInterface(f), *g.fonte, g.campoChave, f.msgPadrao.Msg(g.chaveTitulo));
    // Closing the pick list without a choice keeps what was picked before.
    if (!codigos.empty()) f.*g.lista = std::move(codigos);
}

}  // namespace pag

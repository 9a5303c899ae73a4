#pragma once

// What the filter dialog's source files share: its controls, lookup queries, the table of
// its seven criterion lists and the handlers split over the files by concern.

#include <string>
#include <vector>

#include "Cli_pag12100/filtro_hab.h"
#include "platform/sql/query.h"
#include "platform/ui/buttons.h"
#include "platform/ui/date_edit.h"
#include "platform/ui/edit.h"
#include "platform/ui/menu.h"
#include "platform/ui/number_edit.h"

namespace pag {

// One criterion list of the dialog: the "Todos"/"Lista" pair, its lookup button and query,
// the dialog's list text and its place in Filtro. Every per-list behaviour (radio clicks,
// lookups, checks, restoring, clearing, saving) walks this table.
struct GrupoLista {
    const char* chave;  // the list's name, also its saved-option key ("stForneced")
    std::string TfrmFiltroHab::*lista;
    std::string TFiltro::*filtroLista;
    bool TFiltro::*filtroTodos;
    RadioButton* rbtTodos;
    RadioButton* rbtLista;
    LookupButton* botao;
    Query* query;
    DataSource* fonte;
    const char* campoChave;     // key field the pick list returns ("CDFORNECED")
    const char* chaveTitulo;    // message key of the pick list's title
    const char* chaveNaoHa;     // message key when the query has no row
    const char* chaveInf;       // message key when "Lista" is chosen with nothing picked
    bool limpaNoClique;         // the radio click empties the list (all but the account type)
    bool focaTodosSemRegistro;  // the focus goes to "Todos" before the none-registered error
};

class FiltroHabImpl {
public:
    // Creates every control of the dialog (filtro_hab_layout.cpp).
    explicit FiltroHabImpl(TfrmFiltroHab& form);

    TfrmFiltroHab& f;

    // ---- "Dados do Documento"
    GroupBox& grbDadosDoc;
    GroupBox& grbGrForn;
    RadioButton& rbtTodosGrForn;
    RadioButton& rbtListaGrForn;
    LookupButton& btnGrForn;
    RadioGroup& rdgPessoa;
    GroupBox& grbFornecedor;
    RadioButton& rbtTodosForn;
    RadioButton& rbtListaForn;
    LookupButton& btnListForn;
    GroupBox& grbNumero;
    MaskEdit& medDocInicial;
    MaskEdit& medDocFinal;
    GroupBox& grbFiliLanc;
    RadioButton& rbtTodosFiliLanc;
    RadioButton& rbtFiliLanc;
    LookupButton& btnFiliLanc;
    GroupBox& grbFiliOrig;
    RadioButton& rbtTodasFiliOrig;
    RadioButton& rbtListaFiliOr;
    LookupButton& btnFiliOr;
    RadioGroup& rgpStatLibNF;
    GroupBox& grbEmissao;
    DateEdit& depEmissIni;
    DateEdit& depEmissFin;
    // ---- "Dados do Boleto"
    GroupBox& grbDadosBoleto;
    GroupBox& grbVencimento;
    DateEdit& depDataIni;
    DateEdit& depDataFin;
    GroupBox& grbTipoBaixa;
    RadioButton& rbtTodosFormPag;
    RadioButton& rbtFPag;
    LookupButton& btnFPag;
    RadioGroup& rgpBoleto;
    GroupBox& grbValorLiq;
    NumberEdit& nedValorIni;
    NumberEdit& nedValorFin;
    GroupBox& grbBancBenef;
    RadioButton& rbtTodosBancBenef;
    RadioButton& rbtListaBancBenef;
    LookupButton& btnBancBenef;
    GroupBox& grbTipoConta;
    RadioButton& rbtTodosTipoCont;
    RadioButton& rbtTipoContLista;
    LookupButton& btnTpConta;
    GroupBox& rdgSituacao;
    CheckBox& chbNaoEnviado;
    CheckBox& chbEnv_RetoErro;
    CheckBox& chbEnv_RetoSemErro;
    CheckBox& chbEnv_RetoOK;
    GroupBox& grbNrRemessa;
    MaskEdit& medNrRemessa;
    GroupBox& grbNrRetorno;
    MaskEdit& medNrRetorno;
    // ---- "Dados do Orçamento"
    GroupBox& grbOrcamento;
    GroupBox& grbOrca;
    MaskEdit& medOrcaDe;
    MaskEdit& medOrcaAte;
    // ---- toolbar and hot keys
    SpeedButton& sbtLimpa;
    MenuItem& pmnHotKey;
    MenuItem& mnuDesfazer;

    // ---- lookup queries on the suite's database (filtro_hab_lookups.cpp)
    Query qryFornecedor{"qryFornecedor"};
    Query qryGrForn{"qryGrForn"};
    Query qryFilial{"qryFilial"};
    Query qryFormaPag{"qryFormaPag"};
    Query qryPesqBanco{"qryPesqBanco"};
    Query qryTipoCtPagar{"qryTipoCtPagar"};
    DataSource dtsFornecedor{"dtsFornecedor", &qryFornecedor};
    DataSource dtsGrForn{"dtsGrForn", &qryGrForn};
    DataSource dtsFilial{"dtsFilial", &qryFilial};
    DataSource dtsFormaPag{"dtsFormaPag", &qryFormaPag};
    DataSource dtsPesqBanco{"dtsPesqBanco", &qryPesqBanco};
    DataSource dtsTipoCtPagar{"dtsTipoCtPagar", &qryTipoCtPagar};

    // The seven lists in the order of their saved-option keys.
    std::vector<GrupoLista> grupos;
    GrupoLista& grupo(const std::string TfrmFiltroHab::*lista);

    // Read from the main screen's parameters at creation.
    int tamNumDoc = 7;
    bool exibeOrcamento = false;
    int diasAntes = 0;  // QTDIAANTBOLP: the default due-date range starts this many days ago
    int diasApos = 0;   // QTDIAAPOBOLP: ... and ends this many days ahead
    Date VencimentoInicialPadrao() const { return Date::today().addDays(-diasAntes); }
    Date VencimentoFinalPadrao() const { return Date::today().addDays(diasApos); }

    // Restoring policy (filtro_hab_restore.cpp): true from the activation that opens the
    // dialog until it closes; true once a confirmation stored Filtro.
    bool emUso = false;
    bool confirmado = false;
    Signal<>::Connection fechamento;

    // ---- creation and wiring
    void ligaEventos();       // filtro_hab_layout.cpp
    void carregaMensagens();  // filtro_hab_messages.cpp
    void criaConsultas();     // filtro_hab_lookups.cpp
    void ligaLookups();       // filtro_hab_lookups.cpp
    void ligaEdicao();        // filtro_hab_editing.cpp
    void ligaRestauracao();   // filtro_hab_restore.cpp
    void leParametros();      // filtro_hab_layout.cpp

    // ---- radio buttons and lookups (filtro_hab_lookups.cpp)
    void rbtGrupoClick(GrupoLista& g);
    void PesquisaGrupo(GrupoLista& g);

    // ---- field editing (filtro_hab_editing.cpp)
    void medDocInicialExit();
    void medDocFinalExit();
    void medOrcaDeExit();
    void medOrcaAteExit();

    // ---- checks (filtro_hab_checks.cpp); each shows its message and abandons
    void Vd_Lista(const GrupoLista& g);
    void Vd_Fornecedor();
    void Vd_GrupoForn();
    void Vd_FiliOrig();
    void Vd_FiliLanc();
    void Vd_FormaPag();
    void Vd_BancBenef();
    void Vd_TipoConta();
    void Vd_NumDocIni();
    void Vd_NumDocFin();
    void Vd_DataEmissao();
    void Vd_VencIni(bool confirmando);
    void Vd_VencFin(bool confirmando);
    void Vd_VrLiqu();
    void Vd_OrcaDe();
    void Vd_OrcaAte();
    // Shows the key's message with the focus on c and abandons.
    [[noreturn]] void Erro(const char* chave, Control* c);

    // ---- confirmation (filtro_hab_confirm.cpp)
    void Codifica();
    void GuardaFiltro();

    // ---- restoring, clearing and options (filtro_hab_restore.cpp, filtro_hab_options.cpp)
    void Restaura();
    void Limpa();
    void marcaTodos(GrupoLista& g, bool todos);
};

// The shared multi-pick lookup: the user picks rows of the open dataset behind fonte; the
// values of campoChave picked, joined in the server's list form ("001,237"). Empty when
// the user picked nothing.
std::string PesquisaLista(UserInterface& ui, DataSource& fonte, const std::string& campoChave,
                          const std::string& titulo);

// True when a date edit holds no digit at all (nothing typed).
bool DataEmBranco(const DateEdit& e);

// The date edit's own validity check; an invalid date takes the focus with its message.
void ValidaData(DateEdit& e);

// Moves the focus for a failing check. A control that cannot take it now (the hidden
// dialog of "ESCONDE_FILTRO"), or another edit refusing to be left, keeps the focus
// where it is: the check's own message is what the user must see.
void Foca(Control* c);

}  // namespace pag

// The filter dialog's controls with their names, captions and initial states, its
// creation step and the dialog's own construction.
#include <stdexcept>

#include "Cli_pag12000/habconta.h"
#include "Cli_pag12100/filtro_hab_impl.h"
#include "contracts/consiste.h"

namespace pag {

namespace {

constexpr int kLargura = 640;
// The filter area's full client height, and the height that cuts the budget area off.
constexpr int kAlturaComOrcamento = 490;
constexpr int kAlturaSemOrcamento = 394;
constexpr int kTamNumDocPadrao = 7;
constexpr int kTamNrArquivo = 10;

GroupBox& caixa(TfrmFiltroHab& f, const char* name, Container* parent, const char* caption) {
    GroupBox& g = f.Add<GroupBox>(name, parent);
    g.SetCaption(caption);
    return g;
}

RadioButton& opcao(TfrmFiltroHab& f, const char* name, Container* parent, const char* caption,
                   bool checked) {
    RadioButton& r = f.Add<RadioButton>(name, parent, caption);
    r.SetChecked(checked);
    r.SetTabStop(true);
    return r;
}

LookupButton& pesquisa(TfrmFiltroHab& f, const char* name, Container* parent) {
    LookupButton& b = f.Add<LookupButton>(name, parent);
    b.SetHint("Pesquisar");
    b.SetEnabled(false);
    return b;
}

template <typename T>
T& campo(TfrmFiltroHab& f, const char* name, Container* parent, const char* caption) {
    T& e = f.Add<T>(name, parent);
    e.SetCaption(caption);
    e.SetTabStop(true);
    e.SetColour(Colour::infoBackground());
    return e;
}

MaskEdit& texto(TfrmFiltroHab& f, const char* name, Container* parent, const char* caption,
                int maxLength) {
    MaskEdit& e = campo<MaskEdit>(f, name, parent, caption);
    e.SetMaxLength(maxLength);
    return e;
}

RadioGroup& grupoOpcoes(TfrmFiltroHab& f, const char* name, Container* parent, const char* caption,
                        std::vector<std::string> items, int index) {
    RadioGroup& g = f.Add<RadioGroup>(name, parent, caption, std::move(items));
    g.SetItemIndex(index);
    g.SetTabStop(true);
    return g;
}

}  // namespace

// Built in the order of the dialog's tab order: document data, boleto data, budget.
FiltroHabImpl::FiltroHabImpl(TfrmFiltroHab& form)
    : f(form),
      grbDadosDoc(caixa(f, "grbDadosDoc", &f.grbFiltroPadrao, "Dados do Documento")),
      grbGrForn(caixa(f, "grbGrForn", &grbDadosDoc, "Grupo de Fornecedores")),
      rbtTodosGrForn(opcao(f, "rbtTodosGrForn", &grbGrForn, "Todos", true)),
      rbtListaGrForn(opcao(f, "rbtListaGrForn", &grbGrForn, "Lista", false)),
      btnGrForn(pesquisa(f, "btnGrForn", &grbGrForn)),
      rdgPessoa(grupoOpcoes(f, "rdgPessoa", &grbDadosDoc, "Pessoa",
                            {"Todas", "Jurídica", "Física", "Outros"}, 0)),
      grbFornecedor(caixa(f, "grbFornecedor", &grbDadosDoc, "Fornecedor")),
      rbtTodosForn(opcao(f, "rbtTodosForn", &grbFornecedor, "Todos", true)),
      rbtListaForn(opcao(f, "rbtListaForn", &grbFornecedor, "Lista", false)),
      btnListForn(pesquisa(f, "btnListForn", &grbFornecedor)),
      grbNumero(caixa(f, "grbNumero", &grbDadosDoc, "Número")),
      medDocInicial(texto(f, "medDocInicial", &grbNumero, "de", kTamNumDocPadrao)),
      medDocFinal(texto(f, "medDocFinal", &grbNumero, "até", kTamNumDocPadrao)),
      grbFiliLanc(caixa(f, "grbFiliLanc", &grbDadosDoc, "Filial de Lançamento")),
      rbtTodosFiliLanc(opcao(f, "rbtTodosFiliLanc", &grbFiliLanc, "Todas", true)),
      rbtFiliLanc(opcao(f, "rbtFiliLanc", &grbFiliLanc, "Lista", false)),
      btnFiliLanc(pesquisa(f, "btnFiliLanc", &grbFiliLanc)),
      grbFiliOrig(caixa(f, "grbFiliOrig", &grbDadosDoc, "Filial de Origem")),
      rbtTodasFiliOrig(opcao(f, "rbtTodasFiliOrig", &grbFiliOrig, "Todas", true)),
      rbtListaFiliOr(opcao(f, "rbtListaFiliOr", &grbFiliOrig, "Lista", false)),
      btnFiliOr(pesquisa(f, "btnFiliOr", &grbFiliOrig)),
      rgpStatLibNF(grupoOpcoes(f, "rgpStatLibNF", &grbDadosDoc, "Status",
                               {"Liberado", "Bloqueado", "Ambos"}, 2)),
      grbEmissao(caixa(f, "grbEmissao", &grbDadosDoc, "Emissão")),
      depEmissIni(campo<DateEdit>(f, "depEmissIni", &grbEmissao, "de")),
      depEmissFin(campo<DateEdit>(f, "depEmissFin", &grbEmissao, "até")),
      grbDadosBoleto(caixa(f, "grbDadosBoleto", &f.grbFiltroPadrao, "Dados do Boleto")),
      grbVencimento(caixa(f, "grbVencimento", &grbDadosBoleto, "Vencimento")),
      depDataIni(campo<DateEdit>(f, "depDataIni", &grbVencimento, "de")),
      depDataFin(campo<DateEdit>(f, "depDataFin", &grbVencimento, "até")),
      grbTipoBaixa(caixa(f, "grbTipoBaixa", &grbDadosBoleto, "Tipo de Baixa")),
      rbtTodosFormPag(opcao(f, "rbtTodosFormPag", &grbTipoBaixa, "Todas", true)),
      rbtFPag(opcao(f, "rbtFPag", &grbTipoBaixa, "Lista", false)),
      btnFPag(pesquisa(f, "btnFPag", &grbTipoBaixa)),
      rgpBoleto(grupoOpcoes(f, "rgpBoleto", &grbDadosBoleto, "Boleto",
                            {"Habilitados", "Não Habilitados", "Todos"}, 2)),
      grbValorLiq(caixa(f, "grbValorLiq", &grbDadosBoleto, "Valor Líquido")),
      nedValorIni(campo<NumberEdit>(f, "nedValorIni", &grbValorLiq, "de")),
      nedValorFin(campo<NumberEdit>(f, "nedValorFin", &grbValorLiq, "até")),
      grbBancBenef(caixa(f, "grbBancBenef", &grbDadosBoleto, "Banco Beneficiário")),
      rbtTodosBancBenef(opcao(f, "rbtTodosBancBenef", &grbBancBenef, "Todas", true)),
      rbtListaBancBenef(opcao(f, "rbtListaBancBenef", &grbBancBenef, "Lista", false)),
      btnBancBenef(pesquisa(f, "btnBancBenef", &grbBancBenef)),
      grbTipoConta(caixa(f, "grbTipoConta", &grbDadosBoleto, "Tipo de Conta")),
      rbtTodosTipoCont(opcao(f, "rbtTodosTipoCont", &grbTipoConta, "Todos", true)),
      rbtTipoContLista(opcao(f, "rbtTipoContLista", &grbTipoConta, "Lista", false)),
      btnTpConta(pesquisa(f, "btnTpConta", &grbTipoConta)),
      rdgSituacao(caixa(f, "rdgSituacao", &grbDadosBoleto, "Situação")),
      chbNaoEnviado(f.Add<CheckBox>("chbNaoEnviado", &rdgSituacao, "Não Enviado")),
      chbEnv_RetoErro(
          f.Add<CheckBox>("chbEnv_RetoErro", &rdgSituacao, "Enviado - Retorno com Erro")),
      chbEnv_RetoSemErro(
          f.Add<CheckBox>("chbEnv_RetoSemErro", &rdgSituacao, "Enviado - Sem Retorno")),
      chbEnv_RetoOK(f.Add<CheckBox>("chbEnv_RetoOK", &rdgSituacao, "Enviado - Retorno OK")),
      grbNrRemessa(caixa(f, "grbNrRemessa", &grbDadosBoleto, "Número Remessa")),
      medNrRemessa(texto(f, "medNrRemessa", &grbNrRemessa, "", kTamNrArquivo)),
      grbNrRetorno(caixa(f, "grbNrRetorno", &grbDadosBoleto, "Número Retorno")),
      medNrRetorno(texto(f, "medNrRetorno", &grbNrRetorno, "", kTamNrArquivo)),
      grbOrcamento(caixa(f, "grbOrcamento", &f.grbFiltroPadrao, "Dados do Orçamento")),
      grbOrca(caixa(f, "grbOrca", &grbOrcamento, "Orçamento")),
      medOrcaDe(texto(f, "medOrcaDe", &grbOrca, "de", kTamNrArquivo)),
      medOrcaAte(texto(f, "medOrcaAte", &grbOrca, "até", kTamNrArquivo)),
      sbtLimpa(f.Add<SpeedButton>("sbtLimpa", &f.panBotoes)),
      // A popup is never drawn; its model stays "visible" so that its shortcut works.
      pmnHotKey(f.Add<MenuItem>("pmnHotKey", nullptr)),
      mnuDesfazer(f.Add<MenuItem>("mnuDesfazer", &pmnHotKey, "Desfazer", "Ctrl+D")) {
    for (CheckBox* c : {&chbNaoEnviado, &chbEnv_RetoErro, &chbEnv_RetoSemErro, &chbEnv_RetoOK})
        c->SetTabStop(true);
    depDataIni.SetColour(kCorObrigatorio);
    depDataFin.SetColour(kCorObrigatorio);
    sbtLimpa.SetHint("Desfazer");
    f.SetSize(kLargura, kAlturaComOrcamento);

    using F = TfrmFiltroHab;
    using R = TFiltro;
    // In the order of the saved-option keys.
    grupos = {
        {"stForneced", &F::stForneced, &R::stForneced, &R::boTodosForn, &rbtTodosForn,
         &rbtListaForn, &btnListForn, &qryFornecedor, &dtsFornecedor, "CDFORNECED", "Forn",
         "Fornec_Nao_Ha", "Forn_inf", true, false},
        {"stFiliOrig", &F::stFiliOrig, &R::stFiliOrig, &R::boTodasFiliOrig, &rbtTodasFiliOrig,
         &rbtListaFiliOr, &btnFiliOr, &qryFilial, &dtsFilial, "CDFILIAL", "Fil_or", "Filial_Nao_Ha",
         "FiliOrig_inf", true, false},
        {"stFiliLanc", &F::stFiliLanc, &R::stFiliLanc, &R::boTodosFiliLanc, &rbtTodosFiliLanc,
         &rbtFiliLanc, &btnFiliLanc, &qryFilial, &dtsFilial, "CDFILIAL", "Fil_Lanc",
         "Filial_Nao_Ha", "FiliLanc_inf", true, false},
        {"stTipoPag", &F::stTipoPag, &R::stTipoPag, &R::boTodosFormPag, &rbtTodosFormPag, &rbtFPag,
         &btnFPag, &qryFormaPag, &dtsFormaPag, "CDTPBAIXAPAG", "FormaPag", "tIPO_Nao_Ha",
         "FormPag_inf", true, false},
        {"stBancBenef", &F::stBancBenef, &R::stBancBenef, &R::boTodosBancBenef, &rbtTodosBancBenef,
         &rbtListaBancBenef, &btnBancBenef, &qryPesqBanco, &dtsPesqBanco, "CDBANCO", "Banco",
         "Banco_Nao_Ha", "BancBenef_inf", true, false},
        {"stTpConta", &F::stTpConta, &R::stTpConta, &R::boTodosTipoCont, &rbtTodosTipoCont,
         &rbtTipoContLista, &btnTpConta, &qryTipoCtPagar, &dtsTipoCtPagar, "CDTPCTPAGAR",
         "Tipo_Conta", "TipoCt_Cad", "TipoConta_inf", false, true},
        {"stGrForn", &F::stGrForn, &R::stGrForn, &R::boTodosGrForn, &rbtTodosGrForn,
         &rbtListaGrForn, &btnGrForn, &qryGrForn, &dtsGrForn, "CDGRUPFORN", "Grupo_Fornecedor",
         "GrForn_Cad", "GrForn_inf", true, true},
    };
}

GrupoLista& FiltroHabImpl::grupo(const std::string TfrmFiltroHab::*lista) {
    for (GrupoLista& g : grupos)
        if (g.lista == lista) return g;
    throw std::logic_error("Lista de critério desconhecida no filtro de boletos.");
}

void FiltroHabImpl::ligaEventos() {
    f.OnClose = [](CloseAction& action) { action = CloseAction::Hide; };
    sbtLimpa.OnClick = [this] { f.sbtLimpaClick(); };
    mnuDesfazer.OnClick = [this] { f.sbtLimpaClick(); };
    ligaLookups();
    ligaEdicao();
    ligaRestauracao();
}

namespace {

TfrmHabConta& telaPrincipal() {
    if (!frmHabConta)
        throw std::logic_error("O filtro de boletos precisa da tela de boletos já criada.");
    return *frmHabConta;
}

// A parameter field of the main screen's parameter datasets; null when the dataset holds
// no row (a branch without its parameters row) or has no such field.
Field* parametro(ClientDataSet& ds, const char* name) {
    if (!ds.Active() || ds.IsEmpty()) return nullptr;
    Field* field = ds.FindField(name);
    return field && !field->IsNull() ? field : nullptr;
}

int diasParametro(ClientDataSet& geralPag, const char* name) {
    Field* field = parametro(geralPag, name);
    return field ? static_cast<int>(field->AsInteger()) : 0;
}

}  // namespace

void FiltroHabImpl::leParametros() {
    TfrmHabConta& tela = telaPrincipal();
    tamNumDoc = kTamNumDocPadrao;
    if (Field* tam = parametro(tela.cdsParamFilial, "NRTAMNUMNFUT"))
        if (!EmptyString(tam->AsString())) tamNumDoc = static_cast<int>(tam->AsInteger());
    if (tamNumDoc <= 0) tamNumDoc = kTamNumDocPadrao;
    Field* orca = parametro(tela.cdsParamGeral, "IDEXIBDADORC");
    exibeOrcamento = orca && orca->AsString() == "S";
    diasAntes = diasParametro(tela.cdsGeralPag, "QTDIAANTBOLP");
    diasApos = diasParametro(tela.cdsGeralPag, "QTDIAAPOBOLP");
}

// ---------------------------------------------------------------- the dialog

TfrmFiltroHab::TfrmFiltroHab()
    : TfrmFiltroPadrao("frmFiltroHab", "Filtro de Boleto", "PAG12100"),
      impl_(std::make_unique<FiltroHabImpl>(*this)) {
    impl_->carregaMensagens();
    impl_->criaConsultas();
    impl_->ligaEventos();
}

TfrmFiltroHab::~TfrmFiltroHab() {
    // The controls' handlers point into impl_: they go first.
    DestroyControls();
}

void TfrmFiltroHab::FormCreate() {
    TfrmFiltroPadrao::FormCreate();
    FiltroHabImpl& d = *impl_;
    d.leParametros();
    d.medDocInicial.SetMaxLength(d.tamNumDoc);
    d.medDocFinal.SetMaxLength(d.tamNumDoc);
    d.grbOrcamento.SetVisible(d.exibeOrcamento);
    SetSize(Width(), d.exibeOrcamento ? kAlturaComOrcamento : kAlturaSemOrcamento);
    Filtro = TFiltro{};
    Filtro.DtVencIni = d.VencimentoInicialPadrao();
    Filtro.DtVencFin = d.VencimentoFinalPadrao();
}

}  // namespace pag

#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "contracts/client/base_screens/frm_padrao.h"
#include "contracts/client/connection.h"
#include "contracts/keylist.h"
#include "platform/dataset/client_dataset.h"
#include "platform/date.h"
#include "platform/export/cash_out.h"
#include "platform/export/report_layout.h"
#include "platform/sql/query.h"
#include "platform/ui/buttons.h"
#include "platform/ui/edit.h"
#include "platform/ui/grid.h"
#include "platform/ui/number_edit.h"
#include "platform/ui/user_interface.h"

namespace pag {

// The boleto enabling screen ("PAG12000", "Boleto"): the boletos of the chosen company
// that the filter selected, with their payables, adjustments and installments. Created
// once by CriaHabConta; the dialogs reach it through frmHabConta. Its controls are
// reachable by name (Get<MaskEdit>("medEmpresa")); the ones the dialogs use most are
// also members.
class TfrmHabConta : public TfrmPadrao {
public:
    TfrmHabConta();
    ~TfrmHabConta() override;

    // ---- server connection
    SocketConnection netHabConta;

    // ---- server-fed datasets
    ClientDataSet cdsBoletos{"cdsBoletos"};
    ClientDataSet cdsCntPagar{"cdsCntPagar"};
    ClientDataSet cdsAjBolPag{"cdsAjBolPag"};
    ClientDataSet cdsParcelas{"cdsParcelas"};
    ClientDataSet cdsParamGeral{"cdsParamGeral"};
    ClientDataSet cdsGeralPag{"cdsGeralPag"};
    ClientDataSet cdsParamFilial{"cdsParamFilial"};
    ClientDataSet cdsCCorForn{"cdsCCorForn"};
    ClientDataSet cdsChavePix{"cdsChavePix"};
    ClientDataSet cdsVd_BarraPag{"cdsVd_BarraPag"};
    ClientDataSet cdsVerifAjust{"cdsVerifAjust"};
    ClientDataSet cdsSitCNAB{"cdsSitCNAB"};
    ClientDataSet cdsContProrVenc{"cdsContProrVenc"};
    ClientDataSet cdsGrupoOperador{"cdsGrupoOperador"};
    ClientDataSet qryAdiantamento{"qryAdiantamento"};
    ClientDataSet qryDevolucao{"qryDevolucao"};
    // ---- local datasets
    ClientDataSet cdsChaveBol{"cdsChaveBol"};
    ClientDataSet cdsBolAgru{"cdsBolAgru"};
    ClientDataSet cdsAdiantamento{"cdsAdiantamento"};
    ClientDataSet cdsDevolucao{"cdsDevolucao"};

    // ---- lookup queries on the suite's database
    Query qryEmpresa{"qryEmpresa"};
    Query qryVdEmpresa{"qryVdEmpresa"};
    Query qryContCorr{"qryContCorr"};
    Query qryBanco{"qryBanco"};
    Query qryPesqTbBaixa{"qryPesqTbBaixa"};
    Query qryVdTipoBaixa{"qryVdTipoBaixa"};
    Query qryTipoAjPagar{"qryTipoAjPagar"};
    Query qryMotivoParc{"qryMotivoParc"};
    Query qryMotivoPro{"qryMotivoPro"};
    Query qryPesqBoniForn{"qryPesqBoniForn"};

    // ---- data sources
    DataSource dtsBoletos{"dtsBoletos"};
    DataSource dtsCntPagar{"dtsCntPagar"};
    DataSource dtsAjBolPag{"dtsAjBolPag"};
    DataSource dtsParcelas{"dtsParcelas"};
    DataSource dtsCCorForn{"dtsCCorForn"};
    DataSource dtsChavePix{"dtsChavePix"};
    DataSource dtsSitCNAB{"dtsSitCNAB"};
    DataSource dtsEmpresa{"dtsEmpresa"};
    DataSource dtsContCorr{"dtsContCorr"};
    DataSource dtsPesqTpBaixa{"dtsPesqTpBaixa"};
    DataSource dtsTipoAjPagar{"dtsTipoAjPagar"};
    DataSource dtsMotivoParc{"dtsMotivoParc"};
    DataSource dtsMotivoProrroga{"dtsMotivoProrroga"};

    // ---- top panel and grid bar controls the dialogs use
    Panel& panFiltro;
    MaskEdit& medEmpresa;
    LookupButton& btpEmpresa;
    Edit& edtNmEmpresa;
    SpeedButton& sbtFiltro;
    MenuItem& mnuFiltro;
    NumberEdit& nedTotal;
    NumberEdit& nedCont;

    // Installment values by key (created by FormCreate, released by FormClose).
    std::unique_ptr<TKeyList> klsVrParcela;

    // A dataset or lookup query of the screen by its name; null when there is none.
    ClientDataSet* FindDataSet(std::string_view name);

    // ---- loading (the filter dialog's confirmation calls GetBoletos)
    // Loads the boletos with the criteria of frmFiltroHab and relocates nothing.
    void GetBoletos();
    // Reloads the boletos and relocates the current one (first row when it is gone).
    void Filtro_Locate();
    void GetContas();
    void GetAjustes();
    // The adjustments of another boleto of the list (an installment's).
    void GetAjustes(const std::string& filial, const std::string& lancamento);
    void GetParcelas();

    // ---- company and processing-date checks
    void Vd_Empresa();
    // Abandons with "DtBol<DtSis" when dueDate lies before the operator's allowed
    // processing date.
    void Verifica_Acesso_Sistema(Date dueDate);

    // ---- enabling (the grid page's share; the later pages complete it)
    void Habilita();
    void HabPageControl();
    void Habilita_CompTpBaixa();

    // ---- grid and marking
    void dbgPadraoDrawColumnCell(GridCanvas& canvas, int column, GridColumn& col,
                                 DrawCellState state);
    void dbgPadraoKeyDown(int& key, ShiftState shift);
    void dbgPadraoKeyPress(KeyChar& key);
    void dbgPadraoCellClick(GridColumn& col);
    void dbgPadraoDblClick();
    void dbgPadraoColEnter();
    void dbgPadraoTitleClick(GridColumn& col);
    // Toggles the mark of the current boleto, keeping nedCont and nedTotal.
    void MarcaBoleto();
    // Ticks the page menu item of the page showing.
    void CheckMenu();
    // True when the boleto is tied to a blocked invoice; with show, stops with "NFBLOQ".
    bool VdNFBloqueada(bool show);
    // Stops with "Bol_Zero" when the value is zero.
    void VdVrBolZero(double value);

    // ---- edit life of a boleto
    void cdsBoletosBeforeEdit();
    void cdsBoletosNewRecord();
    void cdsBoletosBeforePost();
    void cdsBoletosAfterPost();
    void cdsBoletosAfterCancel();
    // True when the user chose to deduct an advance or a return of the supplier.
    bool VerificaDesconto();

    // ---- remittance situation, compensation
    std::string AtualizaSITUCNAB(const std::string& lancamento, const std::string& filial);
    void VerificaSitCNAB(const std::string& situacao, bool confirm, bool block);
    bool VdBolCompensado();
    bool VdTBolCompensado(const std::string& kind);
    void GravaChaveBoletos(const std::string& kind);

    // ---- settlement type, fine and interest
    void Vd_TipoBaixa(bool report);
    void btnTipoBaixaBeforePesq();
    void btnTipoBaixaAfterPesq();
    void dbeCdTpBaixaChange();
    void dbeCdTpBaixaExit();
    // kind "P" (percent) or "V" (amount); which "MU" (fine) or "MO" (daily interest).
    void Vd_DadoBoleto(const std::string& kind, const std::string& which);

    // ---- payment data of the payment page: digitable line and barcode, paying and
    // payee accounts, PIX (checked on leaving each field and again on save)
    void dbeLinhBarPagExit();
    void edtCdBarraExit();
    void Vd_BarraPag();
    void Vd_ValorBolImp(const std::string& valueDigits, const std::string& supplier);
    void Vd_CdReduCont();
    void dbeCdBancBolPExit();
    void dbeCdAgenBolPExit();
    void dbeCdCCorFornExit();
    void Vd_Favorecido(const std::string& supplier);
    void Vd_CHAVEPIX(const std::string& supplier, const std::string& code, bool payeeBankEmpty);
    void cdsCCorFornAfterPost();
    void cdsChavePixAfterPost();

    // ---- adjustments page
    void Vd_CdAjuctPag(bool obrigatorio);
    void Vd_VrAjBolPag(bool obrigatorio);
    void cdsAjBolPagBeforeInsert();
    void cdsAjBolPagBeforePost();
    // Also after a delete: the change goes to the server at once.
    void cdsAjBolPagAfterPost();
    void cdsAjBolPagAfterCancel();
    void cdsAjBolPagBeforeDelete();
    void dbgAjusteEditButtonClick();
    void dbgAjusteColExit();
    void dbgAjusteKeyDown(int& key, ShiftState shift);
    void dbgAjusteKeyPress(KeyChar& key);
    // "Desconto" for "D", "Acréscimo" for "A", nothing for anything else.
    std::string TextoSinalAjuste(const std::string& sinal) const;

    // ---- extension page ("Vencimento")
    // Locks the screen while an extension is edited (false) and frees it again (true).
    void Habil_Prorroga(bool habilita);
    void depVencimentoExit();
    void edtCdMotiProChange();
    void sbtMotProrrBeforePesq();
    void sbtMotProrrAfterPesq();
    void Vd_CdMotivoProrroga(bool obrigatorio);
    void dbdVencimentoExit();
    // An extension is being edited (the screen is locked for it).
    bool Prorrogando() const { return prorrogando_; }

    // ---- installments page ("Parcelamento")
    void cdsParcelasAfterScroll();
    void cdsParcelasBeforeEdit();
    void cdsParcelasAfterEdit();
    void cdsParcelasBeforeInsert();
    void cdsParcelasNewRecord();
    void cdsParcelasAfterInsert();
    void cdsParcelasBeforePost();
    void cdsParcelasBeforeCancel();
    void cdsParcelasBeforeDelete();
    void cdsParcelasDTVENBOLPAGSetText(Field& field, const std::string& texto);
    void Vd_MotivoParc(bool obrigatorio);
    void dbgParcelamentoColEnter();
    void dbgParcelamentoColExit();
    void dbgParcelamentoDrawColumnCell(GridCanvas& canvas, GridColumn& col, DrawCellState state);
    void dbgParcelamentoEditButtonClick();

    // ---- association of boletos into a real boleto, and its cancellation
    void sbtAgrupaClick();
    void sbtCancelaBolClick();
    void SeparaBoleto();

    // ---- screen actions
    void sbtHabAutoClick();
    // The tax guide of the current boleto: its dialog, and the list read again when the
    // dialog was confirmed; "DISP_TRIB" for a boleto that pays no tax.
    void CadGuiaImp();
    void sbtCadGuiaImpClick();
    void mnuCadGuiaTribClick();

    // Supplier code remembered while a boleto is being created by association.
    const std::string& FornecedorLembrado() const { return stCdForneced_; }
    void LembraFornecedor(std::string code) { stCdForneced_ = std::move(code); }

    // ---- the list as it stands (habconta_export.cpp)
    // Writes the boletos listed to a CSV file: the grid's visible columns in their order
    // with their titles, the rows in the grid's order, progress told every 10,000 rows.
    // Returns how many boletos were written. Throws std::runtime_error (pt-BR) when the
    // file cannot be written; no file is left behind then.
    long ExportaListaCsv(const std::string& arquivo,
                         const std::function<void(long)>& progresso = {});
    // The printable list: the marked boletos, or all listed when none is marked, by due
    // date, with the company, the filter and the processing date in its header.
    PrintableReport RelatorioLista();
    // The confirmed filter criteria in one line ("Filtro: Vencimento de ... até ...").
    std::string ResumoFiltro() const;
    void mnuExportaCsvClick();
    void mnuImprimeListaClick();
    void mnuSalvaPdfClick();

    // ---- the cash going out per due date (habconta_cashout.cpp)
    // The final values of the boletos the grid shows, summed per due date, enabled and
    // not enabled apart.
    CashOut SaidaDeCaixa();
    // Narrows the list to the boletos due on that day (the same day again shows them
    // all); the totals under the grid follow the boletos shown.
    void FiltraVencimento(Date dia);
    void MostraTodosVencimentos();
    // The due date the list is narrowed to, if any.
    std::optional<Date> VencimentoFiltrado() const;
    void mnuSaidaCaixaClick();

    // ---- events (public so the host, the scenario runner and the views can run them)
    void FormCreate() override;
    void FormActivate();
    void FormClose(CloseAction& action) override;
    void netHabContaBeforeConnect(SocketConnection& conn);
    void btpEmpresaBeforePesq();
    void btpEmpresaAfterPesq();
    void panFiltroEnter();
    void panFiltroExit();
    void sbtFiltroClick();
    void mnuFiltroClick();
    void sbtProcurarClick() override;
    // Refresh of the page showing (the boletos relocated, or the page's details).
    void sbtVerificarClick() override;
    // The maintenance commands act on the page showing.
    void sbtIncluirClick() override;
    void sbtAlterarClick() override;
    void sbtExcluirClick() override;
    void sbtConfirmarClick() override;
    void sbtCancelarClick() override;

    void cdsBoletosAfterScroll();
    void cdsBoletosAfterOpen();
    void cdsCntPagarCalcFields();
    void pgcPadraoChange() override;
    void dtsPadraoStateChange() override;
    void mnuFolhaDadosClick() override;
    void mnuDadosPagClick();
    void mnuAjustesClick();
    void mnuProrrogacaoClick();
    void mnuParcelamentoClick();

    // A parameter of the accounts-payable parameters (cdsGeralPag) as text; blank when
    // they could not be read.
    std::string ParametroGeralPag(const char* field);

    // The remittance-situation text of a code ("00" -> "Não Enviado"); other codes as
    // they are.
    std::string TextoSituacaoCnab(const std::string& code) const;

private:
    // Construction, split by concern over the screen's source files.
    MenuItem& criaMenuFiltro();
    void criaControles();
    void criaPaginaBoletos();
    void criaPaginaContas();
    void criaPaginaDadosPag();
    void criaPaginaAjustes();
    void criaPaginaProrrogacao();
    void criaPaginaParcelamento();
    void criaColunasBoletos();
    void criaDataSets();
    void criaConsultas();
    void ligaEventos();
    void ligaEventosDataSets();
    void carregaMensagens();
    // The payment page's checks: their messages and the events of their controls.
    void carregaMensagensDadosPag();
    void ligaEventosDadosPag();
    // The grid's and the edit life's events.
    void ligaEventosGrid();
    void ligaEventosEdicao();
    void ligaEventosDadosPagTipoBaixa();
    void ligaEventosAjustes();
    void ligaEventosExporta();
    // Stops with a message while a boleto is being changed ("... antes de " + acao) or
    // when none is listed.
    void verificaListaPronta(const char* acao);
    void imprimeLista(ReportDestination destino);
    void ligaEventosSaidaCaixa();
    // Applies a filter to the list (empty: none), keeping the current boleto when it
    // stays listed; the details and the totals follow.
    void filtraBoletos(const std::string& filtro);
    std::optional<Date> vencimentoFiltrado_;
    // Expires with the screen: a chart left open then stops reaching it.
    std::shared_ptr<bool> vivo_ = std::make_shared<bool>(true);
    // ==== adjustments (habconta_ajustes.cpp) ====
    // The focus on a column of a grid of the screen, when the grid shows.
    void focaColuna(const char* grade, const char* campo);
    // Code, description and sign of the type qryTipoAjPagar is on, into the row.
    void copiaTipoAjuste();
    // Whether raising the boleto by the amount keeps the cash-flow budget.
    bool orcamentoComporta(double valor);
    // The toolbar's delete on the adjustment page.
    void excluiAjuste();

    // ==== extension (habconta_prorrogacao.cpp) ====
    void ligaEventosProrrogacao();
    // The page shows the boleto's stored due date and reason, without starting an edit.
    void mostraVencimentoBoleto();
    void abreMotivosProrrogacao(const std::string& codigo, const std::string& todos);
    // The toolbar's change, confirm and cancel on the extension page.
    void iniciaProrrogacao();
    void confirmaProrrogacao();
    void gravaProrrogacao();
    void cancelaProrrogacao();
    bool prorrogando_ = false;
    // The boleto took the new date but the server has not recorded the extension yet.
    bool extensaoPendente_ = false;

    // ==== association (habconta_agrupa.cpp) ====
    struct Grupo;
    void ligaEventosAgrupa();
    void percorreMarcados(Grupo& g);
    void confereMarcado(Grupo& g);
    // The confirm on "Dados para Pagamento" of a new real boleto.
    void agrupaBoletos();
    void completaBoletoReal(const std::string& numero);
    void enviaAgrupamento(const std::string& numero);
    // The PIX key type chosen in the payment page's combo box, into the row.
    void gravaTipoChavePix();

    // ==== installments (habconta_parcelas.cpp) ====
    void ligaEventosParcelas();
    // Only the last installment's due date, never the first's, is typed in the grid.
    void regraColunaVencimento();
    // The row never split becomes installment "01" of its own set.
    void primeiraParcela();
    void abreMotivosParcela(const std::string& codigo, const std::string& todos);
    void copiaMotivoParcela();
    void venceAntesDaEmissao();
    // The least value the server lets the split row keep (0: the value is accepted).
    double valorMinimoParcela(double valor);
    // The remittance situation last read from the server.
    std::string situacaoLida();
    // The toolbar's change, confirm and delete on the installments page.
    void abreParcelamento();
    void confirmaParcelamento();
    void excluiParcela();

    // Current boleto's key, for the detail loads.
    std::string filialAtual();
    std::string lancamentoAtual();
    bool temBoletoAtual() const;
    // Replaces a dataset's content with the packet of a server operation, with the busy
    // animation shown meanwhile.
    void carregaDoServidor(ClientDataSet& target, const std::string& operation,
                           std::vector<Value>& args, const std::vector<int>& byRef);
    // The page items that follow their pages (the grid page's included).
    void habilitaItensPaginas(bool comAjustes);
    void extensaoControlada();
    // The payment page's share of the checks before a boleto is posted.
    void verificaDadosPagamento();
    // Opens the deductions dialog for the current boleto: kind "0" advances, "1" returns.
    void abreAbatimento(const std::string& kind);
    // nedCont and nedTotal from the marks the boletos carry.
    void somaMarcados();
    // How many boletos are listed, and the mark column's title ticked only when every
    // listed boleto is marked.
    void mostraContagem();
    // Whether the page of that name is the one showing.
    bool mostrando(const char* page);
    // The net value of the current boleto (0 without one).
    double valorLiquidoAtual();

    // ==== payment data helpers (barcode, payee account, PIX): habconta_barcode.cpp,
    // habconta_payee.cpp, habconta_pix.cpp ====
    // Typing a barcode while the boleto is browsing puts it into edit first.
    void edtCdBarraKeyPress(KeyChar& key);
    // Paying account: the company's accounts to pick from, and the picked one.
    void btnContCorrBeforePesq();
    void btnContCorrAfterPesq();
    void dbeReduContChange();
    // Payee account: digits only in the bank; F9 in agency or account opens the list.
    void dbeCdBancBolPKeyPress(KeyChar& key);
    void dbeContaFavorecidoKeyDown(int& key);
    void btnContCForBeforePesq();
    void btnContCForAfterPesq();
    // PIX key type of the boleto and of the supplier's key list, shown as text.
    std::string cdsBoletosIDCHAVEPIXGetText(Field& field);
    void cdsBoletosIDCHAVEPIXSetText(Field& field, const std::string& text);
    void dbcIdChavePixChange();
    void btnPesqChavePixBeforePesq();
    void btnPesqChavePixAfterPesq();
    std::string cdsChavePixIDCHAVEPIXGetText(Field& field);
    std::string cdsChavePixIDCHAVEPIXPREFGetText(Field& field);
    void cdsChavePixNewRecord();
    // The supplier the payment data belong to: the remembered one while inserting.
    std::string fornecedorDadosPag();
    // Sends the change log of a supplier register (accounts, PIX keys) and merges it;
    // a refusal cancels the pending changes.
    void gravaCadastroFornecedor(ClientDataSet& ds, const char* operation);
    // Reloads a supplier register from the server; when nothing matches, asks the
    // question (busy animation hidden) and on Yes runs registra.
    void consultaOuCadastra(ClientDataSet& ds, const char* operation, std::vector<Value> args,
                            const char* pergunta, const std::function<void()>& registra);
    // Runs the steps; a stop puts the focus on the control and goes on.
    void focaSeParar(const char* control, const std::function<void()>& passos);
    // ==== end of payment data helpers ====

    std::string stCdForneced_;
    // A mark or unmark is being posted: the payment page's checks and the "no value"
    // placeholders are not the mark's business.
    bool marcando_ = false;
    // The fields the last before-post filled with a placeholder, cleared again once
    // the save went through.
    std::vector<std::string> comMarcador_;
    // Runs a mark or unmark post with marcando_ set.
    void postaMarca(const char* marca);
    // What a walk over the marked boletos reads once for all of them instead of once
    // per boleto: the remittance situations (branch, 0x1F, launch -> IDSITUCNABP) and
    // the processing-date lock by due date. Empty outside a walk.
    struct LeiturasDaCaminhada {
        std::unordered_map<std::string, std::string> situacoes;
        std::map<int32_t, bool> bloqueioPorData;
        std::optional<std::string> ultimaSituacao;
    };
    std::optional<LeiturasDaCaminhada> caminhada_;
    // The start reads the situations of the marked boletos in one call; the end leaves
    // cdsSitCNAB as the walk's last check left it.
    void iniciaCaminhada();
    void terminaCaminhada() noexcept;
    // After a save: the placeholders leave the row, which shows what was stored.
    void limpaMarcadores();
    // Payee-account key: one "1"/"0" per payee field (bank, agency, account).
    std::string stContaBenef_ = "000";
};

// ---- module variables
extern TfrmHabConta* frmHabConta;
extern bool boIdCriado;
extern bool boAtualizaBoletos;
extern bool boParcelamento;
extern std::string stNrUltParc;
extern std::string stNrParcela;
extern std::string StParcela;
extern double doVrRestParc;
extern Date DtVenc;
extern Date DtEntrDoc;

// Creates the screen once and shows it; with a company, validates it and runs the
// hidden filter for the date.
void CriaHabConta(const std::string& empresa, Date data);
// Destroys the screen (the host closing the suite, tests).
void DestroiHabConta();

// The unit's initialization and finalization, run by the package in its unit order.
void Cli_pag12000_Initialize();
void Cli_pag12000_Finalize();

}  // namespace pag

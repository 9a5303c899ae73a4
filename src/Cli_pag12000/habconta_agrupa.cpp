// Associating boletos: the marked boletos of one supplier become one real boleto, the one
// the bank is paid, whose payment data the clerk types on "Dados para Pagamento"; a single
// marked boleto becomes real by itself. Cancelling a real boleto gives its payables back
// to the boletos it absorbed.
#include "Cli_pag12000/habconta.h"
#include "Cli_pag12000/habconta_internal.h"
#include "Cli_pag12100/filtro_hab.h"
#include "platform/scoped.h"
#include "platform/ui/abort.h"
#include "platform/ui/date_edit.h"
#include "platform/ui/db_controls.h"

namespace pag {

// What the walk over the marked boletos found out.
struct TfrmHabConta::Grupo {
    bool adiantamento = false, normal = false, emprestimo = false;
    bool primeiro = true, vencimentosDiferentes = false;
    std::string fornecedor;
    Date vencimento;
    double soma = 0;
};

void TfrmHabConta::ligaEventosAgrupa() {
    Get<SpeedButton>("sbtAgrupa").OnClick = [this] { sbtAgrupaClick(); };
    Get<MenuItem>("mnuAgrupa").OnClick = [this] { sbtAgrupaClick(); };
    Get<SpeedButton>("sbtCancelaBol").OnClick = [this] { sbtCancelaBolClick(); };
    Get<MenuItem>("mnuCancelaBol").OnClick = [this] { sbtCancelaBolClick(); };
}

// ---- associate

void TfrmHabConta::sbtAgrupaClick() {
    DtEntrDoc = Date();
    Grupo g;
    if (nedCont.GetNumber() > 1) {
        try {
            percorreMarcados(g);
        } catch (...) {
            LembraFornecedor({});
            throw;
        }
        if (g.vencimentosDiferentes) {
            if (msgPadrao.ShowMsg(Ui(), "VENBOL_DIF", MessageKind::Confirmation) !=
                ModalResult::Yes)
                return;
            Get<Control>("dbdVencimento").SetEnabled(true);
            Get<Control>("lblVencimento").SetEnabled(true);
        }
    }
    mnuDadosPagClick();
    if (nedCont.GetNumber() > 1) {
        cdsBoletos.Insert();
        cdsBoletos.FieldByName("VRBOLPAG").SetAsFloat(g.soma);
        cdsBoletos.FieldByName("VRFINALBPAG").SetAsFloat(nedTotal.GetNumber());
        cdsBoletos.FieldByName("DTVENBOLPAG").SetAsDateTime(g.vencimento);
        Get<Edit>("edtDiaSemana").SetText(NomeSemana(g.vencimento));
    } else {
        cdsBoletos.Locate(kMarca, Value("S"));
        cdsBoletos.Edit();
        cdsBoletos.FieldByName("IDBPAGREAL").SetAsString("S");
        cdsBoletos.FieldByName("IDHABIBPAG").SetAsString("S");
    }
    HabPageControl();
}

void TfrmHabConta::percorreMarcados(Grupo& g) {
    {
        ControlsDisabled congelada(cdsBoletos);
        DetachEvent rolagem(cdsBoletos.AfterScroll);
        try {
            for (cdsBoletos.First(); !cdsBoletos.Eof(); cdsBoletos.Next())
                if (cdsBoletos.FieldByName(kMarca).AsString() == "S") confereMarcado(g);
        } catch (...) {
            cdsBoletos.First();
            cdsBoletos.Locate(kMarca, Value("S"));
            throw;
        }
        cdsBoletos.First();
        cdsBoletos.Locate(kMarca, Value("S"));
    }
}

void TfrmHabConta::confereMarcado(Grupo& g) {
    VerificaSitCNAB(AtualizaSITUCNAB(lancamentoAtual(), filialAtual()), false, true);
    const std::string tipo = cdsBoletos.FieldByName("IDTPCTPAGAR").AsString();
    (tipo == "2" ? g.adiantamento : tipo == "1" ? g.normal : g.emprestimo) = true;
    if (g.adiantamento && g.normal) MensErro(Ui(), msgPadrao.Msg("Bo_notAgrup"));
    if (g.emprestimo) MensErro(Ui(), msgPadrao.Msg("BoEmp_notAgrup"));
    const Date entrada = cdsBoletos.FieldByName("DTENTRSAID").AsDateTime();
    if (DtEntrDoc < entrada) DtEntrDoc = entrada;
    const std::string fornecedor = cdsBoletos.FieldByName("CDFORNECED").AsString();
    const Date venc = cdsBoletos.FieldByName("DTVENBOLPAG").AsDateTime();
    if (g.primeiro) {
        g.primeiro = false;
        LembraFornecedor(fornecedor);
        g.vencimento = venc;
    } else {
        if (fornecedor != FornecedorLembrado()) MensErro(Ui(), msgPadrao.Msg("Forn_dif"));
        if (venc != g.vencimento) {
            g.vencimentosDiferentes = true;
            // The latest due date is the group's.
            if (g.vencimento < venc) g.vencimento = venc;
        }
    }
    g.soma = RoundDec(g.soma + cdsBoletos.FieldByName("VRBOLPAG").AsFloat(), 2);
}

// ---- storing the association (confirm on "Dados para Pagamento")

void TfrmHabConta::agrupaBoletos() {
    auto& vencimento = Get<DBDateEdit>("dbdVencimento");
    const Date venc = vencimento.GetDate();
    if (!DtEntrDoc.isEmpty() && venc < DtEntrDoc) {
        vencimento.SetFocus();
        MensErro(Ui(), msgPadrao.Msg("DtVenc<DtEntr"));
    }
    const std::string numero =
        AllTrim(DirectResult(Ui(), netHabConta.Call("PrxBoletoPag", {Value(Suite().login.FiliProc),
                                                                     Value(int64_t{1})}))
                    .asString());
    if (!cdsBolAgru.Active()) cdsBolAgru.CreateDataSet();
    cdsBolAgru.EmptyDataSet();
    ControlsDisabled congelada(cdsBoletos);
    DetachEvent depoisPostar(cdsBoletos.AfterPost);
    DetachEvent rolagem(cdsBoletos.AfterScroll);
    // Whatever happens, the list shows every boleto again.
    struct SemFiltro {
        ClientDataSet& ds;
        ~SemFiltro() { ds.SetFiltered(false); }
    } semFiltro{cdsBoletos};
    completaBoletoReal(numero);
    try {
        enviaAgrupamento(numero);
    } catch (...) {
        // The real boleto was not stored: it leaves the list instead of looking saved;
        // the marks stay.
        cdsBoletos.SetFiltered(false);
        if (cdsBoletos.Locate("CDFILIAL;NRLANBOLPAG",
                              {Value(Suite().login.FiliProc), Value(numero)})) {
            DetachEvent depoisExcluir(cdsBoletos.AfterDelete);
            cdsBoletos.Delete();
        }
        cdsBoletosAfterCancel();
        throw;
    }
    cdsBolAgru.EmptyDataSet();
}

void TfrmHabConta::completaBoletoReal(const std::string& numero) {
    if (!editando(cdsBoletos)) cdsBoletos.Insert();
    const auto texto = [this](const char* campo, const std::string& valor) {
        cdsBoletos.FieldByName(campo).SetAsString(valor);
    };
    texto("CDFILIAL", Suite().login.FiliProc);
    texto("NRLANBOLPAG", numero);
    texto("CDFORNECED", FornecedorLembrado());
    texto("CDEMPRESA", medEmpresa.Text());
    cdsBoletos.FieldByName("VRFINALBPAG").SetAsFloat(RoundDec(nedTotal.GetNumber(), 2));
    texto("IDHABIBPAG", "S");
    texto("IDBPAGREAL", "S");
    texto("IDSTATBPAG", "A");
    texto("IDSITUCNABP", "00");
    cdsBoletos.FieldByName("NRORIGBOLPAG").Clear();
    texto("CDBARRAPAG", Get<Edit>("edtCdBarra").Text());
    gravaTipoChavePix();
    // The payment page's other fields are bound to the row: the post writes them.
    cdsBoletos.Post();
}

void TfrmHabConta::enviaAgrupamento(const std::string& numero) {
    cdsBoletos.SetFilter("IDMARCADO = 'S'");
    cdsBoletos.SetFiltered(true);
    double soma = 0;
    for (cdsBoletos.First(); !cdsBoletos.Eof(); cdsBoletos.Next()) {
        cdsBolAgru.Append();
        for (const char* campo : {"CDFILIAL", "NRLANBOLPAG", "VRBOLPAG", "DTVENBOLPAG"})
            cdsBolAgru.FieldByName(campo).SetValue(cdsBoletos.FieldByName(campo).AsValue());
        cdsBolAgru.Post();
        soma += cdsBoletos.FieldByName("VRBOLPAG").AsFloat();
    }
    std::vector<Value> args{Value(cdsBolAgru.Data()),
                            Value(numero),
                            Value(medEmpresa.Text()),
                            Value(Suite().login.FiliProc),
                            Value(soma),
                            Value(cdsBoletos.Delta()),
                            Value(Suite().login.UtilizaOrcaFina),
                            Value(Get<DBDateEdit>("dbdVencimento").GetDate()),
                            Value(false),
                            Value(std::string())};
    std::string resposta;
    {
        BusyScope avi(Ui(), kAviProcessando);
        resposta = DirectResult(Ui(), netHabConta.Call("SetAgrupaBoleto", args, {1, 4})).asString();
    }
    if (resposta == "N_pode_agrup") MensErro(Ui(), msgPadrao.Msg("N_pode_agrup"));
    if (!resposta.empty()) MensErro(Ui(), resposta);
    cdsBoletos.MergeChangeLog();
    Ui().showStatus("Boletos associados.");
}

// ---- cancel a real boleto

void TfrmHabConta::sbtCancelaBolClick() {
    Verifica_Acesso_Sistema(cdsBoletos.FieldByName("DTVENBOLPAG").AsDateTime());
    VerificaSitCNAB(AtualizaSITUCNAB(lancamentoAtual(), filialAtual()), true, true);
    if (VdBolCompensado()) MensErro(Ui(), msgPadrao.Msg("SEPBOLCOMP"));
    if (!cdsBoletos.FieldByName("NRLANCANTECIPA").IsNull())
        MensErro(Ui(), msgPadrao.Msg("Bol_Ant_NAlt"));
    const std::string parcela = AllTrim(cdsBoletos.FieldByName("NRPARCBOLPAG").AsString());
    if (!parcela.empty() && Ajusta(parcela, 2) != "00")
        MensErro(Ui(), msgPadrao.Msg("BOL_N_DESAGRU"));
    BusyScope avi(Ui(), kAviProcessando);
    SeparaBoleto();
}

void TfrmHabConta::SeparaBoleto() {
    {
        BusyScope avi(Ui(), kAviExcluindo);
        std::vector<Value> args{Value(filialAtual()),
                                Value(lancamentoAtual()),
                                Value(cdsBoletos.FieldByName("CDFORNECED").AsString()),
                                Value(cdsBoletos.FieldByName("CDEMPRESA").AsString()),
                                Value(Suite().login.FiliProc),
                                Value(cdsBoletos.FieldByName("DTVENBOLPAG").AsDateTime()),
                                Value(cdsBoletos.FieldByName("CDTPBAIXAPAG").AsString())};
        CheckResultServ(Ui(), netHabConta.Call("SetSeparaBoleto", args));
    }
    CriaFiltroHabConta(kEscondeFiltro, "");
}

}  // namespace pag

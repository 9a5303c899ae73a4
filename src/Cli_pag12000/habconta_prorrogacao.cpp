// The page "Vencimento": a new due date for the current boleto and the reason for it.
// Typing a date or a reason, picking a reason or the change command starts an extension
// and locks the rest of the screen until it is confirmed or cancelled. The boleto row is
// saved with the new date (it leaves any remittance), then the server records the
// extension with its reason.
#include "Cli_pag12000/habconta.h"
#include "Cli_pag12000/habconta_internal.h"
#include "platform/scoped.h"
#include "platform/ui/abort.h"
#include "platform/ui/date_edit.h"
#include "platform/ui/db_controls.h"

namespace pag {

namespace {

// A key that would change the date or the reason of a boleto tied to a blocked invoice
// is refused with the message and discarded.
template <typename Tecla>
void guardaNotaBloqueada(TfrmHabConta& tela, Tecla& key) {
    try {
        tela.VdNFBloqueada(true);
    } catch (...) {
        key = 0;
        throw;
    }
}

}  // namespace

void TfrmHabConta::ligaEventosProrrogacao() {
    auto& vencimento = Get<DateEdit>("depVencimento");
    auto& motivo = Get<MaskEdit>("edtCdMotiPro");
    auto& pesquisa = Get<LookupButton>("sbtMotProrr");
    vencimento.OnChange = [this] { Habil_Prorroga(false); };
    vencimento.OnExit = [this] { depVencimentoExit(); };
    motivo.OnChange = [this] { edtCdMotiProChange(); };
    motivo.OnExit = [this] { Vd_CdMotivoProrroga(false); };
    for (Control* c : {static_cast<Control*>(&vencimento), static_cast<Control*>(&motivo)}) {
        c->OnKeyDown = [this](int& key, ShiftState) {
            if (key == Key::Backspace || key == Key::Delete) guardaNotaBloqueada(*this, key);
        };
        c->OnKeyPress = [this](KeyChar& key) {
            if (key != Key::Backspace) guardaNotaBloqueada(*this, key);
        };
    }
    pesquisa.BeforePesq = [this](bool&) { sbtMotProrrBeforePesq(); };
    pesquisa.AfterPesq = [this] { sbtMotProrrAfterPesq(); };
    Get<DBDateEdit>("dbdVencimento").OnExit = [this] { dbdVencimentoExit(); };
}

void TfrmHabConta::Habil_Prorroga(bool habilita) {
    prorrogando_ = !habilita;
    HabilitaComando(mnuAlterar, sbtAlterar, habilita);
    HabilitaComando(mnuProcurar, sbtProcurar, habilita);
    HabilitaComando(mnuVerificar, sbtVerificar, habilita);
    sbtFiltro.SetEnabled(habilita);
    mnuFiltro.SetEnabled(habilita);
    const std::pair<const char*, const char*> paginas[] = {{"tshFolhaDados", "mnuFolhaDados"},
                                                           {"tshFormulario", "mnuFormulario"},
                                                           {"tshDadosPag", "mnuDadosPag"},
                                                           {"tshParcelamento", "mnuParcelamento"},
                                                           {"tshAjustes", "mnuAjustes"}};
    for (auto [pagina, item] : paginas) {
        Get<Page>(pagina).SetEnabled(habilita);
        Get<MenuItem>(item).SetEnabled(habilita);
    }
    dbnPadrao.SetEnabled(habilita);
    SetChildEnabled(panFiltro, habilita);
    HabilitaComando(mnuConfirmar, sbtConfirmar, !habilita);
    HabilitaComando(mnuCancelar, sbtCancelar, !habilita);
}

void TfrmHabConta::mostraVencimentoBoleto() {
    const bool boleto = temBoletoAtual();
    const Date venc = boleto ? cdsBoletos.FieldByName("DTVENBOLPAG").AsDateTime() : Date();
    auto& vencimento = Get<DateEdit>("depVencimento");
    auto& motivo = Get<MaskEdit>("edtCdMotiPro");
    // Showing the stored values is not the user's change.
    ScopedAssign<Handler> quietoVenc(vencimento.OnChange, nullptr);
    ScopedAssign<Handler> quietoMotivo(motivo.OnChange, nullptr);
    vencimento.SetDate(venc);
    Get<Edit>("edtNmSemana").SetText(NomeSemana(venc));
    motivo.SetText(boleto ? cdsBoletos.FieldByName("CDMOTIPROR").AsString() : "");
    Get<Edit>("edtNmMotiPro")
        .SetText(boleto ? cdsBoletos.FieldByName("DSMOTIPROR").AsString() : "");
}

void TfrmHabConta::depVencimentoExit() {
    auto& vencimento = Get<DateEdit>("depVencimento");
    vencimento.CheckValidDate();
    Get<Edit>("edtNmSemana").SetText(NomeSemana(vencimento.GetDate()));
}

void TfrmHabConta::edtCdMotiProChange() {
    Habil_Prorroga(false);
    Get<Edit>("edtNmMotiPro").Clear();
}

void TfrmHabConta::sbtMotProrrBeforePesq() {
    VdNFBloqueada(true);
    abreMotivosProrrogacao("", "T");
}

void TfrmHabConta::sbtMotProrrAfterPesq() {
    Habil_Prorroga(false);
    Get<MaskEdit>("edtCdMotiPro").SetText(qryMotivoPro.FieldByName("CDMOTIPROR").AsString());
    Get<Edit>("edtNmMotiPro").SetText(qryMotivoPro.FieldByName("DSMOTIPROR").AsString());
}

void TfrmHabConta::abreMotivosProrrogacao(const std::string& codigo, const std::string& todos) {
    qryMotivoPro.Close();
    qryMotivoPro.ParamByName("P_CDMOTIPROR").SetAsString(codigo);
    qryMotivoPro.ParamByName("P_TCDMOTIPROR").SetAsString(todos);
    qryMotivoPro.Open();
}

void TfrmHabConta::Vd_CdMotivoProrroga(bool obrigatorio) {
    auto& motivo = Get<MaskEdit>("edtCdMotiPro");
    try {
        if (AllTrim(motivo.Text()).empty()) {
            if (obrigatorio) MensErro(Ui(), msgPadrao.Msg("CDPROR_INF"));
            return;
        }
        const std::string codigo = Ajusta(motivo.Text(), 2);
        motivo.SetText(codigo);
        abreMotivosProrrogacao(codigo, "");
        if (qryMotivoPro.IsEmpty()) {
            motivo.SetFocus();
            MensErro(Ui(), msgPadrao.Msg("CDPROR_N_CAD"));
        }
        motivo.SetText(qryMotivoPro.FieldByName("CDMOTIPROR").AsString());
        Get<Edit>("edtNmMotiPro").SetText(qryMotivoPro.FieldByName("DSMOTIPROR").AsString());
    } catch (...) {
        Page& pagina = Get<Page>("tshProrrogacao");
        if (pgcPadrao.ActivePage() != &pagina) pgcPadrao.SetActivePage(&pagina);
        if (motivo.IsUsable()) motivo.SetFocus();
        throw;
    }
}

void TfrmHabConta::iniciaProrrogacao() {
    VdNFBloqueada(true);
    Habil_Prorroga(false);
    Get<DateEdit>("depVencimento").SetFocus();
}

void TfrmHabConta::confirmaProrrogacao() {
    auto& vencimento = Get<DateEdit>("depVencimento");
    const Date atual = cdsBoletos.FieldByName("DTVENBOLPAG").AsDateTime();
    const bool mesmaData = AllTrim(vencimento.Text()) == atual.toString();
    // A boleto never extended keeps its date: there is nothing to record. A date the
    // boleto took while the server refused to record its extension is still to record.
    const bool nadaAGravar =
        mesmaData && AllTrim(cdsBoletos.FieldByName("CDMOTIPROR").AsString()).empty();
    if (!nadaAGravar || extensaoPendente_) gravaProrrogacao();
    extensaoPendente_ = false;
    Habil_Prorroga(true);
}

void TfrmHabConta::gravaProrrogacao() {
    auto& vencimento = Get<DateEdit>("depVencimento");
    Vd_CdMotivoProrroga(true);
    const auto paraData = [&](const char* chave) {
        vencimento.SetFocus();
        MensErro(Ui(), msgPadrao.Msg(chave));
    };
    if (Date::parse(vencimento.Text()).isEmpty()) paraData("DTVENC_INF");
    const Date nova = vencimento.GetDate();
    const Date entrada = cdsBoletos.FieldByName("DTENTRSAID").AsDateTime();
    const Date emissao = cdsBoletos.FieldByName("DTEMISSAO").AsDateTime();
    if (!entrada.isEmpty() && nova < entrada) paraData("DtVenc<DtEntr");
    if (!emissao.isEmpty() && nova < emissao) paraData("DtVen<DtEmi");
    BusyScope avi(Ui(), kAviProcessando);
    try {
        cdsBoletos.Edit();
        // A retry keeps the due date the boleto had before the extension began.
        if (!extensaoPendente_)
            cdsBoletos.FieldByName("DTATUAVENBOLPAG")
                .SetValue(cdsBoletos.FieldByName("DTVENBOLPAG").AsValue());
        cdsBoletos.FieldByName("DTVENBOLPAG").SetAsDateTime(nova);
        cdsBoletos.FieldByName("IDSITUCNABP").SetAsString("00");
        cdsBoletos.FieldByName("NRCNABPAGREM").Clear();
        cdsBoletos.Post();
        extensaoPendente_ = true;
        std::vector<Value> args{Value(filialAtual()),
                                Value(lancamentoAtual()),
                                Value(Get<MaskEdit>("edtCdMotiPro").Text()),
                                Value(nova),
                                Value(medEmpresa.Text()),
                                Value(Suite().login.FiliProc)};
        CheckResultServ(Ui(), netHabConta.Call("SetProrrogacao", args));
        Ui().showStatus("Vencimento prorrogado.");
    } catch (...) {
        // The row never keeps a date the server did not take, and the extension stays
        // open to correct or cancel.
        if (editando(cdsBoletos)) cdsBoletos.Cancel();
        Habil_Prorroga(false);
        throw;
    }
}

void TfrmHabConta::cancelaProrrogacao() {
    extensaoPendente_ = false;
    Habil_Prorroga(true);
    mostraVencimentoBoleto();
}

void TfrmHabConta::dbdVencimentoExit() {
    auto& vencimento = Get<DBDateEdit>("dbdVencimento");
    if (!vencimento.Enabled()) return;
    // The weekday follows the group's due date as it is typed.
    Get<Edit>("edtDiaSemana").SetText(NomeSemana(vencimento.GetDate()));
}

}  // namespace pag

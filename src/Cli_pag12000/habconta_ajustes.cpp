// The page "Ajuste": a boleto's adjustments. A row is only ever inserted or deleted;
// each stored change goes to the server at once (the server recomputes the boleto's
// value) and the boleto list is then read again. An increase asks the cash-flow budget
// before it is stored, a discount before it is removed.
#include "Cli_pag12000/habconta.h"
#include "Cli_pag12000/habconta_internal.h"
#include "platform/format.h"
#include "platform/scoped.h"
#include "platform/ui/abort.h"

namespace pag {

namespace {

constexpr const char* kCodigo = "CDAJUCTPAG";
constexpr const char* kValor = "VRAJBOLPAG";
constexpr const char* kSinal = "IDAJUCTPAG";

// The fields a stored row keeps: they take typing only while a row is inserted.
constexpr int kTagSomenteInclusao = 1;
constexpr int kTagValorSomenteInclusao = 99;

}  // namespace

void TfrmHabConta::ligaEventosAjustes() {
    cdsAjBolPag.BeforeInsert = [this](ClientDataSet&) { cdsAjBolPagBeforeInsert(); };
    // A stored adjustment is removed and inserted again, never changed in place.
    cdsAjBolPag.BeforeEdit = [](ClientDataSet&) { throw SilentAbort(); };
    cdsAjBolPag.BeforePost = [this](ClientDataSet&) { cdsAjBolPagBeforePost(); };
    cdsAjBolPag.AfterPost = [this](ClientDataSet&) { cdsAjBolPagAfterPost(); };
    cdsAjBolPag.AfterDelete = [this](ClientDataSet&) { cdsAjBolPagAfterPost(); };
    cdsAjBolPag.AfterCancel = [this](ClientDataSet&) { cdsAjBolPagAfterCancel(); };
    cdsAjBolPag.BeforeDelete = [this](ClientDataSet&) { cdsAjBolPagBeforeDelete(); };
    cdsAjBolPag.FieldByName(kSinal).OnGetText = [this](Field& f, bool) {
        return TextoSinalAjuste(f.AsString());
    };
    // The lookup query's fields may be built again when it opens.
    qryTipoAjPagar.AfterOpen = [this](ClientDataSet& q) {
        q.FieldByName(kSinal).OnGetText = [this](Field& f, bool) {
            return TextoSinalAjuste(f.AsString());
        };
    };
    Grid& g = Get<Grid>("dbgAjuste");
    g.OnEditButtonClick = [this] { dbgAjusteEditButtonClick(); };
    g.OnColExit = [this] { dbgAjusteColExit(); };
    g.OnKeyDown = [this](int& key, ShiftState shift) { dbgAjusteKeyDown(key, shift); };
    g.OnKeyPress = [this](KeyChar& key) { dbgAjusteKeyPress(key); };
}

std::string TfrmHabConta::TextoSinalAjuste(const std::string& sinal) const {
    if (sinal == "D") return msgPadrao.Msg("Desconto");
    if (sinal == "A") return msgPadrao.Msg("Acrescimo");
    return {};
}

void TfrmHabConta::focaColuna(const char* grade, const char* campo) {
    Grid& g = Get<Grid>(grade);
    if (!g.IsUsable()) return;
    // Moving the focus is not the user leaving the code.
    ScopedAssign<Handler> quieto(g.OnColExit, nullptr);
    g.SetFocus();
    g.SetSelectedIndex(IndiceCol(g, campo));
}

void TfrmHabConta::Vd_CdAjuctPag(bool obrigatorio) {
    if (!editando(dtsAjBolPag.State())) return;
    try {
        Field& codigo = cdsAjBolPag.FieldByName(kCodigo);
        if (AllTrim(codigo.AsString()).empty()) {
            if (obrigatorio) MensErro(Ui(), msgPadrao.Msg("CdAjDeve"));
            return;
        }
        codigo.SetAsString(Ajusta(codigo.AsString(), 4));
        qryTipoAjPagar.Close();
        qryTipoAjPagar.ParamByName("P_CDAJUCTPAG").SetAsString(codigo.AsString());
        qryTipoAjPagar.ParamByName("P_TCDAJUCTPAG").SetAsString("");
        qryTipoAjPagar.Open();
        if (qryTipoAjPagar.IsEmpty()) MensErro(Ui(), msgPadrao.Msg("CdAj_Nao_cad"));
        std::vector<Value> args{Value(filialAtual()), Value(lancamentoAtual()),
                                Value(codigo.AsString())};
        carregaDoServidor(cdsVerifAjust, "GetVerifAjust", args, {});
        if (!cdsVerifAjust.IsEmpty()) MensErro(Ui(), msgPadrao.Msg("CdAj_Ja_cad"));
        copiaTipoAjuste();
    } catch (...) {
        focaColuna("dbgAjuste", kCodigo);
        throw;
    }
}

void TfrmHabConta::copiaTipoAjuste() {
    for (const char* campo : {kCodigo, "DSAJUCTPAG", kSinal})
        cdsAjBolPag.FieldByName(campo).SetAsString(qryTipoAjPagar.FieldByName(campo).AsString());
}

void TfrmHabConta::Vd_VrAjBolPag(bool obrigatorio) {
    if (cdsAjBolPag.State() != DataSetState::Insert) return;
    try {
        Field& valor = cdsAjBolPag.FieldByName(kValor);
        if (valor.IsNull()) {
            if (obrigatorio) MensErro(Ui(), msgPadrao.Msg("Vr_Deve"));
            return;
        }
        const double v = RoundDec(valor.AsFloat(), 2);
        if (v <= 0) MensErro(Ui(), msgPadrao.Msg("MaiorZero"));
        // A discount may take the boleto down to zero, never below.
        if (cdsAjBolPag.FieldByName(kSinal).AsString() == "D" &&
            RoundDec(cdsBoletos.FieldByName("VRFINALBPAG").AsFloat(), 2) < v)
            MensErro(Ui(), msgPadrao.Msg("VrAjus>Vrbol"));
    } catch (...) {
        focaColuna("dbgAjuste", kValor);
        throw;
    }
}

bool TfrmHabConta::orcamentoComporta(double valor) {
    Value payload;
    {
        BusyScope avi(Ui(), kAviProcessando);
        payload = CheckResultServ(
            Ui(),
            netHabConta.Call("Vd_OrcaFinaAjusBol", {Value(filialAtual()), Value(lancamentoAtual()),
                                                    Value(RoundDec(valor, 2))}));
    }
    return PayloadPart(payload, 0).asBool();
}

void TfrmHabConta::cdsAjBolPagBeforeInsert() {
    Verifica_Acesso_Sistema(cdsBoletos.FieldByName("DTVENBOLPAG").AsDateTime());
    VdNFBloqueada(true);
    if (!cdsBoletos.FieldByName("NRLANCANTECIPA").IsNull())
        MensErro(Ui(), msgPadrao.Msg("Bol_Ant_NAlt"));
    VerificaSitCNAB(AtualizaSITUCNAB(lancamentoAtual(), filialAtual()), true, true);
    if (cdsCntPagar.Active() && !cdsCntPagar.IsEmpty() &&
        cdsCntPagar.FieldByName("IDTPCTPAGAR").AsString() == "2")
        MensErro(Ui(), msgPadrao.Msg("Bo_notAju"));
    stNrUltParc = cdsParcelas.Active() && !cdsParcelas.IsEmpty()
                      ? Ajusta(cdsParcelas.FieldByName("NRPARCBOLPAG").AsString(), 2)
                      : std::string();
    focaColuna("dbgAjuste", kCodigo);
}

void TfrmHabConta::cdsAjBolPagBeforePost() {
    Vd_CdAjuctPag(true);
    Vd_VrAjBolPag(true);
    cdsAjBolPag.FieldByName("CDFILIAL").SetAsString(filialAtual());
    cdsAjBolPag.FieldByName("NRLANBOLPAG").SetAsString(lancamentoAtual());
    if (cdsAjBolPag.FieldByName(kSinal).AsString() == "A" &&
        !orcamentoComporta(cdsAjBolPag.FieldByName(kValor).AsFloat()))
        MensErro(Ui(), msgPadrao.Msg("AJ_SUP_ORCAFINA"));
}

void TfrmHabConta::cdsAjBolPagAfterPost() {
    if (cdsAjBolPag.ChangeCount() == 0) return;
    try {
        std::vector<Value> args{Value(cdsAjBolPag.Delta()), Value(cdsAdiantamento.Data()),
                                Value(cdsDevolucao.Data())};
        BusyScope avi(Ui(), kAviProcessando);
        CheckResultServ(Ui(), netHabConta.Call("SetAjBolPag", args));
    } catch (...) {
        // The refused change leaves: an inserted row disappears, a deleted one returns.
        cdsAjBolPag.CancelUpdates();
        throw;
    }
    cdsAjBolPag.MergeChangeLog();
    Ui().showStatus("Ajuste gravado.");
    if (boAtualizaBoletos) Filtro_Locate();
}

void TfrmHabConta::cdsAjBolPagAfterCancel() {
    if (cdsAjBolPag.ChangeCount() > 0) cdsAjBolPag.CancelUpdates();
}

void TfrmHabConta::cdsAjBolPagBeforeDelete() {
    VerificaSitCNAB(AtualizaSITUCNAB(lancamentoAtual(), filialAtual()), true, true);
    VdNFBloqueada(true);
    if (!cdsBoletos.FieldByName("NRLANCANTECIPA").IsNull())
        MensErro(Ui(), msgPadrao.Msg("Bol_Ant_NAlt"));
}

void TfrmHabConta::excluiAjuste() {
    const std::string sinal = cdsAjBolPag.FieldByName(kSinal).AsString();
    const double valor = cdsAjBolPag.FieldByName(kValor).AsFloat();
    if (sinal == "A" && cdsBoletos.FieldByName("VRFINALBPAG").AsFloat() < valor)
        MensErro(Ui(), msgPadrao.Msg("Bol_Negativo"));
    const std::string origem = cdsAjBolPag.FieldByName("IDORIGAJBPAG").AsString();
    if (origem == "4") MensErro(Ui(), msgPadrao.Msg("AJEMPLEASING"));
    if (origem == "5") MensErro(Ui(), msgPadrao.Msg("AJBOLCOMP"));
    if (!ConfirmaPadrao("Excl")) return;
    if (sinal == "D" && !orcamentoComporta(valor)) MensErro(Ui(), msgPadrao.Msg("AJ_SUP_ORCAFINA"));
    {
        // The list is read once, below, not also by the save.
        ScopedAssign<bool> semRecarga(boAtualizaBoletos, false);
        cdsAjBolPag.Delete();
    }
    Filtro_Locate();
}

void TfrmHabConta::dbgAjusteEditButtonClick() {
    if (!editando(cdsAjBolPag)) return;
    qryTipoAjPagar.Close();
    qryTipoAjPagar.ParamByName("P_CDAJUCTPAG").SetAsString("");
    qryTipoAjPagar.ParamByName("P_TCDAJUCTPAG").SetAsString("T");
    qryTipoAjPagar.Open();
    if (qryTipoAjPagar.IsEmpty()) {
        focaColuna("dbgAjuste", kCodigo);
        MensErro(Ui(), msgPadrao.Msg("N_ha_TipoAjPag"));
    }
    if (Ui().pickOne(qryTipoAjPagar, msgPadrao.Msg("TpAjContPag"), msgPadrao.Msg("N_ha_TipoAjPag")))
        copiaTipoAjuste();
}

void TfrmHabConta::dbgAjusteColExit() {
    const Field* f = Get<Grid>("dbgAjuste").SelectedField();
    if (f && f->FieldName() == kCodigo) Vd_CdAjuctPag(false);
}

void TfrmHabConta::dbgAjusteKeyDown(int& key, ShiftState) {
    // Rows are removed through the toolbar only.
    if (key == Key::Delete && cdsAjBolPag.State() != DataSetState::Insert) key = 0;
}

void TfrmHabConta::dbgAjusteKeyPress(KeyChar& key) {
    const Field* f = Get<Grid>("dbgAjuste").SelectedField();
    if (!f || cdsAjBolPag.State() == DataSetState::Insert) return;
    if (f->Tag() != kTagSomenteInclusao && f->Tag() != kTagValorSomenteInclusao) return;
    const bool passa = key == Key::Tab || key == Key::Enter || (key >= 37 && key <= 40);
    if (!passa) key = 0;
}

}  // namespace pag

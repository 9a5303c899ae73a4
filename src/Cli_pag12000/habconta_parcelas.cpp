// The page "Parcelamento": a boleto split into installments. The first edit of the last
// installment (or of the never-split row "00") opens the installment edit; rows are then
// appended until the values add up to the value of the row that was split, which the
// module follows in doVrRestParc (what is left to distribute) and klsVrParcela (the value
// last posted for each installment). The whole set goes to the server in one call; the
// last installment can be removed again.
#include <charconv>

#include "Cli_pag12000/habconta.h"
#include "Cli_pag12000/habconta_internal.h"
#include "contracts/client/grid_helpers.h"
#include "platform/format.h"
#include "platform/scoped.h"
#include "platform/ui/abort.h"

namespace pag {

namespace {

constexpr const char* kNumero = "NRPARCBOLPAGVISU";
constexpr const char* kVencimento = "DTVENBOLPAG";
constexpr const char* kValor = "VRFINALBPAG";
constexpr const char* kMotivo = "CDMOTIPARC";

// "03" -> 3; -1 for anything but digits.
int numeroParcela(const std::string& texto) {
    const std::string t = AllTrim(texto);
    int n = -1;
    const auto [fim, erro] = std::from_chars(t.data(), t.data() + t.size(), n);
    return erro == std::errc() && fim == t.data() + t.size() ? n : -1;
}

bool semDigitos(const std::string& texto) {
    return texto.find_first_of("0123456789") == std::string::npos;
}

// The boleto fields a new installment repeats.
constexpr const char* kCopiadosDoBoleto[] = {
    "CDFILIAL",     "NRLANBOLPAG",  "CDFORNECED",  "CDEMPRESA",   "VRBOLPAG",    "CDMOTIPARC",
    "NRORIGBOLPAG", "IDSTATBPAG",   "VRPEMULBPAG", "VRMULTABPAG", "VRPEMORBPAG", "IDHABIBPAG",
    "VRMORDIABPAG", "IDBPAGREAL",   "CDBANCBOLP",  "CDAGENBOLP",  "CDCCORBOLP",  "CDREDUCONT",
    "DSLINHBARPAG", "NRCNABPAGREM", "NRCNABPAGRET"};

}  // namespace

void TfrmHabConta::ligaEventosParcelas() {
    cdsParcelas.AfterScroll = [this](ClientDataSet&) { cdsParcelasAfterScroll(); };
    cdsParcelas.BeforeEdit = [this](ClientDataSet&) { cdsParcelasBeforeEdit(); };
    cdsParcelas.AfterEdit = [this](ClientDataSet&) { cdsParcelasAfterEdit(); };
    cdsParcelas.BeforeInsert = [this](ClientDataSet&) { cdsParcelasBeforeInsert(); };
    cdsParcelas.OnNewRecord = [this](ClientDataSet&) { cdsParcelasNewRecord(); };
    cdsParcelas.AfterInsert = [this](ClientDataSet&) { cdsParcelasAfterInsert(); };
    cdsParcelas.BeforePost = [this](ClientDataSet&) { cdsParcelasBeforePost(); };
    cdsParcelas.BeforeCancel = [this](ClientDataSet&) { cdsParcelasBeforeCancel(); };
    cdsParcelas.BeforeDelete = [this](ClientDataSet&) { cdsParcelasBeforeDelete(); };
    cdsParcelas.FieldByName(kVencimento).OnSetText = [this](Field& f, const std::string& texto) {
        cdsParcelasDTVENBOLPAGSetText(f, texto);
    };
    Grid& g = Get<Grid>("dbgParcelamento");
    g.OnColEnter = [this] { dbgParcelamentoColEnter(); };
    g.OnColExit = [this] { dbgParcelamentoColExit(); };
    g.OnDrawColumnCell = [this](GridCanvas& canvas, int, GridColumn& col, DrawCellState state) {
        dbgParcelamentoDrawColumnCell(canvas, col, state);
    };
    g.OnEditButtonClick = [this] { dbgParcelamentoEditButtonClick(); };
    g.OnKeyDown = [](int& key, ShiftState shift) {
        // Rows are added by moving past the last one and removed by the toolbar.
        if (key == Key::Insert || (key == Key::Delete && shift.ctrl)) key = 0;
    };
}

// ---- what may be edited

void TfrmHabConta::cdsParcelasAfterScroll() {
    Grid& g = Get<Grid>("dbgParcelamento");
    if (!cdsParcelas.Active() || cdsParcelas.IsEmpty()) {
        g.SetEditing(false);
        StParcela.clear();
        return;
    }
    if (!editando(cdsParcelas)) {
        // Only the last installment, or the row never split, may change.
        const int n = numeroParcela(cdsParcelas.FieldByName(kNumero).AsString());
        const bool anterior = n > 0 && n < cdsParcelas.RecordCount();
        g.SetEditing(!anterior);
        g.Column(IndiceCol(g, kMotivo)).buttonStyle =
            anterior ? ColumnButtonStyle::None : ColumnButtonStyle::Ellipsis;
        g.ColumnsChanged();
    }
    StParcela = cdsParcelas.FieldByName(kNumero).AsString();
    regraColunaVencimento();
}

void TfrmHabConta::dbgParcelamentoColEnter() {
    regraColunaVencimento();
}

void TfrmHabConta::regraColunaVencimento() {
    // The first installment keeps the boleto's due date.
    Grid& g = Get<Grid>("dbgParcelamento");
    const int coluna = IndiceCol(g, kVencimento);
    if (g.SelectedIndex() != coluna) return;
    const bool temLinha = cdsParcelas.Active() && (!cdsParcelas.IsEmpty() || editando(cdsParcelas));
    const std::string n = temLinha ? Ajusta(cdsParcelas.FieldByName(kNumero).AsString(), 2) : "";
    const bool primeira = n == "00" || n == "01";
    if (g.Column(coluna).readOnly == primeira) return;
    g.Column(coluna).readOnly = primeira;
    g.ColumnsChanged();
}

// ---- the installment edit

void TfrmHabConta::cdsParcelasBeforeEdit() {
    if (boParcelamento) return;
    VerificaSitCNAB(AtualizaSITUCNAB(lancamentoAtual(), filialAtual()), false, true);
    VdNFBloqueada(true);
    Verifica_Acesso_Sistema(cdsBoletos.FieldByName("DTVENBOLPAG").AsDateTime());
    if (cdsParcelas.FieldByName("IDSTATBPAG").AsString() == "B")
        MensErro(Ui(), msgPadrao.Msg("ParcBaixada"));
    if (!cdsParcelas.FieldByName("NRLANCANTECIPA").IsNull())
        MensErro(Ui(), msgPadrao.Msg("Bol_Ant_NAlt"));
    if (VdTBolCompensado("P")) MensErro(Ui(), msgPadrao.Msg("PARCBOLCOMP"));
    GetAjustes(cdsParcelas.FieldByName("CDFILIAL").AsString(),
               cdsParcelas.FieldByName("NRLANBOLPAG").AsString());
    if (!cdsAjBolPag.IsEmpty()) MensErro(Ui(), msgPadrao.Msg("BOLPOSAJ"));
    stNrUltParc = cdsParcelas.FieldByName(kNumero).AsString();
    doVrRestParc = 0;
    // What an earlier split held is not this one's.
    klsVrParcela->Clear();
}

void TfrmHabConta::cdsParcelasAfterEdit() {
    StParcela = cdsParcelas.FieldByName(kNumero).AsString();
    DtVenc = cdsParcelas.FieldByName(kVencimento).AsDateTime();
    if (Ajusta(StParcela, 2) == "00") primeiraParcela();
    boParcelamento = true;
}

void TfrmHabConta::primeiraParcela() {
    // The row never split becomes the first installment of its own set; the next row
    // appended is numbered after it.
    doVrRestParc = 0;
    StParcela = "01";
    cdsParcelas.FieldByName("NRPARCBOLPAG").SetAsString(StParcela);
    cdsParcelas.FieldByName(kNumero).SetAsString(StParcela);
    cdsParcelas.FieldByName("NRORIGBOLPAG").SetAsString(lancamentoAtual());
}

void TfrmHabConta::abreParcelamento() {
    cdsParcelas.Last();
    cdsParcelas.Edit();
    boParcelamento = true;
    // The value is what the clerk types first.
    focaColuna("dbgParcelamento", kValor);
}

void TfrmHabConta::cdsParcelasBeforeInsert() {
    const int atual = numeroParcela(StParcela);
    const std::string proxima = std::to_string(atual + 1);
    StParcela = proxima.size() <= 2 ? Ajusta(proxima, 2) : proxima;
    if (!boParcelamento) throw SilentAbort();
    if (RoundDec(doVrRestParc, 2) <= 0) MensErro(Ui(), msgPadrao.Msg("SumParcValTot"));
    DtVenc = cdsParcelas.FieldByName(kVencimento).AsDateTime();
    stNrParcela = cdsParcelas.FieldByName("NRPARCBOLPAG").AsString();
    VerificaSitCNAB(situacaoLida(), false, true);
}

void TfrmHabConta::cdsParcelasNewRecord() {
    for (const char* campo : kCopiadosDoBoleto)
        cdsParcelas.FieldByName(campo).SetValue(cdsBoletos.FieldByName(campo).AsValue());
    cdsParcelas.FieldByName(kValor).SetAsFloat(doVrRestParc);
    cdsParcelas.FieldByName("NRPARCBOLPAG").SetAsString(StParcela);
    cdsParcelas.FieldByName(kNumero).SetAsString(StParcela);
    const int anterior = numeroParcela(stNrParcela);
    cdsParcelas.FieldByName("NRPARCBOLPAGNUM").SetAsInteger(anterior < 0 ? 0 : anterior);
    cdsParcelas.FieldByName(kVencimento).SetAsDateTime(DtVenc);
    Vd_MotivoParc(false);
}

void TfrmHabConta::cdsParcelasAfterInsert() {
    StParcela = cdsParcelas.FieldByName(kNumero).AsString();
    if (Ajusta(StParcela, 2) == "00") primeiraParcela();
}

std::string TfrmHabConta::situacaoLida() {
    if (!cdsSitCNAB.Active() || cdsSitCNAB.IsEmpty()) return {};
    return cdsSitCNAB.FieldByName("IDSITUCNABP").AsString();
}

// ---- reasons

void TfrmHabConta::abreMotivosParcela(const std::string& codigo, const std::string& todos) {
    qryMotivoParc.Close();
    qryMotivoParc.ParamByName("P_CDMOTIPARC").SetAsString(codigo);
    qryMotivoParc.ParamByName("P_TCDMOTIPARC").SetAsString(todos);
    qryMotivoParc.Open();
}

void TfrmHabConta::copiaMotivoParcela() {
    cdsParcelas.FieldByName(kMotivo).SetAsString(qryMotivoParc.FieldByName(kMotivo).AsString());
    cdsParcelas.FieldByName("DSMOTIPARC")
        .SetAsString(qryMotivoParc.FieldByName("DSMOTIPARC").AsString());
}

void TfrmHabConta::Vd_MotivoParc(bool obrigatorio) {
    if (!editando(cdsParcelas)) return;
    try {
        Field& motivo = cdsParcelas.FieldByName(kMotivo);
        motivo.SetAsString(Ajusta(motivo.AsString(), 2));
        if (motivo.AsString().empty()) {
            if (obrigatorio) MensErro(Ui(), msgPadrao.Msg("Motiparc_ni"));
            return;
        }
        if (obrigatorio) {
            const Field* selecionado = Get<Grid>("dbgParcelamento").SelectedField();
            if (!selecionado || selecionado->FieldName() != kMotivo) return;
        }
        abreMotivosParcela(motivo.AsString(), "");
        if (qryMotivoParc.IsEmpty()) {
            cdsParcelas.FieldByName("DSMOTIPARC").Clear();
            MensErro(Ui(), msgPadrao.Msg("Motiparc_nc"));
        }
        copiaMotivoParcela();
    } catch (...) {
        focaColuna("dbgParcelamento", kMotivo);
        throw;
    }
}

void TfrmHabConta::dbgParcelamentoEditButtonClick() {
    Grid& g = Get<Grid>("dbgParcelamento");
    const Field* f = g.SelectedField();
    if (!f || f->FieldName() != kMotivo) return;
    abreMotivosParcela("", "T");
    if (qryMotivoParc.IsEmpty()) {
        focaColuna("dbgParcelamento", kMotivo);
        MensErro(Ui(), msgPadrao.Msg("Moti_Deve"));
    }
    if (!Ui().pickOne(qryMotivoParc, msgPadrao.Msg("Motivo"), msgPadrao.Msg("Moti_Deve"))) return;
    if (!editando(cdsParcelas)) cdsParcelas.Edit();
    copiaMotivoParcela();
}

// ---- typing in the grid

void TfrmHabConta::dbgParcelamentoColExit() {
    if (!editando(cdsParcelas)) return;
    const Field* f = Get<Grid>("dbgParcelamento").SelectedField();
    if (!f) return;
    if (f->FieldName() == kMotivo) Vd_MotivoParc(false);
    if (f->FieldName() == kVencimento) venceAntesDaEmissao();
}

void TfrmHabConta::venceAntesDaEmissao() {
    const Date emissao = cdsBoletos.FieldByName("DTEMISSAO").AsDateTime();
    const Date venc = cdsParcelas.FieldByName(kVencimento).AsDateTime();
    if (emissao.isEmpty() || venc.isEmpty() || !(venc < emissao)) return;
    focaColuna("dbgParcelamento", kVencimento);
    MensErro(Ui(), msgPadrao.Msg("DtVenc_Emi"));
}

void TfrmHabConta::cdsParcelasDTVENBOLPAGSetText(Field& field, const std::string& texto) {
    if (semDigitos(texto)) MensErro(Ui(), msgPadrao.Msg("DTVENC_INF"));
    DateSetText(field, texto);
}

void TfrmHabConta::dbgParcelamentoDrawColumnCell(GridCanvas& canvas, GridColumn& col,
                                                 DrawCellState state) {
    if (col.fieldName != kMotivo || !cdsParcelas.Active()) return;
    // The code shows only while it is being typed.
    if (state.selected && editando(cdsParcelas) && Get<Grid>("dbgParcelamento").EditorShowing())
        return;
    canvas.Fill(Colour::window());
    canvas.DrawText(cdsParcelas.FieldByName("DSMOTIPARC").AsString());
}

// ---- posting a row

void TfrmHabConta::cdsParcelasBeforePost() {
    venceAntesDaEmissao();
    Field& valor = cdsParcelas.FieldByName(kValor);
    if (!(valor.AsFloat() > 0)) {
        focaColuna("dbgParcelamento", kValor);
        MensErro(Ui(), msgPadrao.Msg("ValParc>0"));
    }
    const std::string numero = cdsParcelas.FieldByName(kNumero).AsString();
    const bool linhaParcelada = stNrUltParc == "00"
                                    ? cdsParcelas.FieldByName("NRPARCBOLPAG").AsString() == "01"
                                    : stNrUltParc == numero;
    if (linhaParcelada) {
        const double minimo = valorMinimoParcela(valor.AsFloat());
        if (minimo != 0)
            MensErro(Ui(), fillMessage(msgPadrao.Msg("VrMinPermitido"),
                                       {formatFloat("#,##0.00", minimo)}));
    }
    Vd_MotivoParc(true);
    valor.SetAsFloat(RoundDec(valor.AsFloat(), 2));
    const double novo = valor.AsFloat();
    const double retido = klsVrParcela->Sum(klsVrParcela->IndexOf(numero));
    if (cdsParcelas.State() == DataSetState::Insert) {
        doVrRestParc = doVrRestParc < 0 ? doVrRestParc + (retido - novo) : doVrRestParc - novo;
    } else if (cdsParcelas.ChangeCount() == 0) {
        doVrRestParc = valor.OldValue().asFloat() - novo;
    } else {
        doVrRestParc = doVrRestParc + (retido - novo);
    }
    doVrRestParc = RoundDec(doVrRestParc, 2);
    klsVrParcela->Remove(numero);
    klsVrParcela->Add(numero, Value(novo));
    if (doVrRestParc < 0) {
        focaColuna("dbgParcelamento", kValor);
        MensErro(Ui(), msgPadrao.Msg("SomaParcIgualBolOrig"));
    }
    Seta_Campo_Null(cdsParcelas);
}

double TfrmHabConta::valorMinimoParcela(double valor) {
    Value payload;
    {
        BusyScope avi(Ui(), kAviProcessando);
        std::vector<Value> args{Value(cdsParcelas.FieldByName("CDFILIAL").AsString()),
                                Value(cdsParcelas.FieldByName("NRLANBOLPAG").AsString()),
                                Value(valor)};
        payload = CheckResultServ(Ui(), netHabConta.Call("VdNovoValorContas", args, {0, 1, 2}));
    }
    return PayloadPart(payload, 0).asFloat();
}

void TfrmHabConta::cdsParcelasBeforeCancel() {
    // A new row whose post was refused had already counted its value: dropping it
    // gives the value back to what is left to distribute.
    if (!boParcelamento || cdsParcelas.State() != DataSetState::Insert) return;
    const std::string numero = cdsParcelas.FieldByName(kNumero).AsString();
    const int indice = klsVrParcela->IndexOf(numero);
    if (indice < 0) return;
    doVrRestParc = RoundDec(doVrRestParc + klsVrParcela->Sum(indice), 2);
    klsVrParcela->Remove(numero);
}

void TfrmHabConta::cdsParcelasBeforeDelete() {
    VerificaSitCNAB(situacaoLida(), false, true);
}

// ---- confirm, delete

void TfrmHabConta::confirmaParcelamento() {
    if (editando(cdsParcelas)) cdsParcelas.Post();
    if (RoundDec(doVrRestParc, 2) != 0) {
        focaColuna("dbgParcelamento", kValor);
        MensErro(Ui(), msgPadrao.Msg("SomaParcIgualBolOrig"));
    }
    cdsParcelas.Last();
    {
        BusyScope avi(Ui(), kAviProcessando);
        std::vector<Value> args{
            Value(cdsParcelas.Data()), Value(cdsParcelas.FieldByName("CDFILIAL").AsString()),
            Value(cdsParcelas.FieldByName("NRLANBOLPAG").AsString()),
            Value(cdsParcelas.FieldByName("NRORIGBOLPAG").AsString()), Value(stNrUltParc)};
        CheckResultServ(Ui(), netHabConta.Call("Incl_Parcela_Bol_Pag", args, {4}));
    }
    boParcelamento = false;
    doVrRestParc = 0;
}

void TfrmHabConta::excluiParcela() {
    if (cdsParcelas.RecordCount() == 1) MensErro(Ui(), msgPadrao.Msg("ParcOrigNaoExc"));
    if (msgPadrao.ShowMsg(Ui(), "Excl_Parc", MessageKind::Confirmation) == ModalResult::Yes) {
        BusyScope avi(Ui(), kAviExcluindo);
        cdsParcelas.Last();
        if (cdsParcelas.FieldByName("IDSTATBPAG").AsString() != "A")
            MensErro(Ui(), msgPadrao.Msg("UltParcBaix"));
        cdsParcelas.Prior();
        if (cdsParcelas.FieldByName("IDSTATBPAG").AsString() != "A")
            MensErro(Ui(), msgPadrao.Msg("ParcBaix"));
        VerificaSitCNAB(AtualizaSITUCNAB(cdsParcelas.FieldByName("NRLANBOLPAG").AsString(),
                                         cdsParcelas.FieldByName("CDFILIAL").AsString()),
                        false, true);
        if (!cdsParcelas.FieldByName("NRLANCANTECIPA").IsNull())
            MensErro(Ui(), msgPadrao.Msg("Bol_Ant_NAlt"));
        if (VdTBolCompensado("P")) MensErro(Ui(), msgPadrao.Msg("PARCBOLCOMP"));
        std::vector<Value> args{
            Value(filialAtual() + cdsBoletos.FieldByName("NRORIGBOLPAG").AsString()),
            Value(Suite().login.FiliProc)};
        CheckResultServ(Ui(), netHabConta.Call("Excl_Parcela_Bol_Pag", args));
    }
    Filtro_Locate();
    GetParcelas();
}

}  // namespace pag

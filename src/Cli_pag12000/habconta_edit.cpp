// The life of one edit of a boleto: the checks before it may start, the defaults of a
// new row, the checks before it is posted, the save through the server with the
// change log (undone when the server refuses), the cancel, and the question about the
// supplier's advances and returns when a boleto is marked.
#include "Cli_pag12000/habconta.h"
#include "Cli_pag12000/habconta_internal.h"
#include "Cli_pag12001/abatimento.h"
#include "contracts/client/grid_helpers.h"
#include "platform/ui/abort.h"
#include "platform/ui/db_controls.h"

namespace pag {

void TfrmHabConta::ligaEventosEdicao() {
    cdsBoletos.BeforeEdit = [this](ClientDataSet&) { cdsBoletosBeforeEdit(); };
    cdsBoletos.OnNewRecord = [this](ClientDataSet&) { cdsBoletosNewRecord(); };
    cdsBoletos.BeforePost = [this](ClientDataSet&) { cdsBoletosBeforePost(); };
    cdsBoletos.AfterPost = [this](ClientDataSet&) { cdsBoletosAfterPost(); };
    cdsBoletos.AfterDelete = [this](ClientDataSet&) { cdsBoletosAfterPost(); };
    cdsBoletos.AfterCancel = [this](ClientDataSet&) { cdsBoletosAfterCancel(); };
    // The adjustment and installment pages follow their own datasets' states; an
    // installment split being edited keeps the page as the split left it.
    dtsAjBolPag.OnStateChange = [this](DataSource&) { Habilita(); };
    dtsParcelas.OnStateChange = [this](DataSource&) {
        if (!boParcelamento) Habilita();
    };
}

void TfrmHabConta::cdsBoletosBeforeEdit() {
    Verifica_Acesso_Sistema(cdsBoletos.FieldByName("DTVENBOLPAG").AsDateTime());
    VdNFBloqueada(true);
    if (!cdsBoletos.FieldByName("NRLANCANTECIPA").IsNull())
        MensErro(Ui(), msgPadrao.Msg("Bol_Ant_NAlt"));
    VerificaSitCNAB(AtualizaSITUCNAB(lancamentoAtual(), filialAtual()), true, true);
}

void TfrmHabConta::cdsBoletosNewRecord() {
    for (const char* campo : {"VRPEMULBPAG", "VRMULTABPAG", "VRPEMORBPAG", "VRMORDIABPAG"})
        cdsBoletos.FieldByName(campo).SetAsFloat(0);
}

void TfrmHabConta::cdsBoletosBeforePost() {
    comMarcador_.clear();
    if (marcando_) {
        Seta_Campo_Null(cdsBoletos);
        return;
    }
    if (pgcPadrao.ActivePage() == &Get<Page>("tshDadosPag")) verificaDadosPagamento();
    Seta_Campo_Null(cdsBoletos);
    if (pgcPadrao.ActivePage() == &tshFolhaDados) return;
    // What the data pages left without a value travels as -1 or a single blank.
    for (size_t i = 0; i < cdsBoletos.FieldCount(); ++i) {
        Field& f = cdsBoletos.Fields(i);
        if (f.Calculated()) continue;
        const bool vazio = f.IsNull() || f.AsString().empty();
        if (!vazio) continue;
        if (f.DataType() == FieldType::Float)
            f.SetAsFloat(-1);
        else if (f.DataType() == FieldType::Text)
            f.SetAsString(" ");
        else
            continue;
        comMarcador_.push_back(f.FieldName());
    }
}

void TfrmHabConta::limpaMarcadores() {
    if (comMarcador_.empty() || !temBoletoAtual()) return;
    const std::vector<std::string> campos = std::move(comMarcador_);
    comMarcador_.clear();
    // The server stored them as "no value"; the row says the same, and nothing is
    // left pending.
    ControlsDisabled congelada(cdsBoletos);
    DetachEvent antesEditar(cdsBoletos.BeforeEdit);
    DetachEvent antesPostar(cdsBoletos.BeforePost);
    DetachEvent depoisPostar(cdsBoletos.AfterPost);
    cdsBoletos.Edit();
    for (const std::string& campo : campos)
        cdsBoletos.FieldByName(campo).Clear();
    cdsBoletos.Post();
    if (cdsBoletos.LogChanges()) cdsBoletos.MergeChangeLog();
}

void TfrmHabConta::verificaDadosPagamento() {
    Field& oper = cdsBoletos.FieldByName("IDBAIXAUTILP");
    Edit& cdBarra = Get<Edit>("edtCdBarra");
    Vd_TipoBaixa(true);
    if (umDe(oper.AsString(), {"A", "M", "L"}) && !cdBarra.Text().empty()) {
        cdBarra.SetFocus();
        MensErro(Ui(), msgPadrao.Msg("CODBAR_N_BOLETBANC"));
    }
    Vd_DadoBoleto("P", "MU");
    Vd_DadoBoleto("V", "MU");
    Vd_DadoBoleto("P", "MO");
    Vd_DadoBoleto("V", "MO");
    Vd_CdReduCont();
    Vd_TipoBaixa(true);
    dbeLinhBarPagExit();
    edtCdBarraExit();
    dbeCdBancBolPExit();
    dbeCdAgenBolPExit();
    dbeCdCCorFornExit();
    cdsBoletos.FieldByName("IDSITUCNABP").SetAsString("00");
    cdsBoletos.FieldByName("CDBARRAPAG").SetAsString(cdBarra.Text());
    Vd_BarraPag();
    const std::string fornecedor = cdsBoletos.State() == DataSetState::Edit
                                       ? cdsBoletos.FieldByName("CDFORNECED").AsString()
                                       : FornecedorLembrado();
    if (!umDe(oper.AsString(), {"B", "P", "R"})) {
        Vd_Favorecido(fornecedor);
        // The payee's registration in the remittance: the account's own, or else the
        // supplier's.
        const bool semInscricao = !cdsCCorForn.Active() || cdsCCorForn.IsEmpty() ||
                                  cdsCCorForn.FieldByName("NRINSCNABFOR").AsString().empty();
        ClientDataSet& origem = semInscricao ? cdsBoletos : cdsCCorForn;
        const char* tipo = semInscricao ? "IDTPIJURFORN" : "IDTPICNABFOR";
        const char* numero = semInscricao ? "NRINSJURFORN" : "NRINSCNABFOR";
        const std::string t = origem.FieldByName(tipo).AsString();
        const std::string n = origem.FieldByName(numero).AsString();
        cdsBoletos.FieldByName("IDTPICNABBOP").SetAsString(t);
        cdsBoletos.FieldByName("NRINSCNABBOP").SetAsString(n);
    }
    Vd_CHAVEPIX(fornecedor, oper.AsString(), Get<DBEdit>("dbeCdBancBolP").Text().empty());
}

void TfrmHabConta::cdsBoletosAfterPost() {
    if (cdsBoletos.ChangeCount() > 0) {
        try {
            std::vector<Value> args{Value(cdsBoletos.Delta())};
            BusyScope avi(Ui(), kAviProcessando);
            CheckResultServ(Ui(), netHabConta.Call("SetBoletos", args));
        } catch (...) {
            // A refused save leaves nothing pending: marks included, every row returns
            // to what was last saved, and the totals follow the marks that remain.
            comMarcador_.clear();
            cdsBoletos.CancelUpdates();
            somaMarcados();
            throw;
        }
        if (cdsBoletos.LogChanges()) cdsBoletos.MergeChangeLog();
        limpaMarcadores();
        Ui().showStatus("Boleto gravado.");
    }
    Get<Control>("dbdVencimento").SetEnabled(false);
    Get<Control>("lblVencimento").SetEnabled(false);
}

void TfrmHabConta::cdsBoletosAfterCancel() {
    Get<Control>("dbdVencimento").SetEnabled(false);
    Get<Control>("lblVencimento").SetEnabled(false);
    LembraFornecedor({});
    if (Get<DBEdit>("dbeCdBancBolP").Text().empty()) {
        cdsBoletos.FieldByName("CDAGENBOLP").SetEditMask({});
        cdsBoletos.FieldByName("CDCCORBOLP").SetEditMask({});
    }
}

bool TfrmHabConta::VerificaDesconto() {
    Value payload;
    {
        BusyScope avi(Ui(), kAviProcessando);
        payload = CheckResultServ(
            Ui(), netHabConta.Call("GetDescontos",
                                   {Value(cdsBoletos.FieldByName("CDEMPRESA").AsString()),
                                    Value(cdsBoletos.FieldByName("CDFORNECED").AsString()),
                                    Value(cdsBoletos.FieldByName("NRINSJURFORN").AsString())}));
    }
    qryDevolucao.SetData(PayloadPacket(payload, 0));
    qryAdiantamento.SetData(PayloadPacket(payload, 1));
    bool resultado = false;
    if (!qryAdiantamento.IsEmpty() && cdsBoletos.FieldByName("IDTPCTPAGAR").AsString() != "2" &&
        msgPadrao.ShowMsg(Ui(), "For_Adi", MessageKind::Confirmation) == ModalResult::Yes) {
        resultado = true;
        abreAbatimento("0");
    }
    if (!qryDevolucao.IsEmpty() && ParametroGeralPag("IDUTLNFDEVOL") == "S" &&
        msgPadrao.ShowMsg(Ui(), "NF_DEV", MessageKind::Confirmation) == ModalResult::Yes) {
        resultado = true;
        abreAbatimento("1");
    }
    return resultado;
}

void TfrmHabConta::abreAbatimento(const std::string& kind) {
    CriaAbatimento(cdsBoletos.FieldByName("VRFINALBPAG").AsFloat(),
                   cdsBoletos.FieldByName("CDFORNECED").AsString(), filialAtual(),
                   lancamentoAtual(), kind);
    // The server spread the deduction over the boleto's payables: the panel shows them.
    if (boAjusteIncluido && pgcPadrao.ActivePage() == &tshFolhaDados) GetContas();
}

}  // namespace pag

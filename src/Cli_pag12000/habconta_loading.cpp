// Loading the boletos the filter selected, relocating the current one after a reload,
// and the payables, adjustments and installments that follow the current boleto on the
// page that shows them.
#include "Cli_pag12000/habconta.h"
#include "Cli_pag12000/habconta_internal.h"
#include "Cli_pag12100/filtro_hab.h"
#include "platform/scoped.h"
#include "platform/ui/date_edit.h"

namespace pag {

namespace {

std::string textoDe(const Form& form, const char* nome) {
    return form.Get<CustomEdit>(nome).Text();
}

double numeroDe(const Form& form, const char* nome) {
    return form.Get<NumberEdit>(nome).GetNumber();
}

Value dataDe(const Form& form, const char* nome) {
    const Date d = form.Get<DateEdit>(nome).GetDate();
    return d.isEmpty() ? Value() : Value(d);
}

}  // namespace

// ---- boletos

void TfrmHabConta::GetBoletos() {
    if (!frmFiltroHab)
        throw std::logic_error("O filtro dos boletos não foi criado antes da carga dos boletos.");
    TfrmFiltroHab& f = *frmFiltroHab;
    // The filter's own criterion texts travel by reference, as the dialog stores them.
    std::vector<Value> args{
        Value(medEmpresa.Text()),
        Value(f.stForneced),
        Value(f.stFiliOrig),
        Value(f.stFiliLanc),
        Value(f.stTipoPag),
        Value(f.stBoleto),
        Value(numeroDe(f, "nedValorIni")),
        Value(numeroDe(f, "nedValorFin")),
        dataDe(f, "depDataIni"),
        dataDe(f, "depDataFin"),
        Value(textoDe(f, "medDocInicial")),
        Value(textoDe(f, "medDocFinal")),
        Value(f.stBancBenef),
        Value(f.stTpConta),
        Value(f.stSituacao),
        Value(Ajusta(textoDe(f, "medNrRemessa"), 10)),
        Value(Ajusta(textoDe(f, "medNrRetorno"), 10)),
        Value(f.stStatLibNF),
        Value(f.stPessoa),
        dataDe(f, "depEmissIni"),
        dataDe(f, "depEmissFin"),
        Value(f.stGrForn),
        Value(textoDe(f, "medOrcaDe")),
        Value(textoDe(f, "medOrcaAte")),
    };
    const std::vector<int> porReferencia{1, 2, 3, 4, 5, 12, 13, 14, 17, 18, 21};
    try {
        Value payload;
        {
            BusyScope avi(Ui(), kAviProcessando);
            payload = CheckResultServ(Ui(), netHabConta.Call("GetBoletos", args, porReferencia));
        }
        // The answer's only holder is this function: the list moves into the grid.
        PacketPtr boletos = PayloadPacket(payload);
        payload = Value();
        cdsBoletos.SetData(std::move(boletos));
        nedTotal.SetNumber(0);
        nedCont.SetNumber(0);
        cdsBoletos.SetIndexFieldNames("NRPARCBOLPAGNUM");
    } catch (...) {
        nedTotal.SetNumber(0);
        nedCont.SetNumber(0);
        throw;
    }
}

void TfrmHabConta::Filtro_Locate() {
    const bool tinha = temBoletoAtual();
    const std::string filial = tinha ? filialAtual() : std::string();
    const std::string lancamento = tinha ? lancamentoAtual() : std::string();
    GetBoletos();
    if (cdsBoletos.IsEmpty()) {
        mnuFolhaDadosClick();
        return;
    }
    // A boleto that is no longer loaded leaves the cursor on the first row.
    if (!tinha || !cdsBoletos.Locate("CDFILIAL;NRLANBOLPAG", {Value(filial), Value(lancamento)}))
        cdsBoletos.First();
}

// ---- details of the current boleto

bool TfrmHabConta::temBoletoAtual() const {
    return cdsBoletos.Active() && !cdsBoletos.IsEmpty();
}

std::string TfrmHabConta::filialAtual() {
    return cdsBoletos.FieldByName("CDFILIAL").AsString();
}

std::string TfrmHabConta::lancamentoAtual() {
    return cdsBoletos.FieldByName("NRLANBOLPAG").AsString();
}

void TfrmHabConta::carregaDoServidor(ClientDataSet& target, const std::string& operation,
                                     std::vector<Value>& args, const std::vector<int>& byRef) {
    Value payload;
    {
        BusyScope avi(Ui(), kAviProcessando);
        payload = CheckResultServ(Ui(), netHabConta.Call(operation, args, byRef));
    }
    target.SetData(PayloadPacket(payload));
}

void TfrmHabConta::GetContas() {
    // Without a boleto there are no payables to show (the company is being chosen, or the
    // filter selected nothing).
    if (!temBoletoAtual()) {
        cdsCntPagar.EmptyDataSet();
        return;
    }
    std::vector<Value> args{Value(filialAtual()), Value(lancamentoAtual())};
    carregaDoServidor(cdsCntPagar, "GetCntPagar", args, {});
}

void TfrmHabConta::GetAjustes() {
    if (!temBoletoAtual()) {
        cdsAjBolPag.Close();
        return;
    }
    GetAjustes(filialAtual(), lancamentoAtual());
}

void TfrmHabConta::GetAjustes(const std::string& filial, const std::string& lancamento) {
    std::vector<Value> args{Value(filial), Value(lancamento)};
    carregaDoServidor(cdsAjBolPag, "GetAjBolPag", args, {0, 1});
}

void TfrmHabConta::GetParcelas() {
    if (!temBoletoAtual()) {
        cdsParcelas.Close();
        return;
    }
    std::vector<Value> args{Value(filialAtual()), Value(lancamentoAtual()),
                            Value(cdsBoletos.FieldByName("NRORIGBOLPAG").AsString()),
                            Value(medEmpresa.Text())};
    carregaDoServidor(cdsParcelas, "GetParcelas", args, {0, 1, 2, 3});
}

// ---- events of the boleto dataset

void TfrmHabConta::cdsBoletosAfterScroll() {
    Habilita_CompTpBaixa();
    const bool boleto = temBoletoAtual();
    const Date venc = boleto ? cdsBoletos.FieldByName("DTVENBOLPAG").AsDateTime() : Date();
    Get<Edit>("edtDiaSemana").SetText(NomeSemana(venc));
    Get<Edit>("edtCdBarra").SetText(boleto ? cdsBoletos.FieldByName("CDBARRAPAG").AsString() : "");
    mostraVencimentoBoleto();
    const Page* showing = pgcPadrao.ActivePage();
    if (showing == &tshFolhaDados) GetContas();
    if (showing == &Get<Page>("tshAjustes") && boleto) {
        const bool outroBoleto =
            !cdsAjBolPag.Active() || cdsAjBolPag.IsEmpty() ||
            cdsAjBolPag.FieldByName("CDFILIAL").AsString() != filialAtual() ||
            cdsAjBolPag.FieldByName("NRLANBOLPAG").AsString() != lancamentoAtual();
        if (outroBoleto) GetAjustes();
    }
    if (showing == &Get<Page>("tshParcelamento") && boleto) {
        const std::string origem = cdsBoletos.FieldByName("NRORIGBOLPAG").AsString();
        const bool outraParcela = origem.empty() || !cdsParcelas.Active() ||
                                  cdsParcelas.IsEmpty() ||
                                  cdsParcelas.FieldByName("NRORIGBOLPAG").AsString() != origem;
        if (outraParcela) GetParcelas();
    }
    Habilita();
}

void TfrmHabConta::cdsBoletosAfterOpen() {
    if (pgcPadrao.ActivePage() != &tshFolhaDados) return;
    if (cdsBoletos.IsEmpty()) {
        tshFolhaDados.SetEnabled(true);
        // The page shows already: only the page change of the menu item runs again.
        pgcPadrao.SetActivePage(&tshFolhaDados);
        cdsBoletosAfterScroll();
    }
    HabPageControl();
}

void TfrmHabConta::sbtVerificarClick() {
    // Refresh of the page showing.
    const Page* showing = pgcPadrao.ActivePage();
    if (showing == &tshFolhaDados || showing == &Get<Page>("tshDadosPag") ||
        showing == &Get<Page>("tshProrrogacao")) {
        Filtro_Locate();
    } else if (showing == &Get<Page>("tshAjustes")) {
        GetAjustes();
    } else if (showing == &Get<Page>("tshParcelamento")) {
        GetParcelas();
    }
}

void TfrmHabConta::sbtProcurarClick() {
    const Page* showing = pgcPadrao.ActivePage();
    if (showing == &tshFolhaDados) {
        TfrmPadrao::sbtProcurarClick();
    } else if (showing == &Get<Page>("tshAjustes")) {
        if (!cdsAjBolPag.Active()) return;
        Ui().find(cdsAjBolPag);
        Get<Grid>("dbgAjuste").SetFocus();
    } else if (showing == &Get<Page>("tshParcelamento")) {
        if (!cdsParcelas.Active()) return;
        Ui().find(cdsParcelas);
        Get<Grid>("dbgParcelamento").SetFocus();
    }
}

}  // namespace pag

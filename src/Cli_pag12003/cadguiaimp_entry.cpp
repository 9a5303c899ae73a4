// The tax guide unit's variables, its entry that shows the dialog on the page of the
// boleto's guide kind, the dialog's creation (read-only in a remittance, the stored
// guide loaded), its cancel and close steps, and the unit's finalization.
#include <memory>
#include <stdexcept>

#include "Cli_pag12000/habconta.h"
#include "Cli_pag12003/cadguiaimp.h"
#include "Cli_pag12003/cadguiaimp_internal.h"
#include "contracts/client/busy.h"
#include "contracts/client/suite_context.h"
#include "contracts/consiste.h"

namespace pag {

namespace Cli_pag12003 {
std::string stTpPag;
TfrmCadGuiaImp* frmCadGuiaImp = nullptr;
}  // namespace Cli_pag12003

using Cli_pag12003::frmCadGuiaImp;
using Cli_pag12003::stTpPag;

namespace {

// The hourglass shown while the dialog is built (the busy kind of the screens' entries).
constexpr int kCursorAmpulheta = 0;

constexpr TipoGuia kTipos[] = {
    {'I', 0, "DARF Normal", 335, 177}, {'G', 1, "GPS", 325, 130},
    {'U', 2, "FGTS", 368, 155},        {'H', 3, "DARF Simples", 300, 177},
    {'J', 4, "DARJ", 295, 122},        {'X', 5, "GARE ICMS SP", 305, 180},
};

std::unique_ptr<TfrmCadGuiaImp> gDialogo;

}  // namespace

const TipoGuia* tipoGuia(char codigo) {
    for (const TipoGuia& t : kTipos)
        if (t.codigo == codigo) return &t;
    return nullptr;
}

char tipoAtual() {
    return stTpPag.empty() ? ' ' : stTpPag.front();
}

TfrmHabConta& telaGuia() {
    if (!frmHabConta)
        throw std::logic_error(
            "O cadastro de guia de tributo precisa da tela de boletos já criada.");
    return *frmHabConta;
}

std::vector<CustomEdit*> TfrmCadGuiaImp::EditsDoTipo(char tipo) {
    switch (tipo) {
        case 'I':
            return {&medCdReceitaDarf, &depApuracDarf, &medNrRefDarf, &nedVrRecBrutDarf,
                    &nedVrPercentDarf};
        case 'G':
            return {&medCdPagGPS, &depCompetGPS, &nedVrOutrEnt};
        case 'U':
            return {&medCdReceitaFGTS, &medIdFGTS, &medLacreConFGTS, &medDigConFGTS};
        case 'H':
            return {&medCdReceDS, &depApuracDS, &nedVrRecBrutDS, &nedVrPercent, &medNrRefDS};
        case 'J':
            return {&medCdReceDARJ, &depRefDARJ};
        case 'X':
            return {&medCdReceGARE, &depApuGARE, &nedVrReceBrutGARE, &medDividaAtvGARE,
                    &medNotificGARE};
        default:
            return {};
    }
}

void TfrmCadGuiaImp::FormCreate() {
    TfrmRotiGeral::FormCreate();
    ClientDataSet& boleto = telaGuia().cdsBoletos;
    const char tipo = tipoAtual();
    const std::vector<CustomEdit*> edits = EditsDoTipo(tipo);
    // Values start at zero until a stored guide says otherwise.
    for (CustomEdit* e : edits)
        if (auto* n = dynamic_cast<NumberEdit*>(e)) n->SetNumber(0);
    // A boleto already in a bank remittance only shows its guide.
    if (boleto.FieldByName("IDSITUCNABP").AsString() != "00") {
        for (CustomEdit* e : edits) {
            e->SetEnabled(false);
            e->SetColour(Colour::buttonFace());
        }
        sbtConfirma.SetEnabled(false);
    }
    if (!EmptyString(boleto.FieldByName("CDRECEITAGUIA").AsString())) carregaGuia(tipo);
}

void TfrmCadGuiaImp::FocaPrimeiroCampo() {
    for (CustomEdit* e : EditsDoTipo(tipoAtual()))
        if (e->CanFocus()) {
            SetFocus(*e);
            return;
        }
}

void TfrmCadGuiaImp::carregaGuia(char tipo) {
    ClientDataSet& boleto = telaGuia().cdsBoletos;
    auto texto = [&](const char* campo) { return boleto.FieldByName(campo).AsString(); };
    auto numero = [&](const char* campo) { return boleto.FieldByName(campo).AsFloat(); };
    const std::string codigo = Ajusta(texto("CDRECEITAGUIA"), 10);
    const Date data = boleto.FieldByName("DTAPURACGUIA").AsDateTime();
    const std::string referencia = texto("NRREFEGUIA");
    switch (tipo) {
        case 'I':
            medCdReceitaDarf.SetText(codigo);
            depApuracDarf.SetDate(data);
            medNrRefDarf.SetText(Ajusta(referencia, 20));
            nedVrRecBrutDarf.SetNumber(numero("VROUTRENTGUIA"));
            nedVrPercentDarf.SetNumber(numero("VRPERCENTTRIB"));
            break;
        case 'G':
            medCdPagGPS.SetText(codigo);
            depCompetGPS.SetDate(data);
            nedVrOutrEnt.SetNumber(numero("VROUTRENTGUIA"));
            break;
        case 'U':
            medCdReceitaFGTS.SetText(codigo);
            medIdFGTS.SetText(Right(referencia, 16));
            medLacreConFGTS.SetText(Ajusta(texto("NRLACRCONECTSOC"), 9));
            medDigConFGTS.SetText(Ajusta(texto("NRDIGICONECTSOC"), 2));
            break;
        case 'H':
            medNrRefDS.SetText(Ajusta(referencia, 20));
            medCdReceDS.SetText(codigo);
            depApuracDS.SetDate(data);
            nedVrRecBrutDS.SetNumber(numero("VROUTRENTGUIA"));
            nedVrPercent.SetNumber(numero("VRPERCENTTRIB"));
            break;
        case 'J':
            medCdReceDARJ.SetText(codigo);
            depRefDARJ.SetDate(data);
            break;
        case 'X':
            medCdReceGARE.SetText(codigo);
            depApuGARE.SetDate(data);
            nedVrReceBrutGARE.SetNumber(numero("VROUTRENTGUIA"));
            medDividaAtvGARE.SetText(Right(referencia, 13));
            medNotificGARE.SetText(Ajusta(texto("NRPARCELNOTIFIC"), 13));
            break;
        default:
            break;
    }
}

void TfrmCadGuiaImp::sbtCancelClick() {
    confirmado_ = false;
    TfrmRotiGeral::sbtCancelClick();
}

void TfrmCadGuiaImp::FormClose(CloseAction& action) {
    TfrmRotiGeral::FormClose(action);
}

bool CriaCadGuiaImp(const std::string& codigo) {
    telaGuia();
    UserInterface& ui = *Suite().ui;
    stTpPag = codigo;
    {
        // Only while it is built: the user then works in the dialog with the usual cursor.
        BusyScope ampulheta(ui, kCursorAmpulheta);
        gDialogo = std::make_unique<TfrmCadGuiaImp>();
        frmCadGuiaImp = gDialogo.get();
        frmCadGuiaImp->SetUserInterface(&ui);
        frmCadGuiaImp->DoCreate();
        if (const TipoGuia* t = tipoGuia(tipoAtual())) {
            frmCadGuiaImp->SetCaption(frmCadGuiaImp->Caption() + t->nome);
            frmCadGuiaImp->ntbCadGuiaImp.SetActivePageIndex(t->pagina);
            frmCadGuiaImp->SetSize(t->largura, t->altura);
        }
        frmCadGuiaImp->FocaPrimeiroCampo();
    }
    // Created for this use only: whatever way the dialog ends, it goes.
    struct Libera {
        ~Libera() {
            frmCadGuiaImp = nullptr;
            gDialogo.reset();
        }
    } libera;
    frmCadGuiaImp->ShowModal(ui);
    return frmCadGuiaImp->Confirmado();
}

void Cli_pag12003_Finalize() {
    frmCadGuiaImp = nullptr;
    gDialogo.reset();
}

}  // namespace pag

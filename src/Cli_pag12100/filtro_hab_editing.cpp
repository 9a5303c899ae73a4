// What the filter dialog does while the user types and leaves its edits.
#include "Cli_pag12100/filtro_hab_impl.h"
#include "contracts/consiste.h"

namespace pag {

namespace {

constexpr int kTamNrArquivo = 10;
constexpr int kDigitosValor = 10;
constexpr int kDecimaisValor = 2;

// Numbers, remittances and values are never negative: a typed minus sign is dropped.
void descartaMenos(KeyChar& key) {
    if (key == U'-') key = 0;
}

// Normalises an edit's text to a fixed width.
void ajusta(CustomEdit& e, int largura) {
    e.SetText(Ajusta(e.Text(), largura));
}

// The upper bound of a range receives the lower one when it is still blank.
void copiaSeVazio(const CustomEdit& de, CustomEdit& ate) {
    if (EmptyString(ate.Text())) ate.SetText(de.Text());
}

}  // namespace

void FiltroHabImpl::ligaEdicao() {
    for (MaskEdit* e : {&medDocInicial, &medDocFinal, &medNrRemessa, &medNrRetorno})
        e->OnKeyPress = descartaMenos;
    for (NumberEdit* e : {&nedValorIni, &nedValorFin})
        guardaValor(*e, kDigitosValor, kDecimaisValor);
    medDocInicial.OnExit = [this] { medDocInicialExit(); };
    medDocFinal.OnExit = [this] { medDocFinalExit(); };
    medNrRemessa.OnExit = [this] { ajusta(medNrRemessa, kTamNrArquivo); };
    medNrRetorno.OnExit = [this] { ajusta(medNrRetorno, kTamNrArquivo); };
    medOrcaDe.OnExit = [this] { medOrcaDeExit(); };
    medOrcaAte.OnExit = [this] { medOrcaAteExit(); };
    // Leaving a due date only checks it is a date; the range is checked on confirmation.
    depDataIni.OnExit = [this] { Vd_VencIni(false); };
    depDataFin.OnExit = [this] { Vd_VencFin(false); };
    // The issue dates: the date edit's own check when it is left is all they need here.
}

void FiltroHabImpl::medDocInicialExit() {
    ajusta(medDocInicial, tamNumDoc);
    copiaSeVazio(medDocInicial, medDocFinal);
}

void FiltroHabImpl::medDocFinalExit() {
    ajusta(medDocFinal, tamNumDoc);
}

void FiltroHabImpl::medOrcaDeExit() {
    ajusta(medOrcaDe, kTamNrArquivo);
    copiaSeVazio(medOrcaDe, medOrcaAte);
}

void FiltroHabImpl::medOrcaAteExit() {
    ajusta(medOrcaAte, kTamNrArquivo);
}

}  // namespace pag

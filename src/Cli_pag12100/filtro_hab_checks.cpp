// The filter dialog's checks. Each failing check puts the focus where the user must act,
// shows its message and abandons the confirmation, with the dialog left as it was.
#include <algorithm>
#include <cctype>
#include <stdexcept>

#include "Cli_pag12100/filtro_hab_impl.h"
#include "contracts/client/messages.h"
#include "contracts/consiste.h"

namespace pag {

namespace {

constexpr int kTamNrArquivo = 10;

bool vazio(const CustomEdit& e) {
    return EmptyString(e.Text());
}

// Both bounds of a text range normalised to the same width, so that comparing the texts
// compares the codes.
bool limitesInvertidos(CustomEdit& de, CustomEdit& ate, int largura) {
    de.SetText(Ajusta(de.Text(), largura));
    ate.SetText(Ajusta(ate.Text(), largura));
    return de.Text() > ate.Text();
}

}  // namespace

bool DataEmBranco(const DateEdit& e) {
    std::string t = e.Text();
    return std::none_of(t.begin(), t.end(), [](unsigned char c) { return std::isdigit(c) != 0; });
}

void Foca(Control* c) {
    if (!c || !c->CanFocus()) return;
    try {
        c->SetFocus();
    } catch (const std::exception&) {
        // The edit being left refused (its own text is wrong); the focus stays there.
    }
}

void ValidaData(DateEdit& e) {
    try {
        e.CheckValidDate();
    } catch (const std::invalid_argument&) {
        Foca(&e);
        throw;
    }
}

void FiltroHabImpl::Erro(const char* chave, Control* c) {
    Foca(c);
    MensErro(formUserInterface(f), f.msgPadrao.Msg(chave));
}

void FiltroHabImpl::Vd_Lista(const GrupoLista& g) {
    if (g.rbtLista->Checked() && EmptyString(f.*g.lista)) Erro(g.chaveInf, g.rbtLista);
}

void FiltroHabImpl::Vd_Fornecedor() {
    Vd_Lista(grupo(&TfrmFiltroHab::stForneced));
}

void FiltroHabImpl::Vd_GrupoForn() {
    Vd_Lista(grupo(&TfrmFiltroHab::stGrForn));
}

void FiltroHabImpl::Vd_FiliOrig() {
    Vd_Lista(grupo(&TfrmFiltroHab::stFiliOrig));
}

void FiltroHabImpl::Vd_FiliLanc() {
    Vd_Lista(grupo(&TfrmFiltroHab::stFiliLanc));
}

void FiltroHabImpl::Vd_FormaPag() {
    Vd_Lista(grupo(&TfrmFiltroHab::stTipoPag));
}

void FiltroHabImpl::Vd_BancBenef() {
    Vd_Lista(grupo(&TfrmFiltroHab::stBancBenef));
}

void FiltroHabImpl::Vd_TipoConta() {
    Vd_Lista(grupo(&TfrmFiltroHab::stTpConta));
}

void FiltroHabImpl::Vd_NumDocIni() {
    if (vazio(medDocInicial)) {
        if (!vazio(medDocFinal)) Erro("NumeIni_inf", &medDocInicial);
        return;
    }
    if (!vazio(medDocFinal) && limitesInvertidos(medDocInicial, medDocFinal, tamNumDoc))
        Erro("NumeIni_menor", &medDocInicial);
}

void FiltroHabImpl::Vd_NumDocFin() {
    if (vazio(medDocFinal) && !vazio(medDocInicial)) Erro("NumeFin_inf", &medDocFinal);
}

void FiltroHabImpl::Vd_DataEmissao() {
    const bool iniVazia = DataEmBranco(depEmissIni), finVazia = DataEmBranco(depEmissFin);
    if (!iniVazia && finVazia) Erro("DtEmissFim_inf", &depEmissFin);
    if (iniVazia && !finVazia) Erro("DtEmissIni_inf", &depEmissIni);
    if (iniVazia) return;
    // A date typed in part is not blank: its own check says what is wrong with it.
    ValidaData(depEmissIni);
    ValidaData(depEmissFin);
    if (depEmissIni.GetDate() > depEmissFin.GetDate()) Erro("DtEmissIni_menor", &depEmissFin);
}

void FiltroHabImpl::Vd_VencIni(bool confirmando) {
    if (!confirmando) {
        depDataIni.CheckValidDate();
        return;
    }
    if (DataEmBranco(depDataIni)) Erro("DtVencIni_inf", &depDataIni);
    if (!DataEmBranco(depDataFin) && depDataFin.GetDate() < depDataIni.GetDate())
        Erro("DtVencIni_menor", &depDataIni);
}

void FiltroHabImpl::Vd_VencFin(bool confirmando) {
    if (!confirmando) {
        depDataFin.CheckValidDate();
        return;
    }
    if (DataEmBranco(depDataFin)) Erro("DtVencFin_inf", &depDataFin);
}

void FiltroHabImpl::Vd_VrLiqu() {
    // A blank value counts as zero, and shows it.
    for (NumberEdit* e : {&nedValorIni, &nedValorFin})
        if (vazio(*e)) e->SetNumber(0);
    if (nedValorFin.GetNumber() < nedValorIni.GetNumber()) Erro("VrLiqu_menor", &nedValorIni);
}

void FiltroHabImpl::Vd_OrcaDe() {
    if (vazio(medOrcaDe)) {
        if (!vazio(medOrcaAte)) Erro("NrOrcaDe_inf", &medOrcaDe);
        return;
    }
    if (!vazio(medOrcaAte) && limitesInvertidos(medOrcaDe, medOrcaAte, kTamNrArquivo))
        Erro("NrOrca_menor", &medOrcaDe);
}

void FiltroHabImpl::Vd_OrcaAte() {
    if (!vazio(medOrcaAte)) {
        medOrcaAte.SetText(Ajusta(medOrcaAte.Text(), kTamNrArquivo));
        return;
    }
    if (!vazio(medOrcaDe)) Erro("NrOrcaAte_inf", &medOrcaAte);
}

}  // namespace pag

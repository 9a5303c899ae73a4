#pragma once

#include <memory>
#include <string>

#include "contracts/client/base_screens/frm_filtro_padrao.h"
#include "platform/date.h"

namespace pag {

// The last confirmed filter criteria of the boleto screen: the filter dialog restores its
// controls from here each time it is activated.
struct TFiltro {
    std::string stForneced;
    std::string stFiliOrig;
    std::string stFiliLanc;
    std::string stTipoPag;
    std::string stDocIni;
    std::string stDocFin;
    std::string stBancBenef;
    std::string stTpConta;
    std::string stGrForn;
    std::string stNrRemessa;
    std::string stNrRetorno;
    bool boTodosForn = true;
    bool boTodosGrForn = true;
    bool boTodasFiliOrig = true;
    bool boTodosFiliLanc = true;
    bool boTodosFormPag = true;
    bool boTodosBancBenef = true;
    bool boTodosTipoCont = true;
    int inBoleto = 2;
    int inStatLibNF = 2;
    int inPessoa = 0;
    double doValorIni = 0;
    double doValorFin = 0;
    Date DtVencIni;
    Date DtEmissIni;
    Date DtEmissFin;
    Date DtVencFin;
};

extern TFiltro Filtro;

class FiltroHabImpl;

// The boleto filter dialog ("PAG12100"). Its controls are reached by name, the kind
// following the prefix: "med" MaskEdit (Get<MaskEdit>("medDocInicial")), "ned" NumberEdit,
// "dep" DateEdit, "rbt" RadioButton, "rgp"/"rdg" RadioGroup, "chb" CheckBox, "btn"
// LookupButton, "grb" GroupBox. The criterion texts below and those controls are what the
// main screen's loader reads whenever it reloads the boletos.
class TfrmFiltroHab : public TfrmFiltroPadrao {
public:
    TfrmFiltroHab();
    ~TfrmFiltroHab() override;

    // Criterion lists (codes separated by ",", empty = no pick) and encoded criteria.
    std::string stForneced, stFiliOrig, stFiliLanc, stTipoPag, stBancBenef, stTpConta, stGrForn;
    std::string stBoleto, stStatLibNF, stSituacao, stPessoa;

    // Restores the controls from Filtro (activation).
    void FormActivate();
    // Confirms: checks, encodes, loads the boletos through the main screen, stores Filtro
    // and hides the dialog.
    void Confirma() { sbtConfirmaClick(); }
    // Clears the criteria to their defaults (Filtro is left as it is).
    void sbtLimpaClick();

protected:
    void FormCreate() override;
    void sbtConfirmaClick() override;
    void btfSaveOpcClick() override;
    void btfLoadOpcClick() override;

private:
    friend class FiltroHabImpl;
    std::unique_ptr<FiltroHabImpl> impl_;
};

extern TfrmFiltroHab* frmFiltroHab;

// The module's entry to the dialog: creates it once, then "BOTAO_FILTRO" shows it modally
// and "ESCONDE_FILTRO" restores and confirms it without showing it (a non-blank date text
// becomes the due-date range of Filtro first).
void CriaFiltroHabConta(const std::string& origem, const std::string& data);
// Destroys the dialog (when the main screen goes or the package finalizes).
void DestroiFiltroHabConta();

}  // namespace pag

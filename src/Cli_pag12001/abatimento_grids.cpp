// The deductions dialog's two grids: marking one row or all of them, typing the
// deduction of a marked row, their drawing, and the row checks that keep the amount to
// deduct (nedVrADesc) equal to the sum of the marked rows' deductions.
#include "Cli_pag12000/habconta_internal.h"
#include "Cli_pag12001/abatimento.h"
#include "Cli_pag12001/abatimento_internal.h"
#include "contracts/client/grid_helpers.h"
#include "contracts/consiste.h"

namespace pag {

namespace {

constexpr const char* kDesconto = "VRDESCONTO";
constexpr const char* kDisponivel = "VRDISPONIVEL";
// The transparent colour of the dialog's pictures.
constexpr Colour kOliva = Colour::rgb(0, 128, 128);

std::string campoSelecionado(Grid& g) {
    const GridColumn* col = g.SelectedColumn();
    return col ? col->fieldName : std::string();
}

bool marcada(ClientDataSet& ds) {
    return ds.FieldByName(kMarca).AsString() == "S";
}

double dinheiro(ClientDataSet& ds, const char* campo) {
    return RoundDec(ds.FieldByName(campo).AsFloat(), 2);
}

}  // namespace

double& TfrmAbatimento::contador(const ClientDataSet& ds) {
    return &ds == &cdsContaAd ? stContaAdi : stContaDev;
}

// ---------------------------------------------------------------- marking

void TfrmAbatimento::marcaLinha(ClientDataSet& ds, bool marcar) {
    if (!editando(ds)) ds.Edit();
    ds.FieldByName(kMarca).SetAsString(marcar ? "S" : "N");
    ds.FieldByName(kDesconto).SetAsFloat(marcar ? ds.FieldByName(kDisponivel).AsFloat() : 0);
    ds.Post();
}

void TfrmAbatimento::alternaMarca(ClientDataSet& ds) {
    if (!ds.Active() || ds.IsEmpty()) return;
    marcaLinha(ds, !marcada(ds));
}

void TfrmAbatimento::GridDblClick(Grid& grid) {
    if (campoSelecionado(grid) == kMarca) alternaMarca(*grid.DataSet());
}

void TfrmAbatimento::GridKeyDown(Grid& grid, int& key, ShiftState shift) {
    if (key == Key::Space && campoSelecionado(grid) == kMarca) {
        alternaMarca(*grid.DataSet());
        key = 0;
    } else if (key == Key::Delete && shift.ctrl) {
        // Rows are never deleted here.
        key = 0;
    }
}

void TfrmAbatimento::GridKeyPress(Grid& grid, KeyChar& key) {
    // A deduction is never negative.
    if (key == U'-' && campoSelecionado(grid) == kDesconto) key = 0;
}

void TfrmAbatimento::GridTitleClick(Grid& grid, GridColumn& col) {
    if (col.fieldName != kMarca) return;
    ClientDataSet& ds = *grid.DataSet();
    if (!ds.Active()) return;
    const bool adiantamento = &ds == &cdsContaAd;
    const bool desmarcar = contador(ds) > 0;
    const char* pergunta = desmarcar ? (adiantamento ? "CONF_DESMARC_ADI" : "CONF_DESMARC")
                                     : (adiantamento ? "CONF_MARC_ADI" : "CONF_MARC");
    if (msgPadrao.ShowMsg(Ui(), pergunta, MessageKind::Confirmation) != ModalResult::Yes) return;
    ControlsDisabled congelada(ds);
    BookmarkReturn volta(ds);
    for (ds.First(); !ds.Eof(); ds.Next())
        if (marcada(ds) == desmarcar) marcaLinha(ds, !desmarcar);
}

// ---------------------------------------------------------------- typing

void TfrmAbatimento::ajustaEdicao(Grid& grid) {
    ClientDataSet* ds = grid.DataSet();
    const bool pode =
        ds && ds->Active() && !ds->IsEmpty() && campoSelecionado(grid) == kDesconto && marcada(*ds);
    grid.SetEditing(pode);
}

void TfrmAbatimento::GridColExit(Grid& grid) {
    ClientDataSet& ds = *grid.DataSet();
    if (!postando_ && editando(ds)) ds.Post();
}

// ---------------------------------------------------------------- drawing

void TfrmAbatimento::GridDrawColumnCell(Grid& grid, GridCanvas& canvas, GridColumn& col) {
    ClientDataSet& ds = *grid.DataSet();
    if (!ds.Active() || ds.IsEmpty()) return;
    if (col.fieldName == kMarca) {
        canvas.Fill(Colour::window());
        InsereImagem(canvas, Get<Image>(marcada(ds) ? "imgCheck" : "imguncheck"), kOliva, 2, 0);
        return;
    }
    if (&grid != &dbgDevolucao) return;
    Field& f = ds.FieldByName(col.fieldName);
    GridText(canvas, f.DisplayText(), f.DataType() == FieldType::Float);
}

// ---------------------------------------------------------------- row checks

void TfrmAbatimento::LinhaBeforeEdit(ClientDataSet& ds) {
    (&ds == &cdsContaAd ? doAdia : Total) = dinheiro(ds, kDesconto);
}

void TfrmAbatimento::LinhaBeforePost(ClientDataSet& ds) {
    const bool adiantamento = &ds == &cdsContaAd;
    const double desconto = dinheiro(ds, kDesconto);
    if (adiantamento || marcada(ds)) {
        const char* falha = nullptr;
        if (desconto > dinheiro(ds, kDisponivel))
            falha = "vrDesc_<_vrdisp";
        else if (marcada(ds) && desconto <= 0)
            falha = "vrDesc_inf";
        if (falha) {
            Grid& grid = adiantamento ? dbgPadrao : dbgDevolucao;
            // Moving to the deduction's column must not post this row again.
            struct Postando {
                bool& flag;
                ~Postando() { flag = false; }
            } postando{postando_ = true};
            focaFalha(grid);
            grid.SetSelectedIndex(IndiceCol(grid, kDesconto));
            MensErro(Ui(), msgPadrao.Msg(falha));
        }
    }
    const double antes = adiantamento ? doAdia : Total;
    nedVrADesc.SetNumber(RoundDec(RoundDec(nedVrADesc.GetNumber(), 2) - antes + desconto, 2));
}

void TfrmAbatimento::LinhaAfterPost(ClientDataSet& ds) {
    double marcadas = 0;
    for (int n = 1; n <= ds.RecordCount(); ++n) {
        DisplayRecordScope linha(ds, n);
        if (marcada(ds)) ++marcadas;
    }
    contador(ds) = marcadas;
    ajustaEdicao(&ds == &cdsContaAd ? dbgPadrao : dbgDevolucao);
}

}  // namespace pag

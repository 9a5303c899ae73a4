// The boleto grid: its images, keys and clicks, marking one boleto or all of them with
// the running count and total, the enabling toggle of the "Hab." column, and sorting
// by a column's title.
#include "Cli_pag12000/habconta.h"
#include "Cli_pag12000/habconta_internal.h"
#include "contracts/client/grid_helpers.h"
#include "platform/format.h"
#include "platform/scoped.h"
#include "platform/ui/abort.h"
#include "platform/ui/text_chars.h"

namespace pag {

namespace {

// The transparent colour of the screen's pictures.
constexpr Colour kOliva = Colour::rgb(0, 128, 128);

constexpr const char* kHabilitado = "IDHABIBPAG";

std::string campoSelecionado(Grid& g) {
    const GridColumn* col = g.SelectedColumn();
    return col ? col->fieldName : std::string();
}

// Runs a step with the grid's display frozen and the given dataset handlers detached;
// all of them come back also when the step stops.
template <typename Step>
void semEventos(ClientDataSet& ds, std::initializer_list<DataSetEvent*> eventos, Step&& step) {
    ControlsDisabled congelada(ds);
    std::vector<std::unique_ptr<DetachEvent>> soltos;
    for (DataSetEvent* e : eventos)
        soltos.push_back(std::make_unique<DetachEvent>(*e));
    step();
}

}  // namespace

void TfrmHabConta::ligaEventosGrid() {
    Grid& g = dbgPadrao;
    g.OnDrawColumnCell = [this](GridCanvas& canvas, int column, GridColumn& col,
                                DrawCellState state) {
        dbgPadraoDrawColumnCell(canvas, column, col, state);
    };
    g.OnKeyDown = [this](int& key, ShiftState shift) { dbgPadraoKeyDown(key, shift); };
    g.OnKeyPress = [this](KeyChar& key) { dbgPadraoKeyPress(key); };
    g.OnCellClick = [this](GridColumn& col) { dbgPadraoCellClick(col); };
    g.OnDblClick = [this] { dbgPadraoDblClick(); };
    g.OnColEnter = [this] { dbgPadraoColEnter(); };
    g.OnTitleClick = [this](GridColumn& col) { dbgPadraoTitleClick(col); };
}

void TfrmHabConta::dbgPadraoDrawColumnCell(GridCanvas& canvas, int, GridColumn& col,
                                           DrawCellState) {
    if (!temBoletoAtual()) return;
    if (col.fieldName == kMarca) {
        canvas.Fill(Colour::window());
        const bool marcado = cdsBoletos.FieldByName(kMarca).AsString() == "S";
        InsereImagem(canvas, Get<Image>(marcado ? "imgCheck" : "imgUncheck"), kOliva, 2, 0);
    } else if (col.fieldName == kHabilitado) {
        if (ParametroGeralPag("IDHABIBOLE") != "S") return;
        const bool habilitado = cdsBoletos.FieldByName(kHabilitado).AsString() == "S";
        InsereImagem(canvas, Get<Image>(habilitado ? "imgHabilitado" : "imgNaoHabilit"), kOliva, 2,
                     1);
    } else if (col.fieldName == "IDBPAGREAL") {
        canvas.Fill(Colour::window());
        if (cdsBoletos.FieldByName("IDBPAGREAL").AsString() == "S")
            InsereImagem(canvas, Get<Image>("imgOk"), kOliva, 8, 0);
    }
}

void TfrmHabConta::VdVrBolZero(double value) {
    if (value == 0) MensErro(Ui(), msgPadrao.Msg("Bol_Zero"));
}

double TfrmHabConta::valorLiquidoAtual() {
    return temBoletoAtual() ? cdsBoletos.FieldByName("VRFINALBPAG").AsFloat() : 0;
}

void TfrmHabConta::MarcaBoleto() {
    if (!temBoletoAtual()) {
        Habilita();
        return;
    }
    struct HabilitaAoFim {
        TfrmHabConta& tela;
        ~HabilitaAoFim() {
            if (std::uncaught_exceptions() == 0) tela.Habilita();
        }
    } aoFim{*this};
    semEventos(cdsBoletos, {&cdsBoletos.BeforeEdit, &cdsBoletos.AfterPost}, [&] {
        if (!cdsBoletos.FieldByName("NRLANCANTECIPA").IsNull())
            MensErro(Ui(), msgPadrao.Msg("Bol_Antecipa"));
        VerificaSitCNAB(AtualizaSITUCNAB(lancamentoAtual(), filialAtual()), false, false);
        const double valor = RoundDec(cdsBoletos.FieldByName("VRFINALBPAG").AsFloat(), 2);
        const double total = RoundDec(nedTotal.GetNumber(), 2);
        if (cdsBoletos.FieldByName(kMarca).AsString() == "N") {
            if (cdsBoletos.FieldByName("IDBPAGREAL").AsString() == "S" || !VerificaDesconto()) {
                postaMarca("S");
                nedTotal.SetNumber(total + valor);
                nedCont.SetNumber(nedCont.GetNumber() + 1);
            }
        } else {
            postaMarca("N");
            nedTotal.SetNumber(total - valor);
            nedCont.SetNumber(nedCont.GetNumber() - 1);
        }
    });
}

void TfrmHabConta::postaMarca(const char* marca) {
    struct Marcando {
        bool& flag;
        explicit Marcando(bool& f) : flag(f) { flag = true; }
        ~Marcando() { flag = false; }
    } marcando{marcando_};
    cdsBoletos.Edit();
    cdsBoletos.FieldByName(kMarca).SetAsString(marca);
    cdsBoletos.Post();
}

void TfrmHabConta::somaMarcados() {
    int cont = 0;
    double total = 0;
    if (cdsBoletos.Active()) {
        Field& marca = cdsBoletos.FieldByName(kMarca);
        Field& valor = cdsBoletos.FieldByName("VRFINALBPAG");
        for (int n = 1; n <= cdsBoletos.RecordCount(); ++n) {
            DisplayRecordScope linha(cdsBoletos, n);
            if (marca.AsString() != "S") continue;
            ++cont;
            total = RoundDec(total + RoundDec(valor.AsFloat(), 2), 2);
        }
    }
    nedCont.SetNumber(cont);
    nedTotal.SetNumber(total);
}

void TfrmHabConta::mostraContagem() {
    const int listados = cdsBoletos.Active() ? cdsBoletos.RecordCount() : 0;
    std::string texto;
    if (cdsBoletos.Active())
        texto = formatFloat("#,##0", listados) +
                (listados == 1 ? " boleto listado" : " boletos listados");
    Get<Label>("lblQtdBoletos").SetCaption(texto);
    const int coluna = IndiceCol(dbgPadrao, kMarca);
    if (coluna < 0) return;
    const bool todos = listados > 0 && nedCont.GetNumber() == listados;
    GridColumn& marca = dbgPadrao.Column(coluna);
    const char* figura = todos ? "imgCheck" : "imgUncheck";
    if (marca.titlePicture == figura) return;
    marca.titlePicture = figura;
    dbgPadrao.ColumnsChanged();
}

void TfrmHabConta::dbgPadraoCellClick(GridColumn& col) {
    if (col.fieldName != kMarca) return;
    VdVrBolZero(valorLiquidoAtual());
    VdNFBloqueada(true);
    MarcaBoleto();
}

void TfrmHabConta::dbgPadraoKeyDown(int& key, ShiftState) {
    const std::string campo = campoSelecionado(dbgPadrao);
    if (key == Key::Space) {
        VdNFBloqueada(true);
        VdVrBolZero(valorLiquidoAtual());
        if (campo == kHabilitado && ParametroGeralPag("IDHABIBOLE") == "S")
            dbgPadraoDblClick();
        else if (campo == kMarca)
            MarcaBoleto();
        return;
    }
    if (key == Key::Delete) {
        for (const char* somenteLeitura :
             {"DTVENBOLPAG", "NMRAZSOCFORN", "NRPARCBOLPAG", "NMTPBAIXAPAG", "VRFINALBPAG",
              "NRLANCANTECIPA", "IDSITUCNABP"})
            if (campo == somenteLeitura) key = 0;
    }
}

void TfrmHabConta::dbgPadraoKeyPress(KeyChar& key) {
    Field* f = dbgPadrao.SelectedField();
    if (!f) return;
    if (f->Tag() == 1) {
        const bool passa = key == Key::Tab || key == Key::Enter || (key >= 37 && key <= 40);
        if (!passa) key = 0;
        return;
    }
    const DataSetState s = cdsBoletos.State();
    if (f->FieldName() != kHabilitado || (s != DataSetState::Edit && s != DataSetState::Insert))
        return;
    // Only the first letters of "Sim" and "Não" are taken; the field keeps "S" or "N".
    const KeyChar tecla = toUpperChar(key);
    for (const char* codigo : {"S", "N"}) {
        const std::u32string texto = toCodePoints(msgPadrao.Msg(codigo));
        if (!texto.empty() && tecla == toUpperChar(texto[0])) {
            f->Clear();
            f->SetAsString(codigo);
            break;
        }
    }
    key = 0;
}

void TfrmHabConta::dbgPadraoDblClick() {
    VdNFBloqueada(true);
    VdVrBolZero(valorLiquidoAtual());
    ControlsDisabled congelada(cdsBoletos);
    if (campoSelecionado(dbgPadrao) != kHabilitado || ParametroGeralPag("IDHABIBOLE") != "S")
        return;
    VerificaSitCNAB(AtualizaSITUCNAB(lancamentoAtual(), filialAtual()), false, true);
    cdsBoletos.Edit();
    Field& hab = cdsBoletos.FieldByName(kHabilitado);
    hab.SetAsString(hab.AsString() == "S" ? "N" : "S");
    cdsBoletos.Post();
    Ui().showStatus(hab.AsString() == "S" ? "Boleto habilitado." : "Boleto não habilitado.");
}

void TfrmHabConta::dbgPadraoColEnter() {
    const std::string campo = campoSelecionado(dbgPadrao);
    const bool semEdicao = campo == kMarca || campo == "NRLANCANTECIPA" || campo == kHabilitado ||
                           campo == "IDBPAGREAL";
    dbgPadrao.SetEditing(!semEdicao);
}

void TfrmHabConta::dbgPadraoTitleClick(GridColumn& col) {
    struct HabilitaAoFim {
        TfrmHabConta& tela;
        ~HabilitaAoFim() { tela.Habilita(); }
    } aoFim{*this};
    if (col.fieldName != kMarca) {
        if (!cdsBoletos.Active()) return;
        cdsBoletos.SetIndexFieldNames(col.fieldName == "NRPARCBOLPAGVISU" ? "NRPARCBOLPAGNUM"
                                                                          : col.fieldName);
        VdVrBolZero(valorLiquidoAtual());
        return;
    }
    if (nedCont.GetNumber() > 0) {
        if (msgPadrao.ShowMsg(Ui(), "CONF_DESMARC", MessageKind::Confirmation) != ModalResult::Yes)
            return;
        // A walk stopped by a boleto's checks leaves the boletos not yet reached marked:
        // the totals count what stays marked, not zero.
        struct Recontagem {
            TfrmHabConta& tela;
            ~Recontagem() { tela.somaMarcados(); }
        } recontagem{*this};
        semEventos(cdsBoletos, {&cdsBoletos.AfterScroll, &cdsBoletos.AfterPost}, [&] {
            // Each boleto's edit and post change the list's state twice: the screen
            // follows it once, when the click ends (Habilita above), not at each one.
            bool mudouEstado = false;
            ScopedAssign<std::function<void(DataSource&)>> estado(
                dtsPadrao.OnStateChange, [&](DataSource&) { mudouEstado = true; });
            // Each boleto's checks read the situations and the date lock read once
            // for the whole walk, instead of asking the server boleto by boleto.
            struct FimDaCaminhada {
                TfrmHabConta& tela;
                const bool& mudouEstado;
                ~FimDaCaminhada() {
                    tela.terminaCaminhada();
                    // What a state change does besides Habilita.
                    if (mudouEstado) tela.stContaBenef_ = "000";
                }
            } fim{*this, mudouEstado};
            iniciaCaminhada();
            // The controls show the list once, when the walk ends, not at each boleto.
            ControlsDisabled congelada(cdsBoletos);
            // The payables shown are those of the boleto the walk started on: the
            // cursor goes back to it, also when a boleto stops the walk.
            BookmarkReturn volta(cdsBoletos);
            Field& marca = cdsBoletos.FieldByName(kMarca);
            for (cdsBoletos.First(); !cdsBoletos.Eof(); cdsBoletos.Next()) {
                if (marca.AsString() != "S") continue;
                postaMarca("N");
            }
        });
        return;
    }
    if (!cdsBoletos.Active() ||
        msgPadrao.ShowMsg(Ui(), "CONF_MARC", MessageKind::Confirmation) != ModalResult::Yes)
        return;
    Value payload;
    {
        BusyScope avi(Ui(), kAviProcessando);
        // The list is given away: the embedded server sets the marks on it in place.
        std::vector<Value> args;
        args.push_back(Value(cdsBoletos.Data()));
        payload = CheckResultServ(Ui(), netHabConta.Call("GetMarcaTBoletos", std::move(args)));
    }
    PacketPtr marcados = PayloadPacket(payload, 0);
    const double cont = PayloadPart(payload, 1).asFloat();
    const double total = PayloadPart(payload, 2).asFloat();
    // Once the answer is let go, the list moves into the grid instead of being copied.
    payload = Value();
    cdsBoletos.SetData(std::move(marcados));
    nedCont.SetNumber(cont);
    nedTotal.SetNumber(total);
}

void TfrmHabConta::CheckMenu() {
    const Page* showing = pgcPadrao.ActivePage();
    const std::pair<const char*, const char*> itens[] = {{"mnuFolhaDados", "tshFolhaDados"},
                                                         {"mnuDadosPag", "tshDadosPag"},
                                                         {"mnuAjustes", "tshAjustes"},
                                                         {"mnuProrrogacao", "tshProrrogacao"},
                                                         {"mnuParcelamento", "tshParcelamento"}};
    for (auto [item, page] : itens)
        Get<MenuItem>(item).SetChecked(showing == &Get<Page>(page));
}

}  // namespace pag

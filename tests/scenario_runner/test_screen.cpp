#include "scenario_runner/test_screen.h"

#include "platform/ui/abort.h"

namespace pag::scenario::testing {

TestDialog::TestDialog()
    : Form("dlgValor", "Valor"),
      edtValor(Add<Edit>("edtValor")),
      btnOk(Add<Button>("btnOk", nullptr, "OK")),
      btnCancelar(Add<Button>("btnCancelar", nullptr, "Cancelar")) {
    btnOk.SetModalResult(ModalResult::Ok);
    btnCancelar.SetModalResult(ModalResult::Cancel);
}

TestScreen::TestScreen(UserInterface& ui)
    : Form("frmTeste", "Teste"),
      msgTeste("msgTeste", {{"Aviso", "Aviso de teste."},
                            {"Pergunta", "Deseja marcar como ativo?"},
                            {"Gravado", "Registro %s gravado."},
                            {"NomeVazio", "Nome deve ser informado."}}),
      lblAbertura(Add<Label>("lblAbertura")),
      edtNome(Add<Edit>("edtNome")),
      medCep(Add<MaskEdit>("medCep", nullptr, "99999-999;0; ")),
      chkAtivo(Add<CheckBox>("chkAtivo", nullptr, "&Ativo")),
      btnAviso(Add<Button>("btnAviso", nullptr, "Aviso")),
      btnPergunta(Add<Button>("btnPergunta", nullptr, "Pergunta")),
      btnDialogo(Add<Button>("btnDialogo", nullptr, "Diálogo")),
      btnEscolher(Add<Button>("btnEscolher", nullptr, "Escolher")),
      btnProcurar(Add<Button>("btnProcurar", nullptr, "Procurar")),
      cbxTipo(Add<ComboBox>("cbxTipo", nullptr, std::vector<std::string>{"Normal", "Urgente"})),
      rdgOrdem(Add<RadioGroup>("rdgOrdem", nullptr, "Ordem",
                               std::vector<std::string>{"&Código", "&Nome"})),
      panInativo(Add<Panel>("panInativo")),
      btnInativo(Add<Button>("btnInativo", &panInativo, "Inativo")),
      pgcPaginas(Add<PageControl>("pgcPaginas")),
      tshLista(Add<Page>("tshLista", &pgcPaginas, "Lista")),
      tshDetalhe(Add<Page>("tshDetalhe", &pgcPaginas, "Detalhe")),
      grdItens(Add<Grid>("grdItens", &tshLista, &dtsItens)),
      mnuGravar(Add<MenuItem>("mnuGravar", nullptr, "&Gravar", "Ctrl+G")),
      ui_(ui) {
    SetUserInterface(&ui);
    panInativo.SetEnabled(false);
    pgcPaginas.SetActivePage(&tshLista);
    fillItems();
    for (const char* f : {"CODIGO", "NOME", "VALOR", "DATA"})
        grdItens.AddColumn({.fieldName = f});
    grdItens.SetEditing(true);
    grdItens.OnTitleClick = [this](GridColumn& col) { cdsItens.SetIndexFieldNames(col.fieldName); };
    grdItens.OnDblClick = [this] {
        ui_.showMessage(MessageKind::Information,
                        "Item " + cdsItens.FieldByName("NOME").AsString());
    };

    edtNome.OnExit = [this] {
        if (edtNome.Text().empty()) MensErro(ui_, msgTeste.Msg("NomeVazio"));
    };
    btnAviso.OnClick = [this] { msgTeste.ShowMsg(ui_, "Aviso", MessageKind::Information); };
    btnPergunta.OnClick = [this] {
        if (msgTeste.ShowMsg(ui_, "Pergunta", MessageKind::Confirmation) == ModalResult::Yes)
            chkAtivo.SetChecked(true);
    };
    btnDialogo.OnClick = [this] {
        TestDialog dlg;
        dlg.SetUserInterface(&ui_);
        dlg.edtValor.SetText(edtNome.Text());
        if (dlg.ShowModal(ui_) == ModalResult::Ok && ui_.ask("Aplicar o valor?"))
            edtNome.SetText(dlg.edtValor.Text());
    };
    btnEscolher.OnClick = [this] {
        if (ui_.pickOne(cdsItens, "Itens", "Não há itens.")) {
            edtNome.SetText(cdsItens.FieldByName("NOME").AsString());
            std::vector<std::string> codes = ui_.pickMany(cdsItens, "CODIGO", "Códigos");
            lblAbertura.SetCaption(std::to_string(codes.size()) + " código(s)");
        }
    };
    btnProcurar.OnClick = [this] {
        if (ui_.find(cdsItens)) edtNome.SetText(cdsItens.FieldByName("NOME").AsString());
    };
    rdgOrdem.OnClick = [this] {
        cdsItens.SetIndexFieldNames(rdgOrdem.ItemIndex() == 1 ? "NOME" : "CODIGO");
    };
    mnuGravar.OnClick = [this] {
        ui_.showMessage(MessageKind::Information,
                        fillMessage(msgTeste.Msg("Gravado"), {edtNome.Text()}));
    };
}

TestScreen::~TestScreen() {
    DestroyControls();
}

void TestScreen::fillItems() {
    auto def = [](const char* name, FieldType type, std::string displayFormat = {}) {
        FieldDef d;
        d.name = name;
        d.type = type;
        d.displayFormat = std::move(displayFormat);
        return d;
    };
    cdsItens.SetFieldDefs({def("CODIGO", FieldType::Integer), def("NOME", FieldType::Text),
                           def("VALOR", FieldType::Float, "#,##0.00"),
                           def("DATA", FieldType::Date)});
    cdsItens.CreateDataSet();
    struct Item {
        int code;
        const char* name;
        double value;
    };
    for (const Item& i :
         {Item{3, "PARAFUSO", 1234.5}, Item{1, "ARRUELA", 10}, Item{2, "PORCA", 0.1 + 0.2}}) {
        cdsItens.Append();
        cdsItens.FieldByName("CODIGO").SetAsInteger(i.code);
        cdsItens.FieldByName("NOME").SetAsString(i.name);
        cdsItens.FieldByName("VALOR").SetAsFloat(i.value);
        cdsItens.FieldByName("DATA").SetAsDateTime(Date::fromYmd(2026, 12, 6));
        cdsItens.Post();
    }
    cdsItens.MergeChangeLog();
    cdsItens.First();
}

void TestHost::open(const Value& company, const Value& date) {
    if (!screen_) screen_ = std::make_unique<TestScreen>(ui_);
    ++screen_->opened;
    screen_->lblAbertura.SetCaption((company.isNull() ? "-" : company.asString()) + " " +
                                    (date.isNull() ? "-" : date.asString()) + " " +
                                    login_.Operador);
    screen_->Show();
}

Form* TestHost::mainForm() {
    return screen_ && screen_->Visible() ? screen_.get() : nullptr;
}

ClientDataSet* TestHost::findDataSet(std::string_view name) {
    return screen_ && name == "cdsItens" ? &screen_->cdsItens : nullptr;
}

std::vector<const TMessages*> TestHost::messageTables() {
    return screen_ ? screen_->MessageTables() : std::vector<const TMessages*>{};
}

}  // namespace pag::scenario::testing

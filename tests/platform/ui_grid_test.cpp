#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/dataset/client_dataset.h"
#include "platform/ui/edit.h"
#include "platform/ui/form.h"
#include "platform/ui/grid.h"
#include "testing/scripted_user_interface.h"

namespace pag {
namespace {

class GridTest : public ::testing::Test {
protected:
    GridTest() {
        std::vector<FieldDef> defs(4);
        defs[0].name = "IDMARCADO", defs[0].size = 1;
        defs[1].name = "NMRAZSOCFORN", defs[1].size = 40, defs[1].label = "Fornecedor";
        defs[1].tag = 1;
        defs[2].name = "VRFINALBPAG", defs[2].type = FieldType::Float;
        defs[2].displayFormat = "#,##0.00";
        defs[3].name = "CDAJUCTPAG", defs[3].size = 4, defs[3].editMask = "9999;0; ";
        cds.SetFieldDefs(defs);
        cds.CreateDataSet();
        addRow("S", "ALFA LTDA", 1500.0, "0001");
        addRow("N", "BETA SA", 20.5, "0002");
        cds.First();

        form.SetUserInterface(&ui);
        grid = &form.Add<Grid>("dbgPadrao", nullptr, &dts);
        grid->AddColumn({.fieldName = "IDMARCADO", .title = "4", .width = 20});
        grid->AddColumn({.fieldName = "NMRAZSOCFORN", .width = 114});
        grid->AddColumn({.fieldName = "VRFINALBPAG", .alignment = Alignment::Right});
        grid->AddColumn({.fieldName = "CDAJUCTPAG", .buttonStyle = ColumnButtonStyle::Ellipsis});
        other = &form.Add<Edit>("edtOutro");
    }

    void addRow(const char* marcado, const char* nome, double valor, const char* ajuste) {
        cds.Append();
        cds.FieldByName("IDMARCADO").SetAsString(marcado);
        cds.FieldByName("NMRAZSOCFORN").SetAsString(nome);
        cds.FieldByName("VRFINALBPAG").SetAsFloat(valor);
        cds.FieldByName("CDAJUCTPAG").SetAsString(ajuste);
        cds.Post();
    }

    std::string field(const char* name) { return cds.FieldByName(name).AsString(); }

    ClientDataSet cds{"cdsBoletos"};
    DataSource dts{"dtsBoletos", &cds};
    ScriptedUserInterface ui;
    Form form{"frmHabConta"};
    Grid* grid;
    Edit* other;
};

TEST_F(GridTest, ColumnsByFieldName) {
    EXPECT_EQ(IndiceCol(*grid, "VRFINALBPAG"), 2);
    EXPECT_EQ(IndiceCol(*grid, "vrfinalbpag"), 2);
    EXPECT_EQ(IndiceCol(*grid, "NRORCAEVENTO"), -1);
    EXPECT_EQ(grid->ColumnTitle(0), "4");
    EXPECT_EQ(grid->ColumnTitle(1), "Fornecedor");

    grid->SetSelectedIndex(3);
    DestroiColuna(*grid, "NMRAZSOCFORN");
    DestroiColuna(*grid, "NRORCAEVENTO");  // absent: nothing happens
    EXPECT_EQ(grid->ColumnCount(), 3);
    EXPECT_EQ(grid->SelectedIndex(), 2);  // still the same column
    EXPECT_EQ(grid->SelectedColumn()->fieldName, "CDAJUCTPAG");
    EXPECT_EQ(IndiceCol(*grid, "CDAJUCTPAG"), 2);
}

TEST_F(GridTest, ClicksRunTheirEventsWithTheColumn) {
    std::vector<std::string> log;
    grid->OnColExit = [&] { log.push_back("exit " + grid->SelectedColumn()->fieldName); };
    grid->OnColEnter = [&] { log.push_back("enter " + grid->SelectedColumn()->fieldName); };
    grid->OnCellClick = [&](GridColumn& c) { log.push_back("cell " + c.fieldName); };
    grid->OnTitleClick = [&](GridColumn& c) { log.push_back("title " + c.fieldName); };
    grid->OnDblClick = [&] { log.push_back("dbl"); };

    ASSERT_TRUE(other->SetFocus());
    EXPECT_TRUE(grid->ClickCell(2));
    EXPECT_TRUE(grid->Focused());
    EXPECT_TRUE(grid->ClickTitle(1));  // a title click does not select
    EXPECT_TRUE(grid->DoubleClick());
    EXPECT_EQ(grid->SelectedField()->FieldName(), "VRFINALBPAG");
    EXPECT_EQ(log, (std::vector<std::string>{"exit IDMARCADO", "enter VRFINALBPAG",
                                             "cell VRFINALBPAG", "title NMRAZSOCFORN", "dbl"}));
    grid->SetEnabled(false);
    EXPECT_FALSE(grid->DoubleClick());
}

TEST_F(GridTest, DrawingRecordsTextThenWhatTheHandlerDraws) {
    grid->OnDrawColumnCell = [this](GridCanvas& canvas, int, GridColumn& col, DrawCellState) {
        if (cds.IsEmpty() || col.fieldName != "IDMARCADO") return;
        canvas.Fill(Colour::window());
        canvas.DrawImage(field("IDMARCADO") == "S" ? "imgCheck" : "imgUncheck", 2, 0,
                         Colour::rgb(0, 128, 128));
    };
    grid->Column(3).visible = false;
    auto cmds = grid->DrawCurrentRow();
    ASSERT_EQ(cmds.size(), 5u);
    EXPECT_EQ(cmds[0].kind, DrawCommand::Kind::Text);
    EXPECT_EQ(cmds[1].kind, DrawCommand::Kind::Fill);
    EXPECT_EQ(cmds[2].kind, DrawCommand::Kind::Image);
    EXPECT_EQ(cmds[2].text, "imgCheck");
    EXPECT_EQ(cmds[2].x, 2);
    EXPECT_TRUE(cmds[2].transparent);
    EXPECT_EQ(cmds[2].colour, Colour::rgb(0, 128, 128));
    EXPECT_EQ(cmds[3].text, "ALFA LTDA");
    EXPECT_EQ(cmds[4].text, "1.500,00");
    EXPECT_EQ(cmds[4].alignment, Alignment::Right);

    // Any row draws the same way without moving the cursor or firing a scroll.
    int scrolls = 0;
    cds.AfterScroll = [&](ClientDataSet&) { ++scrolls; };
    auto second = grid->DrawCell(2, 0);
    ASSERT_EQ(second.size(), 3u);
    EXPECT_EQ(second[2].text, "imgUncheck");
    EXPECT_EQ(grid->DrawCell(2, 1)[0].text, "BETA SA");
    EXPECT_TRUE(grid->DrawCell(3, 1).empty());
    EXPECT_EQ(cds.RecNo(), 1);
    EXPECT_EQ(scrolls, 0);

    cds.Next();
    EXPECT_EQ(grid->DrawCurrentRow()[2].text, "imgUncheck");

    cds.EmptyDataSet();
    auto empty = grid->DrawCurrentRow();
    EXPECT_TRUE(empty.empty());
}

TEST_F(GridTest, KeyHandlersMaySwallowKeysBeforeTheGrid) {
    grid->OnKeyDown = [](int& key, ShiftState) {
        if (key == Key::Down) key = 0;
    };
    grid->KeyDown(Key::Down);
    EXPECT_EQ(cds.RecNo(), 1);
    grid->KeyDown(Key::Right);
    EXPECT_EQ(grid->SelectedIndex(), 1);
    grid->OnKeyDown = nullptr;
    grid->KeyDown(Key::Down);
    EXPECT_EQ(grid->Row(), 2);
    grid->KeyDown(Key::Up);
    EXPECT_EQ(grid->Row(), 1);
}

TEST_F(GridTest, CtrlDeleteAsksBeforeDeleting) {
    // No answer queued: the unforeseen question fails.
    EXPECT_THROW(grid->KeyDown(Key::Delete, {.ctrl = true}), UnexpectedInteraction);
    EXPECT_EQ(ui.Problems().size(), 1u);
    EXPECT_EQ(cds.RecordCount(), 2);
    ui.AnswerNo();
    grid->KeyDown(Key::Delete, {.ctrl = true});
    EXPECT_EQ(cds.RecordCount(), 2);
    ui.AnswerYes();
    grid->KeyDown(Key::Delete, {.ctrl = true});
    EXPECT_EQ(cds.RecordCount(), 1);
    EXPECT_EQ(ui.Questions().back(), "Excluir registro?");
}

TEST_F(GridTest, TypingInAnEditableCellEditsTheRowAndLeavingTheColumnWritesIt) {
    grid->SetSelectedIndex(3);
    grid->TypeText("7");  // cell editing is off
    EXPECT_EQ(cds.State(), DataSetState::Browse);

    grid->SetEditing(true);
    grid->TypeText("7x8");  // the first key replaces the cell, the mask refuses "x"
    EXPECT_EQ(cds.State(), DataSetState::Edit);
    EXPECT_TRUE(grid->EditorShowing());
    EXPECT_EQ(grid->EditorText(), "78");
    EXPECT_EQ(field("CDAJUCTPAG"), "0001");
    grid->KeyPress(Key::Backspace);
    EXPECT_EQ(grid->EditorText(), "7");
    grid->KeyDown(Key::Left);
    EXPECT_EQ(field("CDAJUCTPAG"), "7");
    EXPECT_FALSE(grid->EditorShowing());
}

TEST_F(GridTest, KeyPressHandlerDiscardsKeysInDisplayOnlyColumns) {
    grid->SetEditing(true);
    grid->OnKeyPress = [this](KeyChar& k) {
        Field* f = grid->SelectedField();
        if (f && f->Tag() == 1 && k != Key::Tab && k != Key::Enter) k = 0;
    };
    grid->SetSelectedIndex(1);
    grid->TypeText("zz");
    EXPECT_EQ(cds.State(), DataSetState::Browse);
    grid->Column(2).readOnly = true;
    grid->SetSelectedIndex(2);
    grid->TypeText("9");
    EXPECT_EQ(cds.State(), DataSetState::Browse);
}

TEST_F(GridTest, EditorTextSetByAHandlerIsPostedAndEscapeDropsIt) {
    grid->SetEditing(true);
    grid->SetSelectedIndex(0);
    grid->SetEditorText("N");
    EXPECT_EQ(cds.State(), DataSetState::Edit);
    cds.Post();
    EXPECT_EQ(field("IDMARCADO"), "N");

    grid->TypeText("S");
    grid->KeyDown(Key::Escape);  // drops the typing
    EXPECT_EQ(grid->EditorText(), "N");
    grid->KeyDown(Key::Escape);  // then cancels the edit
    EXPECT_EQ(cds.State(), DataSetState::Browse);
    EXPECT_EQ(field("IDMARCADO"), "N");
}

TEST_F(GridTest, EditButtonOnlyOnEllipsisColumnsWhileEditing) {
    int runs = 0;
    grid->OnEditButtonClick = [&] { ++runs; };
    grid->SetSelectedIndex(3);
    EXPECT_FALSE(grid->PressEditButton());
    grid->SetEditing(true);
    EXPECT_TRUE(grid->PressEditButton());
    grid->SetSelectedIndex(2);
    EXPECT_FALSE(grid->PressEditButton());
    EXPECT_EQ(runs, 1);
}

TEST_F(GridTest, InsertKeyAndLeavingAnUntouchedNewRow) {
    grid->SetEditing(true);
    ASSERT_TRUE(grid->SetFocus());
    grid->KeyDown(Key::Insert);
    EXPECT_EQ(cds.State(), DataSetState::Insert);
    ASSERT_TRUE(other->SetFocus());  // nothing typed: the new row goes away
    EXPECT_EQ(cds.State(), DataSetState::Browse);
    EXPECT_EQ(cds.RecordCount(), 2);
}

TEST_F(GridTest, DownPastTheLastRowAppendsOnceAndDefaultsAreNotTyping) {
    cds.OnNewRecord = [](ClientDataSet& ds) { ds.FieldByName("VRFINALBPAG").SetAsFloat(7); };
    ASSERT_TRUE(grid->SetFocus());
    grid->KeyDown(Key::Down);  // not editable: the cursor just stays on the last row
    grid->KeyDown(Key::Down);
    EXPECT_EQ(cds.State(), DataSetState::Browse);
    grid->SetEditing(true);
    grid->KeyDown(Key::Down);
    EXPECT_EQ(cds.State(), DataSetState::Insert);
    EXPECT_FALSE(cds.Modified());
    grid->KeyDown(Key::Down);  // an untouched new row stays the last one
    EXPECT_EQ(cds.RecordCount(), 2);
    grid->SetSelectedIndex(1);
    grid->TypeText("GAMA");
    grid->KeyDown(Key::Down);  // typed: posted, and the next one appended
    EXPECT_EQ(cds.RecordCount(), 3);
    EXPECT_EQ(cds.State(), DataSetState::Insert);
    ASSERT_TRUE(other->SetFocus());
    EXPECT_EQ(cds.RecordCount(), 3);
    cds.Last();
    EXPECT_EQ(field("NMRAZSOCFORN"), "GAMA");
    EXPECT_EQ(cds.FieldByName("VRFINALBPAG").AsFloat(), 7);
}

TEST_F(GridTest, TabWalksTheColumnsAndLeavesTheGridAtEitherEnd) {
    grid->Options().tabs = true;
    form.SetFocus(*grid);
    grid->SetSelectedIndex(2);
    grid->KeyDown(Key::Tab, {});
    EXPECT_EQ(grid->SelectedIndex(), 3);
    EXPECT_EQ(form.ActiveControl(), grid);
    grid->KeyDown(Key::Tab, {});  // past the last column
    EXPECT_EQ(form.ActiveControl(), other);
    form.SetFocus(*grid);
    grid->SetSelectedIndex(0);
    grid->KeyDown(Key::Tab, {.shift = true});  // before the first
    EXPECT_NE(form.ActiveControl(), grid);
}

TEST_F(GridTest, AClosedDataSetKeepsTheColumnTitles) {
    cds.Close();
    EXPECT_EQ(grid->ColumnTitle(1), "Fornecedor");
}

}  // namespace
}  // namespace pag

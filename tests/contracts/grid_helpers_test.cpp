#include "contracts/client/grid_helpers.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/dataset/client_dataset.h"
#include "platform/ui/form.h"

namespace pag {
namespace {

TEST(GridHelpers, TextClearsTheCellThenWritesAligned) {
    GridCanvas cell(3);
    GridText(cell, "1.234,56", true, Colour::infoBackground());
    GridText(cell, "ALFA", false);
    const auto& c = cell.Commands();
    ASSERT_EQ(c.size(), 4u);
    EXPECT_EQ(c[0].kind, DrawCommand::Kind::Fill);
    EXPECT_EQ(c[0].colour, Colour::infoBackground());
    EXPECT_EQ(c[1].kind, DrawCommand::Kind::Text);
    EXPECT_EQ(c[1].text, "1.234,56");
    EXPECT_EQ(c[1].alignment, Alignment::Right);
    EXPECT_EQ(c[1].column, 3);
    EXPECT_EQ(c[2].colour, Colour::window());
    EXPECT_EQ(c[3].alignment, Alignment::Left);
}

TEST(GridHelpers, ImageDrawsThePictureOfItsHolder) {
    Form form("frmTeste");
    Image& imgCheck = form.Add<Image>("imgCheck");
    const Colour olive = Colour::rgb(0, 128, 128);
    GridCanvas cell(0);
    InsereImagem(cell, imgCheck, olive);  // no picture set: drawn by the holder's name
    imgCheck.SetPicture("check.bmp");
    InsereImagem(cell, imgCheck, olive, 8, 1);
    const auto& c = cell.Commands();
    ASSERT_EQ(c.size(), 2u);
    EXPECT_EQ(c[0].kind, DrawCommand::Kind::Image);
    EXPECT_EQ(c[0].text, "imgCheck");
    EXPECT_EQ(c[0].x, 2);
    EXPECT_EQ(c[0].y, 0);
    EXPECT_TRUE(c[0].transparent);
    EXPECT_EQ(c[0].colour, olive);
    EXPECT_EQ(c[1].text, "check.bmp");
    EXPECT_EQ(c[1].x, 8);
    EXPECT_EQ(c[1].y, 1);
}

class SetaCampoNullTest : public ::testing::Test {
protected:
    SetaCampoNullTest() {
        std::vector<FieldDef> defs(4);
        defs[0].name = "CDBANCBOLP", defs[0].size = 3;
        defs[1].name = "CDAGENBOLP", defs[1].size = 10;
        defs[2].name = "VRMULTABPAG", defs[2].type = FieldType::Float;
        defs[3].name = "CDCCORBOLP", defs[3].size = 20;
        cds.SetFieldDefs(defs);
        cds.CreateDataSet();
        cds.Append();
        cds.FieldByName("CDBANCBOLP").SetAsString("   ");
        cds.FieldByName("CDAGENBOLP").SetAsString("1234");
        cds.FieldByName("VRMULTABPAG").SetAsFloat(0.0);
        cds.FieldByName("CDCCORBOLP").SetAsString("");
        cds.Post();
    }
    ClientDataSet cds{"cdsBoletos"};
};

TEST_F(SetaCampoNullTest, BlankTextFieldsOfTheEditedRowBecomeNull) {
    cds.Edit();
    Seta_Campo_Null(cds);
    EXPECT_TRUE(cds.FieldByName("CDBANCBOLP").IsNull());
    EXPECT_TRUE(cds.FieldByName("CDCCORBOLP").IsNull());
    EXPECT_EQ(cds.FieldByName("CDAGENBOLP").AsString(), "1234");
    EXPECT_FALSE(cds.FieldByName("VRMULTABPAG").IsNull());  // zero is a value, not blank
}

TEST_F(SetaCampoNullTest, OutsideAnEditNothingChanges) {
    Seta_Campo_Null(cds);
    EXPECT_EQ(cds.FieldByName("CDBANCBOLP").AsString(), "   ");
    EXPECT_EQ(cds.ChangeCount(), 1);  // only the append
}

}  // namespace
}  // namespace pag

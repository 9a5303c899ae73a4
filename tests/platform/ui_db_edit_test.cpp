#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/dataset/client_dataset.h"
#include "platform/ui/date_edit.h"
#include "platform/ui/db_controls.h"
#include "platform/ui/edit.h"
#include "platform/ui/form.h"

namespace pag {
namespace {

FieldDef def(const char* name, FieldType type, int size = 0, const char* mask = "") {
    FieldDef d;
    d.name = name;
    d.type = type;
    d.size = size;
    d.editMask = mask;
    if (type == FieldType::Float) d.displayFormat = "#,##0.00";
    return d;
}

// A boleto dataset with two rows, bound edits on a form.
class DBEditTest : public ::testing::Test {
protected:
    DBEditTest() {
        using T = FieldType;
        cds.SetFieldDefs({def("CDREDUCONT", T::Text, 3, ">aaa;0; "),
                          def("CDAGENCIA", T::Text, 5, "9999-a;0; "),
                          def("CDTPBAIXAPAG", T::Text, 2, "99;0; "),
                          def("NMTPBAIXAPAG", T::Text, 40), def("VRMULTABPAG", T::Float),
                          def("DTVENBOLPAG", T::Date), def("IDHABIBPAG", T::Text, 1)});
        cds.CreateDataSet();
        addRow("AB1", "12345", "01", "BOLETO", 1234.5, Date::fromYmd(2026, 12, 10), "S");
        addRow("CC2", "98765", "02", "PIX", 10.0, Date(), "N");
        cds.First();
        cds.BeforeEdit = [this](ClientDataSet&) { ++beforeEdits; };
        dbeReduCont = &form.Add<DBEdit>("dbeReduCont", nullptr, &dts, "CDREDUCONT");
        dbeAgencia = &form.Add<DBEdit>("DBEdit10", nullptr, &dts, "CDAGENCIA");
        dbeCdTpBaixa = &form.Add<DBEdit>("dbeCdTpBaixa", nullptr, &dts, "CDTPBAIXAPAG");
        dbeVrMulta = &form.Add<DBEdit>("dbeVrMulta", nullptr, &dts, "VRMULTABPAG");
        other = &form.Add<Edit>("edtCdBarra");
    }

    void addRow(const char* conta, const char* agencia, const char* tipo, const char* nome,
                double multa, Date venc, const char* hab) {
        cds.Append();
        cds.FieldByName("CDREDUCONT").SetAsString(conta);
        cds.FieldByName("CDAGENCIA").SetAsString(agencia);
        cds.FieldByName("CDTPBAIXAPAG").SetAsString(tipo);
        cds.FieldByName("NMTPBAIXAPAG").SetAsString(nome);
        cds.FieldByName("VRMULTABPAG").SetAsFloat(multa);
        cds.FieldByName("DTVENBOLPAG").SetAsDateTime(venc);
        cds.FieldByName("IDHABIBPAG").SetAsString(hab);
        cds.Post();
    }

    std::string field(const char* name) { return cds.FieldByName(name).AsString(); }

    // Datasets first: the form (and its bound controls) goes before them.
    ClientDataSet cds{"cdsBoletos"};
    DataSource dts{"dtsBoletos", &cds};
    Form form{"frmHabConta"};
    DBEdit* dbeReduCont;
    DBEdit* dbeAgencia;
    DBEdit* dbeCdTpBaixa;
    DBEdit* dbeVrMulta;
    Edit* other;
    int beforeEdits = 0;
};

TEST_F(DBEditTest, ShowsTheFieldAndFollowsTheCursor) {
    EXPECT_EQ(dbeReduCont->Text(), "AB1");
    EXPECT_EQ(dbeAgencia->EditText(), "1234-5");
    EXPECT_EQ(dbeAgencia->Text(), "12345");
    EXPECT_EQ(dbeVrMulta->Text(), "1.234,50");
    EXPECT_EQ(dbeReduCont->EditMaskText(), ">aaa;0; ");
    cds.Next();
    EXPECT_EQ(dbeReduCont->Text(), "CC2");
    EXPECT_EQ(dbeVrMulta->Text(), "10,00");
    cds.Close();
    EXPECT_EQ(dbeReduCont->Text(), "");
}

TEST_F(DBEditTest, TypingWhileBrowsingEditsTheDatasetAndLeavingWritesTheField) {
    ASSERT_TRUE(dbeReduCont->SetFocus());
    dbeReduCont->UserReplaceText("x-9z");  // the mask refuses "-", upper-cases the letters
    EXPECT_EQ(cds.State(), DataSetState::Edit);
    EXPECT_EQ(beforeEdits, 1);
    EXPECT_EQ(dbeReduCont->Text(), "X9Z");
    EXPECT_EQ(field("CDREDUCONT"), "AB1");  // written only when the edit is left
    ASSERT_TRUE(other->SetFocus());
    EXPECT_EQ(field("CDREDUCONT"), "X9Z");
    EXPECT_EQ(cds.State(), DataSetState::Edit);
}

TEST_F(DBEditTest, ARefusedKeyNeverStartsAnEdit) {
    ASSERT_TRUE(dbeCdTpBaixa->SetFocus());
    dbeCdTpBaixa->TypeText("a");
    EXPECT_EQ(cds.State(), DataSetState::Browse);
    EXPECT_EQ(beforeEdits, 0);
}

TEST_F(DBEditTest, ABeforeEditRefusalRevertsTheTextAndPropagates) {
    cds.BeforeEdit = [](ClientDataSet&) {
        throw std::runtime_error("Boleto já enviado ao banco.");
    };
    ASSERT_TRUE(dbeReduCont->SetFocus());
    EXPECT_THROW(dbeReduCont->UserReplaceText("zz"), std::runtime_error);
    EXPECT_EQ(cds.State(), DataSetState::Browse);
    EXPECT_EQ(dbeReduCont->Text(), "AB1");
    EXPECT_FALSE(dbeReduCont->Modified());
    EXPECT_TRUE(other->SetFocus());  // nothing pending: leaving writes nothing
    EXPECT_EQ(field("CDREDUCONT"), "AB1");
}

TEST_F(DBEditTest, PostingWritesTheTextStillBeingTyped) {
    ASSERT_TRUE(dbeAgencia->SetFocus());
    dbeAgencia->UserReplaceText("5555x");
    cds.Post();
    EXPECT_EQ(cds.State(), DataSetState::Browse);
    EXPECT_EQ(field("CDAGENCIA"), "5555x");
    EXPECT_EQ(dbeAgencia->EditText(), "5555-x");
}

TEST_F(DBEditTest, MovingToAnotherRowPostsWhatWasTyped) {
    ASSERT_TRUE(dbeReduCont->SetFocus());
    dbeReduCont->UserReplaceText("new");
    cds.Next();
    EXPECT_EQ(dbeReduCont->Text(), "CC2");
    cds.First();
    EXPECT_EQ(field("CDREDUCONT"), "NEW");
}

TEST_F(DBEditTest, AChangeHandlerWritingAnotherFieldKeepsWhatIsBeingTyped) {
    // dbeCdTpBaixaChange: while editing, the type's name is cleared.
    dbeCdTpBaixa->OnChange = [this] {
        if (cds.State() == DataSetState::Edit) cds.FieldByName("NMTPBAIXAPAG").Clear();
    };
    ASSERT_TRUE(dbeCdTpBaixa->SetFocus());
    dbeCdTpBaixa->UserReplaceText("07");
    EXPECT_EQ(dbeCdTpBaixa->Text(), "07");
    EXPECT_TRUE(cds.FieldByName("NMTPBAIXAPAG").IsNull());
    ASSERT_TRUE(other->SetFocus());
    EXPECT_EQ(field("CDTPBAIXAPAG"), "07");
}

TEST_F(DBEditTest, TheProgramChangingTheFieldReplacesTheTypedText) {
    ASSERT_TRUE(dbeReduCont->SetFocus());
    dbeReduCont->UserReplaceText("zzz");
    cds.FieldByName("CDREDUCONT").SetAsString("PIK");  // e.g. a row picked from a list
    EXPECT_EQ(dbeReduCont->Text(), "PIK");
    ASSERT_TRUE(other->SetFocus());
    EXPECT_EQ(field("CDREDUCONT"), "PIK");
}

TEST_F(DBEditTest, CancelAndEscapeDropThePendingText) {
    ASSERT_TRUE(dbeReduCont->SetFocus());
    dbeReduCont->UserReplaceText("zzz");
    cds.Cancel();
    EXPECT_EQ(dbeReduCont->Text(), "AB1");
    cds.Edit();
    cds.Post();
    EXPECT_EQ(field("CDREDUCONT"), "AB1");

    dbeReduCont->UserReplaceText("yyy");
    dbeReduCont->KeyPress(Key::Escape);
    EXPECT_EQ(dbeReduCont->Text(), "AB1");
    ASSERT_TRUE(other->SetFocus());
    EXPECT_EQ(field("CDREDUCONT"), "AB1");
}

TEST_F(DBEditTest, TextTheFieldRefusesKeepsTheFocusAndTheText) {
    ASSERT_TRUE(dbeVrMulta->SetFocus());
    dbeVrMulta->UserReplaceText("1,2,3");
    EXPECT_THROW(other->SetFocus(), std::invalid_argument);
    EXPECT_TRUE(dbeVrMulta->Focused());
    EXPECT_EQ(dbeVrMulta->Text(), "1,2,3");
    EXPECT_DOUBLE_EQ(cds.FieldByName("VRMULTABPAG").AsFloat(), 1234.5);
    // A post meets the same refusal and does not happen.
    EXPECT_THROW(cds.Post(), std::invalid_argument);
    EXPECT_EQ(cds.State(), DataSetState::Edit);

    dbeVrMulta->UserReplaceText("2,5");
    ASSERT_TRUE(other->SetFocus());
    EXPECT_DOUBLE_EQ(cds.FieldByName("VRMULTABPAG").AsFloat(), 2.5);
    EXPECT_EQ(dbeVrMulta->Text(), "2,50");
}

TEST_F(DBEditTest, ReadOnlyFieldsAndDatasetsRefuseTyping) {
    cds.FieldByName("CDREDUCONT").SetReadOnly(true);
    dbeReduCont->TypeText("q");
    EXPECT_EQ(cds.State(), DataSetState::Browse);
    cds.FieldByName("CDREDUCONT").SetReadOnly(false);
    cds.SetReadOnly(true);
    dbeReduCont->TypeText("q");
    EXPECT_EQ(cds.State(), DataSetState::Browse);
    EXPECT_EQ(dbeReduCont->Text(), "AB1");
}

TEST_F(DBEditTest, AMaskSetOnTheFieldAtRunTimeIsHonoured) {
    cds.FieldByName("CDAGENCIA").SetEditMask("9999-9;0; ");
    cds.Next();
    EXPECT_EQ(dbeAgencia->EditMaskText(), "9999-9;0; ");
    ASSERT_TRUE(dbeAgencia->SetFocus());
    dbeAgencia->UserReplaceText("1234x");
    EXPECT_EQ(dbeAgencia->Text(), "1234");
    cds.FieldByName("CDAGENCIA").SetEditMask("");
    cds.Cancel();
    EXPECT_EQ(dbeAgencia->EditMaskText(), "");
    EXPECT_EQ(dbeAgencia->Text(), "98765");
}

TEST_F(DBEditTest, DateEditBoundToADateField) {
    auto& dbd = form.Add<DBDateEdit>("dbdVencimento", nullptr, &dts, "DTVENBOLPAG");
    EXPECT_EQ(dbd.Text(), "10/12/2026");
    ASSERT_TRUE(dbd.SetFocus());
    dbd.UserReplaceText("31022027");
    EXPECT_THROW(other->SetFocus(), std::invalid_argument);
    EXPECT_EQ(cds.FieldByName("DTVENBOLPAG").AsDateTime(), Date::fromYmd(2026, 12, 10));
    dbd.UserReplaceText("");
    ASSERT_TRUE(other->SetFocus());
    EXPECT_TRUE(cds.FieldByName("DTVENBOLPAG").IsNull());
}

TEST_F(DBEditTest, CheckBoxComboBoxAndTextBoundToFields) {
    auto& chb = form.Add<DBCheckBox>("chbHabilitado", nullptr, &dts, "IDHABIBPAG");
    auto& dbc = form.Add<DBComboBox>("dbcIdChavePix", nullptr, &dts, "NMTPBAIXAPAG",
                                     std::vector<std::string>{"", "BOLETO", "PIX"});
    auto& dbt = form.Add<DBText>("dbtNome", nullptr, &dts, "VRMULTABPAG");
    EXPECT_TRUE(chb.Checked());
    EXPECT_EQ(dbc.ItemIndex(), 1);
    EXPECT_EQ(dbt.Text(), "1.234,50");

    int clicks = 0;
    chb.OnClick = [&] { ++clicks; };
    EXPECT_TRUE(form.ClickControl(chb));
    EXPECT_EQ(cds.State(), DataSetState::Edit);
    EXPECT_FALSE(chb.Checked());
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(dbc.UserSelectText("PIX"));
    EXPECT_EQ(field("NMTPBAIXAPAG"), "BOLETO");  // the combo writes when left or posted
    cds.Post();
    EXPECT_EQ(field("IDHABIBPAG"), "N");
    EXPECT_EQ(field("NMTPBAIXAPAG"), "PIX");

    cds.Next();
    EXPECT_FALSE(chb.Checked());
    EXPECT_EQ(dbt.Text(), "10,00");
    EXPECT_EQ(clicks, 1);  // showing another row is not a click
}

}  // namespace
}  // namespace pag

#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/ui/date_edit.h"
#include "platform/ui/edit.h"
#include "platform/ui/edit_mask.h"
#include "platform/ui/form.h"
#include "platform/ui/number_edit.h"

namespace pag {
namespace {

// Types each character; returns how many the mask took.
int typeAll(MaskedText& m, std::u32string_view text) {
    int taken = 0;
    for (char32_t c : text)
        taken += m.Type(c) ? 1 : 0;
    return taken;
}

MaskedText typed(const char* mask, std::u32string_view text) {
    MaskedText m{EditMask(mask)};
    typeAll(m, text);
    return m;
}

TEST(EditMaskTest, ParsesTheThreeParts) {
    EditMask code("99;0; ");
    EXPECT_EQ(code.Length(), 2u);
    EXPECT_FALSE(code.SaveLiterals());
    EXPECT_EQ(code.Blank(), U' ');

    EditMask date("99/99/9999;1;_");
    EXPECT_EQ(date.Length(), 10u);
    EXPECT_TRUE(date.SaveLiterals());
    EXPECT_EQ(date.Blank(), U'_');
    EXPECT_TRUE(date.IsLiteral(2));
    EXPECT_FALSE(date.IsLiteral(3));

    EditMask bare("999");
    EXPECT_TRUE(bare.SaveLiterals());
    EXPECT_EQ(bare.Blank(), U'_');

    // Case markers take no position; an escaped mask character is a literal.
    EditMask marked(">aa<l\\9;0;*");
    EXPECT_EQ(marked.Length(), 4u);
    EXPECT_TRUE(marked.IsLiteral(3));
    EXPECT_EQ(marked.At(3).literal, U'9');
    EXPECT_EQ(marked.Blank(), U'*');
}

TEST(EditMaskTest, PositionsAcceptTheirClassOfCharacter) {
    EditMask m("09#LlAaCc;1;_");
    EXPECT_EQ(m.Accept(0, U'5'), U'5');
    EXPECT_EQ(m.Accept(0, U'x'), 0u);
    EXPECT_EQ(m.Accept(1, U'-'), 0u);
    EXPECT_EQ(m.Accept(2, U'-'), U'-');
    EXPECT_EQ(m.Accept(3, U'7'), 0u);
    EXPECT_EQ(m.Accept(4, U'ç'), U'ç');
    EXPECT_EQ(m.Accept(5, U'Z'), U'Z');
    EXPECT_EQ(m.Accept(6, U'-'), 0u);
    EXPECT_EQ(m.Accept(7, U'-'), U'-');
    EXPECT_EQ(m.Accept(8, U' '), U' ');
    EXPECT_TRUE(m.At(0).required);
    EXPECT_FALSE(m.At(1).required);
}

TEST(EditMaskTest, TypingTakesWhatThePositionsAcceptUntilFull) {
    const std::u32string barcode(44, U'7');
    const struct {
        const char* mask;
        std::u32string typed;
        int taken;
        std::string stored;
    } cases[] = {
        {"99;0; ", U"a123", 2, "12"},      // a letter refused, the third digit finds it full
        {">aaa;0; ", U"a-b1c", 3, "AB1"},  // "-" refused, letters upper case
        {">aaa;0; ", U"çã", 2, "ÇÃ"},
        {"99999999999999999999999999999999999999999999;0; ", barcode + U"8x", 44,
         std::string(44, '7')},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mask);
        MaskedText m{EditMask(c.mask)};
        EXPECT_EQ(typeAll(m, c.typed), c.taken);
        EXPECT_EQ(m.Stored(), c.stored);
    }
    MaskedText code = typed("99;0; ", U"1");
    EXPECT_EQ(code.Shown(), "1 ");
    EXPECT_TRUE(code.Type(U'2'));
    EXPECT_TRUE(code.Backspace());
    EXPECT_EQ(code.Stored(), "1");
    // A stored value the mask would refuse is still shown as it is.
    code.SetStored("AB");
    EXPECT_EQ(code.Stored(), "AB");
}

TEST(EditMaskTest, AgencyWithDigitLiteralNotStored) {
    MaskedText m = typed("9999-a;0; ", U"1234x");
    EXPECT_EQ(m.Shown(), "1234-x");
    EXPECT_EQ(m.Stored(), "1234x");

    // Typing the literal where it stands just moves past it.
    EXPECT_EQ(typed("9999-a;0; ", U"1234-5").Stored(), "12345");
    // A letter where a digit goes is refused and changes nothing.
    MaskedText refused{EditMask("9999-a;0; ")};
    EXPECT_EQ(typeAll(refused, U"12a"), 2);
    EXPECT_EQ(refused.Shown(), "12  - ");

    // A stored text with or without the literal is shown the same way.
    MaskedText a{EditMask("9999-a;0; ")}, b{EditMask("9999-a;0; ")};
    a.SetStored("12345");
    b.SetStored("1234-5");
    EXPECT_EQ(a.Shown(), "1234-5");
    EXPECT_EQ(b.Shown(), "1234-5");
    EXPECT_EQ(b.Stored(), "12345");
}

TEST(EditMaskTest, DateKeepsItsSlashes) {
    MaskedText m{EditMask("99/99/9999;1;_")};
    EXPECT_EQ(m.Shown(), "__/__/____");
    EXPECT_EQ(m.Stored(), "");
    EXPECT_TRUE(m.IsBlank());
    typeAll(m, U"0102");
    EXPECT_EQ(m.Shown(), "01/02/____");
    EXPECT_EQ(m.Stored(), "01/02/");
    typeAll(m, U"2024");
    EXPECT_EQ(m.Stored(), "01/02/2024");
    EXPECT_EQ(typed("99/99/9999;1;_", U"01/02/2024").Stored(), "01/02/2024");

    MaskedText s{EditMask("99/99/9999;1;_")};
    s.SetStored("31/12/2025");
    EXPECT_EQ(s.Shown(), "31/12/2025");
    s.SetStored("");
    EXPECT_TRUE(s.IsBlank());
}

TEST(EditMaskTest, RequiredPositionsAndClearing) {
    MaskedText m{EditMask("00-00;1;_")};
    typeAll(m, U"12");
    EXPECT_FALSE(m.IsComplete());
    typeAll(m, U"34");
    EXPECT_TRUE(m.IsComplete());
    EXPECT_EQ(m.Stored(), "12-34");
    EXPECT_TRUE(m.ClearRange(1, 3));  // "2", the literal and "3"
    EXPECT_EQ(m.Shown(), "1_-_4");
    EXPECT_EQ(m.Stored(), "1 - 4");
    EXPECT_EQ(m.Cursor(), 1u);
    EXPECT_FALSE(m.ClearRange(2, 1));  // only a literal: nothing to clear
}

TEST(EditMaskTest, TranslatesToQtNotation) {
    EXPECT_EQ(qtInputMask(EditMask("99;0; ")), "00; ");
    EXPECT_EQ(qtInputMask(EditMask("9999-a;0; ")), "0000-n; ");
    EXPECT_EQ(qtInputMask(EditMask(">aaa;0; ")), ">nnn; ");
    EXPECT_EQ(qtInputMask(EditMask("99/99/9999;1;_")), "00/00/0000;_");
    EXPECT_EQ(qtInputMask(EditMask("00-LlAC#;1;_")), "99-AaNX#;_");
    EXPECT_EQ(qtInputMask(EditMask(">L<l<>c\\9;1;_")), ">A<a!x\\9;_");
    EXPECT_EQ(qtInputMask(EditMask("")), "");
}

// ---- the edit controls

class EditFixture : public ::testing::Test {
protected:
    Form form{"frmTeste"};
};

TEST_F(EditFixture, MaskEditTypingGoesThroughKeyPress) {
    auto& med = form.Add<MaskEdit>("medEmpresa", nullptr, "99;0; ");
    std::string seen;
    med.OnKeyPress = [&](KeyChar& k) {
        seen += static_cast<char>(k);
        if (k == U'5') k = 0;  // a handler may discard a key
    };
    int changes = 0;
    med.OnChange = [&] { ++changes; };
    ASSERT_TRUE(med.SetFocus());
    med.TypeText("a51");
    EXPECT_EQ(seen, "a51");
    EXPECT_EQ(med.Text(), "1");
    EXPECT_EQ(med.EditText(), "1 ");
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(med.Modified());

    med.UserReplaceText("07");
    EXPECT_EQ(med.Text(), "07");
    med.UserReplaceText("");
    EXPECT_EQ(med.Text(), "");
}

TEST_F(EditFixture, PlainEditRespectsMaxLengthCaseAndSelection) {
    auto& edt = form.Add<Edit>("edtCdBarra");
    edt.SetMaxLength(4);
    edt.SetCharCase(CharCase::Upper);
    edt.TypeText("abcdef");
    EXPECT_EQ(edt.Text(), "ABCD");
    edt.SetSelStart(1);
    edt.SetSelLength(2);
    EXPECT_EQ(edt.SelText(), "BC");
    edt.TypeText("x");
    EXPECT_EQ(edt.Text(), "AXD");
    edt.KeyPress(Key::Backspace);
    EXPECT_EQ(edt.Text(), "AD");
    edt.KeyDown(Key::Home);
    edt.KeyDown(Key::Delete);
    EXPECT_EQ(edt.Text(), "D");

    edt.SetReadOnly(true);
    edt.TypeText("z");
    EXPECT_EQ(edt.Text(), "D");
}

TEST_F(EditFixture, ProgramTextFiresOnChangeOnlyWhenItChanges) {
    auto& edt = form.Add<Edit>("edtNmEmpresa");
    int changes = 0;
    edt.OnChange = [&] { ++changes; };
    edt.SetText("ACME");
    edt.SetText("ACME");
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(edt.Modified());
}

TEST_F(EditFixture, IncompleteRequiredMaskRefusesToLeave) {
    auto& med = form.Add<MaskEdit>("medConta", nullptr, "0000;1;_");
    auto& other = form.Add<Edit>("edtOutro");
    ASSERT_TRUE(med.SetFocus());
    med.TypeText("12");
    EXPECT_THROW(other.SetFocus(), std::invalid_argument);
    EXPECT_TRUE(med.Focused());
    med.TypeText("34");
    EXPECT_TRUE(other.SetFocus());

    // Wiping the text entirely is allowed: "not informed" is for the screen to judge.
    ASSERT_TRUE(med.SetFocus());
    med.UserReplaceText("");
    EXPECT_TRUE(other.SetFocus());
}

TEST_F(EditFixture, NumberEditParsesAndFormatsPtBr) {
    auto& ned = form.Add<NumberEdit>("nedTotal");
    auto& other = form.Add<Edit>("edtOutro");
    EXPECT_EQ(ned.Text(), "0,00");
    ned.SetNumber(1234.5);
    EXPECT_EQ(ned.Text(), "1.234,50");
    EXPECT_DOUBLE_EQ(ned.GetNumber(), 1234.5);

    ASSERT_TRUE(ned.SetFocus());
    ned.UserReplaceText("98x7,6");  // the letter never gets in
    EXPECT_EQ(ned.Text(), "987,6");
    ASSERT_TRUE(other.SetFocus());
    EXPECT_EQ(ned.Text(), "987,60");

    ASSERT_TRUE(ned.SetFocus());
    ned.UserReplaceText("1,2,3");
    EXPECT_THROW(other.SetFocus(), std::invalid_argument);
    EXPECT_TRUE(ned.Focused());

    auto& cont = form.Add<NumberEdit>("nedCont", nullptr, "0");
    cont.SetNumber(3);
    EXPECT_EQ(cont.Text(), "3");
}

TEST_F(EditFixture, DateEditRefusesAnImpossibleDate) {
    auto& dep = form.Add<DateEdit>("depVencimento");
    auto& other = form.Add<Edit>("edtOutro");
    EXPECT_TRUE(dep.GetDate().isEmpty());
    dep.SetDate(Date::fromYmd(2025, 3, 9));
    EXPECT_EQ(dep.Text(), "09/03/2025");

    ASSERT_TRUE(dep.SetFocus());
    dep.UserReplaceText("31022025");
    EXPECT_EQ(dep.EditText(), "31/02/2025");
    try {
        other.SetFocus();
        FAIL() << "an impossible date must keep the focus";
    } catch (const std::invalid_argument& e) {
        EXPECT_NE(std::string(e.what()).find("não é uma data válida"), std::string::npos);
    }
    EXPECT_TRUE(dep.Focused());
    EXPECT_THROW(dep.CheckValidDate(), std::invalid_argument);

    dep.UserReplaceText("28022025");
    EXPECT_TRUE(other.SetFocus());
    EXPECT_EQ(dep.GetDate(), Date::fromYmd(2025, 2, 28));
}

}  // namespace
}  // namespace pag

// Tax guides registered as a clerk does it through the real widgets: a GPS guide opened
// with Ctrl+T, typed with the keys (one refusal on the way) and confirmed with the
// mouse; a DARF guide opened from the toolbar and confirmed with Enter. Each is stored
// and the list is read again on the same boleto.
#include "desktop_fixture.h"

namespace pag::gui {
namespace {

constexpr const char* kGps = "0000000014";   // branch 0002, a GPS boleto
constexpr const char* kDarf = "0000000019";  // branch 0001, paid as DARF Normal here

class TaxGuideFlows : public DesktopScreen {
protected:
    void beforeOpening(Database& db) override {
        db.exec(
            "UPDATE BOLETPAGAR SET DTVENBOLPAG = date('now'), VRFINALBPAG = 100, "
            "CDRECEITAGUIA = NULL WHERE CDFILIAL = '0002' AND NRLANBOLPAG = '0000000014'");
        db.exec(
            "UPDATE BOLETPAGAR SET DTVENBOLPAG = date('now'), CDTPBAIXAPAG = '12', "
            "CDRECEITAGUIA = NULL, NRREFEGUIA = NULL WHERE CDFILIAL = '0001' AND "
            "NRLANBOLPAG = '0000000019'");
    }
    static QToolButton* dialogButton(FormView& dialog, const char* name) {
        return qobject_cast<QToolButton*>(dialog.widgetFor(dialog.form().Get<Control>(name)));
    }
};

TEST_F(TaxGuideFlows, GpsByKeysWithOneRefusalThenConfirmedWithTheMouse) {
    goToBoleto("0002", kGps);
    withDialog(
        [&] { press(table(), Qt::Key_T, QStringLiteral("t"), Qt::ControlModifier); },
        [&](QDialog& dialog, FormView& v) {
            EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Cadastro de Guia de Tributo GPS"));
            // The dialog opens on the payment code, empty.
            EXPECT_EQ(QApplication::focusWidget(), dialogLine(v, "medCdPagGPS"));
            keysThenTab(QStringLiteral("2100"));
            EXPECT_EQ(dialogLine(v, "medCdPagGPS")->text(), QStringLiteral("0000002100"));
            keysThenTab(QStringLiteral("112026"));
            EXPECT_EQ(dialogLine(v, "depCompetGPS")->text(), QStringLiteral("11/2026"));
            // One cent over the boleto's 100,00: refused, the dialog stays.
            keysThenTab(QStringLiteral("100,01"));
            QToolButton* confirm = dialogButton(v, "sbtConfirma");
            ASSERT_NE(confirm, nullptr);
            confirm->click();
            settle();
            ASSERT_TRUE(dialog.isVisible());
            EXPECT_TRUE(boxes_.seen.contains(
                QStringLiteral("Valor de outras entidades deve ser menor que o valor atual do "
                               "boleto.")));
            // The focus is on the value to correct; the clerk clicks into it.
            EXPECT_EQ(v.form().ActiveControl(), &v.form().Get<Control>("nedVrOutrEnt"));
            QLineEdit* value = dialogLine(v, "nedVrOutrEnt");
            clickInto(value);
            settle();
            press(value, Qt::Key_A, QStringLiteral("a"), Qt::ControlModifier);
            typeText(value, QStringLiteral("100"));
            settle();
            confirm->click();
        },
        "a guia de tributo");
    EXPECT_EQ(stored("CDRECEITAGUIA", "0002", kGps).asString(), "2100");
    EXPECT_EQ(stored("DTAPURACGUIA", "0002", kGps).asString(), "2026-11-01");
    EXPECT_DOUBLE_EQ(stored("VROUTRENTGUIA", "0002", kGps).asFloat(), 100.0);
    // Read again, on the same boleto.
    EXPECT_EQ(boletos().FieldByName("NRLANBOLPAG").AsString(), kGps);
    EXPECT_EQ(boletos().FieldByName("CDRECEITAGUIA").AsString(), "2100");
}

TEST_F(TaxGuideFlows, DarfFromTheToolbarConfirmedWithEnter) {
    goToBoleto("0001", kDarf);
    QToolButton* command = toolButton("sbtCadGuiaImp");
    ASSERT_NE(command, nullptr);
    ASSERT_TRUE(command->isEnabled());
    withDialog([&] { command->click(); },
               [&](QDialog& dialog, FormView& v) {
                   EXPECT_EQ(dialog.windowTitle(),
                             QStringLiteral("Cadastro de Guia de Tributo DARF Normal"));
                   EXPECT_EQ(v.form().ActiveControl(), &v.form().Get<Control>("medCdReceitaDarf"));
                   dialogLine(v, "medCdReceitaDarf")->setFocus(Qt::OtherFocusReason);
                   settle();
                   keysThenTab(QStringLiteral("5952"));
                   keysThenTab(typedDate(Date::fromYmd(2026, 10, 31)));
                   keysThenTab(QStringLiteral("123"));
                   EXPECT_EQ(dialogLine(v, "medNrRefDarf")->text(),
                             QStringLiteral("00000000000000000123"));
                   keysThenTab(QStringLiteral("1500,5"));
                   typeText(QApplication::focusWidget(), QStringLiteral("4,65"));
                   press(QApplication::focusWidget(), Qt::Key_Return, QStringLiteral("\r"));
               },
               "a guia de tributo");
    EXPECT_TRUE(boxes_.seen.isEmpty()) << fromQ(boxes_.seen.join(QStringLiteral(" | ")));
    EXPECT_EQ(stored("CDRECEITAGUIA", "0001", kDarf).asString(), "5952");
    EXPECT_EQ(stored("DTAPURACGUIA", "0001", kDarf).asString(), "2026-10-31");
    EXPECT_EQ(stored("NRREFEGUIA", "0001", kDarf).asString(), "00000000000000000123");
    EXPECT_DOUBLE_EQ(stored("VROUTRENTGUIA", "0001", kDarf).asFloat(), 1500.5);
    EXPECT_DOUBLE_EQ(stored("VRPERCENTTRIB", "0001", kDarf).asFloat(), 4.65);
    EXPECT_EQ(boletos().FieldByName("NRLANBOLPAG").AsString(), kDarf);
}

}  // namespace
}  // namespace pag::gui

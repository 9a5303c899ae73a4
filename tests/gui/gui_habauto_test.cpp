// The automatic enabling as a clerk does it through the real widgets: three boletos
// marked with Space, Ctrl+A, the due date, reason and account typed with the keys and
// confirmed with Enter; the list comes back read again with them enabled.
#include "desktop_fixture.h"
#include "platform/format.h"
#include "platform/ui/number_edit.h"

namespace pag::gui {
namespace {

class AutoEnablingFlows : public DesktopScreen {
protected:
    void markWithSpace(const char* filial, const char* lancamento) {
        goToBoleto(filial, lancamento);
        table()->setCurrentIndex(
            table()->model()->index(boletos().RecNo() - 1, tableColumn("IDMARCADO")));
        press(table(), Qt::Key_Space, QStringLiteral(" "));
        settle();
        EXPECT_EQ(boletos().FieldByName("IDMARCADO").AsString(), "S") << lancamento;
    }
};

TEST_F(AutoEnablingFlows, ThreeMarkedBoletosEnabledByKeysAndTheListReadAgain) {
    // Two boletos of one supplier and one of another; each supplier's advances and return
    // notes are offered and refused with Enter ("Não").
    markWithSpace("0001", "0000000025");
    markWithSpace("0001", "0000000073");
    markWithSpace("0002", "0000000051");
    ASSERT_EQ(shown("nedCont"), QStringLiteral("3"));
    bool opened = false;
    host_->ui().onModalShown = [&](QDialog& dialog) {
        auto* form = qobject_cast<FormDialog*>(&dialog);
        ASSERT_NE(form, nullptr);
        opened = true;
        settle();
        FormView& v = form->view();
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Habilitação Automática"));
        QLineEdit* date = dialogLine(v, "depVencimento");
        ASSERT_NE(date, nullptr);
        date->setFocus(Qt::OtherFocusReason);
        settle();
        keysThenTab(typedDate(Date::today()));
        keysThenTab(QStringLiteral("1"));
        EXPECT_EQ(dialogLine(v, "edtNmProrroga")->text(), QStringLiteral("ATRASO NA ENTREGA"));
        keysThenTab(QStringLiteral("1"));
        EXPECT_EQ(dialogLine(v, "medReduCont")->text(), QStringLiteral("001"));
        EXPECT_EQ(dialogLine(v, "edtDsContCorr")->text(), QStringLiteral("BB MOVIMENTO"));
        // Enter confirms.
        press(QApplication::focusWidget(), Qt::Key_Return, QStringLiteral("\r"));
        settle();
        EXPECT_FALSE(dialog.isVisible()) << "a habilitação automática ficou aberta";
        if (dialog.isVisible()) dialog.reject();
    };
    press(table(), Qt::Key_A, QStringLiteral("a"), Qt::ControlModifier);
    settle();
    host_->ui().onModalShown = nullptr;
    ASSERT_TRUE(opened) << "Ctrl+A não abriu a habilitação automática";
    EXPECT_TRUE(boxes_.seen.contains(QStringLiteral("Os boletos selecionados foram habilitados.")))
        << fromQ(boxes_.seen.join(QStringLiteral(" | ")));
    // Stored: the two of one supplier in a new real boleto, the other by itself.
    EXPECT_EQ(stored("IDHABIBPAG", "0002", "0000000051").asString(), "S");
    const Value real = stored("NRLANBOLREAL", "0001", "0000000025");
    ASSERT_FALSE(real.isNull());
    EXPECT_EQ(stored("NRLANBOLREAL", "0001", "0000000073"), real);
    // The list read again shows the real boleto enabled in place of its parts, no mark.
    EXPECT_EQ(shown("nedCont"), QStringLiteral("0"));
    bool parts = false, realShown = false;
    for (int row = 1; row <= boletos().RecordCount(); ++row) {
        DisplayRecordScope scope(boletos(), row);
        const std::string lancamento = boletos().FieldByName("NRLANBOLPAG").AsString();
        parts = parts || lancamento == "0000000025" || lancamento == "0000000073";
        if (lancamento == real.asString()) {
            realShown = true;
            EXPECT_EQ(boletos().FieldByName("IDHABIBPAG").AsString(), "S");
            EXPECT_DOUBLE_EQ(boletos().FieldByName("VRFINALBPAG").AsFloat(), 9645.60);
        }
    }
    EXPECT_FALSE(parts);
    EXPECT_TRUE(realShown);
}

}  // namespace
}  // namespace pag::gui

// A clerk on the pages "Vencimento" and "Parcelamento", through the real widgets: a due
// date extended by typing the date and the reason, an extension cancelled, a boleto split
// into three installments with keys and the reason list, and its last installment removed.
#include "contracts/consiste.h"
#include "desktop_fixture.h"

namespace pag::gui {
namespace {

constexpr const char* kFilial = "0002";
constexpr const char* kNuncaProrrogado = "0000000017";
constexpr const char* kNuncaParcelado = "0000000092";
constexpr const char* kCentavos = "CAST(ROUND(SUM(VRFINALBPAG) * 100) AS INTEGER)";

class ExtensionFlows : public DesktopScreen {
protected:
    void beforeOpening(Database& db) override {
        // Due today, entered and issued before, never extended, out of any remittance;
        // one of 100,00 never split, not an association, free of adjustments.
        db.exec(
            "UPDATE BOLETPAGAR SET DTVENBOLPAG = date('now'), DTENTRSAID = date('now', '-10 "
            "days'), DTEMISSAO = date('now', '-12 days'), CDMOTIPROR = NULL, IDSITUCNABP = '00' "
            "WHERE CDFILIAL = '0002' AND NRLANBOLPAG = '0000000017';"
            "UPDATE BOLETPAGAR SET VRBOLPAG = 100, VRFINALBPAG = 100, DTVENBOLPAG = date('now'), "
            "DTEMISSAO = date('now', '-12 days'), CDMOTIPARC = NULL "
            "WHERE CDFILIAL = '0002' AND NRLANBOLPAG = '0000000092';"
            "UPDATE CNTPAGAR SET VRATUAPAG = 100 "
            "WHERE CDFILIBPAG = '0002' AND NRLANBOLPAG = '0000000092';");
    }

    // What tells the clerk the screen is locked by an edit: only confirm and cancel, the
    // other pages and the company out of reach.
    void expectLocked(bool locked) {
        EXPECT_EQ(toolButton("sbtConfirmar")->isEnabled(), locked);
        EXPECT_EQ(toolButton("sbtCancelar")->isEnabled(), locked);
        EXPECT_EQ(toolButton("sbtAlterar")->isEnabled(), !locked);
        EXPECT_EQ(tabs()->isTabEnabled(control<Page>("tshFolhaDados").PageIndex()), !locked);
        EXPECT_EQ(lineEdit("medEmpresa")->isEnabled(), !locked);
    }

    void openExtensionPage() {
        goToBoleto(kFilial, kNuncaProrrogado);
        clickTab("tshProrrogacao");
        ASSERT_EQ(pages().ActivePage()->Name(), "tshProrrogacao");
    }

    Grid& installmentGrid() { return control<Grid>("dbgParcelamento"); }
    QTableView* installments() {
        return qobject_cast<QTableView*>(view_->widgetFor(installmentGrid()));
    }
    // The text the clerk reads in a cell of the installments: what the screen drew last.
    QString cell(int row, const char* field) {
        const auto* model = qobject_cast<DataSetTableModel*>(installments()->model());
        std::vector<DrawCommand> drawn = drawGridCell(installmentGrid(), model->recNoOf(row),
                                                      IndiceCol(installmentGrid(), field));
        QString text;
        for (const DrawCommand& d : drawn) {
            if (d.kind == DrawCommand::Kind::Fill) text.clear();
            if (d.kind == DrawCommand::Kind::Text) text = toQ(d.text);
        }
        return text;
    }
    QStringList column(const char* field) {
        QStringList texts;
        for (int row = 0; row < installments()->model()->rowCount(); ++row)
            texts << cell(row, field);
        return texts;
    }
    void clickInstallment(int row, const char* field) {
        QTableView* t = installments();
        const auto* model = qobject_cast<DataSetTableModel*>(t->model());
        int col = -1;
        for (size_t c = 0; c < model->columns().size(); ++c)
            if (model->columns()[c].fieldName == field) col = static_cast<int>(c);
        ASSERT_GE(col, 0) << field;
        clickCell(t, t->model()->index(row, col));
        settle();
    }
    void key(int k, Qt::KeyboardModifiers m = {}) {
        press(installments(), k, {}, m);
        settle();
    }
    // What the split boleto's installments add up to as stored.
    int64_t storedSplit(const char* what) {
        return queried(std::string("SELECT ") + what +
                       " FROM BOLETPAGAR WHERE CDFILIAL = '0002' AND NRORIGBOLPAG = '0000000092'")
            .asInteger();
    }
};

TEST_F(ExtensionFlows, ADateAndReasonTypedLockTheScreenAndConfirmStoresThem) {
    openExtensionPage();
    const Date today = login_.ProcessingDate;
    EXPECT_EQ(shown("depVencimento"), toQ(today.toString()));
    EXPECT_EQ(shown("edtNmSemana"), toQ(NomeSemana(today)));
    expectLocked(false);

    // Typing the date starts the extension; the weekday follows on leaving the date.
    const Date nova = today.addDays(5);
    retype("depVencimento", typedDate(nova));
    EXPECT_EQ(shown("depVencimento"), toQ(nova.toString()));
    expectLocked(true);
    leave("depVencimento");
    EXPECT_EQ(shown("edtNmSemana"), toQ(NomeSemana(nova)));

    // Confirm asks for the reason; an unknown one is refused with its message.
    toolButton("sbtConfirmar")->click();
    settle();
    EXPECT_EQ(boxes_.seen.value(0), QStringLiteral("Motivo da prorrogação deve ser informado."));
    EXPECT_EQ(screen().ActiveControl(), &control<Control>("edtCdMotiPro"));
    retype("edtCdMotiPro", QStringLiteral("5"));
    leave("edtCdMotiPro");
    EXPECT_EQ(boxes_.seen.value(1), QStringLiteral("Motivo de prorrogação não cadastrado."));
    expectLocked(true);

    // "2" is reason 02, whose description shows on leaving it.
    retype("edtCdMotiPro", QStringLiteral("2"));
    leave("edtCdMotiPro");
    EXPECT_EQ(shown("edtCdMotiPro"), QStringLiteral("02"));
    EXPECT_EQ(shown("edtNmMotiPro"), QStringLiteral("PEDIDO DO FORNECEDOR"));
    EXPECT_EQ(boxes_.seen.size(), 2) << fromQ(boxes_.seen.join(QStringLiteral(" | ")));

    toolButton("sbtConfirmar")->click();
    settle();
    EXPECT_EQ(boxes_.seen.size(), 2) << fromQ(boxes_.seen.join(QStringLiteral(" | ")));
    expectLocked(false);
    EXPECT_EQ(stored("DTVENBOLPAG", kFilial, kNuncaProrrogado).asDate(), nova);
    EXPECT_EQ(stored("DTATUAVENBOLPAG", kFilial, kNuncaProrrogado).asDate(), today);
    EXPECT_EQ(stored("CDMOTIPROR", kFilial, kNuncaProrrogado).asString(), "02");
}

TEST_F(ExtensionFlows, CancellingAnExtensionGivesBackTheStoredDate) {
    openExtensionPage();
    const Date today = login_.ProcessingDate;
    const Date nova = today.addDays(3);
    retype("depVencimento", typedDate(nova));
    leave("depVencimento");
    retype("edtCdMotiPro", QStringLiteral("2"));
    leave("edtCdMotiPro");
    expectLocked(true);

    // "Não" keeps the extension being typed.
    boxes_.answers = {QStringLiteral("Não")};
    toolButton("sbtCancelar")->click();
    settle();
    EXPECT_EQ(boxes_.seen.value(0), QStringLiteral("Deseja cancelar as alterações?"));
    EXPECT_EQ(shown("depVencimento"), toQ(nova.toString()));
    expectLocked(true);

    boxes_.answers = {QStringLiteral("Sim")};
    toolButton("sbtCancelar")->click();
    settle();
    EXPECT_EQ(boxes_.pressed.value(1), QStringLiteral("Sim"));
    EXPECT_EQ(shown("depVencimento"), toQ(today.toString()));
    EXPECT_EQ(shown("edtNmSemana"), toQ(NomeSemana(today)));
    EXPECT_EQ(shown("edtCdMotiPro").trimmed(), QString());
    EXPECT_EQ(shown("edtNmMotiPro"), QString());
    expectLocked(false);
    EXPECT_EQ(stored("DTVENBOLPAG", kFilial, kNuncaProrrogado).asDate(), today);
    EXPECT_TRUE(stored("CDMOTIPROR", kFilial, kNuncaProrrogado).isNull());
}

TEST_F(ExtensionFlows, ABoletoSplitInThreeByKeysAndItsLastInstallmentRemoved) {
    goToBoleto(kFilial, kNuncaParcelado);
    ASSERT_NE(boletos().FieldByName("IDBPAGREAL").AsString(), "S");
    clickTab("tshParcelamento");
    ASSERT_EQ(pages().ActivePage()->Name(), "tshParcelamento");
    EXPECT_EQ(column("NRPARCBOLPAGVISU"), QStringList{QStringLiteral("00")});

    // The boleto never split is its own original installment, never removed.
    toolButton("sbtExcluir")->click();
    settle();
    EXPECT_EQ(boxes_.seen.value(0), QStringLiteral("Parcela original não pode ser excluída."));

    // The pencil renumbers the row and opens the split on it.
    toolButton("sbtAlterar")->click();
    settle();
    EXPECT_EQ(column("NRPARCBOLPAGVISU"), QStringList{QStringLiteral("01")});
    expectLocked(true);
    clickInstallment(0, "VRFINALBPAG");
    typeText(installments(), QStringLiteral("40"));
    key(Qt::Key_Tab);
    typeText(installments(), QStringLiteral("1"));
    // The code shows while it is typed, the description once the row is left.
    EXPECT_EQ(cell(0, "CDMOTIPARC"), QStringLiteral("1"));

    // Down past the last row appends "02" with what is left, its reason picked from the
    // list with Ctrl+Enter.
    key(Qt::Key_Down);
    EXPECT_EQ(column("NRPARCBOLPAGVISU"),
              (QStringList{QStringLiteral("01"), QStringLiteral("02")}));
    EXPECT_EQ(cell(1, "VRFINALBPAG"), QStringLiteral("60,00"));
    EXPECT_NE(cell(0, "CDMOTIPARC"), QStringLiteral("1"));
    bool picked = false;
    pickNext(QStringLiteral("fluxo"), picked);
    key(Qt::Key_Return, Qt::ControlModifier);
    EXPECT_TRUE(picked) << "a lista de motivos não abriu";
    EXPECT_EQ(cell(1, "CDMOTIPARC"), QStringLiteral("FLUXO DE CAIXA"));
    key(Qt::Key_Backtab, Qt::ShiftModifier);
    typeText(installments(), QStringLiteral("30"));

    // The third takes the 30,00 left; only the last row's due date may be typed.
    key(Qt::Key_Down);
    EXPECT_EQ(cell(2, "NRPARCBOLPAGVISU"), QStringLiteral("03"));
    EXPECT_EQ(cell(2, "VRFINALBPAG"), QStringLiteral("30,00"));
    const Date last = login_.ProcessingDate.addDays(30);
    clickInstallment(2, "DTVENBOLPAG");
    typeText(installments(), typedDate(last));
    key(Qt::Key_Tab);
    key(Qt::Key_Tab);
    typeText(installments(), QStringLiteral("3"));
    toolButton("sbtConfirmar")->click();
    settle();
    EXPECT_EQ(boxes_.seen.size(), 1) << fromQ(boxes_.seen.join(QStringLiteral(" | ")));
    expectLocked(false);

    EXPECT_EQ(column("NRPARCBOLPAGVISU"),
              (QStringList{QStringLiteral("01"), QStringLiteral("02"), QStringLiteral("03")}));
    EXPECT_EQ(column("VRFINALBPAG"), (QStringList{QStringLiteral("40,00"), QStringLiteral("30,00"),
                                                  QStringLiteral("30,00")}));
    EXPECT_EQ(column("DTVENBOLPAG").value(2), toQ(last.toString()));
    EXPECT_EQ(column("CDMOTIPARC").value(1), QStringLiteral("FLUXO DE CAIXA"));
    EXPECT_EQ(storedSplit(kCentavos), 10000);
    EXPECT_EQ(storedSplit("COUNT(CDMOTIPARC)"), 3);

    // The trash asks and removes the last installment.
    boxes_.answers = {QStringLiteral("Sim")};
    toolButton("sbtExcluir")->click();
    settle();
    EXPECT_EQ(boxes_.seen.value(1), QStringLiteral("Deseja excluir a última parcela?"));
    EXPECT_EQ(column("NRPARCBOLPAGVISU"),
              (QStringList{QStringLiteral("01"), QStringLiteral("02")}));
    EXPECT_EQ(storedSplit("COUNT(*)"), 2);
    EXPECT_EQ(storedSplit(kCentavos), 10000);
}

}  // namespace
}  // namespace pag::gui

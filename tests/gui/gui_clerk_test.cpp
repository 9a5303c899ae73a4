// A clerk's flows through the real widgets: marking and unmarking by mouse and by
// Space, changing pages by tab and keyboard, retyping a digitable line, confirming a
// dialog with Enter, and what the window shows (columns, counts, notes, help).
#include <QClipboard>
#include <QGuiApplication>
#include <QTabBar>
#include <QTextBrowser>

#include "contracts/consiste.h"
#include "desktop_fixture.h"
#include "gui/grid_pictures.h"
#include "gui/grid_settings.h"
#include "gui/main_window.h"
#include "platform/format.h"
#include "platform/ui/number_edit.h"

namespace pag::gui {
namespace {

class ClerkFlows : public DesktopScreen {
protected:
    // What a marking must leave: the grid page in front in the model and on screen,
    // the totals equal to the ticked rows, no placeholder in the row.
    void expectMarkingLeftTheGridSound(const std::string& where) {
        SCOPED_TRACE(where);
        EXPECT_EQ(pages().ActivePage()->Name(), "tshFolhaDados");
        EXPECT_EQ(tabs()->currentIndex(), 0);
        EXPECT_EQ(boletos().State(), DataSetState::Browse);
        EXPECT_TRUE(boletos().FieldByName("NRLANCANTECIPA").IsNull());
        int ticked = 0;
        double sum = 0;
        for (int row = 1; row <= boletos().RecordCount(); ++row) {
            DisplayRecordScope scope(boletos(), row);
            if (boletos().FieldByName("IDMARCADO").AsString() != "S") continue;
            ++ticked;
            sum += RoundDec(boletos().FieldByName("VRFINALBPAG").AsFloat(), 2);
        }
        EXPECT_EQ(shown("nedCont"), QString::number(ticked));
        EXPECT_EQ(control<NumberEdit>("nedTotal").GetNumber(), RoundDec(sum, 2));
        for (const char* money : {"dbePeMulta", "dbeVrMulta", "dbePeMora", "dbeVrMora"})
            EXPECT_FALSE(shown(money).contains(QStringLiteral("-1"))) << money;
    }

    void clickTitle(const char* field) {
        QHeaderView* header = table()->horizontalHeader();
        const int section = tableColumn(field);
        const QPoint at(header->sectionViewportPosition(section) + header->sectionSize(section) / 2,
                        header->height() / 2);
        mouse(header->viewport(), QEvent::MouseButtonPress, at);
        mouse(header->viewport(), QEvent::MouseButtonRelease, at);
        settle();
    }
};

TEST_F(ClerkFlows, MarkingByMouseAndSpaceThreeTimesStaysOnTheGrid) {
    // One boleto whose supplier has advances and return notes (two questions, both
    // answered with Enter), one without.
    for (auto [filial, lancamento] : {std::pair{"0001", "0000000025"}, {"0002", "0000000017"}}) {
        goToBoleto(filial, lancamento);
        const int row = boletos().RecNo() - 1;
        const QModelIndex mark = table()->model()->index(row, tableColumn("IDMARCADO"));
        for (int i = 0; i < 3; ++i) {
            clickCell(table(), mark);
            settle();
            expectMarkingLeftTheGridSound(std::string("clique ") + lancamento);
        }
        EXPECT_EQ(boletos().FieldByName("IDMARCADO").AsString(), "S");
        for (int i = 0; i < 3; ++i) {
            press(table(), Qt::Key_Space, QStringLiteral(" "));
            settle();
            expectMarkingLeftTheGridSound(std::string("espaço ") + lancamento);
        }
        EXPECT_EQ(boletos().FieldByName("IDMARCADO").AsString(), "N");
    }
    // Every question was answered by its default button, which changes nothing.
    EXPECT_FALSE(boxes_.pressed.isEmpty());
    for (const QString& answer : boxes_.pressed)
        EXPECT_EQ(answer, QStringLiteral("Não"));
}

TEST_F(ClerkFlows, MarkAllAndUnmarkAllByTheTitleStayOnTheGridWithExactTotals) {
    const int mark = IndiceCol(boletoGrid(), "IDMARCADO");
    EXPECT_EQ(boletoGrid().Column(mark).titlePicture, "imgUncheck");
    boxes_.answers = {QStringLiteral("Sim")};
    clickTitle("IDMARCADO");
    ASSERT_GT(control<NumberEdit>("nedCont").GetNumber(), 0);
    expectMarkingLeftTheGridSound("marcar todos");
    boxes_.answers = {QStringLiteral("Sim")};
    clickTitle("IDMARCADO");
    expectMarkingLeftTheGridSound("desmarcar todos");
    EXPECT_EQ(shown("nedCont"), QStringLiteral("0"));
    // The title's box is ticked only when every listed boleto is marked.
    EXPECT_EQ(boletoGrid().Column(mark).titlePicture, "imgUncheck");
    const auto title =
        table()->model()->headerData(tableColumn("IDMARCADO"), Qt::Horizontal, Qt::DecorationRole);
    EXPECT_EQ(title.value<QPixmap>().toImage(),
              gridPicture(QStringLiteral("imgUncheck")).toImage());
}

TEST_F(ClerkFlows, PageTabsAndKeysChangeThePageAndKeepTheList) {
    const int loaded = boletos().RecordCount();
    goToBoleto("0002", "0000000017");
    clickCell(table(), table()->model()->index(boletos().RecNo() - 1, tableColumn("IDMARCADO")));
    settle();
    bool filterOpened = false;
    host_->ui().onModalShown = [&](QDialog& dialog) {
        filterOpened = true;
        dialog.reject();
    };
    for (int round = 0; round < 3; ++round) {
        clickTab("tshDadosPag");
        EXPECT_EQ(pages().ActivePage()->Name(), "tshDadosPag");
        clickTab("tshFolhaDados");
        EXPECT_EQ(pages().ActivePage()->Name(), "tshFolhaDados");
    }
    host_->ui().onModalShown = nullptr;
    EXPECT_FALSE(filterOpened) << "o filtro abriu ao trocar de página";
    EXPECT_NE(screen().ActiveControl(), &control<Control>("medEmpresa"));
    EXPECT_EQ(boletos().RecordCount(), loaded);
    EXPECT_EQ(boletos().FieldByName("IDMARCADO").AsString(), "S");
    EXPECT_EQ(shown("nedCont"), QStringLiteral("1"));

    // The keyboard: Ctrl+Tab and Ctrl+PgDn forward, Ctrl+Shift+Tab and Ctrl+PgUp back.
    clickCell(table(), table()->model()->index(0, tableColumn("DTVENBOLPAG")));
    QApplication::setActiveWindow(&host_->window());
    table()->setFocus(Qt::MouseFocusReason);
    settle();
    press(table(), Qt::Key_Tab, {}, Qt::ControlModifier);
    EXPECT_EQ(pages().ActivePage()->Name(), "tshDadosPag");
    press(QApplication::focusWidget(), Qt::Key_Backtab, {},
          Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(pages().ActivePage()->Name(), "tshFolhaDados");
    press(QApplication::focusWidget(), Qt::Key_PageDown, {}, Qt::ControlModifier);
    EXPECT_EQ(pages().ActivePage()->Name(), "tshDadosPag");
    press(QApplication::focusWidget(), Qt::Key_PageUp, {}, Qt::ControlModifier);
    EXPECT_EQ(pages().ActivePage()->Name(), "tshFolhaDados");
    EXPECT_EQ(tabs()->currentIndex(), 0);
    EXPECT_EQ(boletos().RecordCount(), loaded);

    // Tab walks the columns and leaves the grid after the last one.
    clickCell(table(), table()->model()->index(0, tableColumn("DTVENBOLPAG")));
    for (int i = 0; i < boletoGrid().ColumnCount() + 1 && screen().ActiveControl() == &boletoGrid();
         ++i)
        press(table(), Qt::Key_Tab);
    EXPECT_NE(screen().ActiveControl(), &boletoGrid());
}

TEST_F(ClerkFlows, ClosedListKeepsItsColumnTitles) {
    view_->act([&] { boletos().Close(); });
    settle();
    const int due = tableColumn("DTVENBOLPAG");
    ASSERT_GE(due, 0);
    EXPECT_NE(table()->model()->headerData(due, Qt::Horizontal).toString(),
              QStringLiteral("DTVENBOLPAG"));
}

TEST_F(ClerkFlows, ADigitableLineIsSelectedAndRetypedPastedAndUndone) {
    goToBoleto("0001", "0000000025");
    toolButton("sbtAlterar")->click();
    settle();
    auto& line = control<CustomEdit>("dbeLinhBarPag");
    auto* edit = qobject_cast<QLineEdit*>(view_->widgetFor(line));
    ASSERT_NE(edit, nullptr);
    clickInto(edit);
    settle();
    const std::string before = line.Text();
    const QString typed = QStringLiteral("34191.09008 63571.277308 71444.640008 5 96850000123456");
    press(edit, Qt::Key_A, QStringLiteral("a"), Qt::ControlModifier);
    EXPECT_EQ(edit->selectedText(), edit->text());
    typeText(edit, typed);
    EXPECT_EQ(toQ(line.Text()), typed) << "a seleção não foi substituída";
    // Ctrl+Z gives back the line as it was.
    press(edit, Qt::Key_Z, QStringLiteral("z"), Qt::ControlModifier);
    EXPECT_EQ(line.Text(), before);
    // A pasted line with its dots and blanks replaces the selection as typed.
    const QString pasted = QStringLiteral("23790.12301 60000.000053 25000.456704 8 16520000012000");
    QGuiApplication::clipboard()->setText(pasted);
    press(edit, Qt::Key_A, QStringLiteral("a"), Qt::ControlModifier);
    press(edit, Qt::Key_V, QStringLiteral("v"), Qt::ControlModifier);
    EXPECT_EQ(toQ(line.Text()), pasted);
    EXPECT_EQ(edit->text(), pasted);
    // Shift+Home selects back to the start; typing replaces it.
    press(edit, Qt::Key_End);
    press(edit, Qt::Key_Home, {}, Qt::ShiftModifier);
    typeText(edit, QStringLiteral("1"));
    EXPECT_EQ(line.Text(), "1");
    boxes_.answers = {QStringLiteral("Sim")};
    toolButton("sbtCancelar")->click();
    settle();
    EXPECT_EQ(boletos().State(), DataSetState::Browse);
}

TEST_F(ClerkFlows, EnterConfirmsTheFilterDialog) {
    view_->act([&] { boletos().Last(); });
    withFilterDialog([&](FormDialog& dialog) {
        auto& from = dialog.view().form().Get<CustomEdit>("depDataIni");
        QWidget* w = dialog.view().widgetFor(from);
        auto* edit = w->findChild<QLineEdit*>();
        ASSERT_NE(edit, nullptr);
        clickInto(edit);
        settle();
        press(edit, Qt::Key_Return, QStringLiteral("\r"));
    });
    EXPECT_TRUE(boxes_.seen.isEmpty()) << fromQ(boxes_.seen.join(' '));
    EXPECT_EQ(boletos().RecNo(), 1);  // reloaded
}

TEST_F(ClerkFlows, TheWindowSaysWhatHappenedInPortuguese) {
    // A save that went through says so in the status bar.
    goToBoleto("0002", "0000000017");
    const int row = boletos().RecNo() - 1;
    clickCell(table(), table()->model()->index(row, tableColumn("IDHABIBPAG")), true);
    settle();
    ASSERT_EQ(boletos().FieldByName("IDHABIBPAG").AsString(), "S");
    EXPECT_EQ(host_->window().statusBar()->currentMessage(), QStringLiteral("Boleto habilitado."));
    // How many boletos the list holds, beside the totals.
    auto* count = qobject_cast<QLabel*>(view_->widgetFor(control<Control>("lblQtdBoletos")));
    ASSERT_NE(count, nullptr);
    EXPECT_EQ(count->text(), QString::number(boletos().RecordCount()) + " boletos listados");
    // Qt's own buttons speak Portuguese (the find dialog's "Cancelar").
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancelar"));
    // F1 opens the user guide.
    press(table(), Qt::Key_F1);
    settle();
    QWidget* guide = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QStringLiteral("userGuide") && w->isVisible()) guide = w;
    ASSERT_NE(guide, nullptr) << "o guia do usuário não abriu";
    auto* browser = guide->findChild<QTextBrowser*>();
    ASSERT_NE(browser, nullptr);
    EXPECT_TRUE(browser->toPlainText().contains(QStringLiteral("PAG12000")));
    guide->close();
}

TEST_F(ClerkFlows, OpeningSizeShowsTheFirstColumnsThatGrowAndAreKeptPerOperator) {
    QHeaderView* header = table()->horizontalHeader();
    const int width = table()->viewport()->width();
    for (const char* field :
         {"IDMARCADO", "IDHABIBPAG", "DTVENBOLPAG", "NMRAZSOCFORN", "VRFINALBPAG"}) {
        const int section = tableColumn(field);
        ASSERT_GE(section, 0) << field;
        const int left = header->sectionViewportPosition(section);
        EXPECT_GE(left, 0) << field;
        EXPECT_LE(left + header->sectionSize(section), width) << field << " cortada";
    }
    // A wider window widens the supplier's names.
    const int supplier = tableColumn("NMRAZSOCFORN");
    const int narrow = header->sectionSize(supplier);
    view_->parentWidget()->resize(view_->parentWidget()->width() + 300,
                                  view_->parentWidget()->height());
    settle();
    EXPECT_GT(header->sectionSize(supplier), narrow);
    // The width the operator gives a column comes back the next time.
    const int due = tableColumn("DTVENBOLPAG");
    header->resizeSection(due, 140);
    host_.reset();
    host_ = std::make_unique<DesktopHost>(login_, fromQ(gPackage));
    ASSERT_TRUE(host_->open());
    host_->window().show();
    settle();
    view_ = host_->screenView();
    EXPECT_EQ(table()->horizontalHeader()->sectionSize(tableColumn("DTVENBOLPAG")), 140);
    storeGridState(QStringLiteral("frmHabConta.dbgPadrao"), table()->model()->columnCount(), {});
}

}  // namespace
}  // namespace pag::gui

namespace pag::gui {
namespace {

// A boleto of the list whose adjustments may change: not an association, free of
// blocks, advances and remittances.
bool adjustable(ClientDataSet& b) {
    return b.FieldByName("IDBPAGREAL").AsString() != "S" &&
           b.FieldByName("IDBLOQNFFIN").AsString() != "B" &&
           b.FieldByName("NRLANCANTECIPA").IsNull() &&
           b.FieldByName("IDSITUCNABP").AsString() == "00" &&
           b.FieldByName("IDTPCTPAGAR").AsString() != "2";
}

TEST_F(ClerkFlows, AnAdjustmentIsPickedTypedSavedAndRemovedFromTheToolbar) {
    bool found = false;
    view_->act([&] {
        for (boletos().First(); !boletos().Eof() && !found; boletos().Next())
            found = adjustable(boletos());
        boletos().Prior();
    });
    settle();
    ASSERT_TRUE(found);
    const std::string filial = boletos().FieldByName("CDFILIAL").AsString();
    const std::string lanc = boletos().FieldByName("NRLANBOLPAG").AsString();
    const double before = stored("VRFINALBPAG", filial.c_str(), lanc.c_str()).asFloat();
    clickTab("tshAjustes");
    Grid& grid = control<Grid>("dbgAjuste");
    auto* adjustments = qobject_cast<QTableView*>(view_->widgetFor(grid));
    ASSERT_NE(adjustments, nullptr);
    const int rows = adjustments->model()->rowCount();

    // The new row shows with its lookup button; the list picks the type.
    toolButton("sbtIncluir")->click();
    settle();
    ASSERT_EQ(adjustments->model()->rowCount(), rows + 1);
    auto* lookup = adjustments->viewport()->findChild<QToolButton*>(QStringLiteral("gridLookup"));
    ASSERT_NE(lookup, nullptr);
    ASSERT_TRUE(lookup->isVisible());
    bool picked = false;
    pickNext(QStringLiteral("taxa"), picked);
    lookup->click();
    settle();
    ASSERT_TRUE(picked);
    const int row = adjustments->currentIndex().row();
    auto cell = [&](int column) {
        return adjustments->model()->index(row, column).data().toString();
    };
    EXPECT_EQ(cell(1), QStringLiteral("TAXA BANCARIA"));
    EXPECT_EQ(cell(2), QStringLiteral("Acréscimo"));

    // The amount is typed in its cell and the toolbar confirms.
    clickCell(adjustments, adjustments->model()->index(row, 3));
    settle();
    typeText(adjustments, QStringLiteral("12,50"));
    toolButton("sbtConfirmar")->click();
    settle();
    EXPECT_EQ(grid.DataSet()->State(), DataSetState::Browse);
    EXPECT_EQ(adjustments->model()->rowCount(), rows + 1);
    EXPECT_DOUBLE_EQ(stored("VRFINALBPAG", filial.c_str(), lanc.c_str()).asFloat(),
                     RoundDec(before + 12.5, 2));
    EXPECT_EQ(cell(3), QStringLiteral("12,50"));

    // Delete in the grid leaves a stored row alone; the toolbar asks and removes it.
    press(adjustments, Qt::Key_Delete);
    typeText(adjustments, QStringLiteral("9"));
    settle();
    EXPECT_EQ(adjustments->model()->rowCount(), rows + 1);
    EXPECT_EQ(grid.DataSet()->State(), DataSetState::Browse);
    boxes_.answers = {QStringLiteral("Sim")};
    toolButton("sbtExcluir")->click();
    settle();
    EXPECT_TRUE(boxes_.seen.contains(QStringLiteral("Confirma a exclusão do registro?")));
    EXPECT_EQ(adjustments->model()->rowCount(), rows);
    EXPECT_DOUBLE_EQ(stored("VRFINALBPAG", filial.c_str(), lanc.c_str()).asFloat(), before);
}

}  // namespace
}  // namespace pag::gui

namespace pag::gui {
namespace {

// Marks a boleto of a supplier with advances, accepts them (the return notes are
// declined) and runs step on the deductions dialog while it shows.
class DeductionFlows : public ClerkFlows {
protected:
    void markWithDeductions(const char* filial, const char* lancamento,
                            const std::function<void(FormView&)>& step) {
        goToBoleto(filial, lancamento);
        boxes_.answers = {QStringLiteral("Sim"), QStringLiteral("Não")};
        bool shown = false;
        host_->ui().onModalShown = [&](QDialog& dialog) {
            auto* form = qobject_cast<FormDialog*>(&dialog);
            ASSERT_NE(form, nullptr);
            shown = true;
            settle();
            step(form->view());
            settle();
            EXPECT_FALSE(dialog.isVisible()) << "o abatimento ficou aberto";
            if (dialog.isVisible()) dialog.reject();
        };
        clickCell(table(),
                  table()->model()->index(boletos().RecNo() - 1, tableColumn("IDMARCADO")));
        settle();
        host_->ui().onModalShown = nullptr;
        EXPECT_TRUE(shown) << "o abatimento não abriu";
        EXPECT_TRUE(boxes_.seen.contains(
            QStringLiteral("Fornecedor possui adiantamento! Deseja utilizá-lo?")));
    }
    QToolButton* dialogButton(FormView& dialog, const char* name) {
        return qobject_cast<QToolButton*>(dialog.widgetFor(dialog.form().Get<SpeedButton>(name)));
    }
};

TEST_F(DeductionFlows, AnAdvanceIsDeductedByMouseAndKeysAndTheBoletoMarkedLower) {
    const double before = stored("VRFINALBPAG", "0001", "0000000025").asFloat();
    double deducted = 0;
    markWithDeductions("0001", "0000000025", [&](FormView& dialog) {
        Form& f = dialog.form();
        EXPECT_EQ(dialog.window()->windowTitle(), QStringLiteral("Descontar Adiantamento"));
        auto* advances = qobject_cast<QTableView*>(dialog.widgetFor(f.Get<Grid>("dbgPadrao")));
        ASSERT_NE(advances, nullptr);
        ASSERT_GT(advances->model()->rowCount(), 0);
        clickCell(advances, advances->model()->index(0, 0), true);
        settle();
        ClientDataSet& rows = *f.Get<Grid>("dbgPadrao").DataSet();
        deducted = rows.FieldByName("VRDESCONTO").AsFloat();
        EXPECT_GT(deducted, 0);
        auto* total = qobject_cast<QLineEdit*>(dialog.widgetFor(f.Get<Control>("nedVrADesc")));
        EXPECT_EQ(fromQ(total->text()), formatFloat("#,##0.00", deducted));
        auto* tipo = qobject_cast<QLineEdit*>(dialog.widgetFor(f.Get<Control>("medAjDescPag")));
        clickInto(tipo);
        typeText(tipo, QStringLiteral("20"));
        press(tipo, Qt::Key_Tab);
        settle();
        EXPECT_EQ(
            qobject_cast<QLineEdit*>(dialog.widgetFor(f.Get<Control>("edtAjDescPag")))->text(),
            QStringLiteral("DESCONTO DE ADIANTAMENTO"));
        dialogButton(dialog, "sbtConfirma")->click();
    });
    EXPECT_EQ(boletos().FieldByName("IDMARCADO").AsString(), "S");
    EXPECT_DOUBLE_EQ(stored("VRFINALBPAG", "0001", "0000000025").asFloat(),
                     RoundDec(before - deducted, 2));
    EXPECT_DOUBLE_EQ(control<NumberEdit>("nedTotal").GetNumber(), RoundDec(before - deducted, 2));
    EXPECT_EQ(shown("nedCont"), QStringLiteral("1"));
}

TEST_F(DeductionFlows, CancellingMarksTheBoletoWithItsValue) {
    const double before = stored("VRFINALBPAG", "0001", "0000000097").asFloat();
    markWithDeductions("0001", "0000000097",
                       [&](FormView& dialog) { dialogButton(dialog, "sbtCancel")->click(); });
    EXPECT_EQ(boletos().FieldByName("IDMARCADO").AsString(), "S");
    EXPECT_DOUBLE_EQ(stored("VRFINALBPAG", "0001", "0000000097").asFloat(), before);
    EXPECT_DOUBLE_EQ(control<NumberEdit>("nedTotal").GetNumber(), RoundDec(before, 2));
    EXPECT_EQ(shown("nedCont"), QStringLiteral("1"));
}

}  // namespace
}  // namespace pag::gui

#include "gui/screenshots.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QMdiSubWindow>
#include <QPixmap>
#include <QProcess>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <algorithm>
#include <stdexcept>

#include "contracts/consiste.h"
#include "gui/cashout_chart.h"
#include "gui/desktop_host.h"
#include "gui/form_dialog.h"
#include "gui/qt_text.h"
#include "platform/format.h"
#include "platform/ui/buttons.h"
#include "platform/ui/edit.h"
#include "platform/ui/grid.h"
#include "platform/ui/menu.h"
#include "platform/ui/page_control.h"

namespace pag::gui {

namespace {

void settle() {
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

// The first grid on a page that does not show all its columns, scrolled one view to
// the right.
QTableView* scrolledGrid(QWidget* page) {
    if (!page) return nullptr;
    for (QTableView* table : page->findChildren<QTableView*>()) {
        QScrollBar* bar = table->horizontalScrollBar();
        if (!table->isVisible() || bar->maximum() == 0) continue;
        bar->setValue(std::min(bar->maximum(), table->viewport()->width() - 40));
        return table;
    }
    return nullptr;
}

// The pages show the first boleto whose value was adjusted, so the adjustment page
// has rows to show.
void showAdjustedBoleto(FormView& view) {
    auto* grid = dynamic_cast<Grid*>(view.form().Find("dbgPadrao"));
    ClientDataSet* boletos = grid ? grid->DataSet() : nullptr;
    if (!boletos || !boletos->Active() || !boletos->FindField("VRBOLPAG") ||
        !boletos->FindField("VRFINALBPAG"))
        return;
    for (int row = 1; row <= boletos->RecordCount(); ++row) {
        DisplayRecordScope scope(*boletos, row);
        const double original = boletos->FieldByName("VRBOLPAG").AsFloat();
        if (RoundDec(original, 2) == RoundDec(boletos->FieldByName("VRFINALBPAG").AsFloat(), 2))
            continue;
        view.act([&] { boletos->SetRecNo(row); });
        return;
    }
}

QString save(QWidget& w, const QDir& dir, const QString& name) {
    const QString path = dir.filePath(name + QStringLiteral(".png"));
    if (!w.grab().save(path)) throw std::runtime_error("não foi possível gravar " + fromQ(path));
    return path;
}

// The first page of the printable list of the boletos listed, as "Salvar lista em PDF"
// saves it, rendered by pdftoppm (poppler-utils).
QString listPdfScreenshot(DesktopHost& host, FormView& view, const QDir& dir) {
    auto* item = dynamic_cast<MenuItem*>(view.form().Find("mnuSalvaPdf"));
    if (!item) return {};
    QTemporaryDir tmp;
    const QString pdf = tmp.filePath(QStringLiteral("lista.pdf"));
    host.ui().answerSaveFile = [&](const QString&) { return std::optional<QString>(pdf); };
    view.act([&] { item->Click(); });
    host.ui().answerSaveFile = nullptr;
    const QString base = dir.filePath(QStringLiteral("lista-pdf"));
    const int rc =
        QProcess::execute(QStringLiteral("pdftoppm"),
                          {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("70"),
                           QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                           QStringLiteral("1"), QStringLiteral("-singlefile"), pdf, base});
    if (rc != 0) throw std::runtime_error("pdftoppm (poppler-utils) não converteu a lista em PDF");
    return base + QStringLiteral(".png");
}

// The deductions dialog on both its pages, as marking a boleto of a supplier with
// advances and return notes opens it when the clerk accepts them. Each dialog is
// grabbed and closed by its close box, which leaves the boleto as it was.
QStringList deductionScreenshots(DesktopHost& host, FormView& view, const QDir& dir) {
    QStringList files;
    auto* grid = dynamic_cast<Grid*>(view.form().Find("dbgPadrao"));
    ClientDataSet* boletos = grid ? grid->DataSet() : nullptr;
    const int mark = grid ? IndiceCol(*grid, "IDMARCADO") : -1;
    if (!boletos || !boletos->Active() || mark < 0) return files;
    host.ui().answerQuestion = [](const QString&) { return true; };
    host.ui().onModalShown = [&](QDialog& dialog) {
        settle();
        const bool returns = dialog.windowTitle().contains(QStringLiteral("Devolu"));
        files << save(dialog, dir,
                      returns ? QStringLiteral("abatimento-devolucao")
                              : QStringLiteral("abatimento-adiantamento"));
        dialog.reject();
    };
    for (int row = 1; row <= boletos->RecordCount() && files.isEmpty(); ++row) {
        view.act([&] { boletos->SetRecNo(row); });
        if (boletos->FieldByName("IDBPAGREAL").AsString() == "S") continue;
        view.act([&] { grid->ClickCell(mark); });
        // Marked without an offer: the mark is taken back.
        if (files.isEmpty() && boletos->FieldByName("IDMARCADO").AsString() == "S")
            view.act([&] { grid->ClickCell(mark); });
    }
    host.ui().answerQuestion = nullptr;
    host.ui().onModalShown = nullptr;
    return files;
}

// Keys typed on a control as the clerk types them: the focus there, then each
// character. False when the screen stopped on a message.
bool typeOn(FormView& view, Control& c, std::string_view text) {
    return view.act([&] {
        if (c.OwnerForm()) c.OwnerForm()->SetFocus(c);
        if (auto* edit = dynamic_cast<CustomEdit*>(&c)) edit->SelectAll();
        if (auto* grid = dynamic_cast<Grid*>(&c)) grid->SelectEditorText();
        for (char ch : text)
            c.KeyPress(static_cast<KeyChar>(static_cast<unsigned char>(ch)));
    });
}

// The keys of a date as typed in a date edit: its digits, the mask adds the slashes.
std::string dateKeys(Date d) {
    std::string keys;
    for (char ch : d.toString())
        if (ch != '/') keys += ch;
    return keys;
}

// The edit in progress is given up ("Sim" to the question): the stored values come
// back and nothing is saved.
void cancelEdit(DesktopHost& host, FormView& view) {
    host.ui().answerQuestion = [](const QString&) { return true; };
    if (auto* cancel = dynamic_cast<SpeedButton*>(view.form().Find("sbtCancelar")))
        view.act([&] { view.form().ClickControl(*cancel); });
    host.ui().answerQuestion = nullptr;
    settle();
}

bool showPage(FormView& view, const char* name) {
    auto* pages = dynamic_cast<PageControl*>(view.form().Find("pgcPadrao"));
    auto* page = dynamic_cast<Page*>(view.form().Find(name));
    if (!pages || !page || !page->TabVisible()) return false;
    return view.act([&] { pages->SelectPage(*page); }) && pages->ActivePage() == page;
}

// A boleto whose due date and installments may change: not an association, free of
// blocks, advances, remittances and adjustments.
bool changeable(ClientDataSet& b) {
    return b.FieldByName("IDBPAGREAL").AsString() != "S" &&
           b.FieldByName("IDBLOQNFFIN").AsString() != "B" &&
           b.FieldByName("NRLANCANTECIPA").IsNull() &&
           b.FieldByName("IDSITUCNABP").AsString() == "00" &&
           b.FieldByName("IDTPCTPAGAR").AsString() != "2" &&
           RoundDec(b.FieldByName("VRBOLPAG").AsFloat(), 2) ==
               RoundDec(b.FieldByName("VRFINALBPAG").AsFloat(), 2);
}

// Puts the cursor on the first changeable boleto; false when the list has none.
bool showChangeableBoleto(FormView& view) {
    auto* grid = dynamic_cast<Grid*>(view.form().Find("dbgPadrao"));
    ClientDataSet* boletos = grid ? grid->DataSet() : nullptr;
    if (!boletos || !boletos->Active()) return false;
    for (int row = 1; row <= boletos->RecordCount(); ++row) {
        {
            DisplayRecordScope scope(*boletos, row);
            if (!changeable(*boletos)) continue;
        }
        return view.act([&] { boletos->SetRecNo(row); });
    }
    return false;
}

// The page "Vencimento" while an extension is typed: a new date and reason 02, the rest
// of the screen locked. Cancelled afterwards.
QStringList extensionScreenshot(DesktopHost& host, FormView& view, const QDir& dir) {
    Form& form = view.form();
    auto* date = dynamic_cast<CustomEdit*>(form.Find("depVencimento"));
    Control* reason = form.Find("edtCdMotiPro");
    if (!date || !reason || !showChangeableBoleto(view) || !showPage(view, "tshProrrogacao"))
        return {};
    const Date nova = Date::parse(date->Text()).addDays(10);
    QStringList files;
    if (typeOn(view, *date, dateKeys(nova)) && typeOn(view, *reason, "2") &&
        view.act([&] { form.SetFocus(*date); })) {
        settle();
        files << save(host.window(), dir, QStringLiteral("prorrogacao-edicao"));
    }
    cancelEdit(host, view);
    return files;
}

// The page "Parcelamento" while a split is typed: the first installment with its value
// and reason, the second appended with what was left and its value being retyped.
QStringList splitScreenshot(DesktopHost& host, FormView& view, const QDir& dir) {
    Form& form = view.form();
    auto* grid = dynamic_cast<Grid*>(form.Find("dbgParcelamento"));
    auto* change = dynamic_cast<SpeedButton*>(form.Find("sbtAlterar"));
    ClientDataSet* rows = grid ? grid->DataSet() : nullptr;
    if (!rows || !change || !showChangeableBoleto(view) || !showPage(view, "tshParcelamento"))
        return {};
    const int value = IndiceCol(*grid, "VRFINALBPAG");
    const int reason = IndiceCol(*grid, "CDMOTIPARC");
    QStringList files;
    const auto money = [](double v) { return formatFloat("0.00", RoundDec(v, 2)); };
    const double total = rows->Active() ? rows->FieldByName("VRFINALBPAG").AsFloat() : 0;
    const bool typed =
        rows->RecordCount() == 1 && total > 1 && view.act([&] { form.ClickControl(*change); }) &&
        rows->State() == DataSetState::Edit && view.act([&] { grid->SetSelectedIndex(value); }) &&
        typeOn(view, *grid, money(total * 0.4)) &&
        view.act([&] { grid->SetSelectedIndex(reason); }) && typeOn(view, *grid, "1") &&
        view.act([&] { grid->KeyDown(Key::Down); }) && typeOn(view, *grid, "2") &&
        view.act([&] { grid->SetSelectedIndex(value); }) &&
        typeOn(view, *grid, money(total * 0.35));
    if (typed) {
        settle();
        files << save(host.window(), dir, QStringLiteral("parcelamento-edicao"));
    }
    cancelEdit(host, view);
    return files;
}

// Marks or unmarks the boletos at these rows by a click on their mark cell, with every
// question about the supplier's advances and returns answered No.
bool toggleMarks(DesktopHost& host, FormView& view, Grid& grid, const std::vector<int>& rows) {
    ClientDataSet* boletos = grid.DataSet();
    host.ui().answerQuestion = [](const QString&) { return false; };
    bool ok = true;
    for (int row : rows)
        ok = ok && view.act([&] {
            boletos->SetRecNo(row);
            grid.ClickCell(IndiceCol(grid, "IDMARCADO"));
        });
    host.ui().answerQuestion = nullptr;
    settle();
    return ok;
}

// The payment page of a real boleto being associated from two marked boletos of one
// supplier. Cancelled and unmarked afterwards: nothing is saved.
QStringList groupingScreenshot(DesktopHost& host, FormView& view, const QDir& dir) {
    Form& form = view.form();
    auto* grid = dynamic_cast<Grid*>(form.Find("dbgPadrao"));
    auto* associate = dynamic_cast<SpeedButton*>(form.Find("sbtAgrupa"));
    ClientDataSet* boletos = grid ? grid->DataSet() : nullptr;
    if (!boletos || !associate || !boletos->Active() || !showPage(view, "tshFolhaDados")) return {};
    std::vector<int> pair;
    std::string supplier;
    for (int row = 1; row <= boletos->RecordCount() && pair.size() < 2; ++row) {
        DisplayRecordScope scope(*boletos, row);
        if (!changeable(*boletos) || boletos->FieldByName("IDMARCADO").AsString() == "S") continue;
        const std::string code = boletos->FieldByName("CDFORNECED").AsString();
        if (pair.empty() || code != supplier)
            pair = {row};
        else
            pair.push_back(row);
        supplier = code;
    }
    if (pair.size() < 2 || !toggleMarks(host, view, *grid, pair)) return {};
    QStringList files;
    host.ui().answerQuestion = [](const QString&) { return true; };
    const bool inserted = view.act([&] { form.ClickControl(*associate); }) &&
                          boletos->State() == DataSetState::Insert;
    host.ui().answerQuestion = nullptr;
    if (inserted) {
        settle();
        files << save(host.window(), dir, QStringLiteral("agrupamento"));
    }
    cancelEdit(host, view);
    showPage(view, "tshFolhaDados");
    toggleMarks(host, view, *grid, pair);
    return files;
}

// The automatic enabling dialog over three marked boletos, its due date, reason and
// paying account typed. Closed by its close box: nothing is enabled, and the list is
// read again without the marks.
QStringList autoEnablingScreenshot(DesktopHost& host, FormView& view, const QDir& dir) {
    Form& form = view.form();
    auto* grid = dynamic_cast<Grid*>(form.Find("dbgPadrao"));
    auto* command = dynamic_cast<SpeedButton*>(form.Find("sbtHabAuto"));
    ClientDataSet* boletos = grid ? grid->DataSet() : nullptr;
    if (!boletos || !command || !boletos->Active() || !showPage(view, "tshFolhaDados")) return {};
    std::vector<int> rows;
    for (int row = 1; row <= boletos->RecordCount() && rows.size() < 3; ++row) {
        DisplayRecordScope scope(*boletos, row);
        if (changeable(*boletos) && boletos->FieldByName("IDMARCADO").AsString() != "S")
            rows.push_back(row);
    }
    if (rows.empty() || !toggleMarks(host, view, *grid, rows) || !command->IsUsable()) return {};
    QStringList files;
    host.ui().onModalShown = [&](QDialog& dialog) {
        auto* shown = qobject_cast<FormDialog*>(&dialog);
        settle();
        if (!shown) return dialog.reject();
        FormView& dialogView = shown->view();
        Form& f = dialogView.form();
        Control* date = f.Find("depVencimento");
        Control* reason = f.Find("medTpProrroga");
        Control* account = f.Find("medReduCont");
        if (date && reason && account && typeOn(dialogView, *date, dateKeys(Date::today())) &&
            typeOn(dialogView, *reason, "1") && typeOn(dialogView, *account, "1") &&
            dialogView.act([&] { f.SetFocus(*date); })) {
            settle();
            files << save(dialog, dir, QStringLiteral("habilitacao-automatica"));
        }
        dialog.reject();
    };
    view.act([&] { form.ClickControl(*command); });
    host.ui().onModalShown = nullptr;
    settle();
    return files;
}

// The boletos of a company due within a month either side of today, as the clerk asks
// for them: the company typed in the top panel, the filter dialog that leaving it opens
// given the due-date range and confirmed. False when the list could not be read.
bool listCompanyMonth(DesktopHost& host, FormView& view, const char* company) {
    Form& form = view.form();
    Control* panel = form.Find("medEmpresa");
    Control* grid = form.Find("dbgPadrao");
    if (!panel || !grid || !showPage(view, "tshFolhaDados") || !typeOn(view, *panel, company))
        return false;
    bool filtered = false;
    host.ui().onModalShown = [&](QDialog& dialog) {
        auto* shown = qobject_cast<FormDialog*>(&dialog);
        settle();
        if (!shown) return dialog.reject();
        FormView& filterView = shown->view();
        Form& f = filterView.form();
        Control* from = f.Find("depDataIni");
        Control* to = f.Find("depDataFin");
        auto* confirm = dynamic_cast<SpeedButton*>(f.Find("sbtConfirma"));
        filtered = from && to && confirm &&
                   typeOn(filterView, *from, dateKeys(Date::today().addDays(-31))) &&
                   typeOn(filterView, *to, dateKeys(Date::today().addDays(31))) &&
                   filterView.act([&] { f.ClickControl(*confirm); });
        if (shown->isVisible()) dialog.reject();
    };
    view.act([&] { form.SetFocus(*grid); });
    host.ui().onModalShown = nullptr;
    settle();
    return filtered;
}

// The cash going out per day over a month each way, as "Saída de caixa por dia" shows
// it, and the list
// narrowed to the day with the most boletos of the chart's window; the chart is
// closed again, which shows the whole list.
QStringList cashOutScreenshots(DesktopHost& host, FormView& view, const QDir& dir) {
    auto* item = dynamic_cast<MenuItem*>(view.form().Find("mnuSaidaCaixa"));
    if (!item || !listCompanyMonth(host, view, "01")) return {};
    view.act([&] { item->Click(); });
    CashOutChart* chart = host.ui().cashOutChart();
    if (!chart) throw std::runtime_error("a saída de caixa por dia não abriu");
    chart->resize(1000, 560);
    settle();
    QStringList files{save(*chart, dir, QStringLiteral("saida-caixa"))};
    const size_t first = chart->firstShown();
    if (!chart->data().days.empty()) {
        chart->chooseBar(static_cast<int>(chart->data().Busiest(first, kCashOutDaysShown) - first));
        settle();
        files << save(host.window(), dir, QStringLiteral("saida-caixa-dia"));
    }
    chart->close();
    settle();
    return files;
}

// The tax guide dialog on each of its six pages, opened by its command on a boleto of
// each guide kind (DARF Normal and DARF Simples are company 02's). Each dialog shows the
// guide its boleto carries, is grabbed and cancelled: nothing is stored.
QStringList taxGuideScreenshots(DesktopHost& host, FormView& view, const QDir& dir) {
    const struct {
        const char* company;
        const char* kind;
        const char* file;
    } kinds[] = {{"01", "G", "guia-gps"},  {"01", "U", "guia-fgts"},
                 {"01", "J", "guia-darj"}, {"01", "X", "guia-gare"},
                 {"02", "I", "guia-darf"}, {"02", "H", "guia-darf-simples"}};
    Form& form = view.form();
    auto* grid = dynamic_cast<Grid*>(form.Find("dbgPadrao"));
    auto* command = dynamic_cast<SpeedButton*>(form.Find("sbtCadGuiaImp"));
    ClientDataSet* boletos = grid ? grid->DataSet() : nullptr;
    if (!boletos || !command) return {};
    QStringList files;
    std::string listed;
    for (const auto& k : kinds) {
        if (listed != k.company && !listCompanyMonth(host, view, k.company)) continue;
        listed = k.company;
        if (!boletos->Active() ||
            !view.act([&] { boletos->Locate("IDBAIXAUTILP", {Value(k.kind)}); }) ||
            boletos->FieldByName("IDBAIXAUTILP").AsString() != k.kind || !command->IsUsable())
            continue;
        host.ui().onModalShown = [&](QDialog& dialog) {
            settle();
            files << save(dialog, dir, QString::fromLatin1(k.file));
            dialog.reject();
        };
        view.act([&] { form.ClickControl(*command); });
        host.ui().onModalShown = nullptr;
        settle();
    }
    return files;
}

}  // namespace

QStringList takeScreenshots(DesktopHost& host, const QString& dirName) {
    QDir dir(dirName);
    if (!dir.mkpath(QStringLiteral(".")))
        throw std::runtime_error("não foi possível criar a pasta " + fromQ(dirName));
    FormView* view = host.screenView();
    if (!view) throw std::runtime_error("a tela Boleto não está aberta");
    host.window().show();
    settle();
    Form& form = view->form();
    showAdjustedBoleto(*view);
    settle();
    QStringList files;
    int n = 0;
    for (Control* c : form.Controls()) {
        auto* pages = dynamic_cast<PageControl*>(c);
        if (!pages) continue;
        for (Page* page : pages->Pages()) {
            if (!page->TabVisible()) continue;
            view->act([&] { pages->SelectPage(*page); });
            settle();
            const QString name =
                QStringLiteral("%1-%2").arg(++n, 2, 10, QLatin1Char('0')).arg(toQ(page->Name()));
            files << save(host.window(), dir, name);
            // A grid wider than its page: once more with its last columns in view.
            auto* tabs = qobject_cast<QTabWidget*>(view->widgetFor(*pages));
            if (QTableView* wide = scrolledGrid(tabs ? tabs->currentWidget() : nullptr)) {
                settle();
                files << save(host.window(), dir, name + QStringLiteral("-direita"));
                wide->horizontalScrollBar()->setValue(0);
            }
        }
        // Back to the first page, where the filter is asked for.
        view->act([&] { pages->SelectPage(*pages->Pages().front()); });
    }
    // The filter dialog, as the user opens it: the filter button when it is on, else
    // leaving the company panel for the grid. Grabbed once on screen, then cancelled.
    host.ui().onModalShown = [&](QDialog& dialog) {
        settle();
        files << save(dialog, dir, QStringLiteral("filtro"));
        dialog.reject();
    };
    auto* filter = dynamic_cast<SpeedButton*>(form.Find("sbtFiltro"));
    Control* company = form.Find("medEmpresa");
    Control* grid = form.Find("dbgPadrao");
    if (filter && filter->IsUsable()) {
        view->act([&] { form.ClickControl(*filter); });
    } else if (company && grid) {
        view->act([&] { form.SetFocus(*company); });
        view->act([&] { form.SetFocus(*grid); });
    }
    host.ui().onModalShown = nullptr;
    files << listPdfScreenshot(host, *view, dir);
    files << deductionScreenshots(host, *view, dir);
    files << extensionScreenshot(host, *view, dir);
    files << splitScreenshot(host, *view, dir);
    files << groupingScreenshot(host, *view, dir);
    files << autoEnablingScreenshot(host, *view, dir);
    // Last: they list other boletos, of both companies.
    files << cashOutScreenshots(host, *view, dir);
    files << taxGuideScreenshots(host, *view, dir);
    return files;
}

}  // namespace pag::gui

// The cash going out per day, from the screen's "Operação" menu through the real
// widgets: the chart's bars against the list, a bar's totals on hover, and a click on a
// day narrowing the grid (with the totals under it) until the way back is taken.
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QScrollBar>
#include <QToolTip>
#include <map>

#include "desktop_fixture.h"
#include "gui/cashout_chart.h"
#include "platform/format.h"

namespace pag::gui {
namespace {

constexpr const char* kItem = "&Saída de caixa por dia...";

class CashOutFlows : public DesktopScreen {
protected:
    CashOutChart* openChart() {
        QAction* item = menuAction(QString::fromUtf8(kItem));
        EXPECT_NE(item, nullptr);
        if (!item) return nullptr;
        item->trigger();
        settle();
        EXPECT_TRUE(boxes_.seen.isEmpty()) << fromQ(boxes_.seen.join(' '));
        CashOutChart* chart = host_->ui().cashOutChart();
        EXPECT_NE(chart, nullptr);
        EXPECT_TRUE(chart && chart->isVisible());
        return chart;
    }

    // Where bar `bar` of a set is drawn, in the chart view's viewport: the middle of it.
    QPoint barCentre(CashOutChart& chart, QBarSet* set, int bar) {
        QChart* c = chart.chartView()->chart();
        auto* series = qobject_cast<QBarSeries*>(c->series().front());
        // Two sets share a category's width (half of it by default), one beside the other.
        const qreal offset = set == chart.enabledSet() ? -0.125 : 0.125;
        const QPointF inChart = c->mapToPosition(QPointF(bar + offset, set->at(bar) / 2), series);
        return chart.chartView()->mapFromScene(c->mapToScene(inChart));
    }

    void mouseAt(CashOutChart& chart, QEvent::Type type, QPoint at) {
        QWidget* vp = chart.chartView()->viewport();
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent e(type, at, vp->mapToGlobal(at), button,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, {});
        QApplication::sendEvent(vp, &e);
        settle();
    }

    void clickBar(CashOutChart& chart, QBarSet* set, int bar) {
        const QPoint at = barCentre(chart, set, bar);
        mouseAt(chart, QEvent::MouseMove, at);
        mouseAt(chart, QEvent::MouseButtonPress, at);
        mouseAt(chart, QEvent::MouseButtonRelease, at);
    }

    // The bar of the window with the most boletos (both sides drawn when there is one).
    int busiestBar(CashOutChart& chart) {
        const size_t first = chart.firstShown();
        return static_cast<int>(chart.data().Busiest(first, kCashOutDaysShown) - first);
    }

    int gridRows() { return table()->model()->rowCount(); }
    QString countLabel() {
        auto* label = qobject_cast<QLabel*>(view_->widgetFor(control<Label>("lblQtdBoletos")));
        return label ? label->text() : QString();
    }
};

TEST_F(CashOutFlows, MenuOpensTheChartWhoseBarsAreTheListsSumsPerDay) {
    listDaysEachWay(366);
    CashOutChart* chart = openChart();
    ASSERT_NE(chart, nullptr);
    // The list's sums per due date, enabled and not.
    std::map<int32_t, std::pair<int64_t, int64_t>> perDay;
    ClientDataSet& cds = boletos();
    for (int r = 1; r <= cds.RecordCount(); ++r) {
        DisplayRecordScope reg(cds, r);
        auto& d = perDay[cds.FieldByName("DTVENBOLPAG").AsDateTime().serial()];
        const int64_t cents = roundToCents(cds.FieldByName("VRFINALBPAG").AsFloat());
        (cds.FieldByName("IDHABIBPAG").AsString() == "S" ? d.first : d.second) += cents;
    }
    auto* axis =
        qobject_cast<QBarCategoryAxis*>(chart->chartView()->chart()->axes(Qt::Horizontal).front());
    ASSERT_NE(axis, nullptr);
    const int bars = chart->enabledSet()->count();
    ASSERT_EQ(bars, static_cast<int>(std::min(perDay.size(), kCashOutDaysShown)));
    ASSERT_EQ(axis->count(), bars);
    auto it = perDay.begin();
    std::advance(it, static_cast<long>(chart->firstShown()));
    for (int i = 0; i < bars; ++i, ++it) {
        const Date day = Date::fromSerial(it->first);
        SCOPED_TRACE(day.toString());
        EXPECT_EQ(chart->dayAt(i).day, day);
        EXPECT_EQ(axis->at(i), QString::asprintf("%02d/%02d", day.day(), day.month()));
        EXPECT_EQ(roundToCents(chart->enabledSet()->at(i)), it->second.first);
        EXPECT_EQ(roundToCents(chart->otherSet()->at(i)), it->second.second);
    }
    // More days than a window: the scroll bar moves it, day by day.
    if (perDay.size() > kCashOutDaysShown) {
        ASSERT_TRUE(chart->scrollBar()->isVisible());
        chart->scrollBar()->setValue(0);
        settle();
        EXPECT_EQ(chart->dayAt(0).day, Date::fromSerial(perDay.begin()->first));
        EXPECT_EQ(roundToCents(chart->otherSet()->at(0)), perDay.begin()->second.second);
    }
}

TEST_F(CashOutFlows, HoverTellsTheDaysTotalsAndAClickNarrowsTheGridUntilShownAllAgain) {
    listDaysEachWay(366);
    const int all = gridRows();
    const QString allLabel = countLabel();
    const QString allTotal = shown("nedTotal");
    CashOutChart* chart = openChart();
    ASSERT_NE(chart, nullptr);
    chart->resize(1000, 600);
    settle();
    const int bar = busiestBar(*chart);
    const CashOutDay day = chart->dayAt(bar);
    QBarSet* set = day.enabledCents > 0 ? chart->enabledSet() : chart->otherSet();

    // Hover: the day, each side and the day's total, in pt-BR money.
    mouseAt(*chart, QEvent::MouseMove, barCentre(*chart, set, bar));
    const QString tip = QToolTip::text();
    EXPECT_EQ(tip, toQ(CashOutTooltip(day)));
    EXPECT_TRUE(tip.contains(toQ("Total do dia: " + CashOutMoney(day.totalCents())))) << fromQ(tip);
    EXPECT_TRUE(tip.startsWith(toQ("Vencimento: " + day.day.toString()))) << fromQ(tip);

    // A click: the grid lists that day only, and says so under it.
    clickBar(*chart, set, bar);
    const long count = day.enabledCount + day.otherCount;
    ASSERT_EQ(gridRows(), count);
    EXPECT_EQ(countLabel(),
              QStringLiteral("%1 boleto%2").arg(count).arg(count == 1 ? " listado" : "s listados"));
    for (int r = 0; r < gridRows(); ++r) {
        DisplayRecordScope reg(boletos(), r + 1);
        EXPECT_EQ(boletos().FieldByName("DTVENBOLPAG").AsDateTime(), day.day);
    }
    auto* showAll = chart->findChild<QPushButton*>(QStringLiteral("btnMostrarTodos"));
    ASSERT_NE(showAll, nullptr);
    EXPECT_TRUE(showAll->isEnabled());
    auto* state = chart->findChild<QLabel*>(QStringLiteral("lblVencimentoMostrado"));
    ASSERT_NE(state, nullptr);
    EXPECT_TRUE(state->text().contains(toQ(day.day.toString()))) << fromQ(state->text());

    // Mark a boleto of the day: the totals count what the grid shows.
    clickCell(table(), table()->model()->index(0, 0));
    settle();
    EXPECT_EQ(shown("nedCont"), QStringLiteral("1"));
    {
        DisplayRecordScope reg(boletos(), 1);
        EXPECT_EQ(shown("nedTotal"),
                  toQ(formatFloat("#,##0.00", boletos().FieldByName("VRFINALBPAG").AsFloat())));
    }

    // "Mostrar todos": the whole list again, the mark kept.
    showAll->click();
    settle();
    EXPECT_EQ(gridRows(), all);
    EXPECT_EQ(countLabel(), allLabel);
    EXPECT_EQ(shown("nedCont"), QStringLiteral("1"));
    EXPECT_FALSE(showAll->isEnabled());

    // The same day clicked twice: narrowed, then all again.
    clickBar(*chart, set, bar);
    EXPECT_EQ(gridRows(), count);
    clickBar(*chart, set, bar);
    EXPECT_EQ(gridRows(), all);

    // Closing the chart also brings the whole list back.
    clickBar(*chart, set, bar);
    EXPECT_EQ(gridRows(), count);
    chart->close();
    settle();
    EXPECT_EQ(gridRows(), all);
    EXPECT_EQ(host_->ui().cashOutChart(), nullptr);
    EXPECT_NE(allTotal, QString());
    EXPECT_TRUE(boxes_.seen.isEmpty()) << fromQ(boxes_.seen.join(' '));
}

}  // namespace
}  // namespace pag::gui

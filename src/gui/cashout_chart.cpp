#include "gui/cashout_chart.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QCloseEvent>
#include <QCursor>
#include <QHBoxLayout>
#include <QLabel>
#include <QLegend>
#include <QLocale>
#include <QPushButton>
#include <QScrollBar>
#include <QToolTip>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>

#include "gui/qt_text.h"

namespace pag::gui {

namespace {

QString shortDay(Date d) {
    return d.isEmpty() ? QStringLiteral("s/ venc.")
                       : QString::asprintf("%02d/%02d", d.day(), d.month());
}

}  // namespace

CashOutChart::CashOutChart(CashOut data, size_t firstShown, CashOutActions actions, QWidget* parent)
    : QWidget(parent, Qt::Window), data_(std::move(data)), actions_(std::move(actions)) {
    setObjectName(QStringLiteral("frmSaidaCaixa"));
    setWindowTitle(QStringLiteral("Saída de caixa por dia"));
    setAttribute(Qt::WA_DeleteOnClose);
    // A chart beside the screen shows its totals also while the screen has the focus.
    setAttribute(Qt::WA_AlwaysShowToolTips);
    resize(900, 520);

    enabled_ = new QBarSet(QStringLiteral("Habilitados"));
    enabled_->setColor(QColor(0x2e, 0x7d, 0x32));
    other_ = new QBarSet(QStringLiteral("Não habilitados"));
    other_->setColor(QColor(0xef, 0x6c, 0x00));
    auto* series = new QBarSeries;
    series->append(enabled_);
    series->append(other_);
    auto* chart = new QChart;
    chart->addSeries(series);
    chart->setTitle(QStringLiteral("Valor líquido dos boletos listados por vencimento"));
    chart->setLocalizeNumbers(true);
    chart->setLocale(QLocale(QLocale::Portuguese, QLocale::Brazil));
    chart->legend()->setAlignment(Qt::AlignBottom);
    days_ = new QBarCategoryAxis;
    days_->setLabelsAngle(-90);
    values_ = new QValueAxis;
    values_->setLabelFormat(QStringLiteral("%.2f"));
    chart->addAxis(days_, Qt::AlignBottom);
    chart->addAxis(values_, Qt::AlignLeft);
    series->attachAxis(days_);
    series->attachAxis(values_);
    view_ = new QChartView(chart);
    view_->setObjectName(QStringLiteral("chtSaidaCaixa"));
    view_->setRenderHint(QPainter::Antialiasing);
    view_->setMouseTracking(true);
    view_->viewport()->setMouseTracking(true);
    for (QBarSet* set : {enabled_, other_}) {
        QObject::connect(set, &QBarSet::hovered, this,
                         [this](bool on, int bar) { hovered(on, bar); });
        QObject::connect(set, &QBarSet::clicked, this, [this](int bar) { chooseBar(bar); });
    }

    scroll_ = new QScrollBar(Qt::Horizontal);
    scroll_->setObjectName(QStringLiteral("scbDias"));
    const int total = static_cast<int>(data_.days.size());
    const int shown = static_cast<int>(kCashOutDaysShown);
    scroll_->setRange(0, std::max(0, total - shown));
    scroll_->setPageStep(shown);
    scroll_->setSingleStep(1);
    scroll_->setVisible(total > shown);
    QObject::connect(scroll_, &QScrollBar::valueChanged, this,
                     [this](int v) { showFrom(static_cast<size_t>(v)); });
    note_ = new QLabel;
    note_->setObjectName(QStringLiteral("lblJanelaDias"));
    shown_ = new QLabel;
    shown_->setObjectName(QStringLiteral("lblVencimentoMostrado"));
    showAll_ = new QPushButton(QStringLiteral("Mostrar todos"));
    showAll_->setObjectName(QStringLiteral("btnMostrarTodos"));
    QObject::connect(showAll_, &QPushButton::clicked, this, [this] {
        if (actions_.showAll) actions_.showAll();
        refresh();
    });
    auto* close = new QPushButton(QStringLiteral("Fechar"));
    close->setObjectName(QStringLiteral("btnFechar"));
    QObject::connect(close, &QPushButton::clicked, this, &QWidget::close);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(shown_, 1);
    bottom->addWidget(showAll_);
    bottom->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(view_, 1);
    layout->addWidget(scroll_);
    layout->addWidget(note_);
    layout->addLayout(bottom);

    scroll_->setValue(static_cast<int>(firstShown));
    showFrom(std::min(firstShown, static_cast<size_t>(scroll_->maximum())));
    refresh();
}

const CashOutDay& CashOutChart::dayAt(int bar) const {
    return data_.days.at(first_ + static_cast<size_t>(bar));
}

void CashOutChart::showFrom(size_t first) {
    first_ = first;
    const size_t last = std::min(first + kCashOutDaysShown, data_.days.size());
    QStringList labels;
    QList<qreal> enabled, other;
    qreal top = 0;
    for (size_t i = first; i < last; ++i) {
        const CashOutDay& d = data_.days[i];
        labels << shortDay(d.day);
        enabled << static_cast<qreal>(d.enabledCents) / 100.0;
        other << static_cast<qreal>(d.otherCents) / 100.0;
        top = std::max({top, enabled.back(), other.back()});
    }
    enabled_->remove(0, enabled_->count());
    other_->remove(0, other_->count());
    days_->clear();
    days_->append(labels);
    enabled_->append(enabled);
    other_->append(other);
    values_->setRange(0, top > 0 ? top * 1.05 : 1);
    values_->applyNiceNumbers();
    note_->setText(toQ(CashOutWindowNote(first, kCashOutDaysShown, data_.days.size())));
    note_->setVisible(!note_->text().isEmpty());
}

void CashOutChart::hovered(bool on, int bar) {
    const bool valid = on && bar >= 0 && static_cast<size_t>(bar) < data_.days.size() - first_;
    const QString text = valid ? toQ(CashOutTooltip(dayAt(bar))) : QString();
    // The tip shows at once, and stays the viewport's own while the mouse rests on the
    // bar: a window system may hide the immediate one, the hover delay brings it back.
    view_->viewport()->setToolTip(text);
    if (valid)
        QToolTip::showText(QCursor::pos(), text, view_->viewport());
    else
        QToolTip::hideText();
}

void CashOutChart::chooseBar(int bar) {
    if (bar < 0 || static_cast<size_t>(bar) >= data_.days.size() - first_) return;
    if (actions_.chooseDay) actions_.chooseDay(dayAt(bar).day);
    refresh();
}

void CashOutChart::refresh() {
    const std::optional<Date> day = actions_.dayShown ? actions_.dayShown() : std::nullopt;
    shown_->setText(day ? QStringLiteral("A lista mostra só o vencimento de %1 (clique no dia "
                                         "de novo para ver todos).")
                              .arg(toQ(CashOutDayText(*day)))
                        : QStringLiteral("A lista mostra todos os vencimentos. Clique num dia "
                                         "para ver só os boletos dele."));
    showAll_->setEnabled(day.has_value());
}

void CashOutChart::closeEvent(QCloseEvent* event) {
    if (actions_.closed) actions_.closed();
    event->accept();
}

void CashOutChart::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) refresh();
    QWidget::changeEvent(event);
}

}  // namespace pag::gui

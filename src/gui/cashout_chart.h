#pragma once

#include <QWidget>

#include "platform/export/cash_out.h"

class QBarSet;
class QBarCategoryAxis;
class QChartView;
class QValueAxis;
class QLabel;
class QPushButton;
class QScrollBar;

namespace pag::gui {

// The cash going out per due date, enabled and not enabled side by side, a window of
// days at a time with a scroll bar under it for the rest. Hovering a day tells its
// totals; clicking it narrows the screen's list to it (again: the whole list).
class CashOutChart final : public QWidget {
public:
    CashOutChart(CashOut data, size_t firstShown, CashOutActions actions, QWidget* parent);

    // What the tests reach: the chart's pieces, and the day under a bar.
    QChartView* chartView() const { return view_; }
    QBarSet* enabledSet() const { return enabled_; }
    QBarSet* otherSet() const { return other_; }
    QScrollBar* scrollBar() const { return scroll_; }
    const CashOutDay& dayAt(int bar) const;
    size_t firstShown() const { return first_; }
    const CashOut& data() const { return data_; }
    // The list's state again (the screen's own commands may have changed it).
    void refresh();
    // As a click on bar `bar` of the window shown does.
    void chooseBar(int bar);

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void showFrom(size_t first);
    void hovered(bool on, int bar);

    CashOut data_;
    CashOutActions actions_;
    size_t first_ = 0;
    QChartView* view_ = nullptr;
    QBarSet* enabled_ = nullptr;
    QBarSet* other_ = nullptr;
    QBarCategoryAxis* days_ = nullptr;
    QValueAxis* values_ = nullptr;
    QScrollBar* scroll_ = nullptr;
    QLabel* note_ = nullptr;
    QLabel* shown_ = nullptr;
    QPushButton* showAll_ = nullptr;
};

}  // namespace pag::gui

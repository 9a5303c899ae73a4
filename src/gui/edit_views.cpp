// Text, masked, number and date edits: the model's text is what shows, and every key
// the user types goes to the model one by one at the edit's cursor (its key handlers,
// case rule and mask decide), so digits typed without separators fill a mask.
#include <QCalendarWidget>
#include <QDate>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QToolButton>
#include <QWidgetAction>
#include <algorithm>

#include "gui/control_views.h"
#include "gui/form_view.h"
#include "gui/qt_text.h"
#include "platform/ui/date_edit.h"
#include "platform/ui/number_edit.h"

namespace pag::gui {

namespace {

// The weekday names the date edits use, Sunday first.
const char* const kWeekdays[] = {"Domingo", "Segunda", "Terça", "Quarta",
                                 "Quinta",  "Sexta",   "Sábado"};

QString weekdayOf(const QString& text) {
    QDate d = QDate::fromString(text.trimmed(), QStringLiteral("dd/MM/yyyy"));
    return d.isValid() ? toQ(kWeekdays[d.dayOfWeek() % 7]) : QString();
}

void drawEditText(QLineEdit* le, CustomEdit& edit) {
    const QString shown = toQ(edit.EditText());
    if (le->text() == shown) return;
    int cursor = le->cursorPosition();
    le->setText(shown);
    le->setCursorPosition(std::min(cursor, static_cast<int>(shown.size())));
}

QLineEdit* lineEditFor(FormView& view, CustomEdit& edit, QWidget* parent) {
    auto* le = new QLineEdit(parent);
    if (!edit.IsMasked() && edit.MaxLength() > 0) le->setMaxLength(edit.MaxLength());
    if (dynamic_cast<NumberEdit*>(&edit)) le->setAlignment(Qt::AlignRight);
    view.watch(le, edit);
    // Pasting and cutting change the text at once: the model gets it as the user's
    // replacing of the whole text. Single keys never come here (they go to the model).
    QObject::connect(le, &QLineEdit::textEdited, le, [&view, &edit, le](const QString& t) {
        view.editChanging(edit, [&] { view.act([&] { edit.UserReplaceText(fromQ(t)); }); });
        drawEditText(le, edit);
    });
    return le;
}

// A calendar under the date edit; the chosen day is typed into the model as digits.
QToolButton* calendarButton(FormView& view, CustomEdit& edit, QLineEdit* le, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setArrowType(Qt::DownArrow);
    button->setFocusPolicy(Qt::NoFocus);
    button->setToolTip(QStringLiteral("Calendário"));
    auto* menu = new QMenu(button);
    auto* calendar = new QCalendarWidget(menu);
    calendar->setLocale(QLocale(QLocale::Portuguese, QLocale::Brazil));
    calendar->setFirstDayOfWeek(Qt::Sunday);
    calendar->setGridVisible(true);
    calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    auto* holder = new QWidgetAction(menu);
    holder->setDefaultWidget(calendar);
    menu->addAction(holder);
    // A period edit takes the month of the day chosen.
    const auto* date = dynamic_cast<const DateEdit*>(&edit);
    const bool month = date && date->MonthYear();
    QObject::connect(menu, &QMenu::aboutToShow, calendar, [calendar, le, month] {
        const QString text = le->text().trimmed();
        QDate d =
            month ? QDate::fromString(QStringLiteral("01/") + text, QStringLiteral("dd/MM/yyyy"))
                  : QDate::fromString(text, QStringLiteral("dd/MM/yyyy"));
        calendar->setSelectedDate(d.isValid() ? d : QDate::currentDate());
    });
    QObject::connect(
        calendar, &QCalendarWidget::clicked, menu, [&view, &edit, le, menu, month](const QDate& d) {
            menu->close();
            const QString keys =
                d.toString(month ? QStringLiteral("MMyyyy") : QStringLiteral("ddMMyyyy"));
            view.act([&] {
                if (edit.OwnerForm()) edit.OwnerForm()->SetFocus(edit);
                edit.UserReplaceText(fromQ(keys));
            });
            drawEditText(le, edit);
        });
    button->setMenu(menu);
    button->setPopupMode(QToolButton::InstantPopup);
    return button;
}

}  // namespace

ControlView editView(FormView& view, CustomEdit& edit, QWidget* parent) {
    if (!dynamic_cast<DateEdit*>(&edit)) {
        QLineEdit* le = lineEditFor(view, edit, parent);
        return {le, [le, &edit] {
                    le->setReadOnly(edit.ReadOnly());
                    paintBase(le, edit.GetColour());
                    drawEditText(le, edit);
                }};
    }
    auto* box = new QWidget(parent);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(1);
    QLineEdit* le = lineEditFor(view, edit, box);
    // Room for dd/mm/yyyy and no more.
    le->setMinimumWidth(le->fontMetrics().horizontalAdvance(QStringLiteral("00/00/00000")) + 8);
    QToolButton* button = calendarButton(view, edit, le, box);
    row->addWidget(le, 1);
    row->addWidget(button);
    box->setFocusProxy(le);
    return {box, [le, button, &edit] {
                le->setReadOnly(edit.ReadOnly());
                button->setEnabled(!edit.ReadOnly());
                paintBase(le, edit.GetColour());
                drawEditText(le, edit);
                le->setToolTip(weekdayOf(le->text()));
            }};
}

void showEditCursor(QWidget* watched, const CustomEdit& edit) {
    auto* le = qobject_cast<QLineEdit*>(watched);
    if (!le) return;
    const int length = static_cast<int>(le->text().size());
    const int start = std::clamp(edit.SelStart(), 0, length);
    const int selected = std::clamp(edit.SelLength(), 0, length - start);
    if (selected > 0)
        le->setSelection(start, selected);
    else
        le->setCursorPosition(start);
}

void takeEditCursor(QWidget* watched, CustomEdit& edit) {
    auto* le = qobject_cast<QLineEdit*>(watched);
    if (!le) return;
    if (le->hasSelectedText()) {
        edit.SetSelStart(le->selectionStart());
        edit.SetSelLength(static_cast<int>(le->selectedText().size()));
    } else {
        edit.SetSelStart(le->cursorPosition());
        edit.SetSelLength(0);
    }
}

}  // namespace pag::gui

// What the desktop tests share: the screen opened on a fresh demo database inside
// this process, message boxes answered as a clerk would, and input sent to the real
// widgets as the mouse and keyboard send it.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

#include "gui/dataset_model.h"
#include "gui/desktop_host.h"
#include "gui/form_dialog.h"
#include "gui/grid_cells.h"
#include "gui/pick_dialog.h"
#include "gui/qt_text.h"
#include "platform/dataset/field.h"
#include "platform/sql/database.h"
#include "platform/ui/buttons.h"
#include "platform/ui/date_edit.h"
#include "platform/ui/edit.h"

#include <QHeaderView>
#include <QStatusBar>
#include <QTabBar>
#include <deque>

namespace pag::gui {

extern QString gDesktop;  // the pag12000-desktop executable
extern QString gPackage;  // the package library

inline void settle() {
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

// Answers every message box that opens, from a zero-time timer: with the button of
// the next queued text, else with its default button (Enter), else its first. It
// remembers what each box said.
class BoxAnswerer {
public:
    BoxAnswerer() {
        timer_.setInterval(0);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || box->buttons().isEmpty()) return;
            seen.push_back(box->text());
            QAbstractButton* button = static_cast<QAbstractButton*>(box->defaultButton());
            if (!answers.empty()) {
                for (QAbstractButton* b : box->buttons())
                    if (b->text() == answers.front()) button = b;
                answers.pop_front();
            }
            if (!button) button = box->buttons().first();
            pressed.push_back(button->text());
            button->click();
        });
        timer_.start();
    }
    QStringList seen;
    QStringList pressed;
    std::deque<QString> answers;

private:
    QTimer timer_;
};

inline void press(QWidget* w, int key, const QString& text = {}, Qt::KeyboardModifiers m = {}) {
    QKeyEvent down(QEvent::KeyPress, key, m, text);
    QApplication::sendEvent(w, &down);
    QKeyEvent up(QEvent::KeyRelease, key, m, text);
    QApplication::sendEvent(w, &up);
}

inline void typeText(QWidget* w, const QString& text) {
    for (QChar c : text)
        press(w, c.unicode(), QString(c));
}

inline void mouse(QWidget* w, QEvent::Type type, QPoint at) {
    QMouseEvent e(type, at, w->mapToGlobal(at), Qt::LeftButton,
                  type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, {});
    QApplication::sendEvent(w, &e);
}

// A click (or double click) in a table's cell, as the mouse does it.
inline void clickCell(QTableView* table, const QModelIndex& cell, bool twice = false) {
    table->scrollTo(cell);
    QPoint at = table->visualRect(cell).center();
    QWidget* vp = table->viewport();
    mouse(vp, QEvent::MouseButtonPress, at);
    mouse(vp, QEvent::MouseButtonRelease, at);
    if (!twice) return;
    mouse(vp, QEvent::MouseButtonDblClick, at);
    mouse(vp, QEvent::MouseButtonRelease, at);
}

// A click that gives the focus as the mouse does (a sent event is not the window
// system's, so the focus is given with the mouse's reason first).
inline void clickInto(QWidget* w) {
    w->setFocus(Qt::MouseFocusReason);
    mouse(w, QEvent::MouseButtonPress, w->rect().center());
    mouse(w, QEvent::MouseButtonRelease, w->rect().center());
}

// The next pick list that opens is searched for text and accepted, as the clerk types in
// its search box and presses Enter; picked tells whether it opened.
inline void pickNext(const QString& text, bool& picked) {
    QTimer::singleShot(0, [&picked, text] {
        auto* dialog = qobject_cast<PickDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_TRUE(dialog->search(text));
        picked = true;
        dialog->accept();
    });
}

// The keys a clerk types for a date in a date edit (the mask adds the slashes).
inline QString typedDate(Date d) {
    return QString::asprintf("%02d%02d%04d", d.day(), d.month(), d.year());
}

// The line a control of a screen or dialog shows (a date edit's line inside its box);
// null when it shows none.
inline QLineEdit* lineOf(FormView& view, Control& c) {
    QWidget* w = view.widgetFor(c);
    auto* edit = qobject_cast<QLineEdit*>(w);
    return edit || !w ? edit : w->findChild<QLineEdit*>();
}

// A control's line on a dialog.
inline QLineEdit* dialogLine(FormView& dialog, const char* name) {
    return lineOf(dialog, dialog.form().Get<Control>(name));
}

// Keys go where the focus is, as the keyboard sends them, then Tab.
inline void keysThenTab(const QString& text) {
    typeText(QApplication::focusWidget(), text);
    press(QApplication::focusWidget(), Qt::Key_Tab);
    settle();
}

class DesktopScreen : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        login_.EmprProc = "01";
        login_.FiliProc = "0001";
        login_.Operador = "ADMIN";
        login_.ProcessingDate = Date::today();
        login_.DatabaseFile = fromQ(dir_.filePath(QStringLiteral("demo.db")));
        host_ = std::make_unique<DesktopHost>(login_, fromQ(gPackage));
        {
            Database db(login_.DatabaseFile);
            beforeOpening(db);
        }
        ASSERT_TRUE(host_->open());
        host_->window().show();
        settle();
        view_ = host_->screenView();
        ASSERT_NE(view_, nullptr);
    }

    // The demo database as a test wants it, before the screen reads its first list.
    virtual void beforeOpening(Database&) {}

    Form& screen() { return view_->form(); }

    template <typename T>
    T& control(const char* name) {
        return screen().Get<T>(name);
    }

    Grid& boletoGrid() { return control<Grid>("dbgPadrao"); }
    ClientDataSet& boletos() { return *boletoGrid().DataSet(); }
    QTableView* table() { return qobject_cast<QTableView*>(view_->widgetFor(boletoGrid())); }
    // Runs `open`, which must show a dialog, and `step` on the dialog while it is on
    // screen (in this process); the dialog must be closed by then. `what` names the
    // dialog in the failures.
    void withDialog(const std::function<void()>& open,
                    const std::function<void(QDialog&, FormView&)>& step, const char* what) {
        bool shown = false;
        host_->ui().onModalShown = [&](QDialog& dialog) {
            auto* form = qobject_cast<FormDialog*>(&dialog);
            ASSERT_NE(form, nullptr);
            shown = true;
            settle();
            step(dialog, form->view());
            settle();
            EXPECT_FALSE(dialog.isVisible()) << what << " ficou aberto(a)";
            if (dialog.isVisible()) dialog.reject();
        };
        open();
        settle();
        host_->ui().onModalShown = nullptr;
        EXPECT_TRUE(shown) << what << " não abriu";
    }
    // Opens the filter dialog from its toolbar button and runs step on it.
    void withFilterDialog(const std::function<void(FormDialog&)>& step) {
        auto* button =
            qobject_cast<QToolButton*>(view_->widgetFor(control<SpeedButton>("sbtFiltro")));
        ASSERT_NE(button, nullptr);
        ASSERT_TRUE(button->isEnabled());
        withDialog([&] { button->click(); },
                   [&](QDialog& d, FormView&) { step(*qobject_cast<FormDialog*>(&d)); },
                   "o filtro");
    }

    // The table column that shows a field (-1 when hidden).
    int tableColumn(const char* field) {
        auto* model = qobject_cast<DataSetTableModel*>(table()->model());
        if (!model) return -1;
        for (size_t c = 0; c < model->columns().size(); ++c)
            if (model->columns()[c].fieldName == field) return static_cast<int>(c);
        return -1;
    }

    // Moves the cursor to a boleto, as the program does.
    void goToBoleto(const char* filial, const char* lancamento) {
        view_->act([&] {
            ASSERT_TRUE(
                boletos().Locate("CDFILIAL;NRLANBOLPAG", {Value(filial), Value(lancamento)}));
        });
        settle();
    }

    // A column of a boleto as stored.
    Value stored(const char* column, const char* filial, const char* lancamento) {
        return queried(std::string("SELECT ") + column +
                           " FROM BOLETPAGAR WHERE CDFILIAL = :F AND NRLANBOLPAG = :L",
                       {{"F", Value(filial)}, {"L", Value(lancamento)}});
    }
    // The first column of the first row a query reads from the database as stored.
    Value queried(const std::string& sql,
                  const std::vector<std::pair<const char*, Value>>& params = {}) {
        Database db(login_.DatabaseFile);
        Statement st = db.prepare(sql);
        for (const auto& [name, value] : params)
            st.bind(name, value);
        return st.step() ? st.column(0) : Value();
    }

    // Every boleto of `days` days each way, through the filter dialog's confirm button.
    void listDaysEachWay(int days) {
        withFilterDialog([&](FormDialog& dialog) {
            Form& filter = dialog.view().form();
            dialog.view().act([&] {
                filter.Get<DateEdit>("depDataIni").SetDate(Date::today().addDays(-days));
                filter.Get<DateEdit>("depDataFin").SetDate(Date::today().addDays(days));
            });
            qobject_cast<QToolButton*>(
                dialog.view().widgetFor(filter.Get<SpeedButton>("sbtConfirma")))
                ->click();
        });
        ASSERT_TRUE(boxes_.seen.isEmpty()) << fromQ(boxes_.seen.join(' '));
    }

    // A menu item of the main window by its text ("E&xportar lista (CSV)...").
    QAction* menuAction(const QString& text) {
        for (QAction* a : view_->findChildren<QAction*>())
            if (a->text() == text) return a;
        return nullptr;
    }

    QToolButton* toolButton(const char* name) {
        return qobject_cast<QToolButton*>(view_->widgetFor(control<SpeedButton>(name)));
    }

    PageControl& pages() { return control<PageControl>("pgcPadrao"); }
    QTabWidget* tabs() { return qobject_cast<QTabWidget*>(view_->widgetFor(pages())); }
    // The text an edit shows on screen (a date edit's line inside its box).
    QLineEdit* lineEdit(const char* name) { return lineOf(*view_, control<Control>(name)); }
    QString shown(const char* name) {
        QLineEdit* edit = lineEdit(name);
        return edit ? edit->text() : QString();
    }
    // Types into an edit as the clerk does: a click, Ctrl+A, the keys.
    void retype(const char* name, const QString& text) {
        QLineEdit* edit = lineEdit(name);
        ASSERT_NE(edit, nullptr) << name;
        clickInto(edit);
        settle();
        press(edit, Qt::Key_A, QStringLiteral("a"), Qt::ControlModifier);
        typeText(edit, text);
        settle();
    }
    void leave(const char* name) {
        press(lineEdit(name), Qt::Key_Tab);
        settle();
    }
    void clickTab(const char* page) {
        const int index = control<Page>(page).PageIndex();
        QTabBar* bar = tabs()->tabBar();
        mouse(bar, QEvent::MouseButtonPress, bar->tabRect(index).center());
        mouse(bar, QEvent::MouseButtonRelease, bar->tabRect(index).center());
        settle();
    }

    QTemporaryDir dir_;
    LoginContext login_;
    BoxAnswerer boxes_;
    std::unique_ptr<DesktopHost> host_;
    FormView* view_ = nullptr;
};

}  // namespace pag::gui

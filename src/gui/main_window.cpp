#include "gui/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QProgressBar>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>

#include "gui/keys_qt.h"
#include "gui/qt_text.h"

namespace pag::gui {

namespace {

// A screen this low shows its child windows maximized.
constexpr int kLowScreenHeight = 480;

}  // namespace

QString screenCodeOf(const Form& form) {
    Control* label = form.Find("lblCodTela");
    return label ? toQ(label->Caption()) : QString();
}

MainWindow::MainWindow(UserInterface& ui, QWidget* parent)
    : QMainWindow(parent), ui_(ui), area_(new QMdiArea(this)) {
    setWindowTitle(QStringLiteral("Contas a Pagar"));
    setCentralWidget(area_);
    QMenu* file = menuBar()->addMenu(QStringLiteral("&Arquivo"));
    file->addAction(QStringLiteral("&Sair"), this, &QWidget::close);
    windowMenu_ = menuBar()->addMenu(QStringLiteral("&Janela"));
    windowMenu_->addAction(QStringLiteral("&Cascata"), area_, &QMdiArea::cascadeSubWindows);
    windowMenu_->addAction(QStringLiteral("&Lado a lado"), area_, &QMdiArea::tileSubWindows);
    screenCode_ = new QLabel(this);
    screenCode_->setObjectName(QStringLiteral("screenCode"));
    screenCode_->setToolTip(QStringLiteral("Código da tela"));
    busy_ = new QProgressBar(this);
    busy_->setRange(0, 0);  // no end known: a server call
    busy_->setMaximumWidth(120);
    busy_->setMaximumHeight(14);
    busy_->setTextVisible(false);
    busy_->hide();
    statusBar()->addPermanentWidget(busy_);
    statusBar()->addPermanentWidget(screenCode_);
    connect(area_, &QMdiArea::subWindowActivated, this, &MainWindow::childActivated);
    // Room for a 769 x 515 child window with the suite's frame around it.
    resize(800, 600);
}

MainWindow::~MainWindow() {
    // The views go first: they hold connections to the forms.
    closed_.clear();
    for (QMdiSubWindow* w : area_->subWindowList()) {
        w->removeEventFilter(this);
        delete w;
    }
}

QMdiSubWindow* MainWindow::openForm(Form& form) {
    if (FormView* open = viewOf(form)) {
        area_->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(open->parentWidget()));
        return area_->activeSubWindow();
    }
    auto* view = new FormView(form, ui_);
    QMdiSubWindow* sub = area_->addSubWindow(view);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowTitle(toQ(form.Caption()));
    sub->installEventFilter(this);
    views_[&form] = view;
    // The form closing itself (its own Close) closes the child window, once the
    // running action is over.
    closed_[&form] = form.Closed.connect([this, sub, &form] {
        QTimer::singleShot(0, sub, [this, sub, &form] {
            forget(form);
            sub->close();
        });
    });
    QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    bool low = screen && screen->geometry().height() <= kLowScreenHeight;
    if (form.Width() > 0 && form.Height() > 0) {
        // The form's size is the child window's outer size.
        sub->resize(form.Width(), form.Height());
        // The suite's window grows to show the child whole.
        QSize around(8, menuBar()->sizeHint().height() + statusBar()->sizeHint().height() + 8);
        if (!low) resize(size().expandedTo(sub->size() + around));
    }
    if (low)
        sub->showMaximized();
    else
        sub->show();
    childActivated(sub);
    return sub;
}

FormView* MainWindow::viewOf(const Form& form) const {
    auto it = views_.find(&form);
    return it == views_.end() ? nullptr : it->second;
}

FormView* MainWindow::activeView() const {
    QMdiSubWindow* sub = area_->activeSubWindow();
    if (!sub) {
        auto list = area_->subWindowList(QMdiArea::ActivationHistoryOrder);
        if (list.isEmpty()) return nullptr;
        sub = list.back();
    }
    return qobject_cast<FormView*>(sub->widget());
}

void MainWindow::childActivated(QMdiSubWindow* sub) {
    FormView* view = sub ? qobject_cast<FormView*>(sub->widget()) : activeView();
    if (!view) return;  // the menus stay those of the last screen in front
    for (QAction* a : childMenus_)
        menuBar()->removeAction(a);
    childMenus_.clear();
    for (QMenu* menu : view->menus()) {
        menuBar()->insertMenu(windowMenu_->menuAction(), menu);
        childMenus_.push_back(menu->menuAction());
    }
    screenCode_->setText(screenCodeOf(view->form()));
}

void MainWindow::setBusy(bool on) {
    busy_->setVisible(on);
    statusBar()->showMessage(on ? QStringLiteral("Processando...") : QString());
    // The call runs on this thread: show the indicator before it starts.
    if (on) statusBar()->repaint();
}

void MainWindow::showNote(const QString& text) {
    constexpr int kNoteMs = 6000;
    statusBar()->showMessage(text, kNoteMs);
}

void MainWindow::forget(Form& form) {
    FormView* view = viewOf(form);
    if (view) {
        for (QMenu* menu : view->menus())
            menuBar()->removeAction(menu->menuAction());
        childMenus_.clear();
        screenCode_->clear();
    }
    views_.erase(&form);
    closed_.erase(&form);
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    // Keys no control took (focus on the window's frame, the tabs...): F1 and the
    // menus' shortcuts of the screen in front.
    FormView* view = activeView();
    const int key = pagKey(event->key());
    const ShiftState shift = shiftOf(*event);
    if (view && key == Key::F1 && !shift.ctrl) {
        view->showHelp();
        return;
    }
    if (view && key && (shift.ctrl || shift.alt)) {
        bool taken = false;
        view->act([&] { taken = view->form().DispatchShortCut(key, shift); });
        if (taken) return;
    }
    QMainWindow::keyPressEvent(event);
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // The child area watches the whole program for its own Ctrl+Tab (next window);
    // the screens' page keys come first: this filter goes in after the area's.
    QTimer::singleShot(0, this, [this] {
        qApp->removeEventFilter(this);
        qApp->installEventFilter(this);
    });
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) {
        for (QObject* o = watched; o; o = o->parent())
            if (auto* view = qobject_cast<FormView*>(o))
                return view->pageKey(*static_cast<QKeyEvent*>(event));
        return false;
    }
    if (event->type() != QEvent::Close) return QMainWindow::eventFilter(watched, event);
    auto* sub = qobject_cast<QMdiSubWindow*>(watched);
    for (auto& [form, view] : views_) {
        if (!sub || sub->widget() != view) continue;
        Form& f = *form;
        // The close box asks the form; it may refuse (changes not saved...).
        if (f.Visible()) {
            view->act([&f] { f.Close(); });
            if (f.Visible()) {
                event->ignore();
                return true;
            }
        }
        forget(f);
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace pag::gui

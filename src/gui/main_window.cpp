#include "gui/main_window.h"

#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QTimer>

#include "gui/qt_text.h"

namespace pag::gui {

MainWindow::MainWindow(UserInterface& ui, QWidget* parent)
    : QMainWindow(parent), ui_(ui), area_(new QMdiArea(this)) {
    setWindowTitle(QStringLiteral("Contas a Pagar"));
    setCentralWidget(area_);
    QMenu* file = menuBar()->addMenu(QStringLiteral("&Arquivo"));
    file->addAction(QStringLiteral("&Sair"), this, &QWidget::close);
    QMenu* window = menuBar()->addMenu(QStringLiteral("&Janela"));
    window->addAction(QStringLiteral("&Cascata"), area_, &QMdiArea::cascadeSubWindows);
    window->addAction(QStringLiteral("&Lado a lado"), area_, &QMdiArea::tileSubWindows);
    resize(820, 600);
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
    if (form.Width() > 0 && form.Height() > 0) sub->resize(form.Width(), form.Height());
    views_[&form] = view;
    // The form closing itself (its own Close) closes the child window, once the
    // running action is over.
    closed_[&form] = form.Closed.connect([this, sub, &form] {
        QTimer::singleShot(0, sub, [this, sub, &form] {
            forget(form);
            sub->close();
        });
    });
    sub->show();
    return sub;
}

FormView* MainWindow::viewOf(const Form& form) const {
    auto it = views_.find(&form);
    return it == views_.end() ? nullptr : it->second;
}

void MainWindow::forget(Form& form) {
    views_.erase(&form);
    closed_.erase(&form);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
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

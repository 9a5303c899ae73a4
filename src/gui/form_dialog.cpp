#include "gui/form_dialog.h"

#include <QTimer>
#include <QVBoxLayout>

#include "gui/qt_text.h"

namespace pag::gui {

FormDialog::FormDialog(Form& form, UserInterface& ui, QWidget* parent)
    : QDialog(parent), form_(form) {
    setWindowTitle(toQ(form.Caption()));
    // The dialog has its size before its grids fit their columns to it.
    if (form.Width() > 0 && form.Height() > 0) resize(form.Width(), form.Height());
    view_ = new FormView(form, ui, this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
    view_->showMenusInOwnBar();
    closed_ = form_.Closed.connect([this] { done(0); });
}

ModalResult FormDialog::run() {
    if (!form_.Visible()) return form_.GetModalResult();
    // Once on screen, the focus and selection the dialog opened with.
    QTimer::singleShot(0, view_, [this] { view_->showFocus(); });
    exec();
    return form_.GetModalResult();
}

void FormDialog::reject() {
    if (!form_.Visible()) return QDialog::reject();
    view_->act([this] { form_.Close(); });
}

}  // namespace pag::gui

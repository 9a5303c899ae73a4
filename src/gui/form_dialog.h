#pragma once

#include <QDialog>

#include "gui/form_view.h"

namespace pag::gui {

// A modal form in a dialog: runs until the form closes (its modal result or its
// Close). The close box and Escape ask the form, which may refuse.
class FormDialog final : public QDialog {
    Q_OBJECT
public:
    FormDialog(Form& form, UserInterface& ui, QWidget* parent = nullptr);

    ModalResult run();
    FormView& view() const { return *view_; }
    void reject() override;

private:
    Form& form_;
    FormView* view_;
    Signal<>::Connection closed_;
};

}  // namespace pag::gui

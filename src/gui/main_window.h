#pragma once

#include <QMainWindow>
#include <map>

#include "gui/form_view.h"

class QMdiArea;
class QMdiSubWindow;

namespace pag::gui {

// The suite's main window: its menu and the area where the screens open as children.
class MainWindow final : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(UserInterface& ui, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Shows a form as a child window titled with its caption, at the form's size.
    QMdiSubWindow* openForm(Form& form);
    // The view of an open form; null when it has none.
    FormView* viewOf(const Form& form) const;
    QMdiArea* area() const { return area_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void forget(Form& form);

    UserInterface& ui_;
    QMdiArea* area_;
    std::map<Form*, FormView*, std::less<>> views_;
    std::map<Form*, Signal<>::Connection> closed_;
};

}  // namespace pag::gui

#pragma once

#include <QMainWindow>
#include <map>

#include "gui/form_view.h"

class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QProgressBar;

namespace pag::gui {

// The suite's main window: one menu bar (the suite's menus with those of the screen
// in front), the area where the screens open as children, and a status bar with the
// screen code of the screen in front and the busy indicator.
class MainWindow final : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(UserInterface& ui, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Shows a form as a child window titled with its caption, at the form's size
    // (maximized when the screen is too low for it).
    QMdiSubWindow* openForm(Form& form);
    // The view of an open form; null when it has none.
    FormView* viewOf(const Form& form) const;
    QMdiArea* area() const { return area_; }
    // The view of the child window in front; null when none.
    FormView* activeView() const;
    // Shows or hides the busy indicator (server calls).
    void setBusy(bool on);
    // A passing note in the status bar (a save that went through).
    void showNote(const QString& text);
    QProgressBar* busyIndicator() const { return busy_; }
    QLabel* screenCodeLabel() const { return screenCode_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void forget(Form& form);
    void childActivated(QMdiSubWindow* sub);

    UserInterface& ui_;
    QMdiArea* area_;
    QMenu* windowMenu_ = nullptr;
    QLabel* screenCode_ = nullptr;
    QProgressBar* busy_ = nullptr;
    std::vector<QAction*> childMenus_;
    std::map<Form*, FormView*, std::less<>> views_;
    std::map<Form*, Signal<>::Connection> closed_;
};

// The screens' code label ("PAG12000"): the text of the form's lblCodTela, if any.
QString screenCodeOf(const Form& form);

}  // namespace pag::gui

#pragma once

#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "platform/signal.h"
#include "platform/ui/edit.h"
#include "platform/ui/form.h"
#include "platform/ui/grid.h"
#include "platform/ui/menu.h"
#include "platform/ui/page_control.h"

class QKeyEvent;
class QMenu;
class QMenuBar;

namespace pag::gui {

// What a view keeps per control: its widget and how to redraw it from the model.
struct ControlView {
    QWidget* widget = nullptr;
    std::function<void()> redraw;
};

// The Qt view of a headless form: one widget per control, laid out per container as
// a flow of labelled controls. The user's input goes into the models (typing, focus,
// keys, clicks, all through the dispatch boundary) and every widget redraws from its
// control's change signal. The models stay the only truth.
class FormView final : public QWidget {
    Q_OBJECT
public:
    FormView(Form& form, UserInterface& ui, QWidget* parent = nullptr);
    ~FormView() override;

    Form& form() const { return form_; }
    UserInterface& ui() const { return ui_; }
    // The widget drawing a control (null for controls without one: menus, images).
    QWidget* widgetFor(const Control& c) const;
    // Runs a user action at the dispatch boundary, then puts the Qt focus where the
    // form's focus is. False when the action stopped on a message.
    bool act(const std::function<void()>& action);
    // A key typed on a control: the menus' shortcuts, then the control's key-down,
    // then the character. True when the key was handed to the model.
    bool forwardKey(Control& target, QKeyEvent& event, bool everything);
    // Routes focus changes and keys of w to c.
    void watch(QWidget* w, Control& c);
    // Builds the widgets of a container's children into host.
    void buildChildren(Container& container, QWidget* host);
    // Binds a control's widget: enabled, visible and hint from the model, then the
    // control's own redraw, now and on every change.
    void add(Control& c, ControlView view);
    // Redraws from c's change signal for the view's life (and once now).
    void follow(Control& c, std::function<void()> redraw);
    // The form's menus (main menu items, not popups), for the window showing the form:
    // the suite's menu bar for a child window, the form's own bar for a dialog.
    const std::vector<QMenu*>& menus() const { return menus_; }
    void showMenusInOwnBar();
    // Ctrl+Tab, Ctrl+Shift+Tab, Ctrl+PgDn, Ctrl+PgUp on any of the view's widgets:
    // the next or previous page. False for any other key.
    bool pageKey(QKeyEvent& event);
    // F1: the form's help context.
    void showHelp();

    // Records a change of the user's in an edit, for Ctrl+Z (typing: one typed key,
    // joined to the keys typed just before).
    void editChanging(CustomEdit& edit, const std::function<void()>& change, bool typing = false);

    // The focus where the screen has it, an edit showing the selection the screen gave
    // it: a dialog that opens on a filled edit is typed over from its first key.
    void showFocus();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct UndoStep {
        std::string before, after;
        bool typing = false;
    };
    // A page key about to run a shortcut of the window: the screen takes it.
    bool claimsShortcut(QEvent& event);
    // Ctrl+Tab and the like: the next page; false when the key is no page key.
    bool switchPage(int step);
    // Enter in a dialog: its main button; false when the form has none.
    bool pressDefault(const QKeyEvent& event);
    void undoEdit(CustomEdit& edit);
    void buildMenus();
    void addMenuItems(MenuItem& parent, QMenu* menu);
    // A key typed in an edit goes to the model at the edit's cursor.
    bool typeInEdit(CustomEdit& edit, QWidget* widget, QKeyEvent& event);
    void syncFocus();
    void showSelection(Control& active, QWidget& w);

    Form& form_;
    UserInterface& ui_;
    std::map<const Control*, ControlView> views_;
    std::map<QObject*, Control*> watched_;
    std::vector<Signal<>::Connection> connections_;
    std::vector<QMenu*> menus_;
    QMenuBar* ownBar_ = nullptr;
    std::map<const CustomEdit*, std::vector<UndoStep>> undo_;
    int acting_ = 0;
};

// Per kind of control: its widget, with the bindings both ways (null when the kind
// has no widget of its own here).
ControlView makeControlView(FormView& view, Control& c, QWidget* parent);
ControlView makeGridView(FormView& view, Grid& grid, QWidget* parent);
ControlView makePagesView(FormView& view, PageControl& pages, QWidget* parent);

}  // namespace pag::gui

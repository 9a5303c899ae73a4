#include "gui/form_view.h"

#include <QAction>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QVBoxLayout>

#include "gui/control_views.h"
#include "gui/form_layout.h"
#include "gui/keys_qt.h"
#include "gui/qt_text.h"
#include "gui/qt_user_interface.h"
#include "platform/ui/buttons.h"
#include "platform/ui/dispatch.h"
#include "platform/ui/grid.h"
#include "platform/ui/menu.h"
#include "platform/ui/number_edit.h"
#include "platform/ui/page_control.h"

namespace pag::gui {

namespace {

constexpr double kScreenPointSize = 8.5;

// Enter moves on in the pages' data fields, as Tab does.
bool entersNext(const Control& c) {
    if (!dynamic_cast<const CustomEdit*>(&c) && !dynamic_cast<const ComboBox*>(&c) &&
        !dynamic_cast<const CheckBox*>(&c))
        return false;
    for (const Container* up = c.Parent(); up; up = up->Parent())
        if (dynamic_cast<const Page*>(up)) return true;
    return false;
}

// A root menu whose items are all plain commands is a popup (shortcuts only).
bool isPopup(MenuItem& root) {
    for (MenuItem* item : root.Items())
        if (!item->Items().empty()) return false;
    return true;
}

}  // namespace

FormView::FormView(Form& form, UserInterface& ui, QWidget* parent)
    : QWidget(parent), form_(form), ui_(ui) {
    setWindowTitle(toQ(form.Caption()));
    // The screens are drawn for the suite's small dialog font.
    QFont small = font();
    if (small.pointSizeF() > kScreenPointSize) {
        small.setPointSizeF(kScreenPointSize);
        setFont(small);
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    buildMenus();
    auto* body = new QWidget(this);
    layout->addWidget(body, 1);
    buildChildren(form_, body);
    if (form_.Width() > 0 && form_.Height() > 0) resize(form_.Width(), form_.Height());
}

FormView::~FormView() = default;

QWidget* FormView::widgetFor(const Control& c) const {
    auto it = views_.find(&c);
    return it == views_.end() ? nullptr : it->second.widget;
}

bool FormView::act(const std::function<void()>& action) {
    ++acting_;
    bool ok = dispatchUserAction(ui_, action);
    --acting_;
    if (acting_ == 0) syncFocus();
    return ok;
}

void FormView::syncFocus() {
    Control* active = form_.ActiveControl();
    if (!active) return;
    QWidget* w = widgetFor(*active);
    if (!w || w->hasFocus() || !w->isVisible()) return;
    ++acting_;
    w->setFocus(Qt::OtherFocusReason);
    --acting_;
}

void FormView::watch(QWidget* w, Control& c) {
    watched_[w] = &c;
    w->installEventFilter(this);
}

void FormView::follow(Control& c, std::function<void()> redraw) {
    connections_.push_back(c.Changed.connect(redraw));
    redraw();
}

void FormView::showHelp() {
    if (auto* qt = dynamic_cast<QtUserInterface*>(&ui_))
        qt->showHelpTopic(form_.HelpFile(), form_.HelpContext());
    else
        ui_.showHelp(form_.HelpContext());
}

bool FormView::forwardKey(Control& target, QKeyEvent& event, bool everything) {
    const int key = pagKey(event.key());
    const ShiftState shift = shiftOf(event);
    if (key == Key::F1 && !shift.ctrl) {
        showHelp();
        return true;
    }
    bool moving = key == Key::Tab || key == Key::Enter || key == Key::Escape ||
                  (key > Key::F1 && key <= Key::F1 + 11);
    if (!everything && !moving) {
        if (!(shift.ctrl || shift.alt) || key == 0) return false;
        // Keys with Ctrl or Alt reach the menus; the edit keeps those no menu takes.
        bool taken = false;
        act([&] { taken = form_.DispatchShortCut(key, shift); });
        return taken;
    }
    KeyChar ch = typedChar(event, dynamic_cast<NumberEdit*>(&target) != nullptr);
    if (key == 0 && ch == 0) return false;
    bool taken = false;
    bool ok = act([&] {
        if (key) taken = form_.DispatchShortCut(key, shift);
        if (!taken && key) target.KeyDown(key, shift);
    });
    if (ok && !taken && ch) ok = act([&] { target.KeyPress(ch); });
    if (ok && !taken && key == Key::Enter && !shift.ctrl && form_.ActiveControl() == &target &&
        entersNext(target))
        act([&] { form_.SelectNext(); });
    // Escape also reaches the dialog, which asks the form to close; a grid keeps it
    // (it cancels the row being typed).
    return key != Key::Escape || dynamic_cast<Grid*>(&target) != nullptr;
}

bool FormView::typeInEdit(CustomEdit& edit, QWidget* widget, QKeyEvent& event) {
    const ShiftState shift = shiftOf(event);
    const int key = pagKey(event.key());
    // Moving the cursor is the edit's own; the model takes the cursor before a key.
    bool cursorKey = key == Key::Left || key == Key::Right || key == Key::Home || key == Key::End;
    if (shift.ctrl || shift.alt || (cursorKey && !shift.ctrl))
        return forwardKey(edit, event, false);
    takeEditCursor(widget, edit);
    bool handled = forwardKey(edit, event, true);
    if (form_.ActiveControl() == &edit) showEditCursor(widget, edit);
    return handled;
}

bool FormView::eventFilter(QObject* watched, QEvent* event) {
    auto it = watched_.find(watched);
    if (it == watched_.end()) return QWidget::eventFilter(watched, event);
    Control& c = *it->second;
    if (event->type() == QEvent::FocusIn && acting_ == 0 && form_.ActiveControl() != &c &&
        c.CanFocus()) {
        act([&] { form_.SetFocus(c); });
    } else if (event->type() == QEvent::KeyPress && acting_ == 0) {
        auto& key = static_cast<QKeyEvent&>(*event);
        if (form_.ActiveControl() != &c && c.CanFocus()) act([&] { form_.SetFocus(c); });
        if (auto* edit = dynamic_cast<CustomEdit*>(&c))
            return typeInEdit(*edit, static_cast<QWidget*>(watched), key);
        return forwardKey(c, key, dynamic_cast<Grid*>(&c) != nullptr);
    }
    return QWidget::eventFilter(watched, event);
}

void FormView::add(Control& c, ControlView view) {
    QWidget* w = view.widget;
    bool isPage = dynamic_cast<Page*>(&c) != nullptr;
    auto redraw = [w, &c, isPage, own = std::move(view.redraw)] {
        w->setEnabled(c.Enabled());
        if (!isPage) w->setVisible(c.Visible());
        w->setToolTip(toQ(c.Hint()));
        if (own) own();
    };
    views_[&c] = ControlView{w, redraw};
    follow(c, redraw);
}

void FormView::buildChildren(Container& container, QWidget* host) {
    layOutContainer(*this, container, host);
}

void FormView::addMenuItems(MenuItem& parent, QMenu* menu) {
    for (MenuItem* item : parent.Items()) {
        if (item->IsSeparator()) {
            menu->addSeparator();
            continue;
        }
        QString text = toQ(item->Caption());
        if (!item->Items().empty()) {
            QMenu* sub = menu->addMenu(text);
            addMenuItems(*item, sub);
            follow(*item, [sub, item] {
                sub->menuAction()->setVisible(item->Visible());
                sub->setEnabled(item->Enabled());
            });
            continue;
        }
        // The shortcut is shown only: keys reach the menus through the form, so each
        // key is bound once and the same key on several open screens is never
        // ambiguous.
        if (!item->ShortCut().empty()) text += QLatin1Char('\t') + toQ(item->ShortCut());
        QAction* action = menu->addAction(text);
        connect(action, &QAction::triggered, this,
                [this, item] { act([item] { item->Click(); }); });
        follow(*item, [action, item] {
            action->setEnabled(item->Enabled());
            action->setVisible(item->Visible());
            action->setCheckable(item->Checked() || item->AutoCheck());
            action->setChecked(item->Checked());
        });
    }
}

void FormView::buildMenus() {
    for (Control* c : form_.Controls()) {
        auto* root = dynamic_cast<MenuItem*>(c);
        if (!root || dynamic_cast<MenuItem*>(root->Parent()) || isPopup(*root)) continue;
        for (MenuItem* item : root->Items()) {
            if (item->IsSeparator() || item->Items().empty()) continue;
            auto* menu = new QMenu(toQ(item->Caption()), this);
            addMenuItems(*item, menu);
            follow(*item, [menu, item] {
                menu->menuAction()->setVisible(item->Visible());
                menu->setEnabled(item->Enabled());
            });
            menus_.push_back(menu);
        }
    }
}

void FormView::showMenusInOwnBar() {
    if (menus_.empty() || ownBar_) return;
    ownBar_ = new QMenuBar(this);
    for (QMenu* menu : menus_)
        ownBar_->addMenu(menu);
    static_cast<QVBoxLayout*>(layout())->setMenuBar(ownBar_);
}

}  // namespace pag::gui

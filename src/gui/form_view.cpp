#include "gui/form_view.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
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

// Enter moves on in the screen pages' data fields, as Tab does.
bool entersNext(const Control& c) {
    if (!dynamic_cast<const CustomEdit*>(&c) && !dynamic_cast<const ComboBox*>(&c) &&
        !dynamic_cast<const CheckBox*>(&c))
        return false;
    // A dialog's pages are the dialog: Enter there confirms it.
    if (c.OwnerForm() && c.OwnerForm()->IsModal()) return false;
    for (const Container* up = c.Parent(); up; up = up->Parent())
        if (dynamic_cast<const Page*>(up)) return true;
    return false;
}

// Focus the user gave with the mouse or a label's Alt shortcut. Tab never gets here
// (the screen's keys move the focus through the form), and anything else, Tab
// reasons included, is Qt's own move when a page, tab or message box goes away: it
// must not move the screen's focus (entering the company panel closes the list).
bool usersFocus(const QFocusEvent& e) {
    return e.reason() == Qt::MouseFocusReason || e.reason() == Qt::ShortcutFocusReason;
}

// Ctrl+Tab, Ctrl+Shift+Tab, Ctrl+PgDn, Ctrl+PgUp: 1 next page, -1 previous, 0 none.
int pageStep(const QKeyEvent& e) {
    if (!e.modifiers().testFlag(Qt::ControlModifier) || e.modifiers().testFlag(Qt::AltModifier))
        return 0;
    switch (e.key()) {
        case Qt::Key_Tab:
            return e.modifiers().testFlag(Qt::ShiftModifier) ? -1 : 1;
        case Qt::Key_Backtab:
            return -1;
        case Qt::Key_PageDown:
            return 1;
        case Qt::Key_PageUp:
            return -1;
        default:
            return 0;
    }
}

// The editing keys every line edit knows, kept by the edit itself (the menus'
// shortcuts with the same keys work from outside an edit).
bool nativeEditKey(const QKeyEvent& e) {
    return e.matches(QKeySequence::SelectAll) || e.matches(QKeySequence::Copy) ||
           e.matches(QKeySequence::Cut) || e.matches(QKeySequence::SelectPreviousChar) ||
           e.matches(QKeySequence::SelectNextChar) || e.matches(QKeySequence::SelectStartOfLine) ||
           e.matches(QKeySequence::SelectEndOfLine) ||
           e.matches(QKeySequence::SelectPreviousWord) || e.matches(QKeySequence::SelectNextWord) ||
           e.matches(QKeySequence::MoveToNextWord) || e.matches(QKeySequence::MoveToPreviousWord);
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

// An edit entered shows the selection the screen gave it (all its text, so the first
// key replaces it), not Qt's bare cursor.
void FormView::showSelection(Control& active, QWidget& w) {
    if (auto* edit = dynamic_cast<CustomEdit*>(&active))
        showEditCursor(w.focusProxy() ? w.focusProxy() : &w, *edit);
}

void FormView::showFocus() {
    syncFocus();
    Control* active = form_.ActiveControl();
    if (QWidget* w = active ? widgetFor(*active) : nullptr) showSelection(*active, *w);
}

void FormView::syncFocus() {
    Control* active = form_.ActiveControl();
    QWidget* w = active ? widgetFor(*active) : nullptr;
    if (w && w->isVisible() && w->isEnabled()) {
        if (w->hasFocus() || w->isAncestorOf(QApplication::focusWidget())) return;
        ++acting_;
        w->setFocus(Qt::OtherFocusReason);
        --acting_;
        showSelection(*active, *w);
        return;
    }
    // The screen's focus is on nothing that shows (a page that went away): the keys
    // must not reach a control the user never chose, so the view itself holds them.
    QWidget* focused = QApplication::focusWidget();
    if (!focused || !isAncestorOf(focused)) return;
    auto it = watched_.find(focused);
    if (it != watched_.end() && it->second == active) return;
    ++acting_;
    setFocus(Qt::OtherFocusReason);
    --acting_;
}

bool FormView::switchPage(int step) {
    if (step == 0) return false;
    // The pages the focus is in, else the form's first page control that shows.
    PageControl* pages = nullptr;
    if (Control* active = form_.ActiveControl())
        for (Container* up = active->Parent(); up && !pages; up = up->Parent())
            pages = dynamic_cast<PageControl*>(up);
    for (Control* c : form_.Controls()) {
        if (pages) break;
        auto* pc = dynamic_cast<PageControl*>(c);
        if (pc && pc->IsUsable()) pages = pc;
    }
    if (pages) act([&] { pages->SelectNextPage(step > 0); });
    return true;
}

bool FormView::pressDefault(const QKeyEvent& event) {
    Control* button = form_.DefaultButton();
    const bool enter = event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter;
    if (!button || !enter || event.modifiers().testFlag(Qt::AltModifier)) return false;
    act([&] { form_.ClickControl(*button); });
    return true;
}

bool FormView::pageKey(QKeyEvent& event) {
    if (pageStep(event) == 0) return false;
    if (event.type() == QEvent::ShortcutOverride) {
        event.accept();
        return true;
    }
    if (event.type() != QEvent::KeyPress || acting_ > 0) return false;
    switchPage(pageStep(event));
    return true;
}

bool FormView::claimsShortcut(QEvent& event) {
    // The window's own shortcuts (the child windows' Ctrl+Tab) give way to the
    // screen's page keys.
    if (event.type() != QEvent::ShortcutOverride) return false;
    if (pageStep(static_cast<QKeyEvent&>(event)) == 0) return false;
    event.accept();
    return true;
}

bool FormView::event(QEvent* event) {
    if (claimsShortcut(*event)) return true;
    // Tab while the view itself holds the focus: the form's next control, as from
    // any control (Qt's own focus chain would skip the form's rules).
    if (event->type() == QEvent::KeyPress && acting_ == 0) {
        auto& key = static_cast<QKeyEvent&>(*event);
        const bool tab = key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab;
        if (tab && !key.modifiers().testFlag(Qt::ControlModifier) &&
            !key.modifiers().testFlag(Qt::AltModifier)) {
            const bool back =
                key.key() == Qt::Key_Backtab || key.modifiers().testFlag(Qt::ShiftModifier);
            act([&] { form_.SelectNext(back); });
            return true;
        }
    }
    return QWidget::event(event);
}

void FormView::keyPressEvent(QKeyEvent* event) {
    // Keys while the view itself holds the focus: page changes and the dialog's
    // main button; the rest goes up to the window (menus, F1).
    if (switchPage(pageStep(*event)) || pressDefault(*event)) return;
    QWidget::keyPressEvent(event);
}

void FormView::editChanging(CustomEdit& edit, const std::function<void()>& change, bool typing) {
    const std::string before = edit.Text();
    change();
    const std::string after = edit.Text();
    if (after == before) return;
    auto& steps = undo_[&edit];
    // Characters typed one after the other are undone together, as in any edit.
    if (typing && !steps.empty() && steps.back().typing && steps.back().after == before) {
        steps.back().after = after;
        return;
    }
    steps.push_back({before, after, typing});
    constexpr size_t kUndoSteps = 50;
    if (steps.size() > kUndoSteps) steps.erase(steps.begin());
}

void FormView::undoEdit(CustomEdit& edit) {
    auto it = undo_.find(&edit);
    if (it == undo_.end() || it->second.empty()) return;
    UndoStep step = it->second.back();
    it->second.pop_back();
    // The program changed the text since (another row): nothing of the user's to undo.
    if (edit.Text() != step.after) {
        it->second.clear();
        return;
    }
    act([&] { edit.UserReplaceText(step.before); });
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
    else if (ok && !taken && key == Key::Enter && form_.ActiveControl() == &target &&
             !dynamic_cast<Grid*>(&target) && !dynamic_cast<Button*>(&target))
        // Enter (and Ctrl+Enter) confirms a dialog from its fields.
        pressDefault(event);
    // Escape also reaches the dialog, which asks the form to close; a grid keeps it
    // (it cancels the row being typed).
    return key != Key::Escape || dynamic_cast<Grid*>(&target) != nullptr;
}

bool FormView::typeInEdit(CustomEdit& edit, QWidget* widget, QKeyEvent& event) {
    const ShiftState shift = shiftOf(event);
    const int key = pagKey(event.key());
    // Selecting, copying and moving the cursor are the edit's own; the model takes
    // the selection before the next key that changes the text.
    if (nativeEditKey(event)) return false;
    if (event.matches(QKeySequence::Undo)) {
        undoEdit(edit);
        return true;
    }
    if (event.matches(QKeySequence::Redo)) return true;
    if (event.matches(QKeySequence::Paste)) {
        // Pasted text is typed at the selection, as if the user had typed it: a
        // digitable line with its dots and blanks goes through the edit's rules.
        QString text = QGuiApplication::clipboard()->text();
        text.replace(QLatin1Char('\r'), QString()).replace(QLatin1Char('\n'), QString());
        takeEditCursor(widget, edit);
        editChanging(edit, [&] { act([&] { edit.TypeText(fromQ(text)); }); });
        if (form_.ActiveControl() == &edit) showEditCursor(widget, edit);
        return true;
    }
    bool cursorKey = key == Key::Left || key == Key::Right || key == Key::Home || key == Key::End;
    if (shift.ctrl || shift.alt || (cursorKey && !shift.ctrl))
        return forwardKey(edit, event, false);
    takeEditCursor(widget, edit);
    bool handled = false;
    editChanging(
        edit, [&] { handled = forwardKey(edit, event, true); }, true);
    if (form_.ActiveControl() == &edit) showEditCursor(widget, edit);
    return handled;
}

bool FormView::eventFilter(QObject* watched, QEvent* event) {
    auto it = watched_.find(watched);
    if (it == watched_.end()) return QWidget::eventFilter(watched, event);
    Control& c = *it->second;
    if (claimsShortcut(*event)) return true;
    if (event->type() == QEvent::FocusIn && acting_ == 0 && form_.ActiveControl() != &c &&
        c.CanFocus()) {
        if (usersFocus(static_cast<QFocusEvent&>(*event)))
            act([&] { form_.SetFocus(c); });
        else
            // Qt's own move: the focus goes back where the screen has it, once Qt is
            // done moving it.
            QTimer::singleShot(0, this, [this] {
                if (acting_ == 0) syncFocus();
            });
    } else if (event->type() == QEvent::KeyPress && acting_ == 0) {
        auto& key = static_cast<QKeyEvent&>(*event);
        if (switchPage(pageStep(key))) return true;
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

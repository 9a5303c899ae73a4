#include "gui/form_view.h"

#include <QAction>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QVBoxLayout>

#include "gui/qt_text.h"
#include "platform/ui/buttons.h"
#include "platform/ui/dispatch.h"
#include "platform/ui/grid.h"
#include "platform/ui/menu.h"
#include "platform/ui/page_control.h"

namespace pag::gui {

namespace {

constexpr int kFlowColumns = 6;

int pagKey(int qtKey) {
    switch (qtKey) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return Key::Tab;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return Key::Enter;
        case Qt::Key_Escape:
            return Key::Escape;
        case Qt::Key_Space:
            return Key::Space;
        case Qt::Key_Backspace:
            return Key::Backspace;
        case Qt::Key_Delete:
            return Key::Delete;
        case Qt::Key_Insert:
            return Key::Insert;
        case Qt::Key_Up:
            return Key::Up;
        case Qt::Key_Down:
            return Key::Down;
        case Qt::Key_Left:
            return Key::Left;
        case Qt::Key_Right:
            return Key::Right;
        case Qt::Key_Home:
            return Key::Home;
        case Qt::Key_End:
            return Key::End;
        case Qt::Key_PageUp:
            return Key::PageUp;
        case Qt::Key_PageDown:
            return Key::PageDown;
        default:
            break;
    }
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12) return Key::F1 + (qtKey - Qt::Key_F1);
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return qtKey;  // same codes as the screens compare with
    return 0;
}

// The character a key types, as the screens' key-press handlers see it.
KeyChar typedChar(const QKeyEvent& e, int key, ShiftState shift) {
    if (shift.ctrl || shift.alt) return 0;
    if (key == Key::Enter) return U'\r';
    if (key == Key::Escape) return 27;
    if (key == Key::Backspace) return 8;
    if (key == Key::Tab) return 0;
    const QString text = e.text();
    if (text.isEmpty() || !text.at(0).isPrint()) return 0;
    return text.toUcs4().value(0);
}

bool isWide(const Control& c) {
    return dynamic_cast<const Container*>(&c) || dynamic_cast<const Grid*>(&c) ||
           dynamic_cast<const RadioGroup*>(&c);
}

bool onlyButtons(const Container& container) {
    bool any = false;
    for (const Control* c : container.Children()) {
        if (dynamic_cast<const MenuItem*>(c)) continue;
        if (!dynamic_cast<const Button*>(c)) return false;
        any = true;
    }
    return any;
}

}  // namespace

FormView::FormView(Form& form, UserInterface& ui, QWidget* parent)
    : QWidget(parent), form_(form), ui_(ui) {
    setWindowTitle(toQ(form.Caption()));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    buildMenus(this);
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

bool FormView::forwardKey(Control& target, QKeyEvent& event, bool everything) {
    int key = pagKey(event.key());
    Qt::KeyboardModifiers m = event.modifiers();
    ShiftState shift{m.testFlag(Qt::ShiftModifier) || event.key() == Qt::Key_Backtab,
                     m.testFlag(Qt::ControlModifier), m.testFlag(Qt::AltModifier)};
    if (key == Key::F1 && !shift.ctrl) {
        ui_.showHelp(form_.HelpContext());
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
    KeyChar ch = typedChar(event, key, shift);
    if (key == 0 && ch == 0) return false;
    bool taken = false;
    bool ok = act([&] {
        if (key) taken = form_.DispatchShortCut(key, shift);
        if (!taken && key) target.KeyDown(key, shift);
    });
    if (ok && !taken && ch) act([&] { target.KeyPress(ch); });
    // Escape also reaches the dialog, which asks the form to close.
    return everything || key != Key::Escape;
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
    if (onlyButtons(container)) {
        auto* row = new QHBoxLayout(host);
        row->setContentsMargins(2, 2, 2, 2);
        row->setSpacing(2);
        for (Control* child : container.Children()) {
            ControlView v = makeControlView(*this, *child, host);
            if (!v.widget) continue;
            row->addWidget(v.widget);
            add(*child, std::move(v));
        }
        row->addStretch(1);
        return;
    }
    auto* grid = new QGridLayout(host);
    grid->setContentsMargins(4, 4, 4, 4);
    int row = 0, col = 0;
    for (Control* child : container.Children()) {
        ControlView v = makeControlView(*this, *child, host);
        if (!v.widget) continue;
        if (isWide(*child)) {
            if (col) ++row, col = 0;
            grid->addWidget(v.widget, row, 0, 1, kFlowColumns);
            if (dynamic_cast<Grid*>(child) || dynamic_cast<PageControl*>(child))
                grid->setRowStretch(row, 1);
            ++row;
        } else {
            grid->addWidget(v.widget, row, col);
            if (++col == kFlowColumns) ++row, col = 0;
        }
        add(*child, std::move(v));
    }
    grid->setColumnStretch(kFlowColumns - 1, 1);
}

void FormView::addMenuItems(MenuItem& parent, QMenu* menu, QMenuBar* bar) {
    for (MenuItem* item : parent.Items()) {
        if (item->IsSeparator()) {
            if (menu) menu->addSeparator();
            continue;
        }
        QString text = toQ(item->Caption());
        if (!item->Items().empty()) {
            QMenu* sub = menu ? menu->addMenu(text) : bar->addMenu(text);
            addMenuItems(*item, sub, nullptr);
            follow(*item, [sub, item] {
                sub->menuAction()->setVisible(item->Visible());
                sub->setEnabled(item->Enabled());
            });
            continue;
        }
        // The shortcut is shown only: keys reach the menus through the form, so the
        // same key on several open screens is never ambiguous.
        if (!item->ShortCut().empty()) text += QLatin1Char('\t') + toQ(item->ShortCut());
        QAction* action = menu ? menu->addAction(text) : bar->addAction(text);
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

void FormView::buildMenus(QWidget* host) {
    QMenuBar* bar = nullptr;
    for (Control* c : form_.Controls()) {
        auto* root = dynamic_cast<MenuItem*>(c);
        if (!root || dynamic_cast<MenuItem*>(root->Parent())) continue;
        if (!bar) {
            bar = new QMenuBar(host);
            static_cast<QVBoxLayout*>(host->layout())->setMenuBar(bar);
        }
        addMenuItems(*root, nullptr, bar);
    }
}

}  // namespace pag::gui

// Widgets per kind of control, bound both ways to their models.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "gui/control_views.h"
#include "gui/form_view.h"
#include "gui/qt_text.h"
#include "gui/toolbar_icons.h"
#include "platform/ui/buttons.h"
#include "platform/ui/db_controls.h"

namespace pag::gui {

QColor colourOf(Colour c, const QWidget* w) {
    switch (c.kind) {
        case Colour::Kind::InfoBackground:
            return QColor(255, 255, 225);
        case Colour::Kind::ButtonFace:
            return QApplication::palette(w).color(QPalette::Button);
        case Colour::Kind::Rgb:
            return QColor(c.red, c.green, c.blue);
        case Colour::Kind::Window:
            break;
    }
    return QApplication::palette(w).color(QPalette::Base);
}

void paintBase(QWidget* w, Colour c) {
    QPalette p = w->palette();
    p.setColor(QPalette::Base, colourOf(c, w));
    w->setPalette(p);
}

namespace {

ControlView checkBoxView(FormView& view, CheckBox& box, QWidget* parent) {
    auto* cb = new QCheckBox(toQ(box.Caption()), parent);
    view.watch(cb, box);
    QObject::connect(cb, &QCheckBox::clicked, cb, [&view, &box, cb] {
        view.act([&] { view.form().ClickControl(box); });
        cb->setChecked(box.Checked());
    });
    return {cb, [cb, &box] {
                cb->setText(toQ(box.Caption()));
                cb->setChecked(box.Checked());
            }};
}

ControlView radioButtonView(FormView& view, RadioButton& radio, QWidget* parent) {
    auto* rb = new QRadioButton(toQ(radio.Caption()), parent);
    rb->setAutoExclusive(false);
    view.watch(rb, radio);
    QObject::connect(rb, &QRadioButton::clicked, rb, [&view, &radio, rb] {
        view.act([&] { view.form().ClickControl(radio); });
        rb->setChecked(radio.Checked());
    });
    return {rb, [rb, &radio] {
                rb->setText(toQ(radio.Caption()));
                rb->setChecked(radio.Checked());
            }};
}

ControlView radioGroupView(FormView& view, RadioGroup& group, QWidget* parent) {
    auto* box = new QGroupBox(toQ(group.Caption()), parent);
    auto* layout = new QGridLayout(box);
    layout->setContentsMargins(6, 2, 6, 2);
    layout->setVerticalSpacing(0);
    // Up to three options on one line; more in two columns.
    const int columns = group.Items().size() <= 3 ? static_cast<int>(group.Items().size()) : 2;
    auto buttons = std::make_shared<std::vector<QRadioButton*>>();
    auto draw = [&view, &group, box, layout, buttons, columns] {
        box->setTitle(toQ(group.Caption()));
        const auto& items = group.Items();
        while (buttons->size() < items.size()) {
            auto* rb = new QRadioButton(box);
            rb->setAutoExclusive(false);
            int index = static_cast<int>(buttons->size());
            view.watch(rb, group);
            QObject::connect(rb, &QRadioButton::clicked, rb, [&view, &group, index, buttons] {
                view.act([&] { group.UserSelect(index); });
                // A refused choice leaves the model as it was: show it so.
                for (size_t k = 0; k < buttons->size(); ++k)
                    (*buttons)[k]->setChecked(static_cast<int>(k) == group.ItemIndex());
            });
            layout->addWidget(rb, index / std::max(columns, 1), index % std::max(columns, 1));
            buttons->push_back(rb);
        }
        for (size_t i = 0; i < buttons->size(); ++i) {
            QRadioButton* rb = (*buttons)[i];
            rb->setVisible(i < items.size());
            if (i < items.size()) rb->setText(toQ(items[i]));
            rb->setChecked(static_cast<int>(i) == group.ItemIndex());
        }
    };
    return {box, draw};
}

ControlView comboView(FormView& view, ComboBox& combo, QWidget* parent) {
    auto* cb = new QComboBox(parent);
    view.watch(cb, combo);
    QObject::connect(cb, &QComboBox::activated, cb, [&view, &combo, cb](int index) {
        view.act([&] { combo.UserSelect(index); });
        cb->setCurrentIndex(combo.ItemIndex());
    });
    return {cb, [cb, &combo] {
                QStringList items;
                for (const std::string& i : combo.Items())
                    items << toQ(i);
                QStringList shown;
                for (int i = 0; i < cb->count(); ++i)
                    shown << cb->itemText(i);
                if (items != shown) {
                    cb->clear();
                    cb->addItems(items);
                }
                cb->setCurrentIndex(combo.ItemIndex());
            }};
}

// A toolbar button shows its picture, with the hint as its tooltip; a button
// without a picture shows its caption, else its hint.
ControlView buttonView(FormView& view, Button& button, QWidget* parent) {
    QAbstractButton* b = nullptr;
    const QIcon icon = buttonIcon(button);
    if (dynamic_cast<SpeedButton*>(&button)) {
        auto* tool = new QToolButton(parent);
        tool->setFocusPolicy(Qt::NoFocus);
        tool->setAutoRaise(true);
        tool->setToolButtonStyle(icon.isNull() ? Qt::ToolButtonTextOnly : Qt::ToolButtonIconOnly);
        b = tool;
    } else {
        b = new QPushButton(parent);
        view.watch(b, button);
    }
    if (!icon.isNull()) {
        b->setIcon(icon);
        b->setIconSize(QSize(20, 20));
    }
    QObject::connect(b, &QAbstractButton::clicked, b,
                     [&view, &button] { view.act([&] { view.form().ClickControl(button); }); });
    return {b, [b, &button, hasIcon = !icon.isNull()] {
                QString text = toQ(button.Caption());
                if (text.isEmpty() && !hasIcon) text = toQ(button.Hint());
                b->setText(text);
                b->setAccessibleName(toQ(button.Hint()));
            }};
}

ControlView containerView(FormView& view, Container& container, QWidget* parent) {
    QWidget* w = nullptr;
    if (dynamic_cast<GroupBox*>(&container)) {
        w = new QGroupBox(toQ(container.Caption()), parent);
    } else {
        // Panels with a bevel only where they stand out: the toolbar and the bars.
        auto* frame = new QFrame(parent);
        bool bar = dynamic_cast<ScrollBox*>(&container) == nullptr &&
                   container.Parent() == container.OwnerForm();
        frame->setFrameShape(bar ? QFrame::StyledPanel : QFrame::NoFrame);
        w = frame;
    }
    view.buildChildren(container, w);
    return {w, {}};
}

}  // namespace

ControlView makeControlView(FormView& view, Control& c, QWidget* parent) {
    if (dynamic_cast<MenuItem*>(&c) || dynamic_cast<Image*>(&c)) return {};
    if (auto* e = dynamic_cast<CustomEdit*>(&c)) return editView(view, *e, parent);
    if (auto* g = dynamic_cast<Grid*>(&c)) return makeGridView(view, *g, parent);
    if (auto* p = dynamic_cast<PageControl*>(&c)) return makePagesView(view, *p, parent);
    if (auto* b = dynamic_cast<CheckBox*>(&c)) return checkBoxView(view, *b, parent);
    if (auto* r = dynamic_cast<RadioButton*>(&c)) return radioButtonView(view, *r, parent);
    if (auto* r = dynamic_cast<RadioGroup*>(&c)) return radioGroupView(view, *r, parent);
    if (auto* cb = dynamic_cast<ComboBox*>(&c)) return comboView(view, *cb, parent);
    if (auto* b = dynamic_cast<Button*>(&c)) return buttonView(view, *b, parent);
    if (auto* k = dynamic_cast<Container*>(&c)) return containerView(view, *k, parent);
    if (auto* t = dynamic_cast<DBText*>(&c)) {
        auto* label = new QLabel(parent);
        return {label, [label, t] { label->setText(toQ(t->Text())); }};
    }
    if (auto* l = dynamic_cast<Label*>(&c)) {
        auto* label = new QLabel(parent);
        if (l->Bold()) {
            QFont bold = label->font();
            bold.setBold(true);
            label->setFont(bold);
        }
        return {label, [label, &c] { label->setText(toQ(c.Caption())); }};
    }
    return {};
}

}  // namespace pag::gui

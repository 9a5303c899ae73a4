// Widgets per kind of control, bound both ways to their models.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "gui/form_view.h"
#include "gui/qt_text.h"
#include "platform/ui/buttons.h"
#include "platform/ui/db_controls.h"
#include "platform/ui/edit.h"
#include "platform/ui/number_edit.h"

namespace pag::gui {

namespace {

QColor baseColour(Colour c, const QWidget* w) {
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

void paint(QWidget* w, Colour c) {
    QPalette p = w->palette();
    p.setColor(QPalette::Base, baseColour(c, w));
    w->setPalette(p);
}

// The keypad's "." types the decimal comma in number edits, as pt-BR users expect.
class KeypadComma final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        auto& key = static_cast<QKeyEvent&>(*event);
        if (key.key() != Qt::Key_Period || !key.modifiers().testFlag(Qt::KeypadModifier))
            return false;
        auto* edit = static_cast<QLineEdit*>(watched);
        edit->insert(QStringLiteral(","));
        Q_EMIT edit->textEdited(edit->text());
        return true;
    }
};

void drawEditText(QLineEdit* le, CustomEdit& edit) {
    const QString shown = toQ(edit.EditText());
    if (le->displayText() == shown || le->text() == shown) return;
    if (edit.IsMasked() && le->text() == toQ(edit.Text())) return;
    int cursor = le->cursorPosition();
    le->setText(shown);
    le->setCursorPosition(std::min(cursor, static_cast<int>(shown.size())));
}

ControlView editView(FormView& view, CustomEdit& edit, QWidget* parent) {
    auto* le = new QLineEdit(parent);
    if (edit.IsMasked())
        le->setInputMask(toQ(qtInputMask(EditMask(edit.EditMaskText()))));
    else if (edit.MaxLength() > 0)
        le->setMaxLength(edit.MaxLength());
    if (dynamic_cast<NumberEdit*>(&edit)) {
        le->setAlignment(Qt::AlignRight);
        le->installEventFilter(new KeypadComma(le));
    }
    view.watch(le, edit);
    // What the user typed becomes the model's typing (its key handling, case rule
    // and mask); the edit then shows what the model kept.
    QObject::connect(le, &QLineEdit::textEdited, le, [&view, &edit, le](const QString& t) {
        view.act([&] { edit.UserReplaceText(fromQ(t)); });
        drawEditText(le, edit);
    });
    return {le, [le, &edit] {
                le->setReadOnly(edit.ReadOnly());
                paint(le, edit.GetColour());
                drawEditText(le, edit);
            }};
}

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
    auto* layout = new QVBoxLayout(box);
    auto buttons = std::make_shared<std::vector<QRadioButton*>>();
    auto draw = [&view, &group, box, layout, buttons] {
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
            layout->addWidget(rb);
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

// The text of a tool button: its caption, else the first words of its hint.
QString buttonText(const Button& b) {
    if (!b.Caption().empty()) return toQ(b.Caption());
    QString hint = toQ(b.Hint()).section(QLatin1Char('\n'), 0, 0);
    return hint.isEmpty() ? toQ(b.Name()) : hint.left(18);
}

ControlView buttonView(FormView& view, Button& button, QWidget* parent) {
    QAbstractButton* b = nullptr;
    if (dynamic_cast<SpeedButton*>(&button)) {
        b = new QToolButton(parent);
        b->setFocusPolicy(Qt::NoFocus);
    } else {
        b = new QPushButton(parent);
        view.watch(b, button);
    }
    QObject::connect(b, &QAbstractButton::clicked, b,
                     [&view, &button] { view.act([&] { view.form().ClickControl(button); }); });
    return {b, [b, &button] { b->setText(buttonText(button)); }};
}

ControlView containerView(FormView& view, Container& container, QWidget* parent) {
    QWidget* w = nullptr;
    if (dynamic_cast<GroupBox*>(&container)) {
        w = new QGroupBox(toQ(container.Caption()), parent);
    } else {
        auto* frame = new QFrame(parent);
        frame->setFrameShape(QFrame::StyledPanel);
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
    if (dynamic_cast<Label*>(&c)) {
        auto* label = new QLabel(parent);
        return {label, [label, &c] { label->setText(toQ(c.Caption())); }};
    }
    return {};
}

}  // namespace pag::gui

#include "gui/form_layout.h"

#include <QBoxLayout>
#include <QLabel>
#include <QSplitter>
#include <algorithm>
#include <map>

#include "gui/form_view.h"
#include "gui/qt_text.h"
#include "gui/screen_layouts.h"
#include "platform/dataset/field.h"
#include "platform/ui/buttons.h"
#include "platform/ui/date_edit.h"
#include "platform/ui/edit.h"
#include "platform/ui/grid.h"
#include "platform/ui/menu.h"
#include "platform/ui/page_control.h"

namespace pag::gui {

namespace {

constexpr int kWideEdit = 30;    // characters from which an edit stretches
constexpr int kWidestEdit = 50;  // characters an edit is never made wider than
constexpr int kDefaultChars = 12;

struct Item {
    Control* control = nullptr;
    QWidget* widget = nullptr;
    QLabel* caption = nullptr;  // an edit's own caption, shown in front of it
};

using Row = std::vector<Item*>;

bool isToolbar(const Control& c) {
    auto* container = dynamic_cast<const Container*>(&c);
    if (!container || dynamic_cast<const Page*>(&c) || dynamic_cast<const MenuItem*>(&c))
        return false;
    bool any = false;
    for (const Control* child : container->Children()) {
        if (dynamic_cast<const MenuItem*>(child)) continue;
        if (!dynamic_cast<const Button*>(child) && !isToolbar(*child)) return false;
        any = true;
    }
    return any;
}

bool ownsRow(const Control& c) {
    return (dynamic_cast<const Container*>(&c) && !isToolbar(c)) || dynamic_cast<const Grid*>(&c) ||
           dynamic_cast<const RadioGroup*>(&c);
}

bool fillsHeight(const Control& c) {
    if (dynamic_cast<const Grid*>(&c) || dynamic_cast<const PageControl*>(&c)) return true;
    auto* container = dynamic_cast<const Container*>(&c);
    if (!container || dynamic_cast<const MenuItem*>(&c)) return false;
    return std::any_of(container->Children().begin(), container->Children().end(),
                       [](const Control* child) { return fillsHeight(*child); });
}

// How many characters an edit holds: its size, its mask, its field's size.
int editChars(const CustomEdit& e) {
    if (dynamic_cast<const DateEdit*>(&e)) return 0;  // sized by its own widget
    if (e.IsMasked()) return static_cast<int>(e.EditText().size());
    if (e.MaxLength() > 0) return e.MaxLength();
    if (Field* f = e.GetField(); f && f->Size() > 0) return f->Size();
    if (Field* f = e.GetField(); f && f->DataType() == FieldType::Float) return 14;
    if (Field* f = e.GetField(); f && f->DataType() == FieldType::Date) return 10;
    if (e.GetField()) return kDefaultChars;
    // A plain edit with no size shows what the screen puts there (names): it takes
    // the room left.
    return kWideEdit;
}

// Sizes an item's widget; true when it takes the row's spare width.
bool sizeItem(const Item& item) {
    Control& c = *item.control;
    if (ownsRow(c) || dynamic_cast<PageControl*>(&c)) return true;
    auto* edit = dynamic_cast<CustomEdit*>(&c);
    if (!edit) return false;
    const int chars = editChars(*edit);
    if (chars == 0) return false;
    const QFontMetrics fm = item.widget->fontMetrics();
    const int width =
        fm.horizontalAdvance(QLatin1Char('0')) * (std::min(std::max(chars, 3), kWidestEdit) + 1) +
        12;
    if (chars >= kWideEdit) {
        item.widget->setMinimumWidth(std::min(width, fm.horizontalAdvance(QLatin1Char('0')) * 24));
        return true;
    }
    item.widget->setFixedWidth(width);
    return false;
}

QHBoxLayout* rowLayout(const Row& row, int labelWidth) {
    auto* h = new QHBoxLayout;
    h->setSpacing(4);
    bool stretches = false;
    for (size_t i = 0; i < row.size(); ++i) {
        Item& item = *row[i];
        if (i == 0 && labelWidth > 0 && dynamic_cast<Label*>(item.control))
            item.widget->setFixedWidth(labelWidth);
        if (item.caption) h->addWidget(item.caption);
        bool grows = sizeItem(item);
        stretches = stretches || grows;
        // Groups side by side line up at their tops; what fills the height fills it.
        bool top = ownsRow(*item.control) && !fillsHeight(*item.control);
        h->addWidget(item.widget, grows ? 1 : 0, top ? Qt::AlignTop : Qt::Alignment());
    }
    if (!stretches) h->addStretch(1);
    return h;
}

// Rows by the general rules.
std::vector<Row> generalRows(std::vector<Item*> items) {
    std::vector<Row> rows;
    if (items.empty()) return rows;
    bool allButtons = std::all_of(items.begin(), items.end(), [](Item* i) {
        return dynamic_cast<Button*>(i->control) || isToolbar(*i->control);
    });
    if (allButtons) return {items};
    bool allChecks = std::all_of(items.begin(), items.end(),
                                 [](Item* i) { return dynamic_cast<CheckBox*>(i->control); });
    if (allChecks) {
        for (size_t i = 0; i < items.size(); i += 2)
            rows.push_back(Row(items.begin() + static_cast<long>(i),
                               items.begin() + static_cast<long>(std::min(i + 2, items.size()))));
        return rows;
    }
    Row current;
    auto flush = [&] {
        if (!current.empty()) rows.push_back(current);
        current.clear();
    };
    for (Item* item : items) {
        if (ownsRow(*item->control)) {
            flush();
            rows.push_back({item});
        } else {
            if (dynamic_cast<Label*>(item->control)) flush();
            current.push_back(item);
        }
    }
    flush();
    return rows;
}

QLabel* captionFor(Control& c, QWidget* host) {
    auto* edit = dynamic_cast<CustomEdit*>(&c);
    if (!edit || edit->Caption().empty()) return nullptr;
    auto* label = new QLabel(toQ(edit->Caption()), host);
    return label;
}

// Lays the rows out in a column; labels starting rows share one width.
void layRows(QBoxLayout* column, const std::vector<Row>& rows) {
    int labelWidth = 0;
    int labelled = 0;
    for (const Row& row : rows)
        if (!row.empty() && dynamic_cast<Label*>(row.front()->control) && row.size() > 1) {
            labelWidth = std::max(labelWidth, row.front()->widget->sizeHint().width());
            ++labelled;
        }
    if (labelled < 2) labelWidth = 0;
    bool filled = false;
    for (const Row& row : rows) {
        bool tall =
            std::any_of(row.begin(), row.end(), [](Item* i) { return fillsHeight(*i->control); });
        column->addLayout(rowLayout(row, labelWidth), tall ? 1 : 0);
        filled = filled || tall;
    }
    if (!filled) column->addStretch(1);
}

QWidget* pane(const std::vector<std::string>& names, std::map<std::string, Item*>& byName,
              QWidget* parent) {
    auto* w = new QWidget(parent);
    auto* column = new QVBoxLayout(w);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    std::vector<Row> rows;
    for (const std::string& n : names)
        if (auto it = byName.find(n); it != byName.end()) {
            it->second->widget->setParent(w);
            rows.push_back({it->second});
            byName.erase(it);
        }
    layRows(column, rows);
    return w;
}

void layForm(Form& form, std::vector<Item>& items, QWidget* host) {
    auto* column = new QVBoxLayout(host);
    column->setContentsMargins(2, 2, 2, 2);
    column->setSpacing(3);
    std::vector<Item*> toolbars, labels, top, pages, bottom;
    for (Item& i : items) {
        if (isToolbar(*i.control))
            toolbars.push_back(&i);
        else if (dynamic_cast<Label*>(i.control))
            labels.push_back(&i);
        else if (dynamic_cast<PageControl*>(i.control))
            pages.push_back(&i);
        else if (belowPages(form.Name(), i.control->Name()))
            bottom.push_back(&i);
        else
            top.push_back(&i);
    }
    // The toolbar row ends with the form's own labels (its screen code).
    if (!toolbars.empty() || !labels.empty()) {
        auto* row = new QHBoxLayout;
        for (Item* t : toolbars)
            row->addWidget(t->widget, 1);
        if (toolbars.empty()) row->addStretch(1);
        for (Item* l : labels) {
            l->widget->setContentsMargins(6, 0, 6, 0);
            row->addWidget(l->widget);
        }
        column->addLayout(row);
    }
    for (Item* i : top)
        column->addWidget(i->widget);
    for (Item* i : pages)
        column->addWidget(i->widget, 1);
    for (Item* i : bottom)
        column->addWidget(i->widget);
    if (pages.empty()) column->addStretch(1);
}

}  // namespace

void layOutContainer(FormView& view, Container& container, QWidget* host) {
    std::vector<Item> items;
    items.reserve(container.Children().size());
    for (Control* child : container.Children()) {
        ControlView v = makeControlView(view, *child, host);
        if (!v.widget) continue;
        QLabel* caption = captionFor(*child, host);
        QWidget* w = v.widget;
        view.add(*child, std::move(v));
        if (caption) {
            caption->setBuddy(w);
            caption->setEnabled(w->isEnabled());
        }
        items.push_back({child, w, caption});
    }
    if (auto* form = dynamic_cast<Form*>(&container)) return layForm(*form, items, host);

    const ContainerLayout* layout = containerLayout(view.form().Name(), container.Name());
    std::map<std::string, Item*> byName;
    for (Item& i : items)
        byName[i.control->Name()] = &i;
    auto* column = new QVBoxLayout(host);
    bool group = dynamic_cast<GroupBox*>(&container) != nullptr;
    column->setContentsMargins(group ? 4 : 2, group ? 2 : 2, group ? 4 : 2, group ? 4 : 2);
    column->setSpacing(3);

    if (layout && !layout->left.empty()) {
        auto* splitter = new QSplitter(Qt::Horizontal, host);
        splitter->addWidget(pane(layout->left, byName, splitter));
        splitter->addWidget(pane(layout->right, byName, splitter));
        splitter->setStretchFactor(0, 1);
        splitter->setStretchFactor(1, 0);
        // The right pane as narrow as its contents allow.
        QWidget* right = splitter->widget(1);
        splitter->setSizes({host->width(), right->minimumSizeHint().width()});
        splitter->setChildrenCollapsible(false);
        column->addWidget(splitter, 1);
    }
    std::vector<Row> rows;
    if (layout)
        for (const auto& names : layout->rows) {
            Row row;
            for (const std::string& n : names)
                if (auto it = byName.find(n); it != byName.end()) {
                    row.push_back(it->second);
                    byName.erase(it);
                }
            if (!row.empty()) rows.push_back(std::move(row));
        }
    std::vector<Item*> rest;
    for (Item& i : items)
        if (byName.count(i.control->Name())) rest.push_back(&i);
    for (Row& row : generalRows(rest))
        rows.push_back(std::move(row));
    if (!rows.empty() || !layout || layout->left.empty()) layRows(column, rows);
}

}  // namespace pag::gui

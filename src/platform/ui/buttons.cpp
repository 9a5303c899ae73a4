#include "platform/ui/buttons.h"

#include <stdexcept>

#include "platform/dataset/client_dataset.h"
#include "platform/ui/form.h"

namespace pag {

Button::Button(std::string name, Container* parent, std::string caption)
    : Control(std::move(name), parent) {
    SetCaption(std::move(caption));
    SetTabStop(true);
}

void Button::SetGlyph(std::string name) {
    if (glyph_ == name) return;
    glyph_ = std::move(name);
    changed();
}

bool Button::Click() {
    if (!IsUsable()) return false;
    if (OnClick) OnClick();
    if (modalResult_ != ModalResult::None)
        if (Form* f = OwnerForm()) f->SetModalResult(modalResult_);
    return true;
}

CheckBox::CheckBox(std::string name, Container* parent, std::string caption)
    : Control(std::move(name), parent) {
    SetCaption(std::move(caption));
    SetTabStop(true);
}

void CheckBox::setCheckedQuietly(bool on) {
    if (checked_ == on) return;
    checked_ = on;
    changed();
}

void CheckBox::SetChecked(bool on) {
    if (checked_ == on) return;
    setCheckedQuietly(on);
    if (OnClick) OnClick();
}

bool CheckBox::Click() {
    if (!IsUsable() || ReadOnly() || !beginUserChange()) return false;
    setCheckedQuietly(!checked_);
    userChanged();
    if (OnClick) OnClick();
    return true;
}

RadioButton::RadioButton(std::string name, Container* parent, std::string caption)
    : Control(std::move(name), parent) {
    SetCaption(std::move(caption));
    SetTabStop(true);
}

void RadioButton::SetChecked(bool on) {
    if (checked_ == on) return;
    checked_ = on;
    changed();
    if (!on) return;
    if (Container* p = Parent())
        for (Control* c : p->Children())
            if (auto* r = dynamic_cast<RadioButton*>(c); r && r != this) r->SetChecked(false);
    if (OnClick) OnClick();
}

bool RadioButton::Click() {
    if (!IsUsable()) return false;
    SetChecked(true);
    return true;
}

RadioGroup::RadioGroup(std::string name, Container* parent, std::string caption,
                       std::vector<std::string> items)
    : Control(std::move(name), parent), items_(std::move(items)) {
    SetCaption(std::move(caption));
    SetTabStop(true);
}

void RadioGroup::SetItems(std::vector<std::string> items) {
    items_ = std::move(items);
    if (itemIndex_ >= static_cast<int>(items_.size())) itemIndex_ = -1;
    changed();
}

void RadioGroup::SetItemIndex(int index) {
    if (index < -1 || index >= static_cast<int>(items_.size())) index = -1;
    if (index == itemIndex_) return;
    itemIndex_ = index;
    changed();
    if (OnClick) OnClick();
}

bool RadioGroup::UserSelect(int index) {
    if (!IsUsable() || index < 0 || index >= static_cast<int>(items_.size())) return false;
    SetItemIndex(index);
    return true;
}

ComboBox::ComboBox(std::string name, Container* parent, std::vector<std::string> items)
    : Control(std::move(name), parent), items_(std::move(items)) {
    SetTabStop(true);
}

void ComboBox::SetItems(std::vector<std::string> items) {
    items_ = std::move(items);
    SetText(text_);
    changed();
}

void ComboBox::SetItemIndex(int index) {
    if (index < -1 || index >= static_cast<int>(items_.size())) index = -1;
    itemIndex_ = index;
    text_ = index >= 0 ? items_[static_cast<size_t>(index)] : std::string();
    changed();
}

void ComboBox::SetText(std::string text) {
    itemIndex_ = -1;
    for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i] == text) itemIndex_ = static_cast<int>(i);
    text_ = std::move(text);
    changed();
}

bool ComboBox::UserSelect(int index) {
    if (!IsUsable() || index < 0 || index >= static_cast<int>(items_.size())) return false;
    if (!beginUserChange()) return false;
    SetItemIndex(index);
    userChanged();
    if (OnChange) OnChange();
    return true;
}

bool ComboBox::UserSelectText(const std::string& text) {
    for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i] == text) return UserSelect(static_cast<int>(i));
    return false;
}

LookupButton::LookupButton(std::string name, Container* parent, std::string title, DataSource* ds,
                           std::string empty)
    : SpeedButton(std::move(name), parent),
      title_(std::move(title)),
      emptyText_(std::move(empty)),
      list_(ds) {}

bool LookupButton::Click(UserInterface& ui) {
    if (!IsUsable()) return false;
    if (OnClick) OnClick();
    if (!list_) return false;
    bool proceed = true;
    if (BeforePesq) BeforePesq(proceed);
    if (!proceed) return false;
    ClientDataSet* ds = list_->DataSet();
    if (!ds || !ds->Active())
        throw std::logic_error("A lista de pesquisa \"" + title_ + "\" não está aberta.");
    if (!ui.pickOne(*ds, title_, emptyText_)) return false;
    if (AfterPesq) AfterPesq();
    return true;
}

bool LookupButton::Click() {
    Form* f = OwnerForm();
    UserInterface* ui = f ? f->GetUserInterface() : nullptr;
    if (!ui) throw std::logic_error("O botão " + Name() + " não tem onde mostrar a lista.");
    return Click(*ui);
}

}  // namespace pag

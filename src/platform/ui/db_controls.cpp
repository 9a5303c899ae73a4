#include "platform/ui/db_controls.h"

namespace pag {

DBCheckBox::DBCheckBox(std::string name, Container* parent, DataSource* source,
                       std::string fieldName, std::string valueChecked, std::string valueUnchecked)
    : CheckBox(std::move(name), parent),
      valueChecked_(std::move(valueChecked)),
      valueUnchecked_(std::move(valueUnchecked)),
      link_(
          [this] {
              Field* f = link_.GetField();
              setCheckedQuietly(f && f->AsString() == valueChecked_);
          },
          [this] { link_.GetField()->SetAsString(Checked() ? valueChecked_ : valueUnchecked_); }) {
    link_.Bind(source, std::move(fieldName));
}

void DBCheckBox::DoExit() {
    link_.UpdateRecord();
    CheckBox::DoExit();
}

DBComboBox::DBComboBox(std::string name, Container* parent, DataSource* source,
                       std::string fieldName, std::vector<std::string> items)
    : ComboBox(std::move(name), parent, std::move(items)),
      link_(
          [this] {
              Field* f = link_.GetField();
              SetText(f ? f->Text() : std::string());
          },
          [this] { link_.GetField()->SetText(Text()); }) {
    link_.Bind(source, std::move(fieldName));
}

void DBComboBox::DoExit() {
    link_.UpdateRecord();
    ComboBox::DoExit();
}

DBText::DBText(std::string name, Container* parent, DataSource* source, std::string fieldName)
    : Control(std::move(name), parent),
      link_(
          [this] {
              Field* f = link_.GetField();
              std::string text = f ? f->DisplayText() : std::string();
              if (text == text_) return;
              text_ = std::move(text);
              changed();
          },
          [] {}) {
    link_.Bind(source, std::move(fieldName));
}

}  // namespace pag

#include "contracts/client/base_screens/control_state.h"

#include <charconv>
#include <string>

#include "platform/ui/buttons.h"
#include "platform/ui/db_controls.h"
#include "platform/ui/edit.h"

namespace pag {

namespace {

constexpr const char* kYes = "S";
constexpr const char* kNo = "N";

const char* flag(bool on) {
    return on ? kYes : kNo;
}

bool isBound(const Control& c) {
    if (auto* edit = dynamic_cast<const CustomEdit*>(&c)) return edit->GetDataSource() != nullptr;
    return dynamic_cast<const DBCheckBox*>(&c) || dynamic_cast<const DBComboBox*>(&c);
}

}  // namespace

OptionList CaptureControlState(const Form& form) {
    OptionList state;
    for (const Control* c : form.Controls()) {
        if (isBound(*c)) continue;
        if (auto* edit = dynamic_cast<const CustomEdit*>(c))
            state.SetValue(c->Name(), edit->Text());
        else if (auto* box = dynamic_cast<const CheckBox*>(c))
            state.SetValue(c->Name(), flag(box->Checked()));
        else if (auto* radio = dynamic_cast<const RadioButton*>(c))
            state.SetValue(c->Name(), flag(radio->Checked()));
        else if (auto* group = dynamic_cast<const RadioGroup*>(c))
            state.SetValue(c->Name(), std::to_string(group->ItemIndex()));
        else if (auto* combo = dynamic_cast<const ComboBox*>(c))
            state.SetValue(c->Name(), combo->Text());
    }
    return state;
}

void RestoreControlState(Form& form, const OptionList& state) {
    for (const auto& [name, value] : state.Entries()) {
        Control* c = form.Find(name);
        if (!c || isBound(*c)) continue;
        if (auto* edit = dynamic_cast<CustomEdit*>(c)) {
            edit->SetText(value);
        } else if (auto* box = dynamic_cast<CheckBox*>(c)) {
            box->SetChecked(value == kYes);
        } else if (auto* radio = dynamic_cast<RadioButton*>(c)) {
            if (value == kYes) radio->SetChecked(true);
        } else if (auto* group = dynamic_cast<RadioGroup*>(c)) {
            int index = -1;
            auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), index);
            if (ec == std::errc() && end == value.data() + value.size() && index >= -1 &&
                index < static_cast<int>(group->Items().size()))
                group->SetItemIndex(index);
        } else if (auto* combo = dynamic_cast<ComboBox*>(c)) {
            combo->SetText(value);
        }
    }
}

}  // namespace pag

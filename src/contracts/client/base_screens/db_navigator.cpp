#include "contracts/client/base_screens/db_navigator.h"

namespace pag {

bool CanNavigate(const ClientDataSet* dataset, NavigateButton button) {
    if (!dataset || dataset->State() != DataSetState::Browse || dataset->IsEmpty()) return false;
    const bool atFirst = dataset->RecNo() <= 1;
    const bool atLast = dataset->RecNo() >= dataset->RecordCount();
    switch (button) {
        case NavigateButton::First:
        case NavigateButton::Prior:
            return !atFirst;
        case NavigateButton::Next:
        case NavigateButton::Last:
            return !atLast;
    }
    return false;
}

bool Navigate(ClientDataSet* dataset, NavigateButton button) {
    if (!CanNavigate(dataset, button)) return false;
    switch (button) {
        case NavigateButton::First:
            dataset->First();
            break;
        case NavigateButton::Prior:
            dataset->Prior();
            break;
        case NavigateButton::Next:
            dataset->Next();
            break;
        case NavigateButton::Last:
            dataset->Last();
            break;
    }
    return true;
}

DBNavigator::DBNavigator(std::string name, Container* parent, DataSource* source)
    : Control(std::move(name), parent), source_(source) {}

bool DBNavigator::ButtonEnabled(NavigateButton button) const {
    return IsUsable() && CanNavigate(source_ ? source_->DataSet() : nullptr, button);
}

bool DBNavigator::Press(NavigateButton button) {
    if (!ButtonEnabled(button)) return false;
    return Navigate(source_->DataSet(), button);
}

}  // namespace pag

#include "contracts/client/base_screens/form_support.h"

#include <stdexcept>

namespace pag {

UserInterface& formUserInterface(const Form& form) {
    UserInterface* ui = form.GetUserInterface();
    if (!ui) throw std::logic_error("A tela " + form.Name() + " não tem interface com o usuário.");
    return *ui;
}

}  // namespace pag

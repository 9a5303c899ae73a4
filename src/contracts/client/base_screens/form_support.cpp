#include "contracts/client/base_screens/form_support.h"

#include <stdexcept>

#include "contracts/consiste.h"

namespace pag {

UserInterface& formUserInterface(const Form& form) {
    UserInterface* ui = form.GetUserInterface();
    if (!ui) throw std::logic_error("A tela " + form.Name() + " não tem interface com o usuário.");
    return *ui;
}

FieldDef campoDialogo(const char* name, FieldType type, int size, const char* label) {
    FieldDef d;
    d.name = name;
    d.type = type;
    d.size = size;
    d.label = label;
    if (type == FieldType::Float) {
        d.displayFormat = "#,##0.00";
        d.alignment = Alignment::Right;
    }
    return d;
}

void focaFalha(Control& c) {
    if (c.Focused() || !c.CanFocus()) return;
    try {
        c.SetFocus();
    } catch (const std::exception&) {
        // The control being left refused with its own message; the focus stays there.
    }
}

void guardaValor(NumberEdit& e, int intDigits, int decimals) {
    e.OnKeyPress = [&e, intDigits, decimals](KeyChar& key) {
        if (key == U'-') {
            key = 0;
            return;
        }
        char c = key < 0x80 ? static_cast<char>(key) : '\0';
        if (c != '\0') c = MaxNumber(e.Text(), intDigits, decimals, c, e.SelStart(), e.SelLength());
        key = static_cast<unsigned char>(c);
    };
}

}  // namespace pag

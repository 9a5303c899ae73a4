#pragma once

#include "platform/ui/keys.h"

class QKeyEvent;

namespace pag::gui {

// A Qt key as the screens' key-down handlers number it (0 for keys they never see).
int pagKey(int qtKey);
// The modifiers of a key event (Backtab counts as Shift+Tab).
ShiftState shiftOf(const QKeyEvent& e);
// The character a key types, as the screens' key-press handlers see it (0: none).
// In number edits the keypad's "." types the decimal comma, as pt-BR users expect.
KeyChar typedChar(const QKeyEvent& e, bool numberEdit);

}  // namespace pag::gui

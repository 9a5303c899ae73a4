#include "gui/keys_qt.h"

#include <QKeyEvent>

namespace pag::gui {

int pagKey(int qtKey) {
    switch (qtKey) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return Key::Tab;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return Key::Enter;
        case Qt::Key_Escape:
            return Key::Escape;
        case Qt::Key_Space:
            return Key::Space;
        case Qt::Key_Backspace:
            return Key::Backspace;
        case Qt::Key_Delete:
            return Key::Delete;
        case Qt::Key_Insert:
            return Key::Insert;
        case Qt::Key_Up:
            return Key::Up;
        case Qt::Key_Down:
            return Key::Down;
        case Qt::Key_Left:
            return Key::Left;
        case Qt::Key_Right:
            return Key::Right;
        case Qt::Key_Home:
            return Key::Home;
        case Qt::Key_End:
            return Key::End;
        case Qt::Key_PageUp:
            return Key::PageUp;
        case Qt::Key_PageDown:
            return Key::PageDown;
        default:
            break;
    }
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12) return Key::F1 + (qtKey - Qt::Key_F1);
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return qtKey;  // same codes as the screens compare with
    return 0;
}

ShiftState shiftOf(const QKeyEvent& e) {
    Qt::KeyboardModifiers m = e.modifiers();
    return {m.testFlag(Qt::ShiftModifier) || e.key() == Qt::Key_Backtab,
            m.testFlag(Qt::ControlModifier), m.testFlag(Qt::AltModifier)};
}

KeyChar typedChar(const QKeyEvent& e, bool numberEdit) {
    const ShiftState shift = shiftOf(e);
    if (shift.ctrl || shift.alt) return 0;
    switch (pagKey(e.key())) {
        case Key::Enter:
            return U'\r';
        case Key::Escape:
            return 27;
        case Key::Backspace:
            return 8;
        case Key::Tab:
            return 0;
        default:
            break;
    }
    if (numberEdit && e.key() == Qt::Key_Period && e.modifiers().testFlag(Qt::KeypadModifier))
        return U',';
    const QString text = e.text();
    if (text.isEmpty() || !text.at(0).isPrint()) return 0;
    return text.toUcs4().value(0);
}

}  // namespace pag::gui

#pragma once

#include <QString>

class QWidget;

namespace pag::gui {

// The screen code whose section of the user guide answers a help context ("PAG12000"
// for the boleto screen); empty for a context the guide has no section for.
QString helpSection(int helpContext);

// Shows the user guide shipped with the program, scrolled to the first heading that
// names section (the top when none does). One window, reused.
void showUserGuide(QWidget* parent, const QString& section);

}  // namespace pag::gui

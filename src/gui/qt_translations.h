#pragma once

namespace pag::gui {

// Qt's own texts (standard buttons, context menus, the calendar) in Portuguese, from
// the translations the system ships; false when they are not installed.
bool installQtTranslations();

}  // namespace pag::gui

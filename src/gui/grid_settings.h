#pragma once

#include <QByteArray>
#include <QString>

namespace pag::gui {

// Column widths and order as each operator leaves them, kept between sessions in the
// user's settings (one entry per operator, screen, grid and column count).
void setGridSettingsOwner(const QString& operador);
QByteArray storedGridState(const QString& grid, int columns);
void storeGridState(const QString& grid, int columns, const QByteArray& state);

}  // namespace pag::gui

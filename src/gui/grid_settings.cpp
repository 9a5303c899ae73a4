#include "gui/grid_settings.h"

#include <QSettings>

namespace pag::gui {

namespace {

QString& owner() {
    static QString operador;
    return operador;
}

QString keyOf(const QString& grid, int columns) {
    const QString who = owner().isEmpty() ? QStringLiteral("_") : owner();
    return QStringLiteral("colunas/%1/%2/%3").arg(who, grid).arg(columns);
}

QSettings& settings() {
    static QSettings s(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("pag12000"),
                       QStringLiteral("pag12000-desktop"));
    return s;
}

}  // namespace

void setGridSettingsOwner(const QString& operador) {
    owner() = operador;
}

QByteArray storedGridState(const QString& grid, int columns) {
    return settings().value(keyOf(grid, columns)).toByteArray();
}

void storeGridState(const QString& grid, int columns, const QByteArray& state) {
    settings().setValue(keyOf(grid, columns), state);
}

}  // namespace pag::gui

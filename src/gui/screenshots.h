#pragma once

#include <QString>
#include <QStringList>

namespace pag::gui {

class DesktopHost;

// Saves the open screen as PNG files in dir: one per page of its page controls, the
// filter and deductions dialogs, and an extension and a split being typed (cancelled
// afterwards: nothing is stored). Returns the files written; throws when one could not
// be.
QStringList takeScreenshots(DesktopHost& host, const QString& dir);

}  // namespace pag::gui

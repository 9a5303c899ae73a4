#pragma once

#include <QString>
#include <QStringList>

namespace pag::gui {

class DesktopHost;

// Saves the open screen as PNG files in dir: one per page of its page controls and
// one of the filter dialog. Returns the files written; throws when one could not be.
QStringList takeScreenshots(DesktopHost& host, const QString& dir);

}  // namespace pag::gui

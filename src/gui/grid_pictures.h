#pragma once

#include <QPixmap>
#include <QString>

namespace pag::gui {

// The pictures the screens draw in grid cells, by name: "imgCheck" and "imgUncheck"
// (the mark check box), "imgHabilitado" and "imgNaoHabilit" (enabled for payment or
// not), "imgOk" (a boleto that associates several payables). A null pixmap for any
// other name.
QPixmap gridPicture(const QString& name);

}  // namespace pag::gui

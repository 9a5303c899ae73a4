#pragma once

#include <QColor>

#include "gui/form_view.h"
#include "platform/ui/edit.h"

namespace pag::gui {

// The edit of a text, masked, number or date edit (a date edit brings its calendar).
ControlView editView(FormView& view, CustomEdit& edit, QWidget* parent);
// The model's selection shown in the edit widget, and the widget's taken into the
// model before a key is typed there.
void showEditCursor(QWidget* watched, const CustomEdit& edit);
void takeEditCursor(QWidget* watched, CustomEdit& edit);
// Paints an input widget's background in a control's colour.
void paintBase(QWidget* w, Colour c);
QColor colourOf(Colour c, const QWidget* w);

}  // namespace pag::gui

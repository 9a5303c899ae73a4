#pragma once

#include <QStyledItemDelegate>
#include <functional>
#include <vector>

#include "platform/ui/grid.h"

namespace pag::gui {

// Paints a grid cell from the drawing the model recorded for it: fills, texts and
// pictures, in order, over the cell's normal background (selection included). It knows
// nothing of any screen: it draws what the commands say.
class GridCellDelegate final : public QStyledItemDelegate {
    Q_OBJECT
public:
    using Source = std::function<std::vector<DrawCommand>(const QModelIndex&)>;
    GridCellDelegate(Source source, QObject* parent);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

private:
    Source source_;
};

}  // namespace pag::gui

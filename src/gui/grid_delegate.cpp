#include "gui/grid_delegate.h"

#include <QApplication>
#include <QPainter>
#include <algorithm>

#include "gui/grid_pictures.h"
#include "gui/qt_text.h"

namespace pag::gui {

namespace {

constexpr int kTextMargin = 3;

Qt::Alignment alignmentOf(const DrawCommand& d, const QModelIndex& index) {
    switch (d.alignment) {
        case Alignment::Right:
            return Qt::AlignRight;
        case Alignment::Center:
            return Qt::AlignHCenter;
        case Alignment::Left:
            break;
    }
    // A text the screen left to the grid takes the column's side (money on the right).
    auto a = index.data(Qt::TextAlignmentRole).value<Qt::Alignment>();
    return a & Qt::AlignHorizontal_Mask;
}

QColor fillColour(Colour c, const QStyleOptionViewItem& option, bool selected) {
    if (selected) return option.palette.color(QPalette::Highlight);
    switch (c.kind) {
        case Colour::Kind::Rgb:
            return QColor(c.red, c.green, c.blue);
        case Colour::Kind::ButtonFace:
            return option.palette.color(QPalette::Button);
        case Colour::Kind::InfoBackground:
            return QColor(255, 255, 225);
        case Colour::Kind::Window:
            break;
    }
    return option.palette.color(QPalette::Base);
}

}  // namespace

GridCellDelegate::GridCellDelegate(Source source, QObject* parent)
    : QStyledItemDelegate(parent), source_(std::move(source)) {}

void GridCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    opt.text.clear();  // the texts are the model's commands
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

    const bool selected = opt.state.testFlag(QStyle::State_Selected);
    const QRect cell = option.rect;
    painter->save();
    painter->setClipRect(cell);
    for (const DrawCommand& d : source_(index)) {
        switch (d.kind) {
            case DrawCommand::Kind::Fill:
                painter->fillRect(cell, fillColour(d.colour, option, selected));
                break;
            case DrawCommand::Kind::Text: {
                painter->setPen(
                    option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
                QRect area = cell.adjusted(kTextMargin, 0, -kTextMargin, 0);
                QString text =
                    option.fontMetrics.elidedText(toQ(d.text), Qt::ElideRight, area.width());
                painter->drawText(area, alignmentOf(d, index) | Qt::AlignVCenter, text);
                break;
            }
            case DrawCommand::Kind::Image: {
                QPixmap picture = gridPicture(toQ(d.text));
                // The pictures sit top-aligned in rows made for them; ours are taller
                // rows, so the offset starts where the picture is centred.
                int top = std::max(0, (cell.height() - picture.height()) / 2 - 1);
                if (!picture.isNull())
                    painter->drawPixmap(cell.topLeft() + QPoint(d.x, top + d.y), picture);
                break;
            }
        }
    }
    painter->restore();
}

}  // namespace pag::gui

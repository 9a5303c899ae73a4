// The grid pictures, painted once: crisp at any scale and nothing to ship beside the
// program.
#include "gui/grid_pictures.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <functional>

namespace pag::gui {

namespace {

constexpr int kSize = 14;

// A tick from a through b to c.
void tick(QPainter& p, QPointF a, QPointF b, QPointF c, const QColor& colour, qreal width) {
    QPainterPath path;
    path.moveTo(a);
    path.lineTo(b);
    path.lineTo(c);
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
}

void checkBox(QPainter& p, bool ticked) {
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(0.5, 0.5, kSize - 2, kSize - 2));
    if (!ticked) return;
    tick(p, {3, 6.5}, {5.5, 9.5}, {10, 3.5}, Qt::black, 2);
}

void enabled(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 150, 60));
    p.drawEllipse(QRectF(0.5, 0.5, kSize - 1, kSize - 1));
    tick(p, {3.5, 7.5}, {6, 10}, {10.5, 4.5}, Qt::white, 2);
}

void notEnabled(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 40, 40));
    p.drawEllipse(QRectF(0.5, 0.5, kSize - 1, kSize - 1));
    p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(4.5, 4.5), QPointF(9.5, 9.5));
    p.drawLine(QPointF(9.5, 4.5), QPointF(4.5, 9.5));
}

// Two linked sheets: one boleto standing for several payables.
void association(QPainter& p) {
    p.setPen(QPen(QColor(20, 80, 160), 1));
    p.setBrush(QColor(200, 220, 250));
    p.drawRect(QRectF(0.5, 0.5, 8, 9));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.5, 3.5, 8, 9));
    tick(p, {6, 8}, {8, 10}, {11, 5.5}, QColor(30, 150, 60), 1.6);
}

QPixmap paint(const std::function<void(QPainter&)>& draw) {
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p);
    return pixmap;
}

}  // namespace

QPixmap gridPicture(const QString& name) {
    // Painted on first use (a pixmap needs the application) and kept for the program's
    // life: destroying pixmaps after the application is gone is not allowed.
    static const auto* pictures = new QHash<QString, QPixmap>{
        {QStringLiteral("imgCheck"), paint([](QPainter& p) { checkBox(p, true); })},
        {QStringLiteral("imgUncheck"), paint([](QPainter& p) { checkBox(p, false); })},
        {QStringLiteral("imgHabilitado"), paint(enabled)},
        {QStringLiteral("imgNaoHabilit"), paint(notEnabled)},
        {QStringLiteral("imgOk"), paint(association)},
    };
    // The screens name their holders freely as to case ("imguncheck").
    for (auto it = pictures->cbegin(); it != pictures->cend(); ++it)
        if (it.key().compare(name, Qt::CaseInsensitive) == 0) return it.value();
    return {};
}

}  // namespace pag::gui

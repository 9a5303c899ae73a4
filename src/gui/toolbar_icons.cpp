// The pictures of the toolbar buttons: the style's standard icons where one says the
// same thing, small painted ones for the module's own commands.
#include "gui/toolbar_icons.h"

#include <QApplication>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>
#include <functional>

#include "gui/grid_pictures.h"
#include "gui/qt_text.h"
#include "platform/ui/buttons.h"

namespace pag::gui {

namespace {

constexpr int kIcon = 20;

QIcon painted(const std::function<void(QPainter&)>& draw) {
    QPixmap pixmap(kIcon, kIcon);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p);
    p.end();
    return QIcon(pixmap);
}

// A funnel: the filter.
void funnel(QPainter& p) {
    QPainterPath path;
    path.moveTo(2, 3);
    path.lineTo(18, 3);
    path.lineTo(12, 10);
    path.lineTo(12, 17);
    path.lineTo(8, 15);
    path.lineTo(8, 10);
    path.closeSubpath();
    p.setPen(QPen(QColor(40, 70, 140), 1.2));
    p.setBrush(QColor(120, 160, 230));
    p.drawPath(path);
}

// Two sheets joined: associating boletos.
void associate(QPainter& p) {
    p.setPen(QPen(QColor(40, 70, 140), 1.2));
    p.setBrush(QColor(220, 230, 250));
    p.drawRect(QRectF(2.5, 2.5, 9, 11));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(8.5, 6.5, 9, 11));
    p.setPen(QPen(QColor(30, 150, 60), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(10.5, 12), QPointF(15.5, 12));
    p.drawLine(QPointF(13, 9.5), QPointF(13, 14.5));
}

// A sheet crossed out: cancelling the real boleto.
void cancelBoleto(QPainter& p) {
    p.setPen(QPen(QColor(90, 90, 90), 1.2));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.5, 2.5, 11, 15));
    p.setPen(QPen(QColor(200, 40, 40), 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(6, 5), QPointF(14, 15));
    p.drawLine(QPointF(14, 5), QPointF(6, 15));
}

// Lightning over a tick: enabling automatically.
void automatic(QPainter& p) {
    p.drawPixmap(QRect(1, 5, 14, 14), gridPicture(QStringLiteral("imgHabilitado")));
    QPainterPath bolt;
    bolt.moveTo(15, 1);
    bolt.lineTo(11, 9);
    bolt.lineTo(14, 9);
    bolt.lineTo(12, 16);
    bolt.lineTo(19, 6);
    bolt.lineTo(15.5, 6);
    bolt.lineTo(18, 1);
    bolt.closeSubpath();
    p.setPen(QPen(QColor(160, 110, 0), 0.8));
    p.setBrush(QColor(250, 200, 40));
    p.drawPath(bolt);
}

// A tax guide: a sheet with a "$".
void taxGuide(QPainter& p) {
    p.setPen(QPen(QColor(90, 90, 90), 1.2));
    p.setBrush(QColor(255, 250, 225));
    p.drawRect(QRectF(3.5, 2.5, 13, 15));
    QFont f = p.font();
    f.setBold(true);
    f.setPixelSize(11);
    p.setFont(f);
    p.setPen(QColor(30, 120, 50));
    p.drawText(QRectF(3.5, 2.5, 13, 15), Qt::AlignCenter, QStringLiteral("$"));
}

// Eraser: clearing the filter's criteria.
void clear(QPainter& p) {
    p.setPen(QPen(QColor(120, 60, 60), 1.2));
    p.setBrush(QColor(240, 150, 150));
    QPolygonF shape(
        {QPointF(3, 13), QPointF(11, 4), QPointF(17, 10), QPointF(10, 17), QPointF(6, 17)});
    p.drawPolygon(shape);
    p.drawLine(QPointF(7, 9), QPointF(13, 15));
}

// A question mark in a blue disc: help.
void help(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 100, 200));
    p.drawEllipse(QRectF(2, 2, 16, 16));
    QFont f = p.font();
    f.setBold(true);
    f.setPixelSize(13);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(2, 2, 16, 16), Qt::AlignCenter, QStringLiteral("?"));
}

// A printer.
void printer(QPainter& p) {
    p.setPen(QPen(QColor(80, 80, 80), 1.2));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(5.5, 2.5, 9, 6));
    p.setBrush(QColor(170, 170, 170));
    p.drawRoundedRect(QRectF(2.5, 7.5, 15, 7), 1.5, 1.5);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(5.5, 12.5, 9, 5));
}

// A pencil: changing the row.
void pencil(QPainter& p) {
    QPolygonF body(
        {QPointF(4, 16), QPointF(5, 12), QPointF(14, 3), QPointF(17, 6), QPointF(8, 15)});
    p.setPen(QPen(QColor(110, 80, 20), 1));
    p.setBrush(QColor(240, 190, 60));
    p.drawPolygon(body);
    p.setBrush(QColor(60, 60, 60));
    p.drawPolygon(QPolygonF({QPointF(4, 16), QPointF(5, 12), QPointF(8, 15)}));
}

QIcon standard(QStyle::StandardPixmap which) {
    return QApplication::style()->standardIcon(which);
}

}  // namespace

QIcon buttonIcon(const Button& button) {
    static const auto* icons = new QHash<QString, std::function<QIcon()>>{
        {QStringLiteral("sbtIncluir"), [] { return standard(QStyle::SP_FileIcon); }},
        {QStringLiteral("sbtAlterar"), [] { return painted(pencil); }},
        {QStringLiteral("sbtExcluir"), [] { return standard(QStyle::SP_TrashIcon); }},
        {QStringLiteral("sbtProcurar"), [] { return standard(QStyle::SP_FileDialogContentsView); }},
        {QStringLiteral("sbtVerificar"), [] { return standard(QStyle::SP_BrowserReload); }},
        {QStringLiteral("sbtConfirmar"), [] { return standard(QStyle::SP_DialogApplyButton); }},
        {QStringLiteral("sbtConfirma"), [] { return standard(QStyle::SP_DialogApplyButton); }},
        {QStringLiteral("sbtCancelar"), [] { return standard(QStyle::SP_DialogCancelButton); }},
        {QStringLiteral("sbtCancel"), [] { return standard(QStyle::SP_DialogCancelButton); }},
        {QStringLiteral("sbtImprimir"), [] { return painted(printer); }},
        {QStringLiteral("sbtAjuda"), [] { return painted(help); }},
        {QStringLiteral("sbtHelp"), [] { return painted(help); }},
        {QStringLiteral("sbtFechar"), [] { return standard(QStyle::SP_DialogCloseButton); }},
        {QStringLiteral("btfSaveOpc"), [] { return standard(QStyle::SP_DialogSaveButton); }},
        {QStringLiteral("btfLoadOpc"), [] { return standard(QStyle::SP_DialogOpenButton); }},
        {QStringLiteral("sbtFiltro"), [] { return painted(funnel); }},
        {QStringLiteral("sbtAgrupa"), [] { return painted(associate); }},
        {QStringLiteral("sbtCancelaBol"), [] { return painted(cancelBoleto); }},
        {QStringLiteral("sbtHabAuto"), [] { return painted(automatic); }},
        {QStringLiteral("sbtCadGuiaImp"), [] { return painted(taxGuide); }},
        {QStringLiteral("sbtLimpa"), [] { return painted(clear); }},
    };
    auto it = icons->constFind(toQ(button.Name()));
    if (it != icons->constEnd()) return it.value()();
    if (dynamic_cast<const LookupButton*>(&button))
        return standard(QStyle::SP_FileDialogContentsView);
    return {};
}

}  // namespace pag::gui

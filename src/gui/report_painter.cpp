#include "gui/report_painter.h"

#include <QFile>
#include <QFontMetrics>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <stdexcept>

#include "gui/qt_text.h"
#include "platform/export/report_layout.h"

namespace pag::gui {

namespace {

// Where each part of a page goes, in device pixels.
struct PageGeometry {
    QRect page;
    int line = 0;        // height of one line of the list
    int headTop = 0;     // the column titles
    int bodyTop = 0;     // the first line of the list
    int footerTop = 0;   // "Página N de M"
    std::vector<int> x;  // left edge of each column, and the right edge last
};

PageGeometry geometryOf(const PrintableReport& r, QPainter& p, const QFont& body) {
    PageGeometry g;
    g.page = p.viewport();
    const QFontMetrics fm(body, p.device());
    g.line = fm.height() + fm.height() / 5;
    // Title (twice a line), the header lines, a gap, then the column titles.
    g.headTop = g.page.top() + g.line * (3 + static_cast<int>(r.header.size()));
    g.bodyTop = g.headTop + g.line + g.line / 2;
    g.footerTop = g.page.bottom() - g.line;
    int total = 0;
    for (const ReportColumn& c : r.columns)
        total += c.width;
    int acc = 0;
    for (const ReportColumn& c : r.columns) {
        g.x.push_back(g.page.left() + static_cast<int>(static_cast<long long>(g.page.width()) *
                                                       acc / std::max(total, 1)));
        acc += c.width;
    }
    g.x.push_back(g.page.right());
    return g;
}

// One cell's text on its baseline, cut with "..." when wider than its column. Drawn at a
// point, not in a rectangle: a list of thousands of pages spends its time here.
void drawCell(QPainter& p, const PageGeometry& g, size_t col, int y, const QString& text,
              bool right) {
    const QFontMetrics fm = p.fontMetrics();
    const int pad = g.line / 4;
    const int left = g.x[col] + pad;
    const int width = g.x[col + 1] - g.x[col] - 2 * pad;
    QString shown = text;
    int advance = fm.horizontalAdvance(shown);
    if (advance > width) {
        shown = fm.elidedText(text, Qt::ElideRight, width);
        advance = fm.horizontalAdvance(shown);
    }
    const int baseline = y + (g.line + fm.ascent() - fm.descent()) / 2;
    p.drawText(QPoint(right ? left + width - advance : left, baseline), shown);
}

void drawHeader(QPainter& p, const PrintableReport& r, const PageGeometry& g, const QFont& body) {
    QFont title = body;
    title.setBold(true);
    title.setPointSizeF(body.pointSizeF() * 1.5);
    p.setFont(title);
    p.drawText(QRect(g.page.left(), g.page.top(), g.page.width(), g.line * 2),
               Qt::AlignLeft | Qt::AlignVCenter, toQ(r.title));
    p.setFont(body);
    int y = g.page.top() + g.line * 2;
    for (const std::string& h : r.header) {
        p.drawText(QRect(g.page.left(), y, g.page.width(), g.line),
                   Qt::AlignLeft | Qt::AlignVCenter, toQ(h));
        y += g.line;
    }
    QFont bold = body;
    bold.setBold(true);
    p.setFont(bold);
    for (size_t c = 0; c < r.columns.size(); ++c)
        drawCell(p, g, c, g.headTop, toQ(r.columns[c].title), r.columns[c].rightAligned);
    p.drawLine(g.page.left(), g.headTop + g.line, g.page.right(), g.headTop + g.line);
    p.setFont(body);
}

void drawLine(QPainter& p, const PrintableReport& r, const PageGeometry& g, const ReportLine& l,
              int y, const QFont& body) {
    if (l.kind == ReportLine::Kind::Row) {
        const ReportRow& row = r.rows[l.row];
        for (size_t c = 0; c < r.columns.size() && c < row.cells.size(); ++c)
            drawCell(p, g, c, y, toQ(row.cells[c]), r.columns[c].rightAligned);
        return;
    }
    QFont bold = body;
    bold.setBold(true);
    p.setFont(bold);
    p.drawText(QRect(g.page.left(), y, g.page.width() - g.line / 4, g.line),
               Qt::AlignRight | Qt::AlignVCenter, toQ(TotalText(l)));
    p.setFont(body);
}

}  // namespace

int paintReport(const PrintableReport& report, QPagedPaintDevice& device) {
    QPainter p;
    if (!p.begin(&device)) throw std::runtime_error("Não foi possível iniciar a impressão.");
    QFont body(QStringLiteral("DejaVu Sans"));
    body.setPointSizeF(8);
    p.setFont(body);
    const PageGeometry g = geometryOf(report, p, body);
    const int capacity = (g.footerTop - g.bodyTop) / std::max(g.line, 1);
    const std::vector<ReportPage> pages = PaginateReport(report, capacity);
    const int count = static_cast<int>(pages.size());
    for (int n = 0; n < count; ++n) {
        if (n > 0) device.newPage();
        drawHeader(p, report, g, body);
        int y = g.bodyTop;
        for (const ReportLine& l : pages[static_cast<size_t>(n)].lines) {
            drawLine(p, report, g, l, y, body);
            y += g.line;
        }
        p.drawText(QRect(g.page.left(), g.footerTop, g.page.width(), g.line),
                   Qt::AlignRight | Qt::AlignVCenter, toQ(PageFooter(n + 1, count)));
    }
    if (!p.end()) throw std::runtime_error("A impressão não terminou.");
    return count;
}

int saveReportPdf(const PrintableReport& report, const QString& file) {
    const QString tmp = file + QStringLiteral(".tmp");
    const auto failed = [&] {
        QFile::remove(tmp);
        return std::runtime_error("Não foi possível gravar o arquivo " + fromQ(file) + ".");
    };
    int pages = 0;
    {
        QFile probe(tmp);
        if (!probe.open(QIODevice::WriteOnly)) throw failed();
    }
    try {
        QPdfWriter writer(tmp);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
        writer.setResolution(300);
        writer.setTitle(toQ(report.title));
        pages = paintReport(report, writer);
    } catch (const std::runtime_error&) {
        throw failed();
    }
    QFile written(tmp);
    if (written.size() == 0) throw failed();
    if (QFile::exists(file) && !QFile::remove(file)) throw failed();
    if (!QFile::rename(tmp, file)) throw failed();
    return pages;
}

bool printReportOnPrinter(const PrintableReport& report, QWidget* parent) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("Imprimir lista de boletos"));
    if (dialog.exec() != QDialog::Accepted) return false;
    paintReport(report, printer);
    return true;
}

}  // namespace pag::gui

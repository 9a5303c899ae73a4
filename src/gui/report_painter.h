#pragma once

#include <QString>

class QPagedPaintDevice;
class QWidget;

namespace pag {
struct PrintableReport;
}

namespace pag::gui {

// Paints a printable list on the pages of a PDF writer or a printer: the split over
// pages comes from PaginateReport, sized to what the device's page holds. Returns the
// number of pages painted; throws std::runtime_error (pt-BR) when painting cannot start.
int paintReport(const PrintableReport& report, QPagedPaintDevice& device);

// Writes the list as a PDF file, through FILE.tmp renamed at the end, so a failure
// leaves no half file. Throws std::runtime_error (pt-BR) naming the file.
int saveReportPdf(const PrintableReport& report, const QString& file);

// The system print dialog, then the list on the printer chosen; false when cancelled.
bool printReportOnPrinter(const PrintableReport& report, QWidget* parent);

}  // namespace pag::gui

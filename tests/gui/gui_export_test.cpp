// The list as it stands, from the screen's "Operação" menu through the real widgets:
// exported to CSV and saved as PDF through the save dialog, the PDF read back as text.
#include <QAction>
#include <QFileDialog>
#include <QHeaderView>
#include <QRegularExpression>

#include "desktop_fixture.h"
#include "platform/format.h"
#include "platform/ui/date_edit.h"
#include "testing/csv_reader.h"

namespace pag::gui {
namespace {

class ListExportFlows : public DesktopScreen {
protected:
    void listAYear() { listDaysEachWay(366); }

    // Chooses the menu item; the save dialog that opens is answered with file (or
    // cancelled when file is empty). Returns whether the dialog opened.
    bool chooseWithFile(const QString& item, const QString& file) {
        QAction* action = menuAction(item);
        EXPECT_NE(action, nullptr) << fromQ(item);
        if (!action) return false;
        EXPECT_TRUE(action->isEnabled());
        bool opened = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog || dialog->objectName() != QStringLiteral("dlgSalvarArquivo")) return;
            opened = true;
            if (file.isEmpty()) {
                dialog->reject();
                return;
            }
            dialog->selectFile(file);
            // As the Save button does: QFileDialog checks the name it was given.
            static_cast<QDialog*>(dialog)->accept();
        });
        action->trigger();
        settle();
        return opened;
    }

    QString pdfText(const QString& pdf) {
        QProcess p;
        p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        EXPECT_TRUE(p.waitForFinished(30000));
        EXPECT_EQ(p.exitCode(), 0) << "pdftotext (poppler-utils) falhou";
        return QString::fromUtf8(p.readAllStandardOutput());
    }

    // The grid's titles in the order the header shows them (the mark column's title
    // is a glyph: the file names it "Marcado").
    std::vector<std::string> shownTitles() {
        QHeaderView* header = table()->horizontalHeader();
        std::vector<std::string> titles;
        for (int v = 0; v < header->count(); ++v) {
            const int section = header->logicalIndex(v);
            titles.push_back(
                section == 0
                    ? "Marcado"
                    : fromQ(table()->model()->headerData(section, Qt::Horizontal).toString()));
        }
        return titles;
    }

    QTemporaryDir out_;
};

TEST_F(ListExportFlows, MenuExportsTheListAsCsvThroughTheSaveDialog) {
    listAYear();
    const QString file = out_.filePath(QStringLiteral("boletos.csv"));
    // Cancelled: nothing written, nothing said.
    EXPECT_TRUE(chooseWithFile(QStringLiteral("E&xportar lista (CSV)..."), {}));
    EXPECT_FALSE(QFile::exists(file));
    ASSERT_TRUE(chooseWithFile(QStringLiteral("E&xportar lista (CSV)..."), file));
    EXPECT_TRUE(boxes_.seen.isEmpty()) << fromQ(boxes_.seen.join(' '));
    const CsvFile csv = ReadCsvFile(fromQ(file));
    EXPECT_TRUE(csv.bom);
    ASSERT_EQ(csv.rows.size(), static_cast<size_t>(boletos().RecordCount()) + 1);
    EXPECT_EQ(csv.rows[0].at(0), "Marcado");
    EXPECT_EQ(csv.rows[0], shownTitles());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "o cursor de espera ficou";
    auto* status = host_->window().findChild<QStatusBar*>();
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(
        status->currentMessage(),
        QStringLiteral("%1 boletos exportados para %2").arg(boletos().RecordCount()).arg(file));
}

// The columns as the clerk sees them, the desktop's own order included: a column
// dragged to another place moves in the file too.
TEST_F(ListExportFlows, CsvColumnsFollowTheGridAsShown) {
    listAYear();
    QHeaderView* header = table()->horizontalHeader();
    header->moveSection(header->visualIndex(1), header->count() - 1);
    settle();
    const QString file = out_.filePath(QStringLiteral("movida.csv"));
    ASSERT_TRUE(chooseWithFile(QStringLiteral("E&xportar lista (CSV)..."), file));
    const CsvFile csv = ReadCsvFile(fromQ(file));
    ASSERT_FALSE(csv.rows.empty());
    EXPECT_EQ(csv.rows[0], shownTitles());
    EXPECT_EQ(csv.rows[0].back(),
              fromQ(table()->model()->headerData(1, Qt::Horizontal).toString()));
}

TEST_F(ListExportFlows, PdfHasItsPagesNumberedAndTheTotalsOfTheList) {
    listAYear();
    const QString pdf = out_.filePath(QStringLiteral("boletos.pdf"));
    ASSERT_TRUE(chooseWithFile(QStringLiteral("Salvar lista em &PDF..."), pdf));
    EXPECT_TRUE(boxes_.seen.isEmpty()) << fromQ(boxes_.seen.join(' '));
    ASSERT_TRUE(QFile::exists(pdf));
    EXPECT_FALSE(QFile::exists(pdf + QStringLiteral(".tmp")));
    const QString text = pdfText(pdf);

    // Every page says which it is of how many, and pdftotext found that many pages.
    const int pages = static_cast<int>(text.count(QChar('\f')));
    ASSERT_GT(pages, 1) << "a lista de um ano deveria passar de uma página";
    for (int n = 1; n <= pages; ++n)
        EXPECT_TRUE(text.contains(QStringLiteral("Página %1 de %2").arg(n).arg(pages))) << n;

    // No boleto marked: all listed, totalled per due date and overall.
    ClientDataSet& cds = boletos();
    std::map<int32_t, std::pair<int64_t, long>> perDate;
    int64_t all = 0;
    for (int r = 1; r <= cds.RecordCount(); ++r) {
        DisplayRecordScope reg(cds, r);
        const int64_t cents = roundToCents(cds.FieldByName("VRFINALBPAG").AsFloat());
        auto& d = perDate[cds.FieldByName("DTVENBOLPAG").AsDateTime().serial()];
        d.first += cents;
        ++d.second;
        all += cents;
    }
    EXPECT_TRUE(text.contains(QStringLiteral("Nenhum boleto marcado: todos os %1 boletos listados")
                                  .arg(cds.RecordCount())));
    const auto money = [](int64_t cents) {
        return toQ(formatFloat("#,##0.00", static_cast<double>(cents) / 100.0));
    };
    for (const auto& [serial, d] : perDate)
        EXPECT_TRUE(text.contains(QStringLiteral("Total do vencimento de %1 (%2 boleto")
                                      .arg(toQ(Date::fromSerial(serial).toString()))
                                      .arg(d.second) +
                                  (d.second == 1 ? QString() : QStringLiteral("s")) +
                                  QStringLiteral("): ") + money(d.first)))
            << Date::fromSerial(serial).toString();
    EXPECT_TRUE(text.contains(QStringLiteral("Total geral (%1 boletos): ").arg(cds.RecordCount()) +
                              money(all)));
    EXPECT_TRUE(text.contains(QStringLiteral("Data de processamento: ") +
                              toQ(login_.ProcessingDate.toString())));
}

}  // namespace
}  // namespace pag::gui

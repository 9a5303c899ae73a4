// The desktop front end drawn offscreen: the host loads the package library, the
// screen opens on a demo database, the widgets show the models and the user's input
// (keys, clicks, tabs, the filter dialog) reaches them.
#include "desktop_fixture.h"

#include "gui/qt_translations.h"

namespace pag::gui {

QString gDesktop;
QString gPackage;

namespace {

TEST_F(DesktopScreen, HostLoadsThePackageLibrary) {
    if (gPackage.isEmpty()) GTEST_SKIP() << "sem a biblioteca do pacote";
    EXPECT_FALSE(host_->packageFile().isEmpty());
    EXPECT_EQ(host_->window().screenCodeLabel()->text(), QStringLiteral("PAG12000"));
    EXPECT_EQ(view_->parentWidget()->size(), QSize(769, 515));
}

TEST_F(DesktopScreen, GridShowsTheDaysBoletosWithTheirPicturesAndFollowsTheCursorBothWays) {
    ASSERT_NE(table(), nullptr);
    ASSERT_GE(boletos().RecordCount(), 2);
    EXPECT_EQ(table()->model()->rowCount(), boletos().RecordCount());
    // Money sits on the right, in pt-BR.
    bool money = false;
    for (int col = 0; col < table()->model()->columnCount(); ++col) {
        QModelIndex cell = table()->model()->index(0, col);
        auto align = table()->model()->data(cell, Qt::TextAlignmentRole).value<Qt::Alignment>();
        QString text = table()->model()->data(cell).toString();
        if (align.testFlag(Qt::AlignRight) && text.contains(QLatin1Char(','))) money = true;
    }
    EXPECT_TRUE(money);
    // Every row is drawn by the model, pictures included, without moving the cursor.
    const int mark = IndiceCol(boletoGrid(), "IDMARCADO");
    for (int row = 1; row <= boletos().RecordCount(); ++row) {
        std::vector<DrawCommand> cell = drawGridCell(boletoGrid(), row, mark);
        bool picture = std::any_of(cell.begin(), cell.end(), [](const DrawCommand& d) {
            return d.kind == DrawCommand::Kind::Image &&
                   (d.text == "imgCheck" || d.text == "imgUncheck");
        });
        EXPECT_TRUE(picture) << "linha " << row;
    }
    EXPECT_EQ(boletos().RecNo(), 1);
    // The user moves in the table: the dataset follows; the program moves: the table does.
    table()->setCurrentIndex(table()->model()->index(1, 2));
    EXPECT_EQ(boletos().RecNo(), 2);
    view_->act([&] { boletos().First(); });
    EXPECT_EQ(table()->currentIndex().row(), 0);
}

TEST_F(DesktopScreen, KeysAndClicksInTheGridReachItsModel) {
    ASSERT_GE(boletos().RecordCount(), 3);
    table()->setFocus();
    settle();
    press(table(), Qt::Key_Down);
    EXPECT_EQ(boletos().RecNo(), 2);
    press(table(), Qt::Key_Down);
    press(table(), Qt::Key_Up);
    EXPECT_EQ(boletos().RecNo(), 2);
    const int before = boletoGrid().SelectedIndex();
    press(table(), Qt::Key_Right);
    EXPECT_GT(boletoGrid().SelectedIndex(), before);
    EXPECT_EQ(table()->currentIndex().row(), 1);
    // A click on a cell moves the cursor and selects the column.
    const int date = IndiceCol(boletoGrid(), "DTVENBOLPAG");
    QModelIndex third = table()->model()->index(2, 2);
    clickCell(table(), third);
    EXPECT_EQ(boletos().RecNo(), 3);
    EXPECT_EQ(boletoGrid().SelectedIndex(), date);
    // Typing in a display-only column changes nothing.
    const std::string shown = boletos().FieldByName("DTVENBOLPAG").AsString();
    typeText(table(), QStringLiteral("1"));
    EXPECT_EQ(boletos().FieldByName("DTVENBOLPAG").AsString(), shown);
    EXPECT_EQ(boletos().State(), DataSetState::Browse);
}

TEST_F(DesktopScreen, DoubleClickInTheHabColumnEnablesTheBoletoAndSavesIt) {
    goToBoleto("0002", "0000000017");
    ASSERT_EQ(boletos().FieldByName("IDHABIBPAG").AsString(), "N");
    const int hab = tableColumn("IDHABIBPAG");
    ASSERT_GE(hab, 0);
    const int row = boletos().RecNo() - 1;
    clickCell(table(), table()->model()->index(row, hab), /*twice*/ true);
    settle();
    EXPECT_EQ(boletos().FieldByName("IDHABIBPAG").AsString(), "S");
    EXPECT_EQ(boletos().State(), DataSetState::Browse);
    EXPECT_EQ(stored("IDHABIBPAG", "0002", "0000000017"), Value("S"));
    std::vector<DrawCommand> cell =
        drawGridCell(boletoGrid(), row + 1, IndiceCol(boletoGrid(), "IDHABIBPAG"));
    EXPECT_TRUE(std::any_of(cell.begin(), cell.end(), [](const DrawCommand& d) {
        return d.kind == DrawCommand::Kind::Image && d.text == "imgHabilitado";
    }));
    EXPECT_TRUE(boxes_.seen.isEmpty()) << fromQ(boxes_.seen.join(QStringLiteral(" | ")));
}

TEST_F(DesktopScreen, PaymentDataPageChangesAndSavesTheBoleto) {
    goToBoleto("0001", "0000000025");
    ASSERT_NE(toolButton("sbtAlterar"), nullptr);
    toolButton("sbtAlterar")->click();
    settle();
    EXPECT_EQ(boletos().State(), DataSetState::Edit);
    EXPECT_EQ(control<PageControl>("pgcPadrao").ActivePage()->Name(), "tshDadosPag");
    auto* multa = qobject_cast<QLineEdit*>(view_->widgetFor(control<CustomEdit>("dbePeMulta")));
    ASSERT_NE(multa, nullptr);
    clickInto(multa);
    settle();
    multa->selectAll();
    typeText(multa, QStringLiteral("2,5"));
    ASSERT_TRUE(toolButton("sbtConfirmar")->isEnabled());
    toolButton("sbtConfirmar")->click();
    settle();
    EXPECT_EQ(boletos().State(), DataSetState::Browse);
    EXPECT_EQ(stored("VRPEMULBPAG", "0001", "0000000025"), Value(2.5));
    EXPECT_EQ(boletos().FieldByName("NRLANBOLPAG").AsString(), "0000000025");
    EXPECT_TRUE(boxes_.seen.isEmpty()) << fromQ(boxes_.seen.join(QStringLiteral(" | ")));
}

TEST_F(DesktopScreen, TypingReachesTheModelKeyByKeyThroughItsMask) {
    auto& company = control<MaskEdit>("medEmpresa");
    auto* edit = qobject_cast<QLineEdit*>(view_->widgetFor(company));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->text(), QStringLiteral("01"));
    clickInto(edit);
    settle();
    EXPECT_EQ(screen().ActiveControl(), &company);
    edit->selectAll();
    press(edit, Qt::Key_Backspace);
    EXPECT_EQ(company.Text(), "");
    typeText(edit, QStringLiteral("x1"));  // the mask takes digits only
    EXPECT_EQ(company.Text(), "1");
    edit->selectAll();
    typeText(edit, QStringLiteral("01"));
    EXPECT_EQ(company.Text(), "01");
    EXPECT_EQ(edit->text(), QStringLiteral("01"));
    EXPECT_TRUE(company.Modified());
}

TEST_F(DesktopScreen, PagesSwitchBothWays) {
    auto& pages = control<PageControl>("pgcPadrao");
    auto* tabs = qobject_cast<QTabWidget*>(view_->widgetFor(pages));
    ASSERT_NE(tabs, nullptr);
    ASSERT_EQ(tabs->count(), pages.PageCount());
    int switched = 0;
    for (int i = tabs->count() - 1; i >= 0; --i) {
        if (!tabs->isTabVisible(i)) continue;
        tabs->setCurrentIndex(i);
        EXPECT_EQ(tabs->currentIndex(), pages.ActivePageIndex());
        if (pages.ActivePageIndex() == i) ++switched;
    }
    EXPECT_GE(switched, 2);
    view_->act([&] { pages.SelectPage(*pages.Pages().front()); });
    EXPECT_EQ(tabs->currentIndex(), 0);
}

TEST_F(DesktopScreen, FilterDialogRunsInProcessAndCancellingKeepsTheBoletos) {
    const int loaded = boletos().RecordCount();
    withFilterDialog([&](FormDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Filtro de Boleto"));
        // The due dates the screen opened with: the processing date.
        auto& from = dialog.view().form().Get<CustomEdit>("depDataIni");
        EXPECT_EQ(from.Text(), login_.ProcessingDate.toString());
        press(&dialog, Qt::Key_Escape);
    });
    EXPECT_TRUE(screen().Visible());
    EXPECT_EQ(boletos().RecordCount(), loaded);
}

TEST_F(DesktopScreen, FilterDialogConfirmationReloadsTheBoletos) {
    view_->act([&] { boletos().Last(); });
    withFilterDialog([&](FormDialog& dialog) {
        Form& filter = dialog.view().form();
        auto* confirm = qobject_cast<QToolButton*>(
            dialog.view().widgetFor(filter.Get<SpeedButton>("sbtConfirma")));
        ASSERT_NE(confirm, nullptr);
        confirm->click();
    });
    EXPECT_TRUE(boxes_.seen.isEmpty()) << fromQ(boxes_.seen.join(' '));
    // A reload puts the cursor back on the first boleto, and the table with it.
    EXPECT_EQ(boletos().RecNo(), 1);
    EXPECT_EQ(table()->model()->rowCount(), boletos().RecordCount());
    EXPECT_EQ(table()->currentIndex().row(), 0);
}

TEST_F(DesktopScreen, PickListSortsAndSearchesIgnoringCaseAndAccents) {
    bool picked = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<PickDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        QTableView* list = dialog->table();
        list->sortByColumn(1, Qt::DescendingOrder);  // the names, Z to A
        EXPECT_TRUE(list->model()->index(0, 1).data().toString().startsWith(QStringLiteral("IND")));
        list->sortByColumn(1, Qt::AscendingOrder);
        EXPECT_FALSE(dialog->search(QStringLiteral("xyz")));
        EXPECT_TRUE(dialog->search(QStringLiteral("02")));
        EXPECT_EQ(list->currentIndex().row(), 1);
        picked = true;
        dialog->accept();
    });
    view_->act([&] { screen().ClickControl(control<LookupButton>("btpEmpresa")); });
    EXPECT_TRUE(picked);
    EXPECT_EQ(control<MaskEdit>("medEmpresa").Text(), "02");
    EXPECT_EQ(qobject_cast<QLineEdit*>(view_->widgetFor(control<MaskEdit>("medEmpresa")))->text(),
              QStringLiteral("02"));
}

TEST(PickList, SearchKeyIgnoresCaseAndAccents) {
    EXPECT_EQ(searchKey(QStringLiteral("Indústria JOÃO")),
              searchKey(QStringLiteral("industria joao")));
    EXPECT_NE(searchKey(QStringLiteral("João")), searchKey(QStringLiteral("Joana")));
}

TEST(DesktopProgram, ScreenshotsEveryPageAndTheDialogs) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString shots = dir.filePath(QStringLiteral("telas"));
    QProcess program;
    program.start(gDesktop, {QStringLiteral("--db"), dir.filePath(QStringLiteral("demo.db")),
                             QStringLiteral("--screenshot"), shots});
    ASSERT_TRUE(program.waitForFinished(180000)) << "o programa não terminou";
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
    QStringList files = QDir(shots).entryList({QStringLiteral("*.png")}, QDir::Files);
    for (const char* dialog :
         {"filtro.png", "abatimento-adiantamento.png", "abatimento-devolucao.png",
          "prorrogacao-edicao.png", "parcelamento-edicao.png", "agrupamento.png",
          "habilitacao-automatica.png", "guia-gps.png", "guia-fgts.png", "guia-darj.png",
          "guia-gare.png", "guia-darf.png", "guia-darf-simples.png"})
        EXPECT_TRUE(files.contains(QString::fromLatin1(dialog))) << files.join(' ').toStdString();
    EXPECT_GE(files.size(), 7);
    for (const QString& f : files) {
        QImage image(QDir(shots).filePath(f));
        EXPECT_GT(image.width(), 300) << f.toStdString();
        EXPECT_GT(image.height(), 200) << f.toStdString();
    }
}

TEST(DesktopProgram, RefusesARemoteServerWithoutTheSuitesDatabase) {
    QTemporaryDir dir;
    QProcess program;
    program.start(gDesktop, {QStringLiteral("--server"), QStringLiteral("127.0.0.1:1"),
                             QStringLiteral("--db"), dir.filePath(QStringLiteral("nada.db"))});
    ASSERT_TRUE(program.waitForFinished(60000));
    EXPECT_NE(program.exitCode(), 0);
    EXPECT_TRUE(QString::fromUtf8(program.readAllStandardError()).contains(QStringLiteral("--db")));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("nada.db"))));
}

}  // namespace
}  // namespace pag::gui

int main(int argc, char** argv) {
    // Column layouts the tests store stay out of the user's own settings.
    QTemporaryDir settings;
    qputenv("XDG_CONFIG_HOME", settings.path().toLocal8Bit());
    QApplication app(argc, argv);
    pag::gui::installQtTranslations();
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    ::testing::InitGoogleTest(&argc, argv);
    if (argc > 1) pag::gui::gDesktop = QString::fromLocal8Bit(argv[1]);
    if (argc > 2) pag::gui::gPackage = QString::fromLocal8Bit(argv[2]);
    return RUN_ALL_TESTS();
}

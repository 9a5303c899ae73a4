#include "gui/screenshots.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QMdiSubWindow>
#include <QPixmap>
#include <stdexcept>

#include "Cli_pag12000/habconta.h"
#include "gui/desktop_host.h"
#include "gui/qt_text.h"

namespace pag::gui {

namespace {

void settle() {
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

QString save(QWidget& w, const QDir& dir, const QString& name) {
    const QString path = dir.filePath(name + QStringLiteral(".png"));
    if (!w.grab().save(path)) throw std::runtime_error("não foi possível gravar " + fromQ(path));
    return path;
}

}  // namespace

QStringList takeScreenshots(DesktopHost& host, const QString& dirName) {
    QDir dir(dirName);
    if (!dir.mkpath(QStringLiteral(".")))
        throw std::runtime_error("não foi possível criar a pasta " + fromQ(dirName));
    FormView* view = host.screenView();
    if (!view) throw std::runtime_error("a tela Boleto não está aberta");
    host.window().show();
    settle();
    QWidget& child = *view->parentWidget();
    QStringList files;
    int n = 0;
    for (Control* c : view->form().Controls()) {
        auto* pages = dynamic_cast<PageControl*>(c);
        if (!pages) continue;
        for (Page* page : pages->Pages()) {
            if (!page->TabVisible()) continue;
            view->act([&] { pages->SelectPage(*page); });
            settle();
            files << save(
                child, dir,
                QStringLiteral("%1-%2").arg(++n, 2, 10, QLatin1Char('0')).arg(toQ(page->Name())));
        }
    }
    // The filter dialog: grabbed once on screen, then cancelled.
    if (frmHabConta) {
        host.ui().onModalShown = [&](QDialog& dialog) {
            settle();
            files << save(dialog, dir, QStringLiteral("filtro"));
            dialog.reject();
        };
        TfrmHabConta& screen = *frmHabConta;
        // As the user does: the filter button when it is on, else leaving the
        // company panel for the grid.
        if (screen.sbtFiltro.IsUsable()) {
            view->act([&] { screen.ClickControl(screen.sbtFiltro); });
        } else {
            view->act([&] { screen.medEmpresa.SetFocus(); });
            view->act([&] { screen.dbgPadrao.SetFocus(); });
        }
        host.ui().onModalShown = nullptr;
    }
    return files;
}

}  // namespace pag::gui

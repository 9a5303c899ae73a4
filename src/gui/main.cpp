// pag12000-desktop: the host suite with the boleto screen.
#include <QApplication>
#include <QMessageBox>
#include <cstdio>
#include <exception>

#include "gui/desktop_host.h"
#include "gui/qt_text.h"
#include "gui/qt_translations.h"
#include "gui/screenshots.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("pag12000-desktop"));
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    pag::gui::installQtTranslations();
    std::vector<std::string> args(argv + 1, argv + argc);
    try {
        pag::gui::DesktopOptions options = pag::gui::parseDesktopArgs(args);
        pag::gui::DesktopHost host(options.login, options.packageFile);
        host.ui().unattended = !options.screenshotDir.empty();
        if (!host.open()) {
            std::fprintf(stderr, "A tela Boleto não abriu.\n");
            return 1;
        }
        if (!options.screenshotDir.empty()) {
            QStringList files =
                pag::gui::takeScreenshots(host, pag::gui::toQ(options.screenshotDir));
            for (const QString& f : files)
                std::printf("%s\n", qPrintable(f));
            return 0;
        }
        host.window().show();
        return app.exec();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}

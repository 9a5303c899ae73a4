// F1: the user guide (docs/user-guide.md, built into the program with its pictures)
// in a window of its own, at the section of the screen the user is on.
#include "gui/help_viewer.h"

#include <QAbstractTextDocumentLayout>
#include <QDialog>
#include <QPointer>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>

namespace pag::gui {

namespace {

// Where the build puts the guide among the program's resources.
const char* const kGuide = "qrc:/guia/user-guide.md";

QTextBrowser* browserOf(QDialog& window) {
    return window.findChild<QTextBrowser*>();
}

QDialog* guideWindow(QWidget* parent) {
    static QPointer<QDialog> window;
    if (window) return window;
    window = new QDialog(parent, Qt::Window);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setObjectName(QStringLiteral("userGuide"));
    window->setWindowTitle(QStringLiteral("Ajuda — Guia do usuário"));
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* browser = new QTextBrowser(window);
    browser->setOpenExternalLinks(false);
    browser->setSearchPaths({QStringLiteral(":/guia")});
    browser->setSource(QUrl(QString::fromLatin1(kGuide)), QTextDocument::MarkdownResource);
    layout->addWidget(browser);
    window->resize(760, 560);
    return window;
}

}  // namespace

QString helpSection(int helpContext) {
    switch (helpContext) {
        case 11912000:
            return QStringLiteral("PAG12000");
        case 11912100:
            return QStringLiteral("PAG12100");
        case 11911004:
            return QStringLiteral("PAG11004");
        case 11912003:
            return QStringLiteral("PAG12003");
        default:
            return {};
    }
}

void showUserGuide(QWidget* parent, const QString& section) {
    QDialog* window = guideWindow(parent);
    QTextBrowser* browser = browserOf(*window);
    int top = 0;
    if (!section.isEmpty())
        for (QTextBlock b = browser->document()->begin(); b.isValid(); b = b.next())
            if (b.blockFormat().headingLevel() > 0 && b.text().contains(section)) {
                auto* layout = browser->document()->documentLayout();
                top = static_cast<int>(layout->blockBoundingRect(b).top());
                break;
            }
    window->show();
    window->raise();
    window->activateWindow();
    browser->verticalScrollBar()->setValue(top);
}

}  // namespace pag::gui

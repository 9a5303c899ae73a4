// The page control as tabs: the model's active page and the tab showing follow each
// other; a refused change shows the page the model kept. Only the user's own change
// of tab (a click, Ctrl+Tab, Ctrl+PgDn) reaches the model: Qt moving the current tab
// by itself, when the tab showing is disabled or hidden, must not change the page.
#include <QSignalBlocker>
#include <QTabBar>
#include <QTabWidget>
#include <algorithm>

#include "gui/form_view.h"
#include "gui/qt_text.h"

namespace pag::gui {

ControlView makePagesView(FormView& view, PageControl& pages, QWidget* parent) {
    auto* tabs = new QTabWidget(parent);
    // The tabs take no focus of their own: the keys stay with the screen's controls
    // (Ctrl+Tab and Ctrl+PgDn change pages from anywhere).
    tabs->setFocusPolicy(Qt::NoFocus);
    tabs->tabBar()->setFocusPolicy(Qt::NoFocus);
    std::vector<Page*> list = pages.Pages();
    for (Page* page : list) {
        auto* w = new QWidget(tabs);
        view.buildChildren(*page, w);
        tabs->addTab(w, toQ(page->Caption()));
    }
    auto draw = [tabs, &pages, list] {
        QSignalBlocker quiet(tabs);
        // Pages without any tab are a notebook: the screen chooses the page that shows.
        const bool notebook =
            std::none_of(list.begin(), list.end(), [](Page* p) { return p->TabVisible(); });
        tabs->tabBar()->setVisible(!notebook);
        for (size_t i = 0; i < list.size(); ++i) {
            int index = static_cast<int>(i);
            tabs->setTabText(index, toQ(list[i]->Caption()));
            tabs->setTabVisible(index, notebook || list[i]->TabVisible());
            tabs->setTabEnabled(index, list[i]->Enabled());
        }
        // The model's page shows, also a page the model disabled while it shows (Qt
        // would have moved to the next enabled tab).
        const int active = pages.ActivePageIndex();
        if (active >= 0) tabs->setCurrentIndex(active);
    };
    for (Page* page : list)
        view.follow(*page, draw);
    QObject::connect(tabs, &QTabWidget::currentChanged, tabs,
                     [&view, &pages, list, draw](int index) {
                         if (index < 0 || index >= static_cast<int>(list.size())) return;
                         if (index != pages.ActivePageIndex())
                             view.act([&] { pages.SelectPage(*list[static_cast<size_t>(index)]); });
                         draw();
                     });
    return {tabs, draw};
}

}  // namespace pag::gui

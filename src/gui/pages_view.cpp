// The page control as tabs: the model's active page and the tab showing follow each
// other; a refused change shows the page the model kept.
#include <QSignalBlocker>
#include <QTabWidget>

#include "gui/form_view.h"
#include "gui/qt_text.h"

namespace pag::gui {

ControlView makePagesView(FormView& view, PageControl& pages, QWidget* parent) {
    auto* tabs = new QTabWidget(parent);
    std::vector<Page*> list = pages.Pages();
    for (Page* page : list) {
        auto* w = new QWidget(tabs);
        view.buildChildren(*page, w);
        tabs->addTab(w, toQ(page->Caption()));
    }
    auto draw = [tabs, &pages, list] {
        for (size_t i = 0; i < list.size(); ++i) {
            int index = static_cast<int>(i);
            tabs->setTabText(index, toQ(list[i]->Caption()));
            tabs->setTabVisible(index, list[i]->TabVisible());
            tabs->setTabEnabled(index, list[i]->Enabled());
        }
        QSignalBlocker quiet(tabs);
        if (pages.ActivePageIndex() >= 0) tabs->setCurrentIndex(pages.ActivePageIndex());
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

#include "platform/ui/page_control.h"

#include <algorithm>

namespace pag {

Page::Page(std::string name, Container* parent, std::string caption)
    : Container(std::move(name), parent) {
    SetCaption(std::move(caption));
    if (PageControl* pc = Owner(); pc && !pc->ActivePage()) pc->SetActivePage(this);
}

Page::~Page() {
    if (PageControl* pc = Owner(); pc && pc->ActivePage() == this) pc->SetActivePage(nullptr);
}

PageControl* Page::Owner() const {
    return dynamic_cast<PageControl*>(Parent());
}

int Page::PageIndex() const {
    PageControl* pc = Owner();
    if (!pc) return -1;
    auto pages = pc->Pages();
    for (size_t i = 0; i < pages.size(); ++i)
        if (pages[i] == this) return static_cast<int>(i);
    return -1;
}

void Page::SetTabVisible(bool on) {
    if (tabVisible_ == on) return;
    tabVisible_ = on;
    changed();
}

bool Page::Click() {
    PageControl* pc = Owner();
    return pc && pc->SelectPage(*this);
}

std::vector<Page*> PageControl::Pages() const {
    std::vector<Page*> pages;
    for (Control* c : Children())
        if (auto* p = dynamic_cast<Page*>(c)) pages.push_back(p);
    return pages;
}

void PageControl::SetActivePage(Page* page) {
    if (page && page->Owner() != this) return;
    if (page == active_) return;
    active_ = page;
    changed();
}

void PageControl::SetActivePageIndex(int index) {
    auto pages = Pages();
    SetActivePage(index >= 0 && index < static_cast<int>(pages.size())
                      ? pages[static_cast<size_t>(index)]
                      : nullptr);
}

bool PageControl::SelectPage(Page& page) {
    if (page.Owner() != this || !IsUsable()) return false;
    if (!page.Enabled() || !page.Visible() || !page.TabVisible()) return false;
    if (&page == active_) return true;
    bool allow = true;
    if (OnChanging) OnChanging(allow);
    if (!allow) return false;
    SetActivePage(&page);
    if (OnChange) OnChange();
    return true;
}

bool PageControl::SelectNextPage(bool forward) {
    const std::vector<Page*> pages = Pages();
    const int n = static_cast<int>(pages.size());
    if (n == 0) return false;
    const int start = std::max(ActivePageIndex(), 0);
    for (int step = 1; step < n; ++step) {
        const int i = ((forward ? start + step : start - step) % n + n) % n;
        Page& page = *pages[static_cast<size_t>(i)];
        if (page.Enabled() && page.Visible() && page.TabVisible()) return SelectPage(page);
    }
    return false;
}

}  // namespace pag

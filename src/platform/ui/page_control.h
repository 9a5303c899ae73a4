#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/ui/control.h"

namespace pag {

class PageControl;

// One page of a page control. TabVisible false keeps its tab off the bar while the
// page may still be made active by the program.
class Page : public Container {
public:
    // parent is the page control the page belongs to.
    Page(std::string name, Container* parent, std::string caption = {});
    ~Page() override;

    PageControl* Owner() const;
    int PageIndex() const;
    bool TabVisible() const { return tabVisible_; }
    void SetTabVisible(bool on);
    // The user clicks the page's tab.
    bool Click() override;
    bool CanFocus() const override { return false; }

private:
    bool tabVisible_ = true;
};

// Pages of which one shows. The program choosing a page (SetActivePage) runs no
// handler; the user choosing one runs OnChanging (which may refuse by clearing its
// flag or throwing) and then OnChange.
class PageControl : public Container {
public:
    using Container::Container;

    std::vector<Page*> Pages() const;
    int PageCount() const { return static_cast<int>(Pages().size()); }
    Page* ActivePage() const { return active_; }
    int ActivePageIndex() const { return active_ ? active_->PageIndex() : -1; }
    void SetActivePage(Page* page);
    void SetActivePageIndex(int index);
    // The user's choice: false when the page is disabled, hidden or refused.
    bool SelectPage(Page& page);
    // Ctrl+Tab / Ctrl+Shift+Tab: the next (or previous) page the user can choose,
    // round the end; false when there is none or the change is refused.
    bool SelectNextPage(bool forward);

    bool ShowsChild(const Control& child) const override { return &child == active_; }
    bool CanFocus() const override { return IsUsable(); }

    std::function<void(bool& allow)> OnChanging;
    Handler OnChange;

private:
    Page* active_ = nullptr;
};

}  // namespace pag

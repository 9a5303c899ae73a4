#pragma once

#include <string>
#include <vector>

#include "platform/ui/control.h"

namespace pag {

// A menu item (or a whole menu: its sub-items are its children). The caption marks
// the access key with "&" ("&Filtrar"); "-" is a separator. The shortcut is written
// as the menus show it: "Ctrl+L", "F9", "Shift+Ctrl+Del".
class MenuItem : public Container {
public:
    MenuItem(std::string name, Container* parent, std::string caption = {},
             std::string shortcut = {});

    std::vector<MenuItem*> Items() const;
    const std::string& ShortCut() const { return shortcut_; }
    void SetShortCut(std::string text);
    // True when key + shift is this item's shortcut.
    bool MatchesShortCut(int key, ShiftState shift) const;
    bool Checked() const { return checked_; }
    void SetChecked(bool on);
    bool AutoCheck() const { return autoCheck_; }
    void SetAutoCheck(bool on) { autoCheck_ = on; }
    bool IsSeparator() const { return Caption() == "-"; }

    // The user chooses the item: nothing when it (or a menu above it) is disabled or hidden.
    bool Click() override;
    bool CanFocus() const override { return false; }
    Handler OnClick;

private:
    std::string shortcut_;
    int key_ = 0;
    ShiftState shift_;
    bool checked_ = false;
    bool autoCheck_ = false;
};

// "Ctrl+L" -> key 'L' with Ctrl. Throws std::invalid_argument for text it cannot read.
void parseShortCut(const std::string& text, int& key, ShiftState& shift);

}  // namespace pag

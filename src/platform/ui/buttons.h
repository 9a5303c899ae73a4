#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/ui/control.h"
#include "platform/ui/user_interface.h"

namespace pag {

class DataSource;

// A push button. A click runs OnClick and then, when the button carries a modal
// result, gives it to its form (which closes a modal form).
class Button : public Control {
public:
    Button(std::string name, Container* parent, std::string caption = {});

    const std::string& Glyph() const { return glyph_; }
    void SetGlyph(std::string name);
    ModalResult GetModalResult() const { return modalResult_; }
    void SetModalResult(ModalResult r) { modalResult_ = r; }

    bool Click() override;
    Handler OnClick;

private:
    std::string glyph_;
    ModalResult modalResult_ = ModalResult::None;
};

// A flat toolbar button: clicking it does not take the focus from the edit the user
// is in (so that edit's exit does not run).
class SpeedButton : public Button {
public:
    using Button::Button;
    bool CanFocus() const override { return false; }
};

// A check box. Changing Checked, by the user or by the program, runs OnClick.
class CheckBox : public Control {
public:
    CheckBox(std::string name, Container* parent, std::string caption = {});

    bool Checked() const { return checked_; }
    void SetChecked(bool on);
    bool Click() override;  // the user toggles it
    Handler OnClick;

protected:
    // Sets the state without running OnClick (a data-aware box showing its field).
    void setCheckedQuietly(bool on);
    // The user is about to toggle it; false refuses.
    virtual bool beginUserChange() { return true; }
    virtual void userChanged() {}

private:
    bool checked_ = false;
};

// A radio button: checking it unchecks the radio buttons beside it in the same
// container. Only the button that becomes checked runs OnClick.
class RadioButton : public Control {
public:
    RadioButton(std::string name, Container* parent, std::string caption = {});

    bool Checked() const { return checked_; }
    void SetChecked(bool on);
    bool Click() override;  // the user checks it
    Handler OnClick;

private:
    bool checked_ = false;
};

// A group of exclusive choices by index (-1 = none). Changing the index runs OnClick.
class RadioGroup : public Control {
public:
    RadioGroup(std::string name, Container* parent, std::string caption = {},
               std::vector<std::string> items = {});

    const std::vector<std::string>& Items() const { return items_; }
    void SetItems(std::vector<std::string> items);
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int index);
    // The user chooses an item; false when the group is not usable.
    bool UserSelect(int index);
    Handler OnClick;

private:
    std::vector<std::string> items_;
    int itemIndex_ = -1;
};

enum class ComboStyle { DropDown, DropDownList };

// A combo box: items, the chosen index (-1 = none) and the text. The program setting
// them runs no handler; the user choosing an item runs OnChange.
class ComboBox : public Control {
public:
    ComboBox(std::string name, Container* parent, std::vector<std::string> items = {});

    const std::vector<std::string>& Items() const { return items_; }
    void SetItems(std::vector<std::string> items);
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int index);
    const std::string& Text() const { return text_; }
    // The index follows: the item with exactly this text, else -1.
    void SetText(std::string text);
    ComboStyle Style() const { return style_; }
    void SetStyle(ComboStyle s) { style_ = s; }

    bool UserSelect(int index);
    // Chooses the item with this text; false when there is none or the box is not usable.
    bool UserSelectText(const std::string& text);
    Handler OnChange;

protected:
    virtual bool beginUserChange() { return !ReadOnly(); }
    virtual void userChanged() {}

private:
    std::vector<std::string> items_;
    int itemIndex_ = -1;
    std::string text_;
    ComboStyle style_ = ComboStyle::DropDown;
};

// A lookup button: a click runs OnClick (when set) and then, when a list data source
// is set, BeforePesq (which prepares the list and may cancel by clearing its flag or
// throwing), the pick list over the list's dataset, and AfterPesq when the user
// picked a row (the dataset's cursor is then on it).
class LookupButton : public SpeedButton {
public:
    LookupButton(std::string name, Container* parent, std::string title = {},
                 DataSource* list = nullptr, std::string empty = {});

    const std::string& Title() const { return title_; }
    void SetTitle(std::string t) { title_ = std::move(t); }
    const std::string& EmptyText() const { return emptyText_; }
    void SetEmptyText(std::string t) { emptyText_ = std::move(t); }
    DataSource* List() const { return list_; }
    void SetList(DataSource* ds) { list_ = ds; }

    // The user's click, with the pick list shown through ui. True when a row was picked.
    bool Click(UserInterface& ui);
    // The same through the form's user interface.
    bool Click() override;

    std::function<void(bool& proceed)> BeforePesq;
    Handler AfterPesq;

private:
    std::string title_, emptyText_;
    DataSource* list_ = nullptr;
};

}  // namespace pag

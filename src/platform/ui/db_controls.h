#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/buttons.h"
#include "platform/ui/control.h"
#include "platform/ui/field_link.h"

namespace pag {

// A data-aware check box: checked when the field holds ValueChecked ("S"). The
// user's click puts the dataset into edit; the new value is written when the box is
// left or the dataset posts.
class DBCheckBox : public CheckBox {
public:
    DBCheckBox(std::string name, Container* parent, DataSource* source = nullptr,
               std::string fieldName = {}, std::string valueChecked = "S",
               std::string valueUnchecked = "N");

    FieldLink& Link() { return link_; }
    void DoExit() override;

protected:
    bool beginUserChange() override { return link_.Edit(); }
    void userChanged() override { link_.SetModified(); }

private:
    std::string valueChecked_, valueUnchecked_;
    FieldLink link_;
};

// A data-aware combo box: shows the field's text; the item the user chooses is
// written when the box is left or the dataset posts.
class DBComboBox : public ComboBox {
public:
    DBComboBox(std::string name, Container* parent, DataSource* source = nullptr,
               std::string fieldName = {}, std::vector<std::string> items = {});

    FieldLink& Link() { return link_; }
    void DoExit() override;

protected:
    bool beginUserChange() override { return !ReadOnly() && link_.Edit(); }
    void userChanged() override { link_.SetModified(); }

private:
    FieldLink link_;
};

// A data-aware label: shows the field's display text.
class DBText : public Control {
public:
    DBText(std::string name, Container* parent, DataSource* source = nullptr,
           std::string fieldName = {});

    const std::string& Text() const { return text_; }
    bool CanFocus() const override { return false; }

private:
    std::string text_;
    FieldLink link_;
};

}  // namespace pag

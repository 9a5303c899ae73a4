#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/ui/control.h"
#include "platform/ui/edit_mask.h"
#include "platform/ui/field_link.h"

namespace pag {

enum class CharCase { Normal, Upper, Lower };

// What every text edit shares: text, selection, typing through the key events, an
// optional edit mask, and optional binding to a field (the data-aware edits).
//
// Text() is the text as stored (a ";0;" mask leaves its literals out); EditText() is
// the text as shown. SetText is the program writing: it fires OnChange when the text
// changes but never counts as the user's typing. Typing goes through KeyPress (and
// KeyDown for Delete), so OnKeyPress handlers see every character.
class CustomEdit : public Control {
public:
    CustomEdit(std::string name, Container* parent);
    ~CustomEdit() override;

    std::string Text() const;
    std::string EditText() const;
    void SetText(std::string_view text);
    void Clear() { SetText({}); }

    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int n) { maxLength_ = n; }
    CharCase GetCharCase() const { return charCase_; }
    void SetCharCase(CharCase c) { charCase_ = c; }
    // The user changed the text since it was last set by the program.
    bool Modified() const { return modified_; }
    void SetModified(bool m) { modified_ = m; }

    // Selection, in characters (mask positions for a masked edit).
    int SelStart() const { return selStart_; }
    int SelLength() const { return selLength_; }
    void SetSelStart(int pos);
    void SetSelLength(int len);
    void SelectAll();
    std::string SelText() const;

    const std::string& EditMaskText() const;
    void SetEditMask(std::string mask);
    bool IsMasked() const { return !masked_.Mask().IsEmpty(); }

    // The user types at the cursor, character by character.
    void TypeText(std::string_view utf8);
    // The user replaces the whole text: select all, then type (Delete when empty).
    void UserReplaceText(std::string_view utf8);

    // ---- data binding (a plain edit has none)
    void Bind(DataSource* source, std::string fieldName);
    DataSource* GetDataSource() const { return link_ ? link_->Source() : nullptr; }
    std::string DataField() const { return link_ ? link_->FieldName() : std::string(); }
    Field* GetField() const { return link_ ? link_->GetField() : nullptr; }

    bool CanFocus() const override { return IsUsable(); }
    void DoEnter() override;
    void DoExit() override;

    Handler OnChange;

protected:
    void HandleKeyDown(int key, ShiftState shift) override;
    void HandleKeyPress(KeyChar key) override;

    // Refuses a character before anything changes (number and date edits, fields).
    virtual bool AcceptsChar(KeyChar c) const;
    // Checks the text when the user leaves the edit; throws a pt-BR message to keep
    // the focus here. The default refuses a partly filled mask.
    virtual void ValidateEdit();
    // Whether a bound edit shows the field's edit text (else its display text).
    virtual bool ShowsEditText() const { return Focused() && !leaving_; }
    // After the user's edits and on leaving: tidy the shown text (number edits).
    virtual void Normalize() {}
    FieldLink* Link() const { return link_.get(); }
    // Sets the shown text without marking it as typed; OnChange when it changed.
    void setShownText(std::string_view stored);

private:
    struct Content;
    Content content() const;
    int length() const;
    int effectiveMaxLength() const;
    // Tries op on a copy; when it changes something, starts the user's change (a
    // bound dataset goes into edit) and applies it for real.
    void userEdit(const std::function<bool(Content&)>& op);
    bool beginUserChange();
    void applyMask(const std::string& mask);
    void loadFromField();
    void writeToField();

    std::u32string plain_;  // unmasked text
    MaskedText masked_;
    std::string ownMask_;
    int maxLength_ = 0;
    CharCase charCase_ = CharCase::Normal;
    bool modified_ = false;
    bool leaving_ = false;
    int selStart_ = 0, selLength_ = 0;
    std::unique_ptr<FieldLink> link_;
};

// A plain text edit.
class Edit : public CustomEdit {
public:
    Edit(std::string name, Container* parent) : CustomEdit(std::move(name), parent) {}
};

// A masked edit: Edit with a mask from the start ("99;0; ").
class MaskEdit : public CustomEdit {
public:
    MaskEdit(std::string name, Container* parent, std::string mask = {});
};

// A data-aware edit bound to one field (its mask and size come from the field).
class DBEdit : public CustomEdit {
public:
    DBEdit(std::string name, Container* parent, DataSource* source = nullptr,
           std::string fieldName = {});
};

}  // namespace pag

#pragma once

#include <functional>
#include <string>

#include "platform/dataset/row_layout.h"
#include "platform/value.h"

namespace pag {

class ClientDataSet;
class Field;

enum class Alignment { Left, Right, Center };

// OnGetText(field, displayText): the text a control shows; displayText is false when
// the text is for editing. OnSetText(field, text): stores what the user typed.
using FieldGetText = std::function<std::string(Field&, bool displayText)>;
using FieldSetText = std::function<void(Field&, const std::string& text)>;

// Definition of one field of a dataset, as the screens declare them.
struct FieldDef {
    std::string name;
    FieldType type = FieldType::Text;
    int size = 0;  // maximum characters of a text field; 0 = unbounded
    std::string label;
    std::string displayFormat;  // "#,##0.00"
    std::string editFormat;
    std::string editMask;  // "99;0; ", "9999-a;0; ", ">aaa;0; "
    bool visible = true;
    bool required = false;
    bool readOnly = false;
    int tag = 0;
    bool calculated = false;
    bool fixedLength = false;
    Alignment alignment = Alignment::Left;
};

// A field of a dataset. It reads and writes the dataset's current row (the edit
// buffer while editing, the row being calculated inside OnCalcFields).
class Field {
public:
    Field(ClientDataSet& ds, FieldDef def, size_t index);

    const std::string& FieldName() const { return def_.name; }
    FieldType DataType() const { return def_.type; }
    size_t Index() const { return index_; }
    ClientDataSet& DataSet() const { return ds_; }
    const FieldDef& Def() const { return def_; }

    Value AsValue() const;
    std::string AsString() const;
    double AsFloat() const;
    int64_t AsInteger() const;
    bool AsBoolean() const;
    Date AsDateTime() const;
    bool IsNull() const;
    // The text of a text field as the row holds it, without a copy (empty for null):
    // valid until the row changes. Other types are refused.
    std::string_view AsText() const;
    // The value at the last merge of the change log (null for an inserted row).
    Value OldValue() const;

    // Writing requires the dataset in edit or insert state (or calculating, for a
    // calculated field); otherwise a pt-BR error is thrown.
    void SetValue(const Value& v);
    void SetAsString(const std::string& s) { SetValue(Value(s)); }
    void SetAsFloat(double d) { SetValue(Value(d)); }
    void SetAsInteger(int64_t i) { SetValue(Value(i)); }
    void SetAsDateTime(Date d) { SetValue(d.isEmpty() ? Value() : Value(d)); }
    void Clear() { SetValue(Value()); }

    // What a control shows: OnGetText if set, else the display format.
    std::string DisplayText();
    // The text for editing: OnGetText(false) if set, else the edit format.
    std::string Text();
    // What the user typed: OnSetText if set, else parsed for the field's type
    // (pt-BR numbers "1.234,56", dates dd/mm/yyyy); blank text stores null.
    void SetText(const std::string& text);

    // Definition properties the screens change at run time.
    std::string DisplayLabel() const { return def_.label.empty() ? def_.name : def_.label; }
    void SetDisplayLabel(std::string s) { def_.label = std::move(s); }
    bool Visible() const { return def_.visible; }
    void SetVisible(bool v) { def_.visible = v; }
    bool ReadOnly() const { return def_.readOnly; }
    void SetReadOnly(bool v) { def_.readOnly = v; }
    bool Required() const { return def_.required; }
    void SetRequired(bool v) { def_.required = v; }
    int Tag() const { return def_.tag; }
    void SetTag(int t) { def_.tag = t; }
    int Size() const { return def_.size; }
    const std::string& EditMask() const { return def_.editMask; }
    void SetEditMask(std::string m) { def_.editMask = std::move(m); }
    const std::string& DisplayFormat() const { return def_.displayFormat; }
    void SetDisplayFormat(std::string f) { def_.displayFormat = std::move(f); }
    const std::string& EditFormat() const { return def_.editFormat; }
    Alignment GetAlignment() const { return def_.alignment; }
    void SetAlignment(Alignment a) { def_.alignment = a; }
    bool Calculated() const { return def_.calculated; }

    FieldGetText OnGetText;
    FieldSetText OnSetText;

    // Default text forms, for OnGetText handlers that fall back to them.
    std::string FormatValue(bool displayText) const;

private:
    ClientDataSet& ds_;
    FieldDef def_;
    size_t index_;
};

}  // namespace pag

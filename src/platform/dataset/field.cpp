#include "platform/dataset/field.h"

#include <stdexcept>

#include "platform/dataset/client_dataset.h"
#include "platform/format.h"

namespace pag {

Field::Field(ClientDataSet& ds, FieldDef def, size_t index)
    : ds_(ds), def_(std::move(def)), index_(index) {}

Value Field::AsValue() const {
    return ds_.CurrentValue(index_);
}
std::string Field::AsString() const {
    Value v = AsValue();
    if (def_.type == FieldType::Float && !v.isNull())
        return formatFloat("0.##########", v.asFloat());
    return v.asString();
}
double Field::AsFloat() const {
    return AsValue().asFloat();
}
int64_t Field::AsInteger() const {
    return AsValue().asInteger();
}
bool Field::AsBoolean() const {
    return AsValue().asBool();
}
Date Field::AsDateTime() const {
    return AsValue().asDate();
}
bool Field::IsNull() const {
    return ds_.CurrentIsNull(index_);
}
std::string_view Field::AsText() const {
    if (def_.type != FieldType::Text)
        throw std::logic_error("O campo '" + def_.name + "' não é de texto.");
    return ds_.CurrentText(index_);
}
Value Field::OldValue() const {
    return ds_.OriginalValue(index_);
}

void Field::SetValue(const Value& v) {
    ds_.SetCurrentValue(index_, v);
}

std::string Field::FormatValue(bool displayText) const {
    Value v = AsValue();
    if (v.isNull()) return {};
    switch (def_.type) {
        case FieldType::Float: {
            const std::string& fmt =
                !displayText && !def_.editFormat.empty() ? def_.editFormat : def_.displayFormat;
            if (!fmt.empty()) return formatFloat(fmt, v.asFloat());
            return formatFloat("0.##########", v.asFloat());
        }
        case FieldType::Date:
            return v.asDate().toString();
        case FieldType::Boolean:
            return v.asBool() ? "S" : "N";
        default:
            return v.asString();
    }
}

std::string Field::DisplayText() {
    if (OnGetText) return OnGetText(*this, true);
    return FormatValue(true);
}

std::string Field::Text() {
    if (OnGetText) return OnGetText(*this, false);
    return FormatValue(false);
}

void Field::SetText(const std::string& text) {
    if (OnSetText) {
        OnSetText(*this, text);
        return;
    }
    bool blank = text.find_first_not_of(' ') == std::string::npos;
    switch (def_.type) {
        case FieldType::Float:
        case FieldType::Integer: {
            if (blank) return Clear();
            auto d = parseNumber(text);
            if (!d)
                throw std::invalid_argument("'" + text + "' não é um valor válido para o campo " +
                                            DisplayLabel() + ".");
            if (def_.type == FieldType::Integer) return SetValue(Value(static_cast<int64_t>(*d)));
            return SetValue(Value(*d));
        }
        case FieldType::Date: {
            Date d = Date::parse(text);  // throws with a pt-BR message
            return SetAsDateTime(d);
        }
        default:
            if (text.empty()) return Clear();
            return SetValue(Value(text));
    }
}

}  // namespace pag

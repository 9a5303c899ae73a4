#include "platform/ui/edit.h"

#include <algorithm>
#include <stdexcept>

#include "platform/ui/text_chars.h"

namespace pag {

namespace {

// Restores a flag when a scope ends, also when an exception passes.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = false; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
};

}  // namespace

// The content an edit operation works on: tried on a copy first, so that a change
// the edit would refuse never puts a bound dataset into edit.
struct CustomEdit::Content {
    std::u32string plain;
    MaskedText masked;
    int selStart = 0, selLength = 0;
    size_t maxLength = 0;

    bool isMasked() const { return !masked.Mask().IsEmpty(); }
    int length() const {
        return static_cast<int>(isMasked() ? masked.Mask().Length() : plain.size());
    }

    bool insert(KeyChar c) {
        if (isMasked()) {
            if (selLength > 0)
                masked.ClearRange(selStart, selLength);
            else
                masked.SetCursor(selStart);
            if (!masked.Type(c)) return false;
            selStart = static_cast<int>(masked.Cursor());
            selLength = 0;
            return true;
        }
        plain.erase(selStart, selLength);
        if (maxLength > 0 && plain.size() >= maxLength) return false;
        plain.insert(plain.begin() + selStart, c);
        ++selStart;
        selLength = 0;
        return true;
    }

    bool erase(bool backwards) {
        bool done;
        if (isMasked()) {
            if (selLength > 0) {
                done = masked.ClearRange(selStart, selLength);
            } else if (backwards) {
                masked.SetCursor(selStart);
                done = masked.Backspace();
            } else {
                done = masked.ClearRange(selStart, 1);
            }
            selStart = static_cast<int>(masked.Cursor());
        } else if (selLength > 0) {
            plain.erase(selStart, selLength);
            done = true;
        } else if (backwards) {
            done = selStart > 0;
            if (done) plain.erase(--selStart, 1);
        } else {
            done = selStart < static_cast<int>(plain.size());
            if (done) plain.erase(selStart, 1);
        }
        selLength = 0;
        return done;
    }
};

CustomEdit::CustomEdit(std::string name, Container* parent) : Control(std::move(name), parent) {
    SetTabStop(true);
}

CustomEdit::~CustomEdit() = default;

std::string CustomEdit::Text() const {
    return IsMasked() ? masked_.Stored() : toUtf8(plain_);
}

std::string CustomEdit::EditText() const {
    return IsMasked() ? masked_.Shown() : toUtf8(plain_);
}

void CustomEdit::SetText(std::string_view text) {
    setShownText(text);
}

void CustomEdit::setShownText(std::string_view stored) {
    std::string before = EditText();
    std::string text(stored);
    if (charCase_ == CharCase::Upper) text = toUpperText(text);
    if (IsMasked())
        masked_.SetStored(text);
    else
        plain_ = toCodePoints(text);
    modified_ = false;
    if (EditText() == before) return;
    selStart_ = length();
    selLength_ = 0;
    changed();
    if (OnChange) OnChange();
}

int CustomEdit::length() const {
    return static_cast<int>(IsMasked() ? masked_.Mask().Length() : plain_.size());
}

void CustomEdit::SetSelStart(int pos) {
    selStart_ = std::clamp(pos, 0, length());
    selLength_ = std::min(selLength_, length() - selStart_);
}

void CustomEdit::SetSelLength(int len) {
    selLength_ = std::clamp(len, 0, length() - selStart_);
}

void CustomEdit::SelectAll() {
    selStart_ = 0;
    selLength_ = length();
}

std::string CustomEdit::SelText() const {
    std::u32string shown = toCodePoints(EditText());
    return toUtf8(shown.substr(static_cast<size_t>(selStart_), static_cast<size_t>(selLength_)));
}

const std::string& CustomEdit::EditMaskText() const {
    return masked_.Mask().Source();
}

void CustomEdit::SetEditMask(std::string mask) {
    ownMask_ = std::move(mask);
    Field* f = GetField();
    if (!f || f->EditMask().empty()) applyMask(ownMask_);
}

void CustomEdit::applyMask(const std::string& mask) {
    if (mask == EditMaskText()) return;
    std::string stored = Text();
    masked_ = MaskedText(EditMask(mask));
    if (IsMasked())
        masked_.SetStored(stored);
    else
        plain_ = toCodePoints(stored);
    selStart_ = length();
    selLength_ = 0;
    changed();
}

void CustomEdit::TypeText(std::string_view utf8) {
    for (char32_t c : toCodePoints(utf8))
        KeyPress(c);
}

void CustomEdit::UserReplaceText(std::string_view utf8) {
    SelectAll();
    if (utf8.empty())
        KeyDown(Key::Delete);
    else
        TypeText(utf8);
}

CustomEdit::Content CustomEdit::content() const {
    Content c{plain_, masked_, selStart_, selLength_, 0};
    c.maxLength = static_cast<size_t>(effectiveMaxLength());
    return c;
}

int CustomEdit::effectiveMaxLength() const {
    if (maxLength_ > 0) return maxLength_;
    Field* f = GetField();
    return f && f->DataType() == FieldType::Text && f->Size() > 0 ? f->Size() : 0;
}

void CustomEdit::userEdit(const std::function<bool(Content&)>& op) {
    if (ReadOnly()) return;
    Content probe = content();
    if (!op(probe)) return;
    if (!beginUserChange()) return;
    Content now = content();  // starting the edit may have shown the field again
    if (!op(now)) return;
    plain_ = std::move(now.plain);
    masked_ = std::move(now.masked);
    selStart_ = now.selStart;
    selLength_ = now.selLength;
    modified_ = true;
    if (link_) link_->SetModified();
    changed();
    if (OnChange) OnChange();
}

bool CustomEdit::beginUserChange() {
    return link_ ? link_->Edit() : true;
}

void CustomEdit::HandleKeyPress(KeyChar key) {
    if (key == Key::Backspace) return userEdit([](Content& c) { return c.erase(true); });
    if (key == Key::Escape) {
        if (link_) link_->Reset();
        return;
    }
    if (key < 32 || !AcceptsChar(key)) return;
    if (charCase_ == CharCase::Upper) key = toUpperChar(key);
    if (charCase_ == CharCase::Lower) key = toLowerChar(key);
    userEdit([key](Content& c) { return c.insert(key); });
}

void CustomEdit::HandleKeyDown(int key, ShiftState shift) {
    switch (key) {
        case Key::Delete:
            userEdit([](Content& c) { return c.erase(false); });
            break;
        case Key::Left:
            SetSelLength(0), SetSelStart(selStart_ - 1);
            break;
        case Key::Right:
            SetSelLength(0), SetSelStart(selStart_ + 1);
            break;
        case Key::Home:
            SetSelLength(0), SetSelStart(0);
            break;
        case Key::End:
            SetSelLength(0), SetSelStart(length());
            break;
        default:
            Control::HandleKeyDown(key, shift);
            break;
    }
}

bool CustomEdit::AcceptsChar(KeyChar c) const {
    Field* f = GetField();
    if (!f) return true;
    bool digit = isDigitChar(c);
    switch (f->DataType()) {
        case FieldType::Float:
            return digit || c == U',' || c == U'.' || c == U'-' || c == U'+';
        case FieldType::Integer:
            return digit || c == U'-' || c == U'+';
        case FieldType::Date:
            return digit || c == U'/';
        default:
            return true;
    }
}

void CustomEdit::ValidateEdit() {
    if (!IsMasked() || !modified_ || masked_.IsBlank() || masked_.IsComplete()) return;
    throw std::invalid_argument("Valor incompleto: \"" + EditText() +
                                "\". Preencha todas as posições obrigatórias ou apague o texto.");
}

void CustomEdit::DoEnter() {
    if (link_ && !link_->Modified()) link_->Load();
    SelectAll();
    Control::DoEnter();
}

void CustomEdit::DoExit() {
    if (modified_) ValidateEdit();
    if (link_) link_->UpdateRecord();
    Normalize();
    Control::DoExit();
    if (link_ && !link_->Modified()) {
        FlagScope leaving(leaving_);
        link_->Load();
    }
}

void CustomEdit::Bind(DataSource* source, std::string fieldName) {
    if (!link_)
        link_ =
            std::make_unique<FieldLink>([this] { loadFromField(); }, [this] { writeToField(); });
    link_->Bind(source, std::move(fieldName));
}

void CustomEdit::loadFromField() {
    Field* f = GetField();
    applyMask(f && !f->EditMask().empty() ? f->EditMask() : ownMask_);
    setShownText(!f ? std::string() : ShowsEditText() ? f->Text() : f->DisplayText());
}

void CustomEdit::writeToField() {
    ValidateEdit();
    if (Field* f = GetField()) f->SetText(Text());
}

MaskEdit::MaskEdit(std::string name, Container* parent, std::string mask)
    : CustomEdit(std::move(name), parent) {
    SetEditMask(std::move(mask));
}

DBEdit::DBEdit(std::string name, Container* parent, DataSource* source, std::string fieldName)
    : CustomEdit(std::move(name), parent) {
    Bind(source, std::move(fieldName));
}

}  // namespace pag

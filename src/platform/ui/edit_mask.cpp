#include "platform/ui/edit_mask.h"

#include <algorithm>

#include "platform/ui/text_chars.h"

namespace pag {

namespace {

// Splits "mask;save;blank" at the last two unescaped ";".
std::vector<std::u32string> splitFields(const std::u32string& s) {
    std::vector<size_t> seps;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == U'\\') {
            ++i;
            continue;
        }
        if (s[i] == U';') seps.push_back(i);
    }
    std::vector<std::u32string> parts;
    if (seps.size() > 2) seps.erase(seps.begin(), seps.end() - 2);
    size_t start = 0;
    for (size_t sep : seps) {
        parts.push_back(s.substr(start, sep - start));
        start = sep + 1;
    }
    parts.push_back(s.substr(start));
    return parts;
}

}  // namespace

EditMask::EditMask(std::string_view source) : source_(source) {
    std::vector<std::u32string> parts = splitFields(toCodePoints(source));
    if (parts.size() >= 2) saveLiterals_ = !(parts[1].size() == 1 && parts[1][0] == U'0');
    if (parts.size() >= 3 && !parts[2].empty()) blank_ = parts[2][0];
    const std::u32string& m = parts[0];
    CaseRule rule = CaseRule::Keep;
    for (size_t i = 0; i < m.size(); ++i) {
        char32_t c = m[i];
        Position p;
        p.caseRule = rule;
        switch (c) {
            case U'!':
                continue;
            case U'>':
                rule = CaseRule::Upper;
                continue;
            case U'<':
                if (i + 1 < m.size() && m[i + 1] == U'>') {
                    rule = CaseRule::Keep;  // "<>": no case change from here
                    ++i;
                } else {
                    rule = CaseRule::Lower;
                }
                continue;
            case U'\\':
                if (++i >= m.size()) continue;
                p.literal = m[i];
                break;
            case U'0':
                p.accepts = Accepts::Digit, p.required = true;
                break;
            case U'9':
                p.accepts = Accepts::Digit;
                break;
            case U'#':
                p.accepts = Accepts::DigitOrSign;
                break;
            case U'L':
                p.accepts = Accepts::Letter, p.required = true;
                break;
            case U'l':
                p.accepts = Accepts::Letter;
                break;
            case U'A':
                p.accepts = Accepts::LetterOrDigit, p.required = true;
                break;
            case U'a':
                p.accepts = Accepts::LetterOrDigit;
                break;
            case U'C':
                p.accepts = Accepts::Any, p.required = true;
                break;
            case U'c':
                p.accepts = Accepts::Any;
                break;
            case U'_':
                p.literal = U' ';
                break;
            default:
                p.literal = c;
                break;
        }
        positions_.push_back(p);
    }
}

char32_t EditMask::Accept(size_t i, char32_t c) const {
    if (i >= positions_.size() || c < 32) return 0;
    const Position& p = positions_[i];
    bool ok = false;
    switch (p.accepts) {
        case Accepts::Literal:
            return 0;
        case Accepts::Digit:
            ok = isDigitChar(c);
            break;
        case Accepts::DigitOrSign:
            ok = isDigitChar(c) || c == U'+' || c == U'-';
            break;
        case Accepts::Letter:
            ok = isLetterChar(c);
            break;
        case Accepts::LetterOrDigit:
            ok = isLetterChar(c) || isDigitChar(c);
            break;
        case Accepts::Any:
            ok = true;
            break;
    }
    if (!ok) return 0;
    if (p.caseRule == CaseRule::Upper) return toUpperChar(c);
    if (p.caseRule == CaseRule::Lower) return toLowerChar(c);
    return c;
}

std::string qtInputMask(const EditMask& mask) {
    if (mask.IsEmpty()) return {};
    std::string out;
    auto rule = EditMask::CaseRule::Keep;
    for (size_t i = 0; i < mask.Length(); ++i) {
        const EditMask::Position& p = mask.At(i);
        if (p.caseRule != rule) {
            rule = p.caseRule;
            out += rule == EditMask::CaseRule::Upper   ? ">"
                   : rule == EditMask::CaseRule::Lower ? "<"
                                                       : "!";
        }
        switch (p.accepts) {
            case EditMask::Accepts::Digit:
                out += p.required ? '9' : '0';
                break;
            case EditMask::Accepts::DigitOrSign:
                out += '#';
                break;
            case EditMask::Accepts::Letter:
                out += p.required ? 'A' : 'a';
                break;
            case EditMask::Accepts::LetterOrDigit:
                out += p.required ? 'N' : 'n';
                break;
            case EditMask::Accepts::Any:
                out += p.required ? 'X' : 'x';
                break;
            case EditMask::Accepts::Literal:
                // Qt's own mask characters stand for themselves only when escaped.
                if (std::u32string_view(U"AaNnXx90Dd#HhBb><![]{}\\;").find(p.literal) !=
                    std::u32string_view::npos)
                    out += '\\';
                out += toUtf8(p.literal);
                break;
        }
    }
    return out + ";" + toUtf8(mask.Blank());
}

MaskedText::MaskedText(EditMask mask) : mask_(std::move(mask)) {
    Clear();
}

void MaskedText::Clear() {
    cells_.assign(mask_.Length(), 0);
    for (size_t i = 0; i < mask_.Length(); ++i)
        if (mask_.IsLiteral(i)) cells_[i] = mask_.At(i).literal;
    cursor_ = 0;
}

size_t MaskedText::nextEditable(size_t from) const {
    while (from < mask_.Length() && mask_.IsLiteral(from))
        ++from;
    return from;
}

void MaskedText::SetCursor(size_t pos) {
    size_t typedEnd = 0;
    for (size_t i = 0; i < cells_.size(); ++i)
        if (!mask_.IsLiteral(i) && cells_[i] != 0) typedEnd = i + 1;
    cursor_ = std::min({pos, mask_.Length(), typedEnd});
}

bool MaskedText::Type(char32_t c) {
    size_t pos = cursor_;
    if (pos < mask_.Length() && mask_.IsLiteral(pos) && mask_.At(pos).literal == c) {
        cursor_ = pos + 1;
        return true;
    }
    pos = nextEditable(pos);
    if (pos >= mask_.Length()) return false;
    char32_t kept = mask_.Accept(pos, c);
    if (kept == 0) return false;
    cells_[pos] = kept;
    cursor_ = pos + 1;
    return true;
}

bool MaskedText::Backspace() {
    size_t pos = cursor_;
    while (pos > 0) {
        --pos;
        if (!mask_.IsLiteral(pos)) {
            cells_[pos] = 0;
            cursor_ = pos;
            return true;
        }
    }
    return false;
}

bool MaskedText::ClearRange(size_t start, size_t count) {
    bool any = false;
    for (size_t i = start; i < start + count && i < mask_.Length(); ++i) {
        if (mask_.IsLiteral(i) || cells_[i] == 0) continue;
        cells_[i] = 0;
        any = true;
    }
    SetCursor(start);
    return any;
}

std::string MaskedText::Shown() const {
    std::u32string out = cells_;
    for (char32_t& c : out)
        if (c == 0) c = mask_.Blank();
    return toUtf8(out);
}

std::string MaskedText::Stored() const {
    if (IsBlank()) return {};
    std::u32string out;
    for (size_t i = 0; i < cells_.size(); ++i) {
        if (mask_.IsLiteral(i) && !mask_.SaveLiterals()) continue;
        out.push_back(cells_[i] == 0 ? U' ' : cells_[i]);
    }
    while (!out.empty() && out.back() == U' ')
        out.pop_back();
    return toUtf8(out);
}

void MaskedText::SetStored(std::string_view text) {
    Clear();
    std::u32string t = toCodePoints(text);
    size_t j = 0;
    for (size_t i = 0; i < mask_.Length() && j < t.size(); ++i) {
        if (mask_.IsLiteral(i)) {
            if (t[j] == mask_.At(i).literal) ++j;
            continue;
        }
        char32_t c = t[j++];
        if (c == U' ') continue;
        char32_t kept = mask_.Accept(i, c);
        cells_[i] = kept ? kept : c;
    }
    cursor_ = mask_.Length();
}

bool MaskedText::IsBlank() const {
    for (size_t i = 0; i < cells_.size(); ++i)
        if (!mask_.IsLiteral(i) && cells_[i] != 0) return false;
    return true;
}

bool MaskedText::IsComplete() const {
    for (size_t i = 0; i < cells_.size(); ++i)
        if (!mask_.IsLiteral(i) && mask_.At(i).required && cells_[i] == 0) return false;
    return true;
}

}  // namespace pag

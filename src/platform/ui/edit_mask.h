#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pag {

// An edit mask as the screens and field definitions write it: "mask;save;blank".
//   0 required digit        9 optional digit        # optional digit or sign
//   L required letter       l optional letter
//   A required letter/digit a optional letter/digit
//   C required character    c optional character
//   > upper case from here  < lower case from here  <> no case change
//   \ the next character is a literal               ! accepted, no effect here
//   anything else (":" "/" "-" ...) is a literal shown in place.
// The second part "0" keeps literals out of the stored text ("1" or absent keeps
// them); the third part is the character shown in empty positions ("_" when absent).
// Examples: "99;0; ", "9999-a;0; ", ">aaa;0; ", "99/99/9999;1;_".
class EditMask {
public:
    enum class Accepts : uint8_t { Literal, Digit, DigitOrSign, Letter, LetterOrDigit, Any };
    enum class CaseRule : uint8_t { Keep, Upper, Lower };
    struct Position {
        Accepts accepts = Accepts::Literal;
        bool required = false;
        CaseRule caseRule = CaseRule::Keep;
        char32_t literal = 0;
    };

    EditMask() = default;
    explicit EditMask(std::string_view source);

    bool IsEmpty() const { return positions_.empty(); }
    const std::string& Source() const { return source_; }
    size_t Length() const { return positions_.size(); }
    const Position& At(size_t i) const { return positions_.at(i); }
    bool IsLiteral(size_t i) const { return At(i).accepts == Accepts::Literal; }
    bool SaveLiterals() const { return saveLiterals_; }
    char32_t Blank() const { return blank_; }

    // The character as it is kept when typed at editable position i (case rule
    // applied), or 0 when the position refuses it.
    char32_t Accept(size_t i, char32_t c) const;

private:
    std::string source_;
    std::vector<Position> positions_;
    bool saveLiterals_ = true;
    char32_t blank_ = U'_';
};

// The same mask in Qt's input-mask notation, for the desktop view (Qt's 9 and 0 are
// the other way round, its n is our a, ";c" gives the blank). Whether literals are
// stored is not Qt's business: the model's MaskedText keeps the stored text.
std::string qtInputMask(const EditMask& mask);

// The content of a masked edit: one cell per mask position, and the cursor. Typing
// overwrites the position under the cursor, skipping literals; a literal typed where
// it stands is taken as moving past it.
class MaskedText {
public:
    MaskedText() = default;
    explicit MaskedText(EditMask mask);

    const EditMask& Mask() const { return mask_; }
    size_t Cursor() const { return cursor_; }
    // A cursor put past what was typed (a click in the blanks) goes where typing
    // goes on: right after the last position typed.
    void SetCursor(size_t pos);

    // Types one character at the cursor; false (nothing changed) when refused.
    bool Type(char32_t c);
    // Clears the editable position before the cursor and moves back onto it.
    bool Backspace();
    // Clears the editable positions in [start, start + count); the cursor goes to start.
    bool ClearRange(size_t start, size_t count);
    void Clear();

    // The text as shown: literals in place, the blank character where nothing was typed.
    std::string Shown() const;
    // The text as stored in the field: with or without literals as the mask says,
    // empty positions as spaces, trailing spaces dropped; "" when nothing was typed.
    std::string Stored() const;
    // Lays a stored text back into the positions (literals in the text are skipped
    // where the mask has them). Characters the mask would refuse are shown anyway:
    // what a field holds is never hidden, only typing is filtered.
    void SetStored(std::string_view text);

    bool IsBlank() const;
    // Every required position holds a character.
    bool IsComplete() const;

private:
    size_t nextEditable(size_t from) const;
    EditMask mask_;
    std::u32string cells_;  // 0 = empty editable position; literals hold themselves
    size_t cursor_ = 0;
};

}  // namespace pag

#include "platform/dataset/filter.h"

#include <cctype>
#include <stdexcept>
#include <vector>

#include "platform/format.h"

namespace pag {

namespace {

std::string upper(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

bool isNumeric(ValueType t) {
    return t == ValueType::Float || t == ValueType::Integer || t == ValueType::Date ||
           t == ValueType::Boolean;
}

struct Token {
    enum Kind { End, Ident, Text, Number, Op, LParen, RParen } kind = End;
    std::string text;
};

class Lexer {
public:
    explicit Lexer(std::string_view s) : s_(s) {}
    Token next() {
        while (i_ < s_.size() && std::isspace(static_cast<unsigned char>(s_[i_])))
            ++i_;
        if (i_ >= s_.size()) return {};
        char c = s_[i_];
        if (c == '(') return ++i_, Token{Token::LParen, "("};
        if (c == ')') return ++i_, Token{Token::RParen, ")"};
        if (c == '\'') {
            std::string t;
            ++i_;
            while (true) {
                if (i_ >= s_.size()) fail("texto sem aspa de fechamento");
                if (s_[i_] == '\'') {
                    if (i_ + 1 < s_.size() && s_[i_ + 1] == '\'') {
                        t += '\'';
                        i_ += 2;
                        continue;
                    }
                    ++i_;
                    break;
                }
                t += s_[i_++];
            }
            return {Token::Text, t};
        }
        if (c == '<' || c == '>' || c == '=') {
            std::string op(1, c);
            ++i_;
            if (i_ < s_.size() && (s_[i_] == '=' || (c == '<' && s_[i_] == '>'))) op += s_[i_++];
            return {Token::Op, op};
        }
        if (std::isdigit(static_cast<unsigned char>(c)) || c == '-' || c == '.') {
            size_t b = i_++;
            while (i_ < s_.size() &&
                   (std::isdigit(static_cast<unsigned char>(s_[i_])) || s_[i_] == '.'))
                ++i_;
            return {Token::Number, std::string(s_.substr(b, i_ - b))};
        }
        if (std::isalpha(static_cast<unsigned char>(c)) || c == '_' || c == '[') {
            bool bracket = c == '[';
            size_t b = bracket ? ++i_ : i_;
            while (i_ < s_.size() && (std::isalnum(static_cast<unsigned char>(s_[i_])) ||
                                      s_[i_] == '_' || (bracket && s_[i_] != ']')))
                ++i_;
            std::string id(s_.substr(b, i_ - b));
            if (bracket) {
                if (i_ >= s_.size()) fail("colchete sem fechamento");
                ++i_;
            }
            return {Token::Ident, id};
        }
        fail(std::string("caractere inesperado '") + c + "'");
    }
    [[noreturn]] void fail(const std::string& why) const {
        throw std::invalid_argument("Filtro inválido (" + why + "): " + std::string(s_));
    }

private:
    std::string_view s_;
    size_t i_ = 0;
};

class Compare : public FilterExpression {
public:
    Compare(std::string field, std::string op, Value lit)
        : field_(std::move(field)), op_(std::move(op)), lit_(std::move(lit)) {}
    bool eval(const FieldReader& read) const override {
        Value v = read(field_);
        if (lit_.isNull()) {
            if (op_ == "=") return v.isNull();
            if (op_ == "<>") return !v.isNull();
            return false;
        }
        if (v.isNull()) return op_ == "<>";
        int c = compareValues(v, lit_);
        if (op_ == "=") return c == 0;
        if (op_ == "<>") return c != 0;
        if (op_ == "<") return c < 0;
        if (op_ == ">") return c > 0;
        if (op_ == "<=") return c <= 0;
        return c >= 0;
    }

private:
    std::string field_, op_;
    Value lit_;
};

class Logical : public FilterExpression {
public:
    Logical(bool isAnd, std::shared_ptr<FilterExpression> a, std::shared_ptr<FilterExpression> b)
        : and_(isAnd), a_(std::move(a)), b_(std::move(b)) {}
    bool eval(const FieldReader& read) const override {
        return and_ ? (a_->eval(read) && b_->eval(read)) : (a_->eval(read) || b_->eval(read));
    }

private:
    bool and_;
    std::shared_ptr<FilterExpression> a_, b_;
};

class Not : public FilterExpression {
public:
    explicit Not(std::shared_ptr<FilterExpression> a) : a_(std::move(a)) {}
    bool eval(const FieldReader& read) const override { return !a_->eval(read); }

private:
    std::shared_ptr<FilterExpression> a_;
};

class Parser {
public:
    Parser(std::string_view s, const std::function<bool(std::string_view)>& known)
        : lex_(s), known_(known) {
        tok_ = lex_.next();
    }
    std::shared_ptr<FilterExpression> parseAll() {
        auto e = parseOr();
        if (tok_.kind != Token::End) lex_.fail("sobra '" + tok_.text + "'");
        return e;
    }

private:
    bool isWord(const char* w) const { return tok_.kind == Token::Ident && upper(tok_.text) == w; }
    std::shared_ptr<FilterExpression> parseOr() {
        auto e = parseAnd();
        while (isWord("OR")) {
            tok_ = lex_.next();
            e = std::make_shared<Logical>(false, e, parseAnd());
        }
        return e;
    }
    std::shared_ptr<FilterExpression> parseAnd() {
        auto e = parseUnary();
        while (isWord("AND")) {
            tok_ = lex_.next();
            e = std::make_shared<Logical>(true, e, parseUnary());
        }
        return e;
    }
    std::shared_ptr<FilterExpression> parseUnary() {
        if (isWord("NOT")) {
            tok_ = lex_.next();
            return std::make_shared<Not>(parseUnary());
        }
        if (tok_.kind == Token::LParen) {
            tok_ = lex_.next();
            auto e = parseOr();
            if (tok_.kind != Token::RParen) lex_.fail("falta ')'");
            tok_ = lex_.next();
            return e;
        }
        if (tok_.kind != Token::Ident) lex_.fail("esperado o nome de um campo");
        std::string field = tok_.text;
        if (!known_(field)) lex_.fail("campo '" + field + "' não existe");
        tok_ = lex_.next();
        if (tok_.kind != Token::Op) lex_.fail("esperado um operador de comparação");
        std::string op = tok_.text;
        tok_ = lex_.next();
        Value lit;
        if (tok_.kind == Token::Text) {
            lit = Value(tok_.text);
        } else if (tok_.kind == Token::Number) {
            auto d = parseNumber(tok_.text);
            if (!d) lex_.fail("número inválido '" + tok_.text + "'");
            lit = Value(*d);
        } else if (isWord("NULL")) {
            lit = Value();
        } else {
            lex_.fail("esperado um valor");
        }
        tok_ = lex_.next();
        return std::make_shared<Compare>(field, op, lit);
    }

    Lexer lex_;
    const std::function<bool(std::string_view)>& known_;
    Token tok_;
};

}  // namespace

std::shared_ptr<FilterExpression> FilterExpression::parse(
    std::string_view text, const std::function<bool(std::string_view)>& knownField) {
    return Parser(text, knownField).parseAll();
}

int compareValues(const Value& a, const Value& b, bool caseInsensitive) {
    if (a.isNull() || b.isNull()) return a.isNull() ? (b.isNull() ? 0 : -1) : 1;
    if (isNumeric(a.type()) || isNumeric(b.type())) {
        double x, y;
        try {
            x = a.asFloat();
            y = b.asFloat();
        } catch (const std::invalid_argument&) {
            std::string sa = a.asString(), sb = b.asString();
            return sa < sb ? -1 : sa > sb ? 1 : 0;
        }
        return x < y ? -1 : x > y ? 1 : 0;
    }
    std::string sa = a.asString(), sb = b.asString();
    if (caseInsensitive) {
        sa = upper(std::move(sa));
        sb = upper(std::move(sb));
    }
    int c = sa.compare(sb);
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

}  // namespace pag

#include "server/column_rules.h"

#include <cmath>
#include <mutex>
#include <regex>

#include "platform/dataset/utf8.h"
#include "server/refusal.h"

namespace pag::server {

namespace {

std::string upper(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

ColumnRule ruleOf(const std::string& name, const std::string& declared) {
    ColumnRule r;
    r.name = name;
    const std::string type = upper(declared);
    static const std::regex sized(R"(^(VARCHAR|CHAR|NVARCHAR|CHARACTER)\s*\(\s*(\d+)\s*\)$)");
    std::smatch m;
    if (type == "DATE") {
        r.kind = ColumnRule::Kind::Date;
    } else if (std::regex_match(type, m, sized)) {
        r.kind = ColumnRule::Kind::Text;
        r.maxLength = std::stoul(m[2].str());
    } else if (type == "TEXT") {
        r.kind = ColumnRule::Kind::Text;
    } else if (type == "INTEGER" || type == "INT") {
        r.kind = ColumnRule::Kind::Integer;
    } else if (type == "REAL" || type.starts_with("NUMERIC") || type.starts_with("DECIMAL")) {
        r.kind = ColumnRule::Kind::Number;
    }
    return r;
}

// CHECK (COL IN ('A', 'B')) lists of a CREATE TABLE text.
const std::regex& domainCheck() {
    static const std::regex check(R"(CHECK\s*\(\s*(\w+)\s+IN\s*\(([^)]*)\)\s*\))",
                                  std::regex::icase);
    return check;
}

bool isNumber(const Value& v) {
    return v.type() == ValueType::Float || v.type() == ValueType::Integer;
}

std::string shown(const Value& v) {
    std::string text = v.type() == ValueType::Date ? v.asDate().toIso() : v.debugString();
    if (text.size() > 40) text = text.substr(0, 40) + "...";
    return text;
}

std::optional<std::string> dateViolation(const Value& v) {
    const std::string range = " não é uma data entre " + earliestStoredDate().toString() + " e " +
                              latestStoredDate().toString() + ".";
    Date d;
    if (v.type() == ValueType::Date) {
        d = v.asDate();
    } else if (v.type() == ValueType::Text) {
        try {
            d = Date::parseIso(v.asString());
        } catch (const std::invalid_argument&) {
            return shown(v) + range;
        }
        if (d.toIso() != v.asString()) return shown(v) + range;
    } else {
        return shown(v) + range;
    }
    if (d.isEmpty() || d < earliestStoredDate() || d > latestStoredDate()) return shown(v) + range;
    return std::nullopt;
}

std::optional<std::string> textViolation(const ColumnRule& r, const Value& v) {
    if (v.type() != ValueType::Text && v.type() != ValueType::Integer)
        return shown(v) + " não é um texto.";
    const std::string text = v.asString();
    // Characters, not bytes: the protocol refuses text that is not UTF-8.
    if (r.maxLength > 0 && utf8Chars(text) > r.maxLength)
        return "texto de " + std::to_string(utf8Chars(text)) + " caracteres; o máximo é " +
               std::to_string(r.maxLength) + ".";
    return std::nullopt;
}

std::optional<std::string> numberViolation(const ColumnRule& r, const Value& v) {
    if (!isNumber(v)) return shown(v) + " não é um número.";
    const double d = v.asFloat();
    if (!std::isfinite(d) || std::fabs(d) > kMaxStoredNumber)
        return shown(v) + " está fora do limite de 999.999.999.999,99.";
    if (r.kind == ColumnRule::Kind::Integer && std::floor(d) != d)
        return shown(v) + " não é um número inteiro.";
    return std::nullopt;
}

}  // namespace

ColumnRules::ColumnRules(Database& db) {
    if (db.isPostgres())
        readPostgres(db);
    else
        readSqlite(db);
}

void ColumnRules::readSqlite(Database& db) {
    Statement tables =
        db.prepare("SELECT name, sql FROM sqlite_master WHERE type = 'table' AND sql IS NOT NULL");
    while (tables.step()) {
        const std::string table = upper(tables.column(0).asString());
        Statement info =
            db.prepare("SELECT name, type, pk FROM pragma_table_info(:T) ORDER BY pk, cid");
        info.bind("T", tables.column(0));
        while (info.step()) {
            addColumn(table, info.column(0).asString(), info.column(1).asString());
            if (info.column(2).asInteger() > 0) addKeyColumn(table, info.column(0).asString());
        }
        const std::string sql = tables.column(1).asString();
        for (std::sregex_iterator it(sql.begin(), sql.end(), domainCheck()), end; it != end; ++it)
            addDomain(table, (*it)[1].str(), (*it)[2].str());
    }
}

void ColumnRules::addColumn(const std::string& table, const std::string& column,
                            const std::string& declaredType) {
    tables_[upper(table)][upper(column)] = ruleOf(upper(column), declaredType);
}

void ColumnRules::addKeyColumn(const std::string& table, const std::string& column) {
    keys_[upper(table)].push_back(upper(column));
}

void ColumnRules::addDomain(const std::string& table, const std::string& column,
                            const std::string& list) {
    static const std::regex literal(R"('([^']*)')");
    auto t = tables_.find(upper(table));
    if (t == tables_.end()) return;
    auto c = t->second.find(upper(column));
    if (c == t->second.end()) return;
    for (std::sregex_iterator v(list.begin(), list.end(), literal), end; v != end; ++v)
        c->second.domain.push_back((*v)[1].str());
}

const ColumnRule* ColumnRules::find(const std::string& table, const std::string& column) const {
    auto t = tables_.find(upper(table));
    if (t == tables_.end()) return nullptr;
    auto c = t->second.find(upper(column));
    return c == t->second.end() ? nullptr : &c->second;
}

std::vector<std::string> ColumnRules::keyColumns(const std::string& table) const {
    auto k = keys_.find(upper(table));
    return k == keys_.end() ? std::vector<std::string>{} : k->second;
}

std::optional<std::string> ColumnRules::violation(const std::string& table,
                                                  const std::string& column,
                                                  const Value& value) const {
    const ColumnRule* r = find(table, column);
    if (!r || value.isNull()) return std::nullopt;
    std::optional<std::string> why;
    switch (r->kind) {
        case ColumnRule::Kind::Date:
            why = dateViolation(value);
            break;
        case ColumnRule::Kind::Text:
            why = textViolation(*r, value);
            break;
        case ColumnRule::Kind::Number:
        case ColumnRule::Kind::Integer:
            why = numberViolation(*r, value);
            break;
        case ColumnRule::Kind::Other:
            break;
    }
    if (why || r->domain.empty()) return why;
    const std::string text = value.type() == ValueType::Text ? value.asString() : shown(value);
    for (const std::string& allowed : r->domain)
        if (text == allowed) return std::nullopt;
    std::string list;
    for (const std::string& allowed : r->domain)
        list += (list.empty() ? "" : ", ") + allowed;
    return "'" + text + "' não é um dos valores aceitos (" + list + ").";
}

const ColumnRules& ColumnRules::of(Database& db) {
    static std::once_flag once;
    static std::unique_ptr<ColumnRules> rules;
    std::call_once(once, [&] { rules = std::make_unique<ColumnRules>(db); });
    return *rules;
}

Date earliestStoredDate() {
    return Date::fromYmd(1900, 1, 1);
}

Date latestStoredDate() {
    return Date::fromYmd(2999, 12, 31);
}

void requireFits(const ColumnRules& rules, const std::string& table, const std::string& column,
                 const Value& value, const std::string& record) {
    if (auto why = rules.violation(table, column, value))
        throw Refusal("Valor inválido no campo " + column + " (" + table +
                      (record.empty() ? "" : " " + record) + "): " + *why);
}

}  // namespace pag::server

#include <gtest/gtest.h>

#include <stdexcept>

#include "scenario/scenario_keys.h"
#include "scenario/scenario_values.h"
#include "scenario/script_text.h"

namespace pag::scenario {
namespace {

TEST(ScriptText, SplitsWordsAndKeepsQuotedBlanks) {
    auto lines = parseScript(
        "# comment\n\n  type edtNome \"JOSE DA SILVA\"\r\n\tsql \"UPDATE X SET A = \"\"B\"\"\"\n"
        "goto cdsItens NOME=\"PORCA GRANDE\";CODIGO=2\nexpect message \"\"");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].number, 3);
    EXPECT_EQ(lines[0].words,
              (std::vector<Word>{{"type", false}, {"edtNome", false}, {"JOSE DA SILVA", true}}));
    EXPECT_EQ(lines[1].words[1], (Word{"UPDATE X SET A = \"B\"", true}));
    // A word only partly quoted is not a quoted word (it is a criterion, not a text).
    EXPECT_EQ(lines[2].words[2], (Word{"NOME=PORCA GRANDE;CODIGO=2", false}));
    EXPECT_EQ(lines[3].number, 6);
    EXPECT_EQ(lines[3].words[2], (Word{"", true}));
}

TEST(ScriptText, AnUnclosedQuoteNamesItsLine) {
    try {
        parseScript("db demo\n\nexpect message \"Sem fim\n");
        FAIL() << "aspas sem fechamento aceitas";
    } catch (const ScriptSyntaxError& e) {
        EXPECT_EQ(e.line, 3);
    }
}

TEST(ScenarioValues, DatesRelativeToToday) {
    Date today = Date::fromYmd(2026, 12, 6);
    EXPECT_EQ(parseScenarioDate("today", today), today);
    EXPECT_EQ(parseScenarioDate("today+30", today), Date::fromYmd(2027, 1, 5));
    EXPECT_EQ(parseScenarioDate("today-6", today), Date::fromYmd(2026, 11, 30));
    EXPECT_EQ(parseScenarioDate("31/12/2026", today), Date::fromYmd(2026, 12, 31));
    EXPECT_THROW(parseScenarioDate("todayx", today), std::invalid_argument);
    EXPECT_THROW(parseScenarioDate("31/02/2026", today), std::invalid_argument);
    EXPECT_EQ(typedText({"today+1", false}, today), "07/12/2026");
    EXPECT_EQ(typedText({"today+1", true}, today), "today+1");
    // In SQL the same dates become ISO literals both databases read as dates.
    EXPECT_EQ(sqlWithDates("SET A = {today}, B = {today+30} WHERE C < {today-6}", today),
              "SET A = '2026-12-06', B = '2027-01-05' WHERE C < '2026-11-30'");
    EXPECT_EQ(sqlWithDates("SELECT '{x}'", today), "SELECT '{x}'");
    EXPECT_THROW(sqlWithDates("SET A = {today+}", today), std::invalid_argument);
    EXPECT_THROW(sqlWithDates("SET A = {today+1", today), std::invalid_argument);
}

TEST(ScenarioValues, ValuesAreReadForTheFieldType) {
    Date today = Date::fromYmd(2026, 12, 6);
    EXPECT_TRUE(scriptValue(FieldType::Float, {"null", false}, today).isNull());
    EXPECT_EQ(scriptValue(FieldType::Text, {"null", true}, today), Value("null"));
    EXPECT_EQ(scriptValue(FieldType::Float, {"1.234,56", false}, today), Value(1234.56));
    EXPECT_EQ(scriptValue(FieldType::Integer, {"12", false}, today), Value(int64_t{12}));
    EXPECT_THROW(scriptValue(FieldType::Integer, {"1,5", false}, today), std::invalid_argument);
    EXPECT_THROW(scriptValue(FieldType::Float, {"abc", false}, today), std::invalid_argument);
    EXPECT_EQ(scriptValue(FieldType::Boolean, {"S", false}, today), Value(true));
    EXPECT_EQ(scriptValue(FieldType::Date, {"today", false}, today), Value(today));
}

TEST(ScenarioValues, ComparisonsAsAUserReadsThem) {
    EXPECT_TRUE(sameValue(Value(0.1 + 0.2), Value(0.3)));
    EXPECT_FALSE(sameValue(Value(0.3), Value(0.31)));
    EXPECT_TRUE(sameValue(Value(int64_t{2}), Value(2.0)));
    EXPECT_FALSE(sameValue(Value(), Value(0.0)));
    EXPECT_FALSE(sameValue(Value(""), Value()));
    EXPECT_TRUE(sameValue(Value(), Value()));
    EXPECT_FALSE(sameValue(Value("abc"), Value(1.0)));
    // The database keeps dates as ISO text; a date written dd/mm/yyyy compares as a date.
    Date today = Date::fromYmd(2026, 12, 6);
    Value stored("2026-11-21");
    FieldType t = comparisonType(stored, {"today-15", false}, today);
    EXPECT_EQ(t, FieldType::Date);
    EXPECT_TRUE(sameValue(stored, scriptValue(t, {"today-15", false}, today)));
    EXPECT_EQ(comparisonType(stored, {"2026-11-21", true}, today), FieldType::Text);
}

TEST(ScenarioValues, CriteriaNeedFieldAndValue) {
    auto pairs = parseCriteria("CODIGO=2;NOME=");
    ASSERT_EQ(pairs.size(), 2u);
    EXPECT_EQ(pairs[0], (std::pair<std::string, std::string>{"CODIGO", "2"}));
    EXPECT_EQ(pairs[1].second, "");
    EXPECT_THROW(parseCriteria("CODIGO"), std::invalid_argument);
    EXPECT_THROW(parseCriteria("CODIGO=1;"), std::invalid_argument);
}

TEST(ScenarioKeys, NamesModifiersAndCharacters) {
    ScriptKey enter = parseScriptKey("enter");
    EXPECT_EQ(enter.key, Key::Enter);
    EXPECT_EQ(enter.ch, U'\r');
    ScriptKey ctrlDel = parseScriptKey("ctrl+delete");
    EXPECT_EQ(ctrlDel.key, Key::Delete);
    EXPECT_TRUE(ctrlDel.shift.ctrl);
    EXPECT_EQ(ctrlDel.ch, 0u);
    EXPECT_EQ(parseScriptKey("F9").key, Key::F9);
    ScriptKey ctrlG = parseScriptKey("ctrl+g");
    EXPECT_EQ(ctrlG.key, 'G');
    EXPECT_EQ(ctrlG.ch, 0u);
    ScriptKey c = parseScriptKey("ç");
    EXPECT_EQ(c.key, 0);
    EXPECT_EQ(c.ch, U'ç');
    EXPECT_EQ(parseScriptKey("+").ch, U'+');
    EXPECT_EQ(parseScriptKey("tab").ch, 0u);
    EXPECT_THROW(parseScriptKey("f13"), std::invalid_argument);
    EXPECT_THROW(parseScriptKey("enterr"), std::invalid_argument);
    EXPECT_THROW(parseScriptKey("ctrl+é"), std::invalid_argument);
}

}  // namespace
}  // namespace pag::scenario

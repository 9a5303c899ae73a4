// The checks: messages, datasets, controls, forms and the database.
#include <cxxabi.h>

#include <cstdlib>
#include <memory>
#include <typeinfo>

#include "platform/format.h"
#include "platform/ui/buttons.h"
#include "platform/ui/db_controls.h"
#include "platform/ui/edit.h"
#include "platform/ui/menu.h"
#include "platform/ui/page_control.h"
#include "platform/ui/text_chars.h"
#include "scenario/scenario_values.h"
#include "scenario/session.h"

namespace pag::scenario {

namespace {

std::string rightTrimmed(std::string s) {
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    return s;
}

// "pag::TfrmHabConta" -> "TfrmHabConta".
std::string className(const Form& form) {
    const char* mangled = typeid(form).name();
    int status = 0;
    std::unique_ptr<char, decltype(&std::free)> demangled(
        abi::__cxa_demangle(mangled, nullptr, nullptr, &status), &std::free);
    std::string name = status == 0 && demangled ? demangled.get() : mangled;
    size_t colon = name.rfind("::");
    return colon == std::string::npos ? name : name.substr(colon + 2);
}

// The text of the selected cell of a grid's current row, as drawn.
std::string selectedCellText(Grid& grid) {
    for (const DrawCommand& d : grid.DrawCurrentRow())
        if (d.column == grid.SelectedIndex() && d.kind == DrawCommand::Kind::Text) return d.text;
    return {};
}

// What a control shows as its text.
std::string shownText(Control& c) {
    if (auto* e = dynamic_cast<CustomEdit*>(&c)) return e->EditText();
    if (auto* combo = dynamic_cast<ComboBox*>(&c)) return combo->Text();
    if (auto* t = dynamic_cast<DBText*>(&c)) return t->Text();
    if (auto* g = dynamic_cast<Grid*>(&c)) return selectedCellText(*g);
    if (auto* r = dynamic_cast<RadioGroup*>(&c)) {
        int i = r->ItemIndex();
        return i < 0 ? std::string() : stripAccelerator(r->Items()[static_cast<size_t>(i)]);
    }
    return stripAccelerator(c.Caption());
}

// Enabled (or visible) here and in every container up to the form: what the user sees.
// blocker names the control that decides when it is not.
bool effectively(const Control& c, bool (Control::*property)() const, std::string& blocker) {
    for (const Control* x = &c; x && !dynamic_cast<const Form*>(x); x = x->Parent())
        if (!(x->*property)()) {
            blocker = x->Name();
            return false;
        }
    return true;
}

std::optional<bool> checkedState(Control& c) {
    if (auto* b = dynamic_cast<CheckBox*>(&c)) return b->Checked();
    if (auto* r = dynamic_cast<RadioButton*>(&c)) return r->Checked();
    if (auto* m = dynamic_cast<MenuItem*>(&c)) return m->Checked();
    return std::nullopt;
}

}  // namespace

void Session::expectMessage(const Words& w) {
    const auto* m = ui_.OldestUnchecked();
    if (!m) Fail("nenhuma mensagem a conferir; esperada " + describeExpected(w[2]));
    if (!TextMatches(w[2], m->text))
        Fail("mensagem esperada " + describeExpected(w[2]) + ", mostrada \"" + m->text +
             "\" (na linha " + std::to_string(m->line) + ")");
    ui_.TakeMessage();
}

void Session::expectNoMessage(const Words&) {
    if (const auto* m = ui_.OldestUnchecked())
        Fail("mensagem não conferida: \"" + m->text + "\" (mostrada na linha " +
             std::to_string(m->line) + ")");
}

void Session::checkFieldValue(Field& f, const Word& expected, const std::string& where) {
    Value want = scriptValue(f.DataType(), expected, options_.today);
    Value got = f.AsValue();
    if (sameValue(got, want)) return;
    std::string seen = showValue(got);
    std::string display = got.isNull() ? std::string() : f.DisplayText();
    if (!got.isNull() && "\"" + display + "\"" != seen) seen += " (mostrado \"" + display + "\")";
    Fail(where + ": esperado " + joinWords({expected}) + ", encontrado " + seen);
}

void Session::expectField(const Words& w) {
    if (w[3].text != "=") Fail("uso: expect field CONJUNTO.CAMPO = VALOR");
    Field& f = field(w[2]);
    ClientDataSet& ds = f.DataSet();
    if (ds.IsEmpty() && ds.State() != DataSetState::Insert)
        Fail("o conjunto de dados " + ds.Name() + " não tem linhas");
    checkFieldValue(f, w[4], w[2].text);
}

void Session::expectEach(const Words& w) {
    if (w[3].text != "=") Fail("uso: expect each CONJUNTO.CAMPO = VALOR");
    Field& f = field(w[2]);
    ClientDataSet& ds = f.DataSet();
    // Every row of nothing proves nothing: an empty dataset is checked with expect count.
    if (ds.IsEmpty()) Fail("o conjunto de dados " + ds.Name() + " não tem linhas");
    for (int row = 1; row <= ds.RecordCount(); ++row) {
        DisplayRecordScope reading(ds, row);
        checkFieldValue(f, w[4], w[2].text + " na linha " + std::to_string(row));
    }
}

void Session::expectCount(const Words& w) {
    ClientDataSet& ds = dataSet(w[2].text);
    const std::string& op = w[3].text;
    auto n = parseNumber(w[4].text);
    if ((op != "=" && op != ">" && op != "<") || !n || *n != static_cast<int>(*n))
        Fail("uso: expect count CONJUNTO =|>|< N");
    if (!ds.Active()) Fail("o conjunto de dados " + ds.Name() + " está fechado");
    int want = static_cast<int>(*n), count = ds.RecordCount();
    bool ok = op == "=" ? count == want : op == ">" ? count > want : count < want;
    if (!ok)
        Fail(ds.Name() + ": esperado " + op + " " + std::to_string(want) + " linha(s), há " +
             std::to_string(count));
}

void Session::expectState(const Words& w) {
    ClientDataSet& ds = dataSet(w[2].text);
    const std::string& want = w[3].text;
    if (want != "inactive" && want != "browse" && want != "edit" && want != "insert")
        Fail("uso: expect state CONJUNTO inactive|browse|edit|insert");
    std::string state = dataSetStateName(ds.State());
    if (state != want) Fail(ds.Name() + ": esperado " + want + ", está " + state);
}

void Session::expectControlState(const Words& w) {
    const std::string& which = w[1].text;
    Control& c = control(w[2]);
    bool want = which == "enabled" || which == "visible" || which == "checked";
    const char* opposite = which == "enabled"    ? "disabled"
                           : which == "disabled" ? "enabled"
                           : which == "visible"  ? "hidden"
                           : which == "hidden"   ? "visible"
                           : which == "checked"  ? "unchecked"
                                                 : "checked";
    std::string blocker;
    bool actual;
    if (which == "enabled" || which == "disabled") {
        actual = effectively(c, &Control::Enabled, blocker);
    } else if (which == "visible" || which == "hidden") {
        actual = effectively(c, &Control::Visible, blocker);
    } else {
        std::optional<bool> checked = checkedState(c);
        if (!checked) Fail(c.Name() + " não é caixa de marcação, botão de opção nem item de menu");
        actual = *checked;
    }
    if (actual == want) return;
    std::string why =
        !blocker.empty() && blocker != c.Name() ? " (por causa de " + blocker + ")" : "";
    Fail("esperado " + which + " " + c.Name() + ", está " + opposite + why);
}

void Session::expectFocus(const Words& w) {
    Form& form = topForm();
    Control* active = form.ActiveControl();
    if (!active || active->Name() != w[2].text)
        Fail("o foco esperado em " + w[2].text + " está em " +
             (active ? active->Name() : std::string("nenhum controle")));
}

void Session::expectPage(const Words& w) {
    Page& page = controlAs<Page>(w[2], "uma página");
    PageControl* owner = page.Owner();
    Page* showing = owner ? owner->ActivePage() : nullptr;
    if (showing != &page)
        Fail("a página mostrada é " + (showing ? showing->Name() : std::string("nenhuma")) +
             ", não " + page.Name());
}

void Session::expectForm(const Words& w) {
    Form& form = topForm();
    std::string cls = className(form);
    if (w[2].text != cls && w[2].text != form.Name())
        Fail("o formulário à frente é " + cls + " (" + form.Name() + "), não " + w[2].text);
}

void Session::expectText(const Words& w) {
    Control& c = control(w[2]);
    std::string shown = shownText(c);
    std::string want = typedText(w[3], options_.today);
    if (rightTrimmed(shown) != rightTrimmed(want))
        Fail(c.Name() + ": esperado \"" + want + "\", mostra \"" + shown + "\"");
}

void Session::expectImage(const Words& w) {
    Control& c = control(w[2]);
    auto* grid = dynamic_cast<Grid*>(&c);
    if (!grid) Fail(c.Name() + " não é uma grade");
    const int column = IndiceCol(*grid, w[3].text);
    if (column < 0) Fail(c.Name() + ": nenhuma coluna mostra " + w[3].text);
    std::string drawn = "none";
    for (const DrawCommand& d : grid->DrawCurrentRow())
        if (d.column == column && d.kind == DrawCommand::Kind::Image) drawn = d.text;
    if (drawn != w[4].text)
        Fail(c.Name() + "." + w[3].text + ": esperada a figura " + w[4].text + ", desenhada " +
             drawn);
}

void Session::expectServer(const Words& w) {
    requireDatabase("expect server");
    if (w[3].text != "=") Fail("uso: expect server \"SELECT ...\" = VALOR");
    Value got = db_->firstValue(sqlWithDates(w[2].text, options_.today));
    Value want = scriptValue(comparisonType(got, w[4], options_.today), w[4], options_.today);
    if (!sameValue(got, want))
        Fail("o banco devolveu " + showValue(got) + ", esperado " + joinWords({w[4]}));
}

}  // namespace pag::scenario

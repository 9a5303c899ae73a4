// The user's input to the topmost form: typing, focus, clicks, keys, grids and rows.
#include <algorithm>

#include "platform/ui/buttons.h"
#include "platform/ui/edit.h"
#include "platform/ui/page_control.h"
#include "platform/ui/text_chars.h"
#include "scenario/scenario_keys.h"
#include "scenario/scenario_values.h"
#include "scenario/session.h"

namespace pag::scenario {

void Session::requireUsable(Control& c) {
    if (!c.IsUsable())
        Fail("o controle " + c.Name() +
             " está desabilitado ou oculto (ou numa página que não aparece)");
}

void Session::cmdType(const Words& w) {
    Control& c = control(w[1]);
    std::string text = typedText(w[2], options_.today);
    auto* edit = dynamic_cast<CustomEdit*>(&c);
    if (!edit && !dynamic_cast<Grid*>(&c))
        Fail("não é possível digitar em " + c.Name() + " (para ele use click, choose ou key)");
    if (!edit && text.empty()) Fail("para apagar uma célula use key " + c.Name() + " delete");
    if (!focus(c)) return;  // a handler kept the focus away; its message says why
    Form& form = *c.OwnerForm();
    // The user replaces the text: selects all of it, then types over it.
    if (edit) {
        edit->SelectAll();
        if (text.empty()) dispatch([edit] { edit->KeyDown(Key::Delete); });
    } else {
        static_cast<Grid&>(c).SelectEditorText();
    }
    // Each key goes where the focus is, as a keyboard does when a handler moves it on;
    // a key refused with a message ends the typing.
    for (char32_t ch : toCodePoints(text)) {
        Control* target = form.ActiveControl() ? form.ActiveControl() : &c;
        if (!dispatch([target, ch] { target->KeyPress(ch); })) break;
    }
}

void Session::cmdEnter(const Words& w) {
    focus(control(w[1]));
}

void Session::cmdExit(const Words& w) {
    Form& form = topForm();
    Control& c = control(w[1]);
    Control* active = form.ActiveControl();
    auto* box = dynamic_cast<Container*>(&c);
    auto inside = [&](const Control& x) { return box ? box->Contains(x) : &x == &c; };
    if (!active || !inside(*active))
        Fail("o foco não está em " + c.Name() + " (está em " +
             (active ? active->Name() : std::string("nenhum controle")) + ")");
    // The focus goes to the next control of the tab order outside the one left.
    const std::vector<Control*>& order = form.Controls();
    size_t at = static_cast<size_t>(std::find(order.begin(), order.end(), active) - order.begin());
    Control* next = nullptr;
    for (size_t k = 1; k <= order.size() && !next; ++k) {
        Control* candidate = order[(at + k) % order.size()];
        if (candidate->TabStop() && candidate->CanFocus() && !inside(*candidate)) next = candidate;
    }
    if (!next) Fail("não há outro controle para onde levar o foco ao sair de " + c.Name());
    dispatch([next] { next->SetFocus(); });
}

void Session::cmdClick(const Words& w) {
    Control& c = control(w[1]);
    if (auto* page = dynamic_cast<Page*>(&c)) {
        // A page's tab is on show while another page is the one showing.
        if (!page->Enabled() || !page->Visible() || !page->TabVisible() || !page->Owner() ||
            !page->Owner()->IsUsable())
            Fail("a aba da página " + c.Name() + " está desabilitada ou oculta");
        dispatch([page] { page->Click(); });
        return;
    }
    requireUsable(c);
    Form& form = topForm();
    dispatch([&form, &c] { form.ClickControl(c); });
}

void Session::cmdChoose(const Words& w) {
    Control& c = control(w[1]);
    std::string item = typedText(w[2], options_.today);
    auto listed = [&item](const std::vector<std::string>& items) {
        std::string all;
        for (const std::string& i : items)
            all += (all.empty() ? "" : ", ") + i;
        return "não há o item '" + item + "' (itens: " + all + ")";
    };
    if (auto* combo = dynamic_cast<ComboBox*>(&c)) {
        requireUsable(c);
        const auto& items = combo->Items();
        if (std::find(items.begin(), items.end(), item) == items.end())
            Fail(c.Name() + ": " + listed(items));
        if (c.CanFocus() && !focus(c)) return;
        dispatch([combo, item] { combo->UserSelectText(item); });
    } else if (auto* group = dynamic_cast<RadioGroup*>(&c)) {
        requireUsable(c);
        const auto& items = group->Items();
        auto it = std::find_if(items.begin(), items.end(), [&item](const std::string& i) {
            return i == item || stripAccelerator(i) == item;
        });
        if (it == items.end()) Fail(c.Name() + ": " + listed(items));
        int index = static_cast<int>(it - items.begin());
        dispatch([group, index] { group->UserSelect(index); });
    } else {
        Fail("choose vale para caixas de combinação e grupos de opções; " + c.Name() +
             " não é nenhum dos dois");
    }
}

void Session::cmdKey(const Words& w) {
    Form& form = topForm();
    Control& c = control(w[1]);
    ScriptKey k = parseScriptKey(w[2].text);
    Control* target = &c;
    if (&c == &form)
        target = form.ActiveControl() ? form.ActiveControl() : &form;
    else if (!focus(c))
        return;
    bool taken = false;
    // The menus see a key before the control does (their shortcuts).
    if (k.key && !dispatch([&] {
            taken = form.DispatchShortCut(k.key, k.shift);
            if (!taken) target->KeyDown(k.key, k.shift);
        }))
        return;
    if (!taken && k.ch) dispatch([target, &k] { target->KeyPress(k.ch); });
}

int Session::gridColumn(Grid& grid, const Word& fieldName) {
    int i = IndiceCol(grid, fieldName.text);
    if (i < 0) Fail("a grade " + grid.Name() + " não tem coluna do campo " + fieldName.text);
    if (!grid.Columns()[static_cast<size_t>(i)].visible)
        Fail("a coluna " + fieldName.text + " da grade " + grid.Name() + " está oculta");
    requireUsable(grid);
    return i;
}

void Session::cmdSelect(const Words& w) {
    Grid& grid = controlAs<Grid>(w[1], "uma grade");
    int i = gridColumn(grid, w[2]);
    dispatch([&grid, i] { grid.SetSelectedIndex(i); });
}

void Session::cmdTitle(const Words& w) {
    Grid& grid = controlAs<Grid>(w[1], "uma grade");
    int i = gridColumn(grid, w[2]);
    dispatch([&grid, i] { grid.ClickTitle(i); });
}

void Session::cmdCellClick(const Words& w) {
    Grid& grid = controlAs<Grid>(w[1], "uma grade");
    int i = gridColumn(grid, w[2]);
    dispatch([&grid, i] { grid.ClickCell(i); });
}

void Session::cmdDblClick(const Words& w) {
    Grid& grid = controlAs<Grid>(w[1], "uma grade");
    requireUsable(grid);
    dispatch([&grid] { grid.DoubleClick(); });
}

void Session::cmdGoto(const Words& w) {
    ClientDataSet& ds = dataSet(w[1].text);
    if (!ds.Active()) Fail("o conjunto de dados " + ds.Name() + " está fechado");
    RowCriteria c = rowCriteria(ds, w[2].text, options_.today);
    bool found = false;
    if (dispatch([&] { found = ds.Locate(c.fields, c.values); }) && !found)
        Fail("nenhuma linha de " + ds.Name() + " com " + w[2].text);
}

void Session::cmdRow(const Words& w) {
    ClientDataSet& ds = dataSet(w[1].text);
    if (!ds.Active()) Fail("o conjunto de dados " + ds.Name() + " está fechado");
    const std::string& where = w[2].text;
    std::function<void()> move;
    if (where == "first") {
        move = [&ds] { ds.First(); };
    } else if (where == "last") {
        move = [&ds] { ds.Last(); };
    } else if (where == "next") {
        move = [&ds] { ds.Next(); };
    } else if (where == "prior") {
        move = [&ds] { ds.Prior(); };
    } else {
        bool digits = !where.empty() && where.size() < 9 &&
                      where.find_first_not_of("0123456789") == std::string::npos;
        int n = digits ? std::stoi(where) : 0;
        if (n < 1 || n > ds.RecordCount())
            Fail("row " + ds.Name() + " " + where + ": escreva first, last, next, prior ou " +
                 "um número de 1 a " + std::to_string(ds.RecordCount()));
        move = [&ds, n] { ds.SetRecNo(n); };
    }
    dispatch(move);
}

void Session::cmdClose(const Words&) {
    Form& form = topForm();
    // The form may be gone once it closed: nothing touches it afterwards.
    dispatch([&form] { form.Close(); });
}

}  // namespace pag::scenario

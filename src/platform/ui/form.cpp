#include "platform/ui/form.h"

#include <algorithm>
#include <stdexcept>

#include "platform/ui/menu.h"

namespace pag {

Form::Form(std::string name, std::string caption) : Container(std::move(name), nullptr) {
    SetCaption(std::move(caption));
    SetVisible(false);
}

Form::~Form() {
    DestroyControls();
}

void Form::DestroyControls() {
    active_ = nullptr;
    redirect_ = nullptr;
    byName_.clear();
    order_.clear();
    // Children before their containers: the reverse of creation.
    while (!owned_.empty())
        owned_.pop_back();
}

void Form::adopt(std::unique_ptr<Control> control) {
    const std::string& name = control->Name();
    if (name.empty() || byName_.count(name) || name == Name())
        throw std::logic_error("Nome de controle vazio ou repetido no formulário " + Name() +
                               ": \"" + name + "\".");
    if (control->OwnerForm() != this)
        throw std::logic_error("O controle " + name + " não está no formulário " + Name() + ".");
    byName_.emplace(name, control.get());
    order_.push_back(control.get());
    owned_.push_back(std::move(control));
}

Control* Form::Find(std::string_view name) const {
    auto it = byName_.find(name);
    return it == byName_.end() ? nullptr : it->second;
}

void Form::throwNotFound(std::string_view name, Control* found, const char* kind) const {
    if (found)
        throw std::logic_error("O controle " + std::string(name) + " do formulário " + Name() +
                               " não é do tipo esperado (" + kind + ").");
    throw std::logic_error("Controle " + std::string(name) + " não encontrado no formulário " +
                           Name() + ".");
}

// ---- focus

void Form::runExits(Control& old, Control& target) {
    // A panel that held the focus is not left when the focus moves to one of its own
    // controls: the user is still inside it.
    auto* oldBox = dynamic_cast<Container*>(&old);
    if (!(oldBox && oldBox->Contains(target))) old.DoExit();
    for (Container* c = old.Parent(); c && c != this && !c->Contains(target); c = c->Parent())
        c->DoExit();
}

void Form::runEnters(Control* old, Control& target) {
    std::vector<Container*> entered;
    for (Container* c = target.Parent(); c && c != this && c != old && !(old && c->Contains(*old));
         c = c->Parent())
        entered.push_back(c);
    for (auto it = entered.rbegin(); it != entered.rend(); ++it)
        (*it)->DoEnter();
    target.DoEnter();
}

bool Form::SetFocus(Control& target) {
    if (&target == this || target.OwnerForm() != this || !target.CanFocus()) return false;
    if (changingFocus_) {
        redirect_ = &target;
        return true;
    }
    if (active_ == &target) return true;
    Control* old = active_;
    changingFocus_ = true;
    redirect_ = nullptr;
    try {
        if (old) runExits(*old, target);
    } catch (...) {
        // Refused: the focus stays, unless the refusing handler sent it elsewhere.
        changingFocus_ = false;
        if (redirect_ && redirect_ != old) active_ = redirect_;
        redirect_ = nullptr;
        changed();
        throw;
    }
    if (redirect_ == old && old) {
        changingFocus_ = false;
        redirect_ = nullptr;
        return false;
    }
    Control* dest = redirect_ ? redirect_ : &target;
    redirect_ = nullptr;
    active_ = dest;
    try {
        runEnters(old, *dest);
    } catch (...) {
        changingFocus_ = false;
        redirect_ = nullptr;
        changed();
        throw;
    }
    changingFocus_ = false;
    changed();
    if (redirect_ && redirect_ != active_) {
        Control* next = redirect_;
        redirect_ = nullptr;
        return SetFocus(*next);
    }
    redirect_ = nullptr;
    return active_ == &target;
}

bool Form::SelectNext(bool backwards) {
    std::vector<Control*> stops;
    for (Control* c : order_)
        if (c->TabStop() && c->CanFocus()) stops.push_back(c);
    if (stops.empty()) return false;
    auto it = std::find(stops.begin(), stops.end(), active_);
    size_t n = stops.size();
    size_t i = it == stops.end() ? (backwards ? n - 1 : 0)
               : backwards       ? (static_cast<size_t>(it - stops.begin()) + n - 1) % n
                                 : (static_cast<size_t>(it - stops.begin()) + 1) % n;
    return SetFocus(*stops[i]);
}

bool Form::ClickControl(Control& c) {
    if (c.OwnerForm() != this || !c.IsUsable()) return false;
    if (c.TabStop() && c.CanFocus() && !SetFocus(c)) return false;
    return c.Click();
}

bool Form::DispatchShortCut(int key, ShiftState shift) {
    for (Control* c : order_)
        if (auto* m = dynamic_cast<MenuItem*>(c); m && m->MatchesShortCut(key, shift))
            if (m->IsUsable()) return m->Click();
    return false;
}

// ---- window

void Form::SetSize(int width, int height) {
    width_ = width;
    height_ = height;
    changed();
}

void Form::DoCreate() {
    if (created_) return;
    created_ = true;
    if (OnCreate) OnCreate();
}

void Form::Show() {
    if (!Visible()) {
        SetVisible(true);
        if (OnShow) OnShow();
    }
    Activate();
}

void Form::Hide() {
    if (!Visible()) return;
    SetVisible(false);
    if (OnHide) OnHide();
    Closed.emit();
}

void Form::Activate() {
    if (OnActivate) OnActivate();
}

void Form::Deactivate() {
    if (OnDeactivate) OnDeactivate();
}

ModalResult Form::ShowModal(UserInterface& ui) {
    if (modal_) throw std::logic_error("O formulário " + Name() + " já está aberto.");
    modal_ = true;
    modalResult_ = ModalResult::None;
    struct EndModal {
        Form& f;
        ~EndModal() {
            f.modal_ = false;
            if (f.Visible()) f.SetVisible(false);
        }
    } end{*this};
    Show();
    ModalResult r = ui.showModal(*this);
    if (modalResult_ == ModalResult::None) modalResult_ = r;
    if (modalResult_ == ModalResult::None) modalResult_ = ModalResult::Cancel;
    return modalResult_;
}

bool Form::Close() {
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(canClose);
    if (!canClose) return false;
    CloseAction action = CloseAction::Hide;
    if (OnClose) OnClose(action);
    if (action == CloseAction::None) return false;
    if (modal_ && modalResult_ == ModalResult::None) modalResult_ = ModalResult::Cancel;
    if (Visible()) {
        SetVisible(false);
        Closed.emit();
    }
    if (action == CloseAction::Free && OnRelease) OnRelease(*this);
    return true;
}

void Form::SetModalResult(ModalResult r) {
    modalResult_ = r;
    // A refused close keeps a modal form open, and without a result.
    bool closing = modal_ && r != ModalResult::None && Visible();
    if (closing && !Close()) modalResult_ = ModalResult::None;
}

}  // namespace pag

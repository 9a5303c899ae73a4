#include "platform/ui/control.h"

#include <algorithm>

#include "platform/ui/form.h"

namespace pag {

Control::Control(std::string name, Container* parent) : name_(std::move(name)), parent_(parent) {
    if (parent_) parent_->children_.push_back(this);
}

Control::~Control() {
    if (parent_) std::erase(parent_->children_, this);
}

Form* Control::OwnerForm() const {
    for (const Control* c = this; c; c = c->parent_)
        if (auto* f = dynamic_cast<const Form*>(c)) return const_cast<Form*>(f);
    return nullptr;
}

void Control::SetEnabled(bool on) {
    if (enabled_ == on) return;
    enabled_ = on;
    changed();
}
void Control::SetVisible(bool on) {
    if (visible_ == on) return;
    visible_ = on;
    changed();
}
void Control::SetReadOnly(bool on) {
    if (readOnly_ == on) return;
    readOnly_ = on;
    changed();
}
void Control::SetColour(Colour c) {
    if (colour_ == c) return;
    colour_ = c;
    changed();
}
void Control::SetTag(int t) {
    tag_ = t;
}
void Control::SetHint(std::string h) {
    if (hint_ == h) return;
    hint_ = std::move(h);
    changed();
}
void Control::SetCaption(std::string c) {
    if (caption_ == c) return;
    caption_ = std::move(c);
    changed();
}
void Control::SetTabStop(bool on) {
    tabStop_ = on;
}

bool Control::IsUsable() const {
    if (!enabled_ || !visible_) return false;
    const Control* child = this;
    for (const Container* p = parent_; p; child = p, p = p->parent_) {
        if (!p->ShowsChild(*child)) return false;
        // The form itself may be hidden while a test drives it.
        if (p->parent_ == nullptr && dynamic_cast<const Form*>(p)) break;
        if (!p->enabled_ || !p->visible_) return false;
    }
    return true;
}

bool Control::Focused() const {
    Form* f = OwnerForm();
    return f && f->ActiveControl() == this;
}

bool Control::SetFocus() {
    Form* f = OwnerForm();
    return f && f->SetFocus(*this);
}

void Control::KeyDown(int key, ShiftState shift) {
    Form* f = OwnerForm();
    if (f && f != this && f->KeyPreview() && f->OnKeyDown) f->OnKeyDown(key, shift);
    if (key == 0) return;
    if (OnKeyDown) OnKeyDown(key, shift);
    if (key == 0) return;
    HandleKeyDown(key, shift);
}

void Control::KeyPress(KeyChar key) {
    Form* f = OwnerForm();
    if (f && f != this && f->KeyPreview() && f->OnKeyPress) f->OnKeyPress(key);
    if (key == 0) return;
    if (OnKeyPress) OnKeyPress(key);
    if (key == 0) return;
    HandleKeyPress(key);
}

void Control::HandleKeyDown(int key, ShiftState shift) {
    if (key != Key::Tab) return;
    if (Form* f = OwnerForm()) f->SelectNext(shift.shift);
}

void Control::DoEnter() {
    if (OnEnter) OnEnter();
}

void Control::DoExit() {
    if (OnExit) OnExit();
}

Container::~Container() {
    // Children outliving their container (never the case for a form's controls,
    // which are destroyed children first) must not point back here.
    for (Control* c : children_)
        c->parent_ = nullptr;
}

bool Container::Contains(const Control& c) const {
    for (const Control* p = &c; p; p = p->Parent())
        if (p == this) return true;
    return false;
}

void SetChildEnabled(Container& container, bool enabled) {
    for (Control* c : container.Children()) {
        c->SetEnabled(enabled);
        if (auto* inner = dynamic_cast<Container*>(c)) SetChildEnabled(*inner, enabled);
    }
}

void Image::SetPicture(std::string name) {
    if (picture_ == name) return;
    picture_ = std::move(name);
    changed();
}

}  // namespace pag

#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <typeinfo>
#include <vector>

#include "platform/ui/control.h"
#include "platform/ui/user_interface.h"

namespace pag {

enum class CloseAction { None, Hide, Free, Minimize };

// A screen or dialog: owns its controls by name, knows the control with the focus,
// and has the window's life (show, modal show, close, hide) with its events.
class Form : public Container {
public:
    explicit Form(std::string name, std::string caption = {});
    ~Form() override;

    // Creates a control on this form, inside parent (the form itself when null).
    // Names are unique on a form.
    template <typename T, typename... Args>
    T& Add(std::string name, Container* parent = nullptr, Args&&... args) {
        auto control =
            std::make_unique<T>(name, parent ? parent : this, std::forward<Args>(args)...);
        T& ref = *control;
        adopt(std::move(control));
        return ref;
    }
    Control* Find(std::string_view name) const;
    // The control of that name and kind; a pt-BR error when there is none.
    template <typename T>
    T& Get(std::string_view name) const {
        Control* c = Find(name);
        if (auto* typed = dynamic_cast<T*>(c)) return *typed;
        throwNotFound(name, c, typeid(T).name());
    }
    // Every control in creation order (also the tab order).
    const std::vector<Control*>& Controls() const { return order_; }

    // ---- focus
    Control* ActiveControl() const { return active_; }
    // Moves the focus: the old control's exit (which may refuse by throwing; the
    // focus then stays), the exits of the containers left, the enters of the
    // containers entered, the new control's enter. False when c cannot take the
    // focus. A handler that moves the focus itself during the change wins.
    bool SetFocus(Control& c);
    // Tab / Shift+Tab: the next control that takes the focus.
    bool SelectNext(bool backwards = false);
    // The user's click: a control that takes the focus gets it first (its exit
    // runs), then the click.
    bool ClickControl(Control& c);
    // A key with modifiers: the enabled menu item with that shortcut runs.
    bool DispatchShortCut(int key, ShiftState shift);
    // The button Enter confirms in a dialog (null: none).
    Control* DefaultButton() const { return default_; }
    void SetDefaultButton(Control* c) { default_ = c; }

    // ---- window
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetSize(int width, int height);
    int HelpContext() const { return helpContext_; }
    void SetHelpContext(int ctx) { helpContext_ = ctx; }
    const std::string& HelpFile() const { return helpFile_; }
    void SetHelpFile(std::string f) { helpFile_ = std::move(f); }
    bool KeyPreview() const { return keyPreview_; }
    void SetKeyPreview(bool on) { keyPreview_ = on; }
    UserInterface* GetUserInterface() const { return ui_; }
    void SetUserInterface(UserInterface* ui) { ui_ = ui; }

    // ---- life
    // Runs OnCreate once (the creating code calls it when the controls are in place).
    void DoCreate();
    void Show();
    void Hide();
    void Activate();
    void Deactivate();
    // Shows the form modally through ui and returns its modal result (Cancel when it
    // was closed without one).
    ModalResult ShowModal(UserInterface& ui);
    bool IsModal() const { return modal_; }
    // OnCloseQuery, then OnClose with the close action (Hide by default). False when
    // refused. Free asks the owner to destroy the form (OnRelease).
    bool Close();
    ModalResult GetModalResult() const { return modalResult_; }
    // A result other than None closes a modal form.
    void SetModalResult(ModalResult r);

    Handler OnCreate, OnShow, OnHide, OnActivate, OnDeactivate;
    std::function<void(bool& canClose)> OnCloseQuery;
    std::function<void(CloseAction& action)> OnClose;
    // The form was closed with the action Free: the owner destroys it once the
    // running action is over.
    std::function<void(Form&)> OnRelease;
    // Fired whenever the form stops showing (closed or hidden).
    Signal<> Closed;

protected:
    // Destroys every control now. A form that owns data sources or datasets as members
    // calls it in its destructor, so bound controls go before what they are bound to.
    void DestroyControls();

private:
    Control* default_ = nullptr;
    void adopt(std::unique_ptr<Control> control);
    [[noreturn]] void throwNotFound(std::string_view name, Control* found, const char* kind) const;
    void runExits(Control& old, Control& target);
    void runEnters(Control* old, Control& target);

    std::vector<std::unique_ptr<Control>> owned_;
    std::vector<Control*> order_;
    std::map<std::string, Control*, std::less<>> byName_;
    Control* active_ = nullptr;
    bool changingFocus_ = false;
    Control* redirect_ = nullptr;
    int width_ = 0, height_ = 0;
    int helpContext_ = 0;
    std::string helpFile_;
    bool keyPreview_ = false;
    bool created_ = false;
    bool modal_ = false;
    ModalResult modalResult_ = ModalResult::None;
    UserInterface* ui_ = nullptr;
};

}  // namespace pag

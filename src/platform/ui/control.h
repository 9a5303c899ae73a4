#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/signal.h"
#include "platform/ui/keys.h"

namespace pag {

class Container;
class Form;

// A control's colour: one of the system colours the screens use, or an RGB value.
struct Colour {
    enum class Kind : uint8_t { Window, ButtonFace, InfoBackground, Rgb };
    Kind kind = Kind::Window;
    uint8_t red = 0, green = 0, blue = 0;

    static constexpr Colour window() { return {Kind::Window}; }
    static constexpr Colour buttonFace() { return {Kind::ButtonFace}; }
    static constexpr Colour infoBackground() { return {Kind::InfoBackground}; }
    static constexpr Colour rgb(uint8_t r, uint8_t g, uint8_t b) { return {Kind::Rgb, r, g, b}; }
    bool operator==(const Colour&) const = default;
};

using Handler = std::function<void()>;
using KeyDownHandler = std::function<void(int& key, ShiftState shift)>;
using KeyPressHandler = std::function<void(KeyChar& key)>;

// The presentation model of one named control. Views draw it and observe Changed;
// the user's input (focus, keys, clicks) comes in through the methods below, so a
// test drives a screen exactly as a person would.
class Control {
public:
    explicit Control(std::string name, Container* parent = nullptr);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const std::string& Name() const { return name_; }
    Container* Parent() const { return parent_; }
    // The form this control sits on (walking up the containers); null when none.
    Form* OwnerForm() const;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool on);
    bool Visible() const { return visible_; }
    void SetVisible(bool on);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool on);
    Colour GetColour() const { return colour_; }
    void SetColour(Colour c);
    int Tag() const { return tag_; }
    void SetTag(int t);
    const std::string& Hint() const { return hint_; }
    void SetHint(std::string h);
    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string c);
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool on);

    // Enabled and visible here and in every container up to the form (and, inside a
    // page control, on the page showing).
    bool IsUsable() const;
    // Whether the focus may come here: usable and a kind of control that takes focus.
    virtual bool CanFocus() const { return IsUsable(); }
    bool Focused() const;
    // Moves the form's focus here (running exit and enter handlers). False when the
    // control cannot take the focus; an exit handler's refusal propagates.
    bool SetFocus();

    // A user's click; false when the control was not usable or not clickable.
    virtual bool Click() { return false; }
    // A key went down while this control had the focus. The form's key preview runs
    // first, then OnKeyDown; a handler that sets key to 0 swallows it.
    void KeyDown(int key, ShiftState shift = {});
    // A character was typed here: the form's preview, OnKeyPress (which may change
    // or discard it, 0 = discarded), then the control's own handling.
    void KeyPress(KeyChar key);

    // Called by the form when the focus arrives / leaves. Exit may throw to refuse.
    virtual void DoEnter();
    virtual void DoExit();

    Handler OnEnter, OnExit;
    KeyDownHandler OnKeyDown;
    KeyPressHandler OnKeyPress;

    // Fired after any change of what the control shows.
    Signal<> Changed;

protected:
    void changed() { Changed.emit(); }
    // The control's own reaction to a key that no handler swallowed.
    // The default moves the focus on Tab / Shift+Tab.
    virtual void HandleKeyDown(int key, ShiftState shift);
    virtual void HandleKeyPress(KeyChar /*key*/) {}

private:
    friend class Container;
    std::string name_;
    Container* parent_ = nullptr;
    bool enabled_ = true, visible_ = true, readOnly_ = false, tabStop_ = false;
    Colour colour_;
    int tag_ = 0;
    std::string hint_, caption_;
};

// A control that holds others (panel, group box, page, scroll box, the form).
class Container : public Control {
public:
    using Control::Control;
    ~Container() override;

    const std::vector<Control*>& Children() const { return children_; }
    // True when c is this container or sits anywhere inside it.
    bool Contains(const Control& c) const;
    // Whether a child is on show (a page control shows only its active page).
    virtual bool ShowsChild(const Control& /*child*/) const { return true; }

private:
    friend class Control;
    std::vector<Control*> children_;
};

// Enables or disables every control inside a container, at every depth (the
// container itself keeps its state).
void SetChildEnabled(Container& container, bool enabled);

class Panel : public Container {
public:
    using Container::Container;
};

class GroupBox : public Container {
public:
    using Container::Container;
};

class ScrollBox : public Container {
public:
    using Container::Container;
};

class Label : public Control {
public:
    using Control::Control;
    bool CanFocus() const override { return false; }
    // A caption in bold type marks what a group is about.
    bool Bold() const { return bold_; }
    Label& SetBold(bool on) {
        bold_ = on;
        return *this;
    }

private:
    bool bold_ = false;
};

// A picture holder: the screens keep images on hidden controls and draw them in
// grid cells by name.
class Image : public Control {
public:
    using Control::Control;
    bool CanFocus() const override { return false; }
    const std::string& Picture() const { return picture_; }
    void SetPicture(std::string name);

private:
    std::string picture_;
};

}  // namespace pag

#pragma once

namespace pag {

// Key codes of key-down events (the virtual-key numbering the screens' handlers
// compare with). Characters arrive separately, through key-press events.
namespace Key {
inline constexpr int Backspace = 8;
inline constexpr int Tab = 9;
inline constexpr int Enter = 13;
inline constexpr int Escape = 27;
inline constexpr int Space = 32;
inline constexpr int PageUp = 33;
inline constexpr int PageDown = 34;
inline constexpr int End = 35;
inline constexpr int Home = 36;
inline constexpr int Left = 37;
inline constexpr int Up = 38;
inline constexpr int Right = 39;
inline constexpr int Down = 40;
inline constexpr int Insert = 45;
inline constexpr int Delete = 46;
inline constexpr int F1 = 112;
inline constexpr int F9 = 120;
}  // namespace Key

struct ShiftState {
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
    bool operator==(const ShiftState&) const = default;
};

// Characters of key-press events: one code point (0 = the key was discarded).
using KeyChar = char32_t;

}  // namespace pag

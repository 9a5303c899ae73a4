#include "platform/date.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <stdexcept>

namespace pag {
namespace {

// Day number of 1970-01-01 when 0001-01-01 is day 1.
constexpr int32_t kUnixEpochSerial = 719163;

std::chrono::year_month_day toYmd(int32_t serial) {
    return std::chrono::year_month_day{
        std::chrono::sys_days{std::chrono::days{serial - kUnixEpochSerial}}};
}

bool allDigits(std::string_view s) {
    if (s.empty()) return false;
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

int toInt(std::string_view s) {
    int v = 0;
    for (char c : s)
        v = v * 10 + (c - '0');
    return v;
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

[[noreturn]] void invalid(std::string_view text) {
    throw std::invalid_argument("'" + std::string(text) + "' não é uma data válida.");
}

}  // namespace

bool isValidYmd(int year, int month, int day) {
    if (year < 1 || year > 9999) return false;
    return std::chrono::year_month_day{std::chrono::year{year},
                                       std::chrono::month{static_cast<unsigned>(month)},
                                       std::chrono::day{static_cast<unsigned>(day)}}
        .ok();
}

Date Date::fromYmd(int year, int month, int day) {
    if (month < 1 || month > 12 || day < 1 || day > 31 || !isValidYmd(year, month, day)) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", day, month, year);
        invalid(buf);
    }
    std::chrono::sys_days d = std::chrono::year_month_day{
        std::chrono::year{year}, std::chrono::month{static_cast<unsigned>(month)},
        std::chrono::day{static_cast<unsigned>(day)}};
    return Date(static_cast<int32_t>(d.time_since_epoch().count()) + kUnixEpochSerial);
}

Date Date::parse(std::string_view text) {
    std::string_view t = trim(text);
    // A date edit with nothing typed shows its mask literals only.
    if (t.empty() || t == "/  /" || t == "  /  /    " || t == "__/__/____") return Date();
    size_t p1 = t.find('/');
    size_t p2 = p1 == std::string_view::npos ? p1 : t.find('/', p1 + 1);
    if (p2 == std::string_view::npos) invalid(text);
    std::string_view d = trim(t.substr(0, p1));
    std::string_view m = trim(t.substr(p1 + 1, p2 - p1 - 1));
    std::string_view y = trim(t.substr(p2 + 1));
    if (!allDigits(d) || !allDigits(m) || !allDigits(y) || d.size() > 2 || m.size() > 2 ||
        (y.size() != 2 && y.size() != 4))
        invalid(text);
    int year = toInt(y);
    if (y.size() == 2) year += 2000;
    int month = toInt(m), day = toInt(d);
    if (month < 1 || month > 12 || day < 1 || day > 31 || !isValidYmd(year, month, day))
        invalid(text);
    return fromYmd(year, month, day);
}

std::optional<Date> Date::tryParseIso(std::string_view t) {
    if (t.size() != 10 || t[4] != '-' || t[7] != '-' || !allDigits(t.substr(0, 4)) ||
        !allDigits(t.substr(5, 2)) || !allDigits(t.substr(8, 2)))
        return std::nullopt;
    int year = toInt(t.substr(0, 4)), month = toInt(t.substr(5, 2)), day = toInt(t.substr(8, 2));
    if (!isValidYmd(year, month, day)) return std::nullopt;
    return fromYmd(year, month, day);
}

Date Date::parseIso(std::string_view text) {
    std::string_view t = trim(text);
    if (t.empty()) return Date();
    if (t.size() >= 10)
        if (auto d = tryParseIso(t.substr(0, 10))) return *d;
    invalid(text);
}

Date Date::today() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return fromYmd(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

int Date::year() const {
    return isEmpty() ? 0 : static_cast<int>(toYmd(serial_).year());
}
int Date::month() const {
    return isEmpty() ? 0 : static_cast<int>(static_cast<unsigned>(toYmd(serial_).month()));
}
int Date::day() const {
    return isEmpty() ? 0 : static_cast<int>(static_cast<unsigned>(toYmd(serial_).day()));
}

int Date::weekday() const {
    std::chrono::weekday wd{std::chrono::sys_days{std::chrono::days{serial_ - kUnixEpochSerial}}};
    return static_cast<int>(wd.c_encoding());
}

std::string Date::toString() const {
    if (isEmpty()) return {};
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", day(), month(), year());
    return buf;
}

std::string Date::toIso() const {
    if (isEmpty()) return {};
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", year(), month(), day());
    return buf;
}

}  // namespace pag

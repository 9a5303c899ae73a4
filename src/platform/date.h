#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pag {

// A calendar date without time, kept as a day count so that comparisons and
// arithmetic are exact. Day 0 is the empty date (a blank date edit, a null due
// date); 01/01/0001 is day 1.
class Date {
public:
    constexpr Date() = default;
    static constexpr Date fromSerial(int32_t serial) { return Date(serial); }
    // Throws std::invalid_argument (pt-BR text) when the day does not exist.
    static Date fromYmd(int year, int month, int day);
    // "dd/mm/yyyy" (also "d/m/yyyy" and a two-digit year, taken as 20yy). Blank text is the
    // empty date. Anything else throws std::invalid_argument with a pt-BR message.
    static Date parse(std::string_view text);
    // "YYYY-MM-DD", the interchange form of packets and the database.
    static Date parseIso(std::string_view text);
    // Exactly "YYYY-MM-DD" and a real day, or nothing; never throws.
    static std::optional<Date> tryParseIso(std::string_view text);
    static Date today();

    constexpr int32_t serial() const { return serial_; }
    constexpr bool isEmpty() const { return serial_ == 0; }
    int year() const;
    int month() const;
    int day() const;
    // 0 = Sunday ... 6 = Saturday.
    int weekday() const;

    // "dd/mm/yyyy"; empty text for the empty date.
    std::string toString() const;
    std::string toIso() const;

    constexpr Date addDays(int32_t days) const { return Date(serial_ + days); }
    constexpr int32_t operator-(Date other) const { return serial_ - other.serial_; }
    constexpr auto operator<=>(const Date&) const = default;

private:
    constexpr explicit Date(int32_t serial) : serial_(serial) {}
    int32_t serial_ = 0;
};

bool isValidYmd(int year, int month, int day);

}  // namespace pag

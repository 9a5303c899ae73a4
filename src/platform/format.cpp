#include "platform/format.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace pag {

int64_t roundToCents(double value) {
    const double cents = value * 100.0;
    if (std::isfinite(cents) && std::fabs(cents) < 1e12) {
        const double fraction = std::fabs(cents - std::trunc(cents));
        if (std::fabs(fraction - 0.5) > 1e-6) return std::llround(cents);
    }
    return std::llround(roundDecimal(value, 2) * 100.0);
}

double roundDecimal(double value, int decimals) {
    if (!std::isfinite(value)) return value;
    if (decimals < 0) decimals = 0;
    if (decimals > 12) decimals = 12;
    // The shortest text that reads back as the same double is the decimal value
    // the user typed or saw; round that text, not the binary fraction.
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15g", value);
    if (std::strtod(buf, nullptr) != value) std::snprintf(buf, sizeof buf, "%.17g", value);
    std::string s = buf;
    bool negative = !s.empty() && s[0] == '-';
    if (negative) s.erase(0, 1);
    // Expand exponent notation into plain digits.
    int exp10 = 0;
    if (size_t e = s.find_first_of("eE"); e != std::string::npos) {
        exp10 = std::atoi(s.c_str() + e + 1);
        s.resize(e);
    }
    std::string digits;
    int pointPos;
    if (size_t dot = s.find('.'); dot != std::string::npos) {
        digits = s.substr(0, dot) + s.substr(dot + 1);
        pointPos = static_cast<int>(dot);
    } else {
        digits = s;
        pointPos = static_cast<int>(s.size());
    }
    pointPos += exp10;
    if (pointPos < 0) {
        digits.insert(0, static_cast<size_t>(-pointPos), '0');
        pointPos = 0;
    }
    while (static_cast<int>(digits.size()) < pointPos + decimals + 1)
        digits.push_back('0');
    // Keep pointPos + decimals digits, round on the next one.
    int keep = pointPos + decimals;
    bool roundUp = digits[static_cast<size_t>(keep)] >= '5';
    std::string kept = digits.substr(0, static_cast<size_t>(keep));
    if (kept.empty()) kept = "0", pointPos += 1, keep = 1;
    if (roundUp) {
        int i = static_cast<int>(kept.size()) - 1;
        while (i >= 0 && kept[static_cast<size_t>(i)] == '9')
            kept[static_cast<size_t>(i--)] = '0';
        if (i < 0) {
            kept.insert(kept.begin(), '1');
            pointPos += 1;
        } else {
            kept[static_cast<size_t>(i)]++;
        }
    }
    std::string text = kept.substr(0, static_cast<size_t>(pointPos));
    if (text.empty()) text = "0";
    if (decimals > 0) text += "." + kept.substr(static_cast<size_t>(pointPos));
    double r = std::strtod(text.c_str(), nullptr);
    return negative ? -r : r;
}

std::string formatFloat(std::string_view format, double value) {
    size_t dot = format.find('.');
    std::string_view intPart = format.substr(0, dot);
    int decimals = 0;
    if (dot != std::string_view::npos) {
        for (char c : format.substr(dot + 1))
            if (c == '0' || c == '#') ++decimals;
    }
    bool grouping = intPart.find(',') != std::string_view::npos;
    int minInt = 0;
    for (char c : intPart)
        if (c == '0') ++minInt;
    if (!std::isfinite(value)) return {};
    double r = roundDecimal(value, decimals);
    bool negative = r < 0;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, std::fabs(r));
    std::string s = buf;
    std::string ip = s.substr(0, s.find('.'));
    std::string fp = decimals > 0 ? s.substr(s.find('.') + 1) : std::string();
    if (minInt == 0 && ip == "0") ip.clear();
    while (static_cast<int>(ip.size()) < minInt)
        ip.insert(ip.begin(), '0');
    if (grouping && ip.size() > 3) {
        std::string g;
        int count = 0;
        for (size_t i = ip.size(); i-- > 0;) {
            g.insert(g.begin(), ip[i]);
            if (++count % 3 == 0 && i > 0) g.insert(g.begin(), '.');
        }
        ip = g;
    }
    std::string out = ip;
    if (decimals > 0) out += "," + fp;
    bool allZero = out.find_first_not_of("0.,") == std::string::npos;
    if (negative && !allZero) out.insert(out.begin(), '-');
    return out;
}

std::optional<double> parseNumber(std::string_view text) {
    std::string t;
    size_t b = 0, e = text.size();
    while (b < e && (text[b] == ' ' || text[b] == '\t'))
        ++b;
    while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t'))
        --e;
    std::string_view s = text.substr(b, e - b);
    if (s.empty()) return std::nullopt;
    bool hasComma = s.find(',') != std::string_view::npos;
    size_t i = 0;
    if (s[0] == '-' || s[0] == '+') t.push_back(s[i++]);
    bool sawDecimal = false, sawDigit = false;
    for (; i < s.size(); ++i) {
        char c = s[i];
        if (c >= '0' && c <= '9') {
            t.push_back(c);
            sawDigit = true;
        } else if (c == ',' && hasComma && !sawDecimal) {
            t.push_back('.');
            sawDecimal = true;
        } else if (c == '.' && hasComma && !sawDecimal) {
            continue;  // thousands separator
        } else if (c == '.' && !hasComma && !sawDecimal) {
            t.push_back('.');
            sawDecimal = true;
        } else {
            return std::nullopt;
        }
    }
    if (!sawDigit) return std::nullopt;
    return std::strtod(t.c_str(), nullptr);
}

}  // namespace pag

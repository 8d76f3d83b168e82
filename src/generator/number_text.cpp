#include "generator/number_text.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace qv {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

size_t SkipBlanks(std::string_view t, size_t i) {
    while (i < t.size() && IsBlank(t[i]))
        ++i;
    return i;
}

// Length of the decimal number starting at i (without sign), 0 if none.
size_t DecimalLength(std::string_view t, size_t i) {
    size_t j = i, digits = 0;
    while (j < t.size() && IsDigit(t[j]))
        ++j, ++digits;
    if (j < t.size() && t[j] == '.') {
        ++j;
        while (j < t.size() && IsDigit(t[j]))
            ++j, ++digits;
    }
    if (digits == 0)
        return 0;
    if (j < t.size() && (t[j] == 'e' || t[j] == 'E')) {
        size_t k = j + 1;
        if (k < t.size() && (t[k] == '+' || t[k] == '-'))
            ++k;
        if (k < t.size() && IsDigit(t[k])) {
            while (k < t.size() && IsDigit(t[k]))
                ++k;
            j = k;
        }
    }
    return j - i;
}

double UnsignedDecimalAt(std::string_view t, size_t i) {
    size_t n = DecimalLength(t, i);
    if (n == 0)
        return 0.0;
    double v = 0.0;
    auto r = std::from_chars(t.data() + i, t.data() + i + n, v, std::chars_format::general);
    if (r.ec == std::errc::result_out_of_range) {
        // from_chars leaves v unspecified here: decide by the exponent's sign.
        size_t e = t.substr(i, n).find_first_of("eE");
        bool tiny = e != std::string_view::npos && e + 1 < n && t[i + e + 1] == '-';
        return tiny ? 0.0 : std::numeric_limits<double>::infinity();
    }
    return v;
}

// What a reader took from a text: the value, and the index after the number (0 when there was
// none). The readers below and the checks of whole texts share these.
struct Reading {
    double value = 0.0;
    size_t end = 0;
};

Reading DecimalReading(std::string_view text) {
    size_t i = SkipBlanks(text, 0);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    const size_t n = DecimalLength(text, i);
    const double v = UnsignedDecimalAt(text, i);
    return {negative ? -v : v, n == 0 ? 0 : i + n};
}

struct IntegerReading {
    long long value = 0;
    size_t end = 0;
};

IntegerReading IntegerReadingOf(std::string_view text) {
    size_t i = SkipBlanks(text, 0);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    constexpr long long kMax = std::numeric_limits<long long>::max();
    long long v = 0;
    const size_t first = i;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        int d = text[i] - '0';
        v = v > (kMax - d) / 10 ? kMax : v * 10 + d;
    }
    return {negative ? -v : v, i == first ? 0 : i};
}

Reading ValueReading(std::string_view text) {
    size_t i = SkipBlanks(text, 0);
    bool negative = false;
    if (i < text.size() && text[i] == '-')
        negative = true, ++i;
    const size_t start = i;
    double v = 0.0;
    if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X') &&
        i + 2 < text.size() && HexDigit(text[i + 2]) >= 0) {
        i += 2;
        for (; i < text.size() && HexDigit(text[i]) >= 0; ++i)
            v = v * 16 + HexDigit(text[i]);
        if (i < text.size() && text[i] == '.') {
            ++i;
            int fraction = 0;
            for (int k = 0; k < 4; ++k) {
                int d = i < text.size() ? HexDigit(text[i]) : -1;
                if (d >= 0)
                    ++i;
                fraction = fraction * 16 + (d >= 0 ? d : 0);
            }
            v += fraction / 65536.0;
        }
    } else {
        const bool octal = i < text.size() && text[i] == '0';
        const int base = octal ? 8 : 10;
        for (; i < text.size() && text[i] >= '0' && text[i] < '0' + base; ++i)
            v = v * base + (text[i] - '0');
        if (i < text.size() && text[i] == '.') {
            v = UnsignedDecimalAt(text, start);
            i = start + DecimalLength(text, start);
        }
    }
    return {negative ? -v : v, i == start ? 0 : i};
}

// Step values: decimal, or the value reader's hexadecimal with a 0x prefix.
Reading DecimalOrHexReading(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    const std::string_view rest = text.substr(i);
    const bool hex = rest.size() > 2 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X');
    Reading r = hex ? ValueReading(rest) : DecimalReading(rest);
    if (r.end != 0)
        r.end += i;
    return r;
}

Reading ReadingOf(std::string_view text, Notation notation) {
    switch (notation) {
    case Notation::Integer: {
        const IntegerReading r = IntegerReadingOf(text);
        return {static_cast<double>(r.value), r.end};
    }
    case Notation::Value:
        return ValueReading(text);
    case Notation::DecimalOrHex:
        return DecimalOrHexReading(text);
    case Notation::Decimal:
        break;
    }
    return DecimalReading(text);
}

} // namespace

double ReadDecimal(std::string_view text) {
    return DecimalReading(text).value;
}

long long ReadInteger(std::string_view text) {
    return IntegerReadingOf(text).value;
}

double ParseValueText(std::string_view text) {
    return ValueReading(text).value;
}

double ReadNumber(std::string_view text, Notation notation) {
    return ReadingOf(text, notation).value;
}

bool HasLeadingNumber(std::string_view text, Notation notation) {
    return ReadingOf(text, notation).end != 0;
}

bool HasUsableNumber(std::string_view text, Notation notation) {
    return UsableNumber(text, notation).has_value();
}

std::optional<double> UsableNumber(std::string_view text, Notation notation) {
    const Reading r = ReadingOf(text, notation);
    if (r.end == 0 || !std::isfinite(r.value))
        return std::nullopt;
    return r.value;
}

bool IsNumberText(std::string_view text, Notation notation) {
    const size_t end = ReadingOf(text, notation).end;
    return end != 0 && SkipBlanks(text, end) == text.size();
}

std::string FormatGeneral(double value, int digits) {
    // to_chars, not printf: the same digits and exponent width from both C runtimes.
    char buf[40];
    auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, digits);
    return std::string(buf, r.ptr);
}

std::string FormatNumber15(double value) {
    return FormatGeneral(value, 15);
}

} // namespace qv

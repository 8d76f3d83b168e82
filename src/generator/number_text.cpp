#include "generator/number_text.h"

#include <charconv>
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

} // namespace

double ReadDecimal(std::string_view text) {
    size_t i = SkipBlanks(text, 0);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    double v = UnsignedDecimalAt(text, i);
    return negative ? -v : v;
}

long long ReadInteger(std::string_view text) {
    size_t i = SkipBlanks(text, 0);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    constexpr long long kMax = std::numeric_limits<long long>::max();
    long long v = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        int d = text[i] - '0';
        v = v > (kMax - d) / 10 ? kMax : v * 10 + d;
    }
    return negative ? -v : v;
}

double ParseValueText(std::string_view text) {
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
    } else if (i < text.size() && text[i] == '0') {
        for (; i < text.size() && text[i] >= '0' && text[i] <= '7'; ++i)
            v = v * 8 + (text[i] - '0');
        if (i < text.size() && text[i] == '.')
            v = UnsignedDecimalAt(text, start);
    } else {
        for (; i < text.size() && IsDigit(text[i]); ++i)
            v = v * 10 + (text[i] - '0');
        if (i < text.size() && text[i] == '.')
            v = UnsignedDecimalAt(text, start);
    }
    return negative ? -v : v;
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

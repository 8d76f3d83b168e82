#include "files/quoted_key_reader.h"

#include "platform/language.h"
#include "platform/ui.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <utility>

namespace qv {

namespace {

constexpr Text2 kMsgFormatMismatch{"フォーマットが違います\n\n", "Format mismatch.\n\n"};
constexpr Text2 kMsgStringsMismatch{"文字列が一致しませんでした", "Strings mismatch."};
constexpr Text2 kMsgCannotReadValue{"数値が読めませんでした\n\n", "Unable to read value.\n\n"};
constexpr Text2 kMsgCannotReadString{"文字列が読めませんでした\n\n", "Unable to read string.\n\n"};

// The part of an offending line shown in a message.
constexpr size_t kShownLineBytes = 100;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// What the C library's strtod skips before a number.
bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

} // namespace

void PrepareQuotedKeyText(std::string& bytes) {
    bool inComment = false;
    const size_t n = bytes.size();
    for (size_t i = 0; i < n; ++i) {
        char& c = bytes[i];
        if (c == '\r' && i + 1 < n && bytes[i + 1] == '\n') {
            c = inComment ? ' ' : '\0';
            bytes[++i] = ' ';
            inComment = false;
        } else if (inComment || c == ';') {
            inComment = true;
            c = ' ';
        }
    }
    // The reading stops here even in a file without a final CR LF (its last character is lost).
    if (n > 0)
        bytes[n - 1] = '\0';
}

size_t ScanDecimal(std::string_view text, double& value) {
    value = 0.0;
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    const size_t mantissa = i;
    size_t digits = 0;
    while (i < text.size() && IsDigit(text[i]))
        ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i]))
            ++i, ++digits;
    }
    if (digits == 0)
        return 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t k = i + 1;
        if (k < text.size() && (text[k] == '+' || text[k] == '-'))
            ++k;
        if (k < text.size() && IsDigit(text[k])) {
            while (k < text.size() && IsDigit(text[k]))
                ++k;
            i = k;
        }
    }
    double v = 0.0;
    const auto r =
        std::from_chars(text.data() + mantissa, text.data() + i, v, std::chars_format::general);
    if (r.ec == std::errc::result_out_of_range) {
        // from_chars leaves v unspecified here; strtod gives 0 or infinity by the exponent.
        const size_t e = text.substr(mantissa, i - mantissa).find_first_of("eE");
        const bool tiny = e != std::string_view::npos && text[mantissa + e + 1] == '-';
        v = tiny ? 0.0 : std::numeric_limits<double>::infinity();
    }
    value = negative ? -v : v;
    return i;
}

QuotedKeyReader::QuotedKeyReader(std::string fileBytes, Ui& ui, int languageIndex,
                                 std::string caption)
    : text_(std::move(fileBytes)), ui_(ui), languageIndex_(languageIndex),
      caption_(std::move(caption)) {
    PrepareQuotedKeyText(text_);
}

size_t QuotedKeyReader::LineStart() const {
    size_t p = cursor_;
    while (p < text_.size() && (text_[p] == ' ' || text_[p] == '\t'))
        ++p;
    return p;
}

size_t QuotedKeyReader::LineEnd(size_t from) const {
    const size_t nul = text_.find('\0', from);
    return nul == std::string::npos ? text_.size() : nul;
}

QuotedKeyReader::Match QuotedKeyReader::MatchKey(size_t at, std::string_view key) const {
    const size_t closing = at + 1 + key.size();
    if (text_[at] != '"' || closing >= LineEnd(at) || text_[closing] != '"')
        return Match::NotKey;
    return std::string_view(text_).substr(at + 1, key.size()) == key ? Match::Key
                                                                     : Match::OtherKeySameLength;
}

void QuotedKeyReader::MoveToNextLine(size_t lineEnd) {
    cursor_ = lineEnd < text_.size() ? lineEnd + 1 : text_.size();
}

std::string QuotedKeyReader::ShownLine(size_t start) const {
    const size_t end = LineEnd(start);
    std::string shown = text_.substr(start, std::min(end - start, kShownLineBytes));
    for (char& c : shown) {
        // The line may hold any bytes; the message must stay plain text.
        const unsigned char u = static_cast<unsigned char>(c);
        if (u < 0x20 || u >= 0x7F)
            c = '?';
    }
    return shown;
}

void QuotedKeyReader::Report(const Text2& message, const std::string& detail) {
    ui_.Message(message(languageIndex_) + detail, caption_, MsgIcon::Warning, MsgButtons::Ok,
                false);
}

QuotedKeyReader::KeyResult QuotedKeyReader::NotThere(Match match, std::string_view key,
                                                     bool required) {
    if (!required)
        return KeyResult::Missing;
    if (match == Match::OtherKeySameLength)
        Report(kMsgStringsMismatch, "\n\n\"" + std::string(key) + "\"");
    else
        Report(kMsgFormatMismatch, ShownLine(LineStart()));
    return KeyResult::Failed;
}

bool QuotedKeyReader::ParseNumberValue(size_t afterKey, double& value) {
    const size_t end = LineEnd(afterKey);
    if (afterKey >= end || text_[afterKey] != ',') {
        Report(kMsgCannotReadValue, ShownLine(LineStart()));
        return false;
    }
    size_t p = afterKey + 1;
    while (p < end && IsSpace(text_[p]))
        ++p;
    ScanDecimal(std::string_view(text_).substr(p, end - p), value); // no number reads as 0
    MoveToNextLine(end);
    return true;
}

QuotedKeyReader::KeyResult QuotedKeyReader::KeyLine(std::string_view key, bool required,
                                                    size_t& start) {
    start = LineStart();
    if (start >= text_.size() || text_[start] == '\0')
        return KeyResult::End;
    const Match match = MatchKey(start, key);
    return match == Match::Key ? KeyResult::Read : NotThere(match, key, required);
}

QuotedKeyReader::KeyResult QuotedKeyReader::ReadNumber(std::string_view key, double& value,
                                                       bool required) {
    size_t s = 0;
    if (const KeyResult found = KeyLine(key, required, s); found != KeyResult::Read)
        return found;
    return ParseNumberValue(s + 2 + key.size(), value) ? KeyResult::Read : KeyResult::Failed;
}

QuotedKeyReader::KeyResult QuotedKeyReader::ReadText(std::string_view key, std::string& value,
                                                     size_t maxLength, bool required) {
    size_t s = 0;
    if (const KeyResult found = KeyLine(key, required, s); found != KeyResult::Read)
        return found;
    const size_t end = LineEnd(s);
    const size_t comma = s + 2 + key.size();
    // ,"text" with the closing quote as the line's last character
    if (end < comma + 3 || text_[comma] != ',' || text_[comma + 1] != '"' ||
        text_[end - 1] != '"') {
        Report(kMsgCannotReadString, ShownLine(s));
        return KeyResult::Failed;
    }
    const size_t length = end - 1 - (comma + 2);
    value = text_.substr(comma + 2, std::min(length, maxLength));
    MoveToNextLine(end);
    return KeyResult::Read;
}

QuotedKeyReader::SearchResult QuotedKeyReader::SearchNumber(std::string_view key, double& value,
                                                            int64_t budget) {
    for (;;) {
        const size_t s = LineStart();
        if (s >= text_.size() || text_[s] == '\0')
            return SearchResult::NotFound;
        if (MatchKey(s, key) == Match::Key) {
            return ParseNumberValue(s + 2 + key.size(), value) ? SearchResult::Found
                                                               : SearchResult::Failed;
        }
        const size_t end = LineEnd(s);
        budget -= static_cast<int64_t>(end - cursor_) + 1;
        MoveToNextLine(end);
        if (budget <= 0)
            return SearchResult::BudgetUsed;
    }
}

bool QuotedKeyReader::ReadFreeNumber(double& value) {
    value = 0.0;
    size_t p = cursor_;
    // Numbers run across line ends: a terminating NUL counts as a blank here.
    while (p < text_.size() && (IsSpace(text_[p]) || text_[p] == '\0'))
        ++p;
    if (p >= text_.size()) {
        cursor_ = text_.size();
        return false;
    }
    p += ScanDecimal(std::string_view(text_).substr(p), value);
    cursor_ = p < text_.size() ? p + 1 : text_.size(); // the separator
    return true;
}

} // namespace qv

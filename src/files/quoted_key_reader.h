// Reading text files made of quoted-key lines ("Key",value) and free lines of numbers: the
// filter parameter file and the text-format sample file share it. The whole file is held in
// memory and prepared once: comments become blanks and each CR LF ends a line, so that a line
// is the text up to its terminating NUL.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace qv {

class Ui;
struct Text2;

class QuotedKeyReader {
public:
    // Problems of a key line are reported through ui (no owner window, warning icon, caption).
    QuotedKeyReader(std::string fileBytes, Ui& ui, int languageIndex, std::string caption);

    enum class KeyResult {
        Read,    // the key line was read; the cursor is on the next line
        Missing, // an optional key is not on this line; the cursor stays
        End,     // an empty line or the end of the text: no more data, nothing reported
        Failed,  // the line does not hold the key or its value; reported
    };

    KeyResult ReadNumber(std::string_view key, double& value, bool required = true);
    // The text between double quotes, cut to maxLength bytes.
    KeyResult ReadText(std::string_view key, std::string& value, size_t maxLength,
                       bool required = true);

    enum class SearchResult {
        Found,      // the cursor is on the line after the key line
        NotFound,   // an empty line or the end of the text came first
        BudgetUsed, // the lines skipped cost the whole budget: success, but without a value
        Failed,     // the key line was found but holds no value; reported
    };

    // Skips the lines that are not the key line; each costs its length + 1 bytes of budget.
    SearchResult SearchNumber(std::string_view key, double& value, int64_t budget);

    // The next number of the free lines: blanks and line ends before it are skipped, and one
    // character after it (the separator). A position without a number gives 0. False when the
    // end of the text came before a number could begin.
    bool ReadFreeNumber(double& value);

    size_t Cursor() const { return cursor_; }
    void SetCursor(size_t position) { cursor_ = position < text_.size() ? position : text_.size(); }
    size_t Size() const { return text_.size(); }
    // The prepared text (for tests).
    const std::string& Text() const { return text_; }

private:
    enum class Match { Key, NotKey, OtherKeySameLength };

    size_t LineStart() const;          // the cursor after leading spaces
    size_t LineEnd(size_t from) const; // the terminating NUL, or the end of the text
    Match MatchKey(size_t at, std::string_view key) const;
    KeyResult NotThere(Match match, std::string_view key, bool required);
    // Read, with the line's start in start, when the current line holds key; else End at the
    // end of the text, or what NotThere makes of another line.
    KeyResult KeyLine(std::string_view key, bool required, size_t& start);
    bool ParseNumberValue(size_t afterKey, double& value);
    void MoveToNextLine(size_t lineEnd);
    std::string ShownLine(size_t start) const; // the line as a message shows it
    void Report(const Text2& message, const std::string& detail);

    std::string text_;
    size_t cursor_ = 0;
    Ui& ui_;
    int languageIndex_;
    std::string caption_;
};

// Prepares file bytes in place: ";" to the end of the line becomes blanks; a CR LF pair ends a
// line (CR to NUL, LF to a blank; both blanks inside a comment, so that a comment line joins the
// next one); the last byte becomes NUL. A lone LF or CR is left as it stands.
void PrepareQuotedKeyText(std::string& bytes);

// The decimal number at the start of text (optional sign, digits, optional fraction and
// exponent; no hexadecimal, infinity or NaN forms, so both C runtimes read alike). Returns its
// length, 0 when there is none. Values beyond the double range become +-infinity or 0.
size_t ScanDecimal(std::string_view text, double& value);

} // namespace qv

#include "files/quoted_key_reader.h"
#include "support/fake_ui.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace qv {
namespace {

using namespace std::string_literals;
using Key = QuotedKeyReader::KeyResult;
using Search = QuotedKeyReader::SearchResult;

std::string Prepared(std::string bytes) {
    PrepareQuotedKeyText(bytes);
    return bytes;
}

TEST(QuotedKeyPrepareTest, CommentsLineEndsAndTheLastByte) {
    EXPECT_EQ(Prepared("\"A\",1\r\n\"B\",2\r\n"), "\"A\",1\0 \"B\",2\0\0"s);
    // A comment and its CR LF become blanks: the comment line leads into the next line.
    EXPECT_EQ(Prepared("; c\r\n\"A\",1 ;x\r\n\"B\",2\r\n"), "     \"A\",1     \"B\",2\0\0"s);
    // A lone LF or CR does not end a line, nor does it end a comment.
    EXPECT_EQ(Prepared("a\nb\rc;d\ne\r\nf\r\n"), "a\nb\rc      f\0\0"s);
    // Without a final CR LF the last character is lost.
    EXPECT_EQ(Prepared("\"A\",12"), "\"A\",1\0"s);
    EXPECT_EQ(Prepared(""), "");
    EXPECT_EQ(Prepared(";"), "\0"s);
    EXPECT_EQ(Prepared("\r"), "\0"s);
    EXPECT_EQ(Prepared("\r\n"), "\0\0"s);
}

TEST(QuotedKeyScanTest, DecimalNumbersOnly) {
    double v = -1;
    EXPECT_EQ(ScanDecimal("1e5x", v), 3u);
    EXPECT_EQ(v, 100000.0);
    EXPECT_EQ(ScanDecimal("-.5,", v), 3u);
    EXPECT_EQ(v, -0.5);
    EXPECT_EQ(ScanDecimal("+7.", v), 3u);
    EXPECT_EQ(v, 7.0);
    EXPECT_EQ(ScanDecimal("2e", v), 1u); // an exponent without digits is not part of it
    EXPECT_EQ(ScanDecimal("2e+", v), 1u);
    EXPECT_EQ(v, 2.0);
    EXPECT_EQ(ScanDecimal("0x10", v), 1u); // no hexadecimal form
    EXPECT_EQ(v, 0.0);
    EXPECT_EQ(ScanDecimal("inf", v), 0u);
    EXPECT_EQ(ScanDecimal("-", v), 0u);
    EXPECT_EQ(ScanDecimal(".", v), 0u);
    EXPECT_EQ(ScanDecimal("", v), 0u);
    EXPECT_EQ(v, 0.0);
    EXPECT_EQ(ScanDecimal("-1e999", v), 6u);
    EXPECT_EQ(v, -std::numeric_limits<double>::infinity());
    EXPECT_EQ(ScanDecimal("1e-999", v), 6u);
    EXPECT_EQ(v, 0.0);
    EXPECT_EQ(ScanDecimal("2147483648", v), 10u);
    EXPECT_EQ(v, 2147483648.0);
    EXPECT_EQ(ScanDecimal("0.9999999", v), 9u);
    EXPECT_EQ(v, 0.9999999);
}

struct QuotedKeyReaderTest : ::testing::Test {
    test::RecordingUi ui;
    QuotedKeyReader Reader(std::string text, int language = 1) {
        return QuotedKeyReader(std::move(text), ui, language, "Quorvale");
    }
};

TEST_F(QuotedKeyReaderTest, RequiredAndOptionalKeysInTheirOrder) {
    auto r = Reader("\"Magic\",1.00\r\n"
                    "  \"Comment\",\"a \"quoted\" note\"\r\n"
                    "\"Size1\",4096\r\n"
                    "\"KaiserAlpha\", -2.5e1 trailing\r\n"
                    "\"Points\",2\r\n"
                    "    1,   0,  0,  0\r\n"
                    "2,2048,22050,-3.5\r\n");
    double v = 0;
    std::string text;
    EXPECT_EQ(r.ReadNumber("Magic", v), Key::Read);
    EXPECT_EQ(v, 1.0);
    EXPECT_EQ(r.ReadText("Comment", text, 100), Key::Read);
    EXPECT_EQ(text, "a \"quoted\" note");
    const size_t before = r.Cursor();
    EXPECT_EQ(r.ReadNumber("OverSampleRate", v, false), Key::Missing); // cursor stays
    EXPECT_EQ(r.Cursor(), before);
    EXPECT_EQ(r.ReadNumber("Size1", v, false), Key::Read);
    EXPECT_EQ(v, 4096.0);
    EXPECT_EQ(r.ReadNumber("AmpScale", v, false), Key::Missing);
    EXPECT_EQ(r.ReadNumber("KaiserAlpha", v, false), Key::Read);
    EXPECT_EQ(v, -25.0);
    EXPECT_EQ(r.ReadNumber("Points", v), Key::Read);
    const double expected[] = {1, 0, 0, 0, 2, 2048, 22050, -3.5};
    for (double e : expected) {
        ASSERT_TRUE(r.ReadFreeNumber(v));
        EXPECT_EQ(v, e);
    }
    EXPECT_FALSE(r.ReadFreeNumber(v)); // the end of the text, not a number
    EXPECT_EQ(r.Cursor(), r.Size());
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(QuotedKeyReaderTest, TextIsCutToTheMaximumLength) {
    auto r = Reader("\"Comment\",\"0123456789\"\r\n\"Comment\",\"\"\r\n");
    std::string text;
    EXPECT_EQ(r.ReadText("Comment", text, 4), Key::Read);
    EXPECT_EQ(text, "0123");
    EXPECT_EQ(r.ReadText("Comment", text, 4), Key::Read);
    EXPECT_EQ(text, "");
}

TEST_F(QuotedKeyReaderTest, AnEmptyLineEndsTheDataWithoutAMessage) {
    auto r = Reader("\"A\",1\r\n\r\n\"B\",2\r\n");
    double v = 0;
    std::string text;
    EXPECT_EQ(r.ReadNumber("A", v), Key::Read);
    EXPECT_EQ(r.ReadNumber("B", v), Key::End);
    EXPECT_EQ(r.ReadNumber("B", v, false), Key::End);
    EXPECT_EQ(r.ReadText("B", text, 9), Key::End);
    auto empty = Reader("");
    EXPECT_EQ(empty.ReadNumber("A", v), Key::End);
    EXPECT_FALSE(empty.ReadFreeNumber(v));
    auto past = Reader("\"A\",1\r\n");
    EXPECT_EQ(past.ReadNumber("A", v), Key::Read);
    EXPECT_EQ(past.ReadNumber("A", v), Key::End); // no more lines
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(QuotedKeyReaderTest, TheFourErrorMessages) {
    double v = 0;
    std::string text;
    EXPECT_EQ(Reader("Size1,4096\r\n").ReadNumber("Size1", v), Key::Failed);
    EXPECT_EQ(Reader("\"Size\",4096\r\n").ReadNumber("Size1", v), Key::Failed);
    EXPECT_EQ(Reader("\"Size2\",4096\r\n").ReadNumber("Size1", v), Key::Failed);
    EXPECT_EQ(Reader("\"Size1\" 4096\r\n").ReadNumber("Size1", v), Key::Failed);
    EXPECT_EQ(Reader("\"Comment\",abc\r\n").ReadText("Comment", text, 9), Key::Failed);
    EXPECT_EQ(Reader("\"Comment\",\"abc\r\n").ReadText("Comment", text, 9), Key::Failed);
    EXPECT_EQ(Reader("\"Comment\",\"\r\n").ReadText("Comment", text, 9), Key::Failed);
    ASSERT_EQ(ui.messages.size(), 7u);
    EXPECT_EQ(ui.messages[0].text, "Format mismatch.\n\nSize1,4096");
    EXPECT_EQ(ui.messages[1].text, "Format mismatch.\n\n\"Size\",4096");
    EXPECT_EQ(ui.messages[2].text, "Strings mismatch.\n\n\"Size1\"");
    EXPECT_EQ(ui.messages[3].text, "Unable to read value.\n\n\"Size1\" 4096");
    EXPECT_EQ(ui.messages[4].text, "Unable to read string.\n\n\"Comment\",abc");
    EXPECT_EQ(ui.messages[5].text, "Unable to read string.\n\n\"Comment\",\"abc");
    EXPECT_EQ(ui.messages[6].text, "Unable to read string.\n\n\"Comment\",\"");
    for (const auto& m : ui.messages) {
        EXPECT_EQ(m.caption, "Quorvale");
        EXPECT_EQ(m.icon, MsgIcon::Warning);
        EXPECT_FALSE(m.ownedByMain);
    }
}

TEST_F(QuotedKeyReaderTest, JapaneseMessages) {
    double v = 0;
    std::string text;
    EXPECT_EQ(Reader("x\r\n", 0).ReadNumber("Size1", v), Key::Failed);
    EXPECT_EQ(Reader("\"Size2\",1\r\n", 0).ReadNumber("Size1", v), Key::Failed);
    EXPECT_EQ(Reader("\"Size1\"\r\n", 0).ReadNumber("Size1", v), Key::Failed);
    EXPECT_EQ(Reader("\"Comment\",x\r\n", 0).ReadText("Comment", text, 9), Key::Failed);
    ASSERT_EQ(ui.messages.size(), 4u);
    EXPECT_EQ(ui.messages[0].text, "フォーマットが違います\n\nx");
    EXPECT_EQ(ui.messages[1].text, "文字列が一致しませんでした\n\n\"Size1\"");
    EXPECT_EQ(ui.messages[2].text, "数値が読めませんでした\n\n\"Size1\"");
    EXPECT_EQ(ui.messages[3].text, "文字列が読めませんでした\n\n\"Comment\",x");
}

TEST_F(QuotedKeyReaderTest, AShownLineIsPlainAndShort) {
    double v = 0;
    Reader("\x01\xFF" + std::string(300, 'z') + "\r\n").ReadNumber("K", v);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Format mismatch.\n\n??" + std::string(98, 'z'));
}

TEST_F(QuotedKeyReaderTest, ACommentAfterAValueHidesTheNextKeyLine) {
    const std::string file = "\"Size1\",4096 ; note\r\n\"AmpScale_dB_Max\",20\r\n\"Points\",2\r\n";
    double v = 0;
    auto optional = Reader(file);
    EXPECT_EQ(optional.ReadNumber("Size1", v), Key::Read);
    EXPECT_EQ(v, 4096.0);
    EXPECT_EQ(optional.ReadNumber("AmpScale_dB_Max", v, false), Key::Missing);
    EXPECT_EQ(optional.ReadNumber("Points", v), Key::Read);
    EXPECT_EQ(v, 2.0);
    EXPECT_TRUE(ui.messages.empty());

    auto required = Reader(file);
    required.ReadNumber("Size1", v);
    EXPECT_EQ(required.ReadNumber("AmpScale_dB_Max", v), Key::Failed);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text.substr(0, 18), "Format mismatch.\n\n");

    // Between free numbers a comment does no harm.
    auto numbers = Reader("1,2 ; c\r\n; whole line\r\n3,4\r\n");
    for (double e : {1.0, 2.0, 3.0, 4.0}) {
        ASSERT_TRUE(numbers.ReadFreeNumber(v));
        EXPECT_EQ(v, e);
    }
}

TEST_F(QuotedKeyReaderTest, FreeNumbersWithoutANumberGiveZero) {
    auto r = Reader("5,x,7\r\n\r\n8\r\n");
    double v = -1;
    const double expected[] = {5, 0, 0, 7, 8};
    for (double e : expected) {
        ASSERT_TRUE(r.ReadFreeNumber(v));
        EXPECT_EQ(v, e);
    }
    EXPECT_FALSE(r.ReadFreeNumber(v));
    EXPECT_EQ(v, 0.0);
}

TEST_F(QuotedKeyReaderTest, SearchingSkipsOtherLinesWithinTheBudget) {
    // Each skipped line costs its length + 1, the blank left of the previous LF included:
    // 10, 15 and 28 bytes.
    const std::string file = "junk line\r\n"
                             "\"Samples x\",1\r\n"
                             "\"Sampling Frequency\",44100\r\n"
                             "\"Samples\",300\r\n"
                             "\"Data\",600\r\n";
    double v = 0;
    auto r = Reader(file);
    EXPECT_EQ(r.SearchNumber("Samples", v, 1000), Search::Found);
    EXPECT_EQ(v, 300.0);
    EXPECT_EQ(r.ReadNumber("Data", v), Key::Read); // the cursor is on the next line
    EXPECT_EQ(v, 600.0);

    r.SetCursor(0);
    EXPECT_EQ(r.SearchNumber("Missing", v, 1000), Search::NotFound);
    r.SetCursor(0);
    EXPECT_EQ(r.SearchNumber("Samples", v, 25), Search::BudgetUsed);
    r.SetCursor(0);
    v = -1;
    EXPECT_EQ(r.SearchNumber("Samples", v, 53), Search::BudgetUsed);
    EXPECT_EQ(v, -1.0); // no value
    r.SetCursor(0);
    EXPECT_EQ(r.SearchNumber("Samples", v, 54), Search::Found);
    EXPECT_EQ(v, 300.0);

    // An empty line ends the search; a key line without its value is reported.
    auto gap = Reader("\"A\",1\r\n\r\n\"B\",2\r\n");
    EXPECT_EQ(gap.SearchNumber("B", v, 1000), Search::NotFound);
    auto broken = Reader("\"A\",1\r\n\"B\"2\r\n");
    EXPECT_EQ(broken.SearchNumber("B", v, 1000), Search::Failed);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Unable to read value.\n\n\"B\"2");
}

TEST_F(QuotedKeyReaderTest, AKeyLongerThanItsLineIsNotReadBeyondIt) {
    double v = 0;
    auto r = Reader("\"Sam\r\n\"Samples\",4\r\n");
    EXPECT_EQ(r.SearchNumber("Samples", v, 100), Search::Found);
    EXPECT_EQ(v, 4.0);
    auto end = Reader("\"Samples");
    EXPECT_EQ(end.SearchNumber("Samples", v, 100), Search::NotFound);
    auto last = Reader("\"Samples\"");
    EXPECT_EQ(last.ReadNumber("Samples", v, false), Key::Missing);
}

} // namespace
} // namespace qv

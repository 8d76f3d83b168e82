#include "files/filter_file.h"
#include "filter/filter_edits.h"
#include "platform/language.h"
#include "support/fake_ui.h"
#include "text_file_helpers.h"

#include <gtest/gtest.h>

#include <fstream>

namespace qv {
namespace {

// Answers every question with the same button and records the messages.
class AnsweringUi final : public Ui {
public:
    explicit AnsweringUi(MsgResult answer = MsgResult::Yes) : answer_(answer) {}
    MsgResult Message(const std::string& text, const std::string& caption, MsgIcon icon,
                      MsgButtons buttons, bool) override {
        messages.push_back(text);
        captions.push_back(caption);
        return buttons == MsgButtons::YesNoCancel ? answer_ : MsgResult::Ok;
        (void)icon;
    }
    void Beep() override { ++beeps; }
    std::vector<std::string> messages, captions;
    int beeps = 0;

private:
    MsgResult answer_;
};

FilterDesign Flat(int32_t n, double rate) {
    FilterDesign d;
    ResetFilterPoints(d, n, rate);
    return d;
}

TEST(FilterFileTest, LinesAreWrittenInTheirWidths) {
    const FilterDesign d = Flat(4096, 44100);
    const FilterEditorState editor{1, 4096, 44100};
    EXPECT_EQ(FilterFileText(d, editor), "\"Quorvale Filter Parameter\",1.00\r\n"
                                         "\"Comment\",\"\"\r\n"
                                         "\"OverSampleRate\",1\r\n"
                                         "\"Size1\",4096\r\n"
                                         "\"AmpScale_dB_Max\",20\r\n"
                                         "\"AmpScale_dB_Min\",-100\r\n"
                                         "\"KaiserAlpha\",6\r\n"
                                         "\"Sampling Frequency\",44100\r\n"
                                         "\"Points\",2\r\n"
                                         "; No.| Indx | Frequency | Amp.dB\r\n"
                                         "    1,     0,          0,           0\r\n"
                                         "    2,  2048,      22050,           0\r\n");
    FilterDesign shaped = d;
    shaped.comment = std::string(120, 'c');
    shaped.kaiserAlpha = 2.5;
    shaped.points[2] = shaped.points[1];
    shaped.points[1] = {93, 1001.293945, -3.123456789012};
    shaped.pointCount = 3;
    const std::string text = FilterFileText(shaped, editor);
    EXPECT_NE(text.find("\"Comment\",\"" + std::string(100, 'c') + "\"\r\n"), std::string::npos);
    EXPECT_NE(text.find("\"KaiserAlpha\",2.5\r\n"), std::string::npos);
    EXPECT_NE(text.find("    2,    93,1001.293945,-3.123456789\r\n"), std::string::npos);
}

TEST(FilterFileTest, ASavedFileReadsBackItsBinsAndGains) {
    test::ScratchDir dir;
    AnsweringUi ui;
    const FilterFileEnvironment env{
        .ui = ui, .languageIndex = kEnglish, .writerCaption = "Quorvale - Filter configuration"};
    FilterDesign d = Flat(2048, 48000);
    d.points[2] = d.points[1];
    d.points[1] = {100, 100 * 48000.0 / 2048, -12.5};
    d.pointCount = 3;
    d.comment = "low shelf";
    d.kaiserAlpha = 7.25;
    std::string path = dir.File("shelf.qvf");
    const FilterEditorState editor{4, 2048, 48000};
    ASSERT_TRUE(WriteFilterFile(path, d, editor, env));

    FilterDesign back = Flat(2048, 48000);
    FilterEditorState state{1, 2048, 48000};
    ASSERT_TRUE(ReadFilterFile(path, back, state, env));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(state.overSampleRate, 4);
    EXPECT_EQ(back.comment, "low shelf");
    EXPECT_EQ(back.kaiserAlpha, 7.25);
    ASSERT_EQ(back.pointCount, 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(back.points[i].binIndex, d.points[i].binIndex);
        EXPECT_EQ(back.points[i].gainDb, d.points[i].gainDb);
        EXPECT_EQ(back.points[i].frequency, d.points[i].binIndex * 48000.0 / 2048);
    }

    // A .txt name is refused and corrected for the next save.
    std::string wrong = dir.File("shelf.txt");
    EXPECT_FALSE(WriteFilterFile(wrong, d, editor, env));
    EXPECT_EQ(ui.messages.back(), "File Extent is not 'QVF'.\n\n" + dir.File("shelf.txt"));
    EXPECT_EQ(ui.captions.back(), "Quorvale - Filter configuration");
    EXPECT_EQ(wrong, dir.File("shelf.QVF"));
    EXPECT_FALSE(std::ifstream(dir.File("shelf.txt")).good());
}

std::string File(const std::string& middle, const std::string& points) {
    return "\"Quorvale Filter Parameter\",1.00\r\n\"Comment\",\"c\"\r\n" + middle +
           "\"Points\",3\r\n; No.| Indx | Frequency | Amp.dB\r\n" + points;
}

TEST(FilterFileTest, OptionalKeysCommentsAndTheSizeOfTheDrawing) {
    AnsweringUi ui;
    const FilterFileEnvironment env{.ui = ui, .languageIndex = kEnglish, .writerCaption = "Filter"};
    // No Size1: the points were drawn for N = 1024 (last bin 512); the editor works at 4096.
    const std::string noSize = File("\"KaiserAlpha\",12\r\n\"Sampling Frequency\",44100\r\n",
                                    "1,0,0,-6\r\n2,10,0,0 ; a comment between point lines\r\n"
                                    "3,512,22050,-3\r\n");
    FilterDesign d = Flat(4096, 44100);
    FilterEditorState editor{1, 4096, 44100};
    ASSERT_TRUE(ReadFilterText(noSize, "a.QVF", d, editor, env));
    EXPECT_EQ(d.kaiserAlpha, 10.0); // clamped as if typed
    EXPECT_EQ(d.points[1].binIndex, 40);
    EXPECT_EQ(d.points[2].binIndex, 2048);
    EXPECT_EQ(d.points[2].gainDb, -3.0);
    EXPECT_TRUE(ui.messages.empty());

    // A comment after a value joins its line with the next: an optional key is then skipped...
    const std::string hidden = File("\"OverSampleRate\",4 ; four\r\n\"Size1\",2048\r\n"
                                    "\"Sampling Frequency\",44100\r\n",
                                    "1,0,0,0\r\n2,10,0,0\r\n3,1024,0,0\r\n");
    editor = {1, 4096, 44100};
    ASSERT_TRUE(ReadFilterText(hidden, "b.QVF", d, editor, env));
    EXPECT_EQ(editor.overSampleRate, 4);
    EXPECT_EQ(editor.filterSize, 4096); // "Size1" was hidden behind the comment
    // ...and a required one fails, reported as the Part says.
    const std::string required = File("\"Size1\",2048 ; size\r\n\"Sampling Frequency\",44100\r\n",
                                      "1,0,0,0\r\n2,10,0,0\r\n3,1024,0,0\r\n");
    EXPECT_FALSE(ReadFilterText(required, "c.QVF", d, editor, env));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].rfind("Format mismatch.\n\n", 0), 0u) << ui.messages[0];

    // A file that ends before a required key fails without a message.
    ui.messages.clear();
    EXPECT_FALSE(ReadFilterText("\"Quorvale Filter Parameter\",1.00\r\n\"Comment\",\"x\"\r\n",
                                "d.QVF", d, editor, env));
    EXPECT_TRUE(ui.messages.empty());
    // Points that cannot be designed are refused.
    EXPECT_FALSE(ReadFilterText(
        File("\"Sampling Frequency\",44100\r\n", "1,0,0,0\r\n2,9,0,0\r\n3,5,0,0\r\n"), "e.QVF", d,
        editor, env));
    EXPECT_EQ(ui.messages.back(), "Invalid filter points.\n\ne.QVF");
}

TEST(FilterFileTest, ADrawingAt48kHzLoadedAt44100Hz) {
    // A point at bin 85 of 4096 at 48 kHz: 996.09375 Hz.
    const std::string file = File("\"Size1\",4096\r\n\"Sampling Frequency\",48000\r\n",
                                  "1,0,0,0\r\n2,85,996.09375,-6\r\n3,2048,24000,0\r\n");
    for (MsgResult answer : {MsgResult::Yes, MsgResult::No, MsgResult::Cancel}) {
        AnsweringUi ui(answer);
        const FilterFileEnvironment env{
            .ui = ui, .languageIndex = kEnglish, .writerCaption = "Filter"};
        FilterDesign d = Flat(4096, 44100);
        FilterEditorState editor{1, 4096, 44100};
        const bool read = ReadFilterText(file, "drawn48k.QVF", d, editor, env);
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_NE(ui.messages[0].find("drawn48k.QVF\r\n\nThe sampling frequency in this file "
                                      "(48000) differs from the current value (44100)."),
                  std::string::npos);
        if (answer == MsgResult::Cancel) {
            EXPECT_FALSE(read);
            continue;
        }
        ASSERT_TRUE(read);
        EXPECT_EQ(d.points[2].binIndex, 2048);
        EXPECT_EQ(d.points[2].frequency, 22050.0);
        if (answer == MsgResult::Yes) {
            EXPECT_NEAR(d.points[1].frequency, 996.09375, 44100.0 / 4096 / 2); // kept
            EXPECT_EQ(d.points[1].binIndex, 93);
        } else {
            EXPECT_EQ(d.points[1].binIndex, 85);
            EXPECT_DOUBLE_EQ(d.points[1].frequency, 996.09375 * 44100 / 48000); // shifted
        }
    }
}

TEST(FilterEditsTest, RateChangesAlphaAndBins) {
    AnsweringUi ui(MsgResult::No);
    FilterDesign two = Flat(4096, 48000);
    two.comment = "x";
    AskSampleRateChange(two, 4096, 48000, 44100, ui, kEnglish, "Filter configuration");
    EXPECT_TRUE(ui.messages.empty()); // two points: nothing to ask, reset to flat
    EXPECT_EQ(two.points[1].frequency, 22050.0);
    EXPECT_EQ(two.comment, "");

    FilterDesign three = Flat(4096, 48000);
    three.points[2] = three.points[1];
    three.points[1] = {85, 996.09375, -6};
    three.pointCount = 3;
    AskSampleRateChange(three, 4096, 48000, 44100, ui, kEnglish, "Filter configuration");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.beeps, 1);
    EXPECT_EQ(ui.messages[0].rfind("Sampling frequency has been changed.\n  48000 --> 44100   "
                                   "[x0.919]\n\n[Yes]",
                                   0),
              0u)
        << ui.messages[0];
    EXPECT_EQ(three.points[1].binIndex, 85);

    std::string text;
    EXPECT_EQ(KaiserAlphaFromTyped(12, text), 10.0);
    EXPECT_EQ(text, "10");
    EXPECT_EQ(KaiserAlphaFromTyped(0.00000000001, text), 0.0);
    EXPECT_EQ(KaiserAlphaFromTyped(3.14159, text), 3.142);
    EXPECT_EQ(text, "3.142");

    double f = 1000;
    EXPECT_EQ(FrequencyToBin(f, 0, 4096, 48000), 85);
    EXPECT_EQ(f, 996.09375);
    f = 1000;
    EXPECT_EQ(FrequencyToBin(f, 3, 4096, 48000), 88);
    f = 30000;
    EXPECT_EQ(FrequencyToBin(f, 1, 4096, 48000), 2048);
}

} // namespace
} // namespace qv

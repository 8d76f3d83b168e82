#include "files/filter_file.h"

#include "files/file_bytes.h"
#include "files/file_messages.h"
#include "files/quoted_key_reader.h"
#include "files/wave_writer.h"
#include "filter/filter_edits.h"
#include "generator/number_text.h"
#include "platform/output_file.h"
#include "platform/ui.h"

#include <cmath>
#include <cstdio>
#include <initializer_list>

namespace qv {

namespace {

constexpr size_t kCommentBytes = 100;

constexpr Text2 kMsgNotQvfExtension{"ファイル拡張子が 'QVF' ではありません",
                                    "File Extent is not 'QVF'."};
constexpr Text2 kMsgRateDiffers{
    "%s\r\n\nパラメーターファイル中のサンプリング周波数 (%d) が現在の値 (%d) と一致していません。"
    "\r\n処理方法を指定してください。\r\n\n"
    "「はい」　　　　各ポイントの周波数を変えないように変換します。\r\n\n"
    "「いいえ」　　　各ポイントの周波数を変更比率に従って移動します。\r\n\n"
    "「キャンセル」　読み込みを中止してフィルター設定をリセットします。",
    "%s\r\n\nThe sampling frequency in this file (%d) differs from the current value (%d).\r\n"
    "Please select the following...\r\n\n"
    "[Yes]    All points are converted with holding original frequency.\r\n\n"
    "[No]     The frequency of each point is shifted according to the changed ratio.\r\n\n"
    "[Cancel] Abort loading and reset parameters."};

std::string NumberLine(const char* key, const std::string& value) {
    return std::string("\"") + key + "\"," + value + "\r\n";
}

int32_t OneOf(double v, std::initializer_list<int32_t> allowed, int32_t otherwise) {
    for (int32_t a : allowed) {
        if (v == a)
            return a;
    }
    return otherwise;
}

int32_t ToInt(double v) {
    if (!(v > -2147483647.0))
        return -2147483647;
    return v < 2147483647.0 ? static_cast<int32_t>(std::trunc(v)) : 2147483647;
}

void Message(const FilterFileEnvironment& env, const std::string& text, const std::string& caption,
             bool ownedByMain = false) {
    env.ui.Message(text, caption, MsgIcon::Warning, MsgButtons::Ok, ownedByMain);
}

} // namespace

std::string FilterFileText(const FilterDesign& d, const FilterEditorState& editor) {
    std::string text = NumberLine("Quorvale Filter Parameter", "1.00");
    text += "\"Comment\",\"" + d.comment.substr(0, kCommentBytes) + "\"\r\n";
    text += NumberLine("OverSampleRate", std::to_string(editor.overSampleRate));
    text += NumberLine("Size1", std::to_string(editor.filterSize));
    text += NumberLine("AmpScale_dB_Max", std::to_string(d.ampScaleMaxDb));
    text += NumberLine("AmpScale_dB_Min", std::to_string(d.ampScaleMinDb));
    text += NumberLine("KaiserAlpha", FormatGeneral(d.kaiserAlpha, 6));
    text += NumberLine("Sampling Frequency", std::to_string(editor.sampleRate));
    text += NumberLine("Points", std::to_string(d.pointCount));
    text += "; No.| Indx | Frequency | Amp.dB\r\n";
    for (int i = 0; i < d.pointCount && i < kMaxFilterPoints; ++i) {
        char line[96];
        std::snprintf(line, sizeof line, "%5d,%6d,%11s,%12s\r\n", i + 1,
                      static_cast<int>(d.points[i].binIndex),
                      FormatGeneral(d.points[i].frequency, 10).c_str(),
                      FormatGeneral(d.points[i].gainDb, 10).c_str());
        text += line;
    }
    return text;
}

bool WriteFilterFile(std::string& path, const FilterDesign& d, const FilterEditorState& editor,
                     const FilterFileEnvironment& env) {
    const int lang = env.languageIndex;
    if (!HasExtension(path, "QVF")) {
        Message(env, std::string(kMsgNotQvfExtension(lang)) + "\n\n" + path, env.writerCaption,
                true);
        path = ReplaceExtension(path, ".QVF");
        return false;
    }
    OutputFile file;
    if (!file.Create(path)) {
        Message(env, std::string(kMsgCannotCreate(lang)) + "\n\n" + path, env.writerCaption, true);
        return false;
    }
    // Line by line, so that a medium that fills up is noticed at the line it refused.
    const std::string text = FilterFileText(d, editor);
    for (size_t start = 0; start < text.size();) {
        const size_t end = text.find("\r\n", start) + 2;
        if (file.Write(text.data() + start, end - start) != end - start) {
            file.Close();
            Message(env, std::string(kMsgCannotWrite(lang)) + "\n\n" + path, env.writerCaption,
                    true);
            RemoveFile(path);
            return false;
        }
        start = end;
    }
    file.Close();
    return true;
}

bool ReadFilterFile(std::string& path, FilterDesign& d, FilterEditorState& editor,
                    const FilterFileEnvironment& env, bool* cancelled) {
    const int lang = env.languageIndex;
    if (!HasExtension(path, "QVF")) {
        Message(env, std::string(kMsgNotQvfExtension(lang)) + "\n\n" + path, env.appTitle);
        return false;
    }
    std::string bytes;
    if (const std::string error = ReadWholeFile(path, lang, bytes); !error.empty()) {
        Message(env, error, env.appTitle);
        return false;
    }
    const size_t slash = path.find_last_of("/\\");
    return ReadFilterText(std::move(bytes),
                          slash == std::string::npos ? path : path.substr(slash + 1), d, editor,
                          env, cancelled);
}

bool ReadFilterText(std::string bytes, const std::string& name, FilterDesign& d,
                    FilterEditorState& editor, const FilterFileEnvironment& env, bool* cancelled) {
    using R = QuotedKeyReader::KeyResult;
    const int lang = env.languageIndex;
    QuotedKeyReader reader(std::move(bytes), env.ui, lang, env.appTitle);
    double v = 0;
    std::string comment;
    if (reader.ReadNumber("Quorvale Filter Parameter", v) != R::Read ||
        reader.ReadText("Comment", comment, kCommentBytes) != R::Read) {
        return false;
    }
    // Optional parameters, applied at once as the editor's own choices.
    if (reader.ReadNumber("OverSampleRate", v, false) == R::Read)
        editor.overSampleRate = OneOf(v, {1, 2, 4, 8, 16}, 1);
    if (reader.ReadNumber("Size1", v, false) == R::Read) {
        const int32_t size = OneOf(v, {1024, 2048, 4096, 8192, 16384}, 1024);
        if (size != editor.filterSize) {
            editor.filterSize = size;
            RescalePoints(d, size, editor.sampleRate, true);
        }
    }
    if (reader.ReadNumber("AmpScale_dB_Max", v, false) == R::Read)
        d.ampScaleMaxDb = OneOf(v, {0, 40}, 20);
    if (reader.ReadNumber("AmpScale_dB_Min", v, false) == R::Read)
        d.ampScaleMinDb = OneOf(v, {-20, -40, -60, -80, -120, -140, -160}, -100);
    if (reader.ReadNumber("KaiserAlpha", v, false) == R::Read && v != d.kaiserAlpha) {
        std::string shown;
        d.kaiserAlpha = KaiserAlphaFromTyped(v, shown);
    }
    if (reader.ReadNumber("Sampling Frequency", v) != R::Read)
        return false;
    const int32_t fileRate = ToInt(v);
    const int32_t rate = editor.sampleRate;
    bool keepFrequencies = false;
    if (fileRate != rate) {
        char text[1024];
        std::snprintf(text, sizeof text, kMsgRateDiffers(lang), name.c_str(), fileRate, rate);
        const MsgResult answer =
            env.ui.Message(text, env.appTitle, MsgIcon::Question, MsgButtons::YesNoCancel, false);
        if (answer == MsgResult::Cancel) {
            if (cancelled)
                *cancelled = true;
            return false;
        }
        keepFrequencies = answer == MsgResult::Yes;
    }
    if (reader.ReadNumber("Points", v) != R::Read)
        return false;
    const int32_t count = ToInt(v);
    FilterDesign read = d;
    read.pointCount = count;
    bool usable = count >= 2 && count <= kMaxFilterPoints;
    for (int i = 0; usable && i < count; ++i) {
        double number = 0, bin = 0, frequency = 0, gain = 0;
        usable = reader.ReadFreeNumber(number) && reader.ReadFreeNumber(bin) &&
                 reader.ReadFreeNumber(frequency) && reader.ReadFreeNumber(gain);
        read.points[i] = {ToInt(bin), 0.0, gain};
    }
    if (!usable || !FilterPointsUsable(read)) {
        env.ui.Message(std::string(kMsgBadPoints(lang)) + "\n\n" + name, env.appTitle,
                       MsgIcon::Warning, MsgButtons::Ok, false);
        return false;
    }
    // The size the points were drawn for: the last one sits on its Nyquist bin.
    const int32_t drawnSize = 2 * read.points[count - 1].binIndex;
    if (keepFrequencies)
        KeepPointFrequencies(read, drawnSize, fileRate, rate);
    else
        ShiftPointFrequencies(read, editor.filterSize, rate);
    if (drawnSize != editor.filterSize)
        RescalePoints(read, editor.filterSize, rate, true);
    read.comment = comment;
    d = read;
    return true;
}

} // namespace qv

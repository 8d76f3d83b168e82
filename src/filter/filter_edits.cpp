#include "filter/filter_edits.h"

#include "platform/language.h"
#include "platform/ui.h"

#include <cmath>
#include <cstdio>

namespace qv {

namespace {

constexpr Text2 kRateChangedTitle{"サンプリング周波数が変更されました。",
                                  "Sampling frequency has been changed."};
constexpr Text2 kRateChangedChoices{
    "「はい」　　　　各ポイントの周波数を変えないように変換します。\r\n\n"
    "「いいえ」　　　各ポイントの周波数を変更比率に従って移動します。\r\n\n"
    "「キャンセル」　フィルター設定をリセットします。",
    "[Yes]    All points are converted with holding frequency.\r\n\n"
    "[No]     The frequency of each point is shifted according to the changed ratio.\r\n\n"
    "[Cancel] The parameters are reset."};

} // namespace

int32_t FrequencyToBin(double& frequency, int32_t step, int32_t n, double rate, bool logAxis) {
    const double top = rate / 2;
    const double f = frequency < 0 ? 0 : frequency > top ? top : frequency;
    const double width = rate / n;
    int32_t bin = static_cast<int32_t>(std::trunc(f / width + (logAxis ? 0.3 : 0.5)));
    if (step != 0) {
        bin += step;
        bin = bin < 0 ? 0 : bin > n / 2 ? n / 2 : bin;
    }
    frequency = bin * width;
    return bin;
}

void KeepPointFrequencies(FilterDesign& d, int32_t n, double oldRate, int32_t newRate) {
    if (d.pointCount < 2)
        return;
    FilterPoint& last = d.points[d.pointCount - 1];
    last.binIndex = n / 2;
    last.frequency = newRate / 2;
    for (int i = 1; i + 1 < d.pointCount; ++i) {
        FilterPoint& p = d.points[i];
        p.frequency = p.binIndex * oldRate / n;
        p.binIndex = FrequencyToBin(p.frequency, 0, n, newRate);
    }
    RescalePoints(d, n, newRate, false);
}

void ShiftPointFrequencies(FilterDesign& d, int32_t n, double newRate) {
    for (int i = 0; i < d.pointCount; ++i)
        d.points[i].frequency = d.points[i].binIndex * newRate / n;
}

void AskSampleRateChange(FilterDesign& d, int32_t n, int32_t oldRate, int32_t newRate, Ui& ui,
                         int lang, const std::string& caption) {
    if (d.pointCount <= 2) {
        ResetFilterPoints(d, n, newRate);
        return;
    }
    ui.Beep();
    char numbers[96];
    std::snprintf(numbers, sizeof numbers, "\n  %d --> %d   [x%4.3f]\n\n", oldRate, newRate,
                  oldRate != 0 ? static_cast<double>(newRate) / oldRate : 0.0);
    const MsgResult answer =
        ui.Message(std::string(kRateChangedTitle(lang)) + numbers + kRateChangedChoices(lang),
                   caption, MsgIcon::Question, MsgButtons::YesNoCancel);
    if (answer == MsgResult::Yes)
        KeepPointFrequencies(d, n, oldRate, newRate);
    else if (answer == MsgResult::No)
        ShiftPointFrequencies(d, n, newRate);
    else
        ResetFilterPoints(d, n, newRate);
}

double KaiserAlphaFromTyped(double typed, std::string& text) {
    double alpha = typed;
    if (!(alpha >= 1e-10))
        alpha = 0; // also NaN
    if (alpha > 10)
        alpha = 10;
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.4g", alpha);
    text = buffer;
    return std::strtod(buffer, nullptr);
}

} // namespace qv

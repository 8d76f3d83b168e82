#include "cli/progress_bar.h"

#include <cstdio>
#ifdef _WIN32
#include <io.h>
#define QV_ISATTY(fd) _isatty(fd)
#define QV_FILENO(f) _fileno(f)
#else
#include <unistd.h>
#define QV_ISATTY(fd) isatty(fd)
#define QV_FILENO(f) fileno(f)
#endif

namespace qv {

ProgressBar::ProgressBar() : terminal_(QV_ISATTY(QV_FILENO(stderr)) != 0) {}

void ProgressBar::Update(uint64_t position, uint64_t maximum) {
    if (!terminal_)
        return;
    const int permille = maximum ? static_cast<int>(position * 1000 / maximum) : 1000;
    if (permille == lastPermille_)
        return;
    lastPermille_ = permille;
    constexpr int kWidth = 40;
    char bar[kWidth + 1];
    const int filled = permille * kWidth / 1000;
    for (int i = 0; i < kWidth; ++i)
        bar[i] = i < filled ? '#' : '.';
    bar[kWidth] = 0;
    std::fprintf(stderr, "\r[%s] %3d.%d%%", bar, permille / 10, permille % 10);
    std::fflush(stderr);
}

void ProgressBar::Finish() {
    if (!terminal_ || lastPermille_ < 0)
        return;
    Update(1, 1);
    std::fputc('\n', stderr);
}

} // namespace qv

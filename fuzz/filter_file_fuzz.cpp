// Arbitrary bytes as a filter parameter file, read into an editor at 44100 Hz, N = 4096; the
// question on a different sample rate is answered Yes, No and Cancel in turn.
#include "files/filter_file.h"
#include "fuzz_ui.h"
#include "platform/ui.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace qv;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    for (MsgResult answer : {MsgResult::Yes, MsgResult::No, MsgResult::Cancel}) {
        fuzz::CountingUi ui(answer);
        const FilterFileEnvironment env{.ui = ui, .languageIndex = 1, .writerCaption = "Filter"};
        FilterDesign d;
        ResetFilterPoints(d, 4096, 44100);
        FilterEditorState editor{1, 4096, 44100};
        if (!ReadFilterText(bytes, "fuzz.QVF", d, editor, env))
            continue;
        // A design that was read is one the designer and the editor can use.
        if (d.pointCount < 2 || d.pointCount > kMaxFilterPoints || d.points[0].binIndex != 0 ||
            d.kaiserAlpha < 0 || d.kaiserAlpha > 10)
            std::abort();
        for (int i = 1; i < d.pointCount; ++i) {
            if (d.points[i].binIndex <= d.points[i - 1].binIndex ||
                d.points[i].binIndex > editor.filterSize / 2)
                std::abort();
        }
        // What was read writes out and reads back the same.
        FilterDesign again;
        FilterEditorState same = editor;
        if (!ReadFilterText(FilterFileText(d, editor), "again.QVF", again, same, env) ||
            again.pointCount != d.pointCount)
            std::abort();
    }
    return 0;
}

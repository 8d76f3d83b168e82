// Filter parameter files (".QVF"): the design's comment, parameters, the sample rate its points
// were drawn at, and the point table, as quoted-key lines and a table of numbers.
#pragma once

#include "filter/filter_design.h"
#include "platform/app_title.h"

#include <cstdint>
#include <string>

namespace qv {

class Ui;

// What the filter editor shows and works at; a read applies the file's parameters to it as if
// the user had chosen them.
struct FilterEditorState {
    int32_t overSampleRate = 1;
    int32_t filterSize = 4096;
    int32_t sampleRate = 44100; // the rate the editor works at
};

struct FilterFileEnvironment {
    Ui& ui;
    int languageIndex = 1;
    std::string writerCaption;        // the editor window's caption (writer messages)
    std::string appTitle = kAppTitle; // reader messages and the question
};

// The file's bytes: lines 1 to 10 and one line per point.
std::string FilterFileText(const FilterDesign& design, const FilterEditorState& editor);

// Writes the design to path; an extension other than .QVF is reported and corrected in path for
// the next save. False after a reported failure (a partly written file is deleted).
bool WriteFilterFile(std::string& path, const FilterDesign& design, const FilterEditorState& editor,
                     const FilterFileEnvironment& env);

// Reads path into the design and the editor state. False after a failure, or when the user
// cancelled at the question about a differing sample rate (cancelled then says so, and the
// caller resets the points as the question promises). Parameters met before a failure stay
// applied in design and editor.
bool ReadFilterFile(std::string& path, FilterDesign& design, FilterEditorState& editor,
                    const FilterFileEnvironment& env, bool* cancelled = nullptr);

// Reads a file's bytes (the part after the extension check and the file read).
bool ReadFilterText(std::string bytes, const std::string& name, FilterDesign& design,
                    FilterEditorState& editor, const FilterFileEnvironment& env,
                    bool* cancelled = nullptr);

} // namespace qv

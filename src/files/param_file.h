// Parameter files (".QV", also INIT.QV and the parameter set inside QV.INI): every key read as
// text into a ParamTextTable, the filter's numbers and points into a FilterDesign.
#pragma once

#include "files/param_text_table.h"
#include "filter/filter_design.h"

#include <optional>
#include <string>

namespace qv {

class IniFile;
class Ui;

struct ParamSet {
    explicit ParamSet(int languageIndex) : texts(languageIndex) {}
    ParamTextTable texts;
    FilterDesign filter; // its numbers; the table keeps their texts as well
    // The file's point table could not be designed and the flat response took its place.
    bool invalidFilterPoints = false;
};

// Reads every key (a missing or empty one gives its default, a value is cut to its key's
// width), validates the filter numbers, reads the points P1 ... Pn and puts them onto the
// Size1 grid; a missing point gives the flat two-point response, and so does a table that
// cannot be designed (marked invalidFilterPoints for the caller's message). The defaults of the
// item keys are the Japanese item texts, whatever the interface language: a file without Wave1's
// waveform plays a sine under the Japanese interface and nothing under the English one.
void LoadParamFile(const IniFile& ini, ParamSet& set);

// The filter's numbers from the table's texts (each outside its range taking its default, the
// texts brought in line); the points stay. LoadParamFile runs it; so does a caller that
// changed filter texts afterwards.
void ValidateFilterTexts(ParamSet& set);

// After a load, "Invalid filter points." with the file's path when its point table was refused.
void ReportInvalidFilterPoints(const ParamSet& set, const std::string& path, Ui& ui,
                               int languageIndex, const std::string& caption);

// Writes every key in table order, texts cut to 99 characters; ResponseRate is never written,
// the File comment only when one is given. Stops at the first key that cannot be written and
// returns false.
bool SaveParamFile(IniFile& ini, const ParamSet& set, std::optional<std::string> comment);

// The text of one filter point: "%4d,%s" with the bin and the gain in up to 10 digits.
std::string FilterPointText(const FilterPoint& point);

} // namespace qv

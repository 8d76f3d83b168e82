// What the mouse and the point menu do to the drawn points: which point lies under the mouse,
// where a new point goes, how far a dragged point may move, deleting, and setting a neighbour's
// gain for a slope in dB per decade; and the read-out texts of a frequency and a gain.
#pragma once

#include "filter/filter_design.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qv {

struct PointMark {
    int32_t x = 0, y = 0;
};

// The first point whose mark lies within 3 pixels of (x, y) in both directions; -1 for none.
int HitPoint(const std::vector<PointMark>& marks, int32_t x, int32_t y);

// Where a new point of frequency f goes: the first index i >= 1 with points i-1 and i on
// either side of f; -1 when a point already has f, or f lies outside the table.
int InsertionIndex(const FilterDesign& design, double frequency);
// Inserts at index (the later points move up); false with 100 points or a bad index.
bool InsertPoint(FilterDesign& design, int index, const FilterPoint& point);
// Removes an interior point; the first and the last stay.
bool DeletePoint(FilterDesign& design, int index);

struct FrequencyRange {
    double lowest = 0, highest = 0;
};
// How far point i may be dragged: the ends keep their frequency (only their gain moves), an
// interior point stays one bin width inside its neighbours.
FrequencyRange DragRange(const FilterDesign& design, int index, double binWidth);
// The bins a typed frequency may take for point i: between its neighbours for an interior
// point of three or more, else the whole grid 0 ... N/2.
struct BinRange {
    int32_t lowest = 0, highest = 0;
};
BinRange EditBinRange(const FilterDesign& design, int index, int32_t filterSize);

// Sets the gain of neighbour (index +-1) so that, moving away from point index, the response
// changes by dbPerDecade per decade (a bin of 0 counts as half a bin).
void SlopeToNeighbour(FilterDesign& design, int index, int neighbour, double dbPerDecade);

// The slopes the point menu offers, steepest rise first, with their captions
// ("+48dB/oct (+160dB/dec)" ... " Flat" ... "-48dB/oct (-160dB/dec)").
struct SlopeItem {
    int dbPerDecade;
    std::string caption;
};
const std::vector<SlopeItem>& SlopeItems();

// The read-out: "%8.2fHz" below 100 Hz, "%8.1fHz" below 100 kHz, "%7.3fkHz" below 1 MHz, else
// "%7.4fMHz"; the gain "%8.2fdB".
std::string FrequencyReadout(double frequency);
std::string GainReadout(double gainDb);

} // namespace qv

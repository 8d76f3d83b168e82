// Reading a text-format sample file (".QVT") back as normalised samples: the header's quoted
// keys in any order, then Samples x Channels numbers, each divided by Max and held to -1 ... 1.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

class Ui;

enum class TextReadStatus {
    Ok,
    NotQvtExtension, // the name does not end in ".QVT" (any letter case)
    MissingKey,      // no Channels, Samples, Max or Data line
    BadHeader,       // Channels outside 1 ... 8, Samples below 1, Max not positive and finite
    Truncated,       // the file ends before Samples x Channels values
    KeyLineError,    // a key line without its value; already reported through the Ui
};

struct TextFormatData {
    uint16_t channels = 0;
    uint64_t frames = 0;
    double max = 0.0;
    // Read but not needed for the samples; 0 when the line is missing.
    double sampleRate = 0.0;
    double bits = 0.0;
    std::vector<double> samples; // frames x channels, interleaved, in -1 ... 1
};

// Reads the file's bytes; name is the file's path, for the extension check. Problems of a key
// line are reported through ui (caption: the application title); the other failures are left
// to the caller to report. On failure data is left empty.
TextReadStatus ReadTextFormat(std::string_view name, std::string fileBytes, Ui& ui,
                              int languageIndex, const std::string& caption, TextFormatData& data);

} // namespace qv

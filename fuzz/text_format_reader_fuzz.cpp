// Arbitrary bytes as a text-format sample file: the reader must fail or succeed cleanly, never
// read outside the file, and only give values in -1 ... 1, Samples x Channels of them.
#include "files/text_format_reader.h"
#include "platform/ui.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

class SilentUi final : public qv::Ui {
public:
    qv::MsgResult Message(const std::string&, const std::string&, qv::MsgIcon, qv::MsgButtons,
                          bool) override {
        return qv::MsgResult::Ok;
    }
    void Beep() override {}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SilentUi ui;
    qv::TextFormatData out;
    const qv::TextReadStatus status = qv::ReadTextFormat(
        "fuzz.QVT", std::string(reinterpret_cast<const char*>(data), size), ui, 1, "Quorvale", out);
    if (status != qv::TextReadStatus::Ok) {
        if (!out.samples.empty())
            std::abort();
        return 0;
    }
    if (out.channels < 1 || out.channels > 8 || out.frames < 1 ||
        out.samples.size() != out.frames * out.channels || !(out.max > 0)) {
        std::abort();
    }
    for (double v : out.samples) {
        if (!(v >= -1.0 && v <= 1.0))
            std::abort();
    }
    return 0;
}

// The test driver's configuration, read from the host process's environment.
#include <cerrno>
#include <cstdlib>

#include "test_driver.h"

namespace qv::asio_test {
namespace {

bool ReadVariable(const char* name, std::string* value) {
    char buffer[1024];
    DWORD n = GetEnvironmentVariableA(name, buffer, sizeof buffer);
    if (n == 0 || n >= sizeof buffer)
        return false;
    value->assign(buffer, n);
    return true;
}

// A whole decimal number, or the default when the variable is missing or not a number (a typo in
// a test then shows as default behaviour rather than as a silently different count).
int64_t ReadInteger(const char* name, int64_t fallback) {
    std::string text;
    if (!ReadVariable(name, &text))
        return fallback;
    char* end = nullptr;
    errno = 0;
    long long value = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || end == text.c_str() || *end != '\0')
        return fallback;
    return value;
}

std::vector<double> ReadRates() {
    std::vector<double> rates;
    std::string text;
    if (ReadVariable("QV_ASIO_TEST_RATES", &text)) {
        const char* p = text.c_str();
        while (*p != '\0') {
            char* end = nullptr;
            double rate = std::strtod(p, &end);
            if (end == p) { // not a number: skip to the next entry
                while (*p != '\0' && *p != ',')
                    ++p;
            } else {
                if (rate > 0)
                    rates.push_back(rate);
                p = end;
            }
            while (*p == ',' || *p == ' ')
                ++p;
        }
    }
    if (rates.empty())
        rates = {44100, 48000, 96000};
    return rates;
}

} // namespace

Settings Settings::FromEnvironment() {
    Settings s;
    s.sampleType = static_cast<int32_t>(ReadInteger("QV_ASIO_TEST_TYPE", asio::kInt32Lsb));
    s.outputs = static_cast<int32_t>(ReadInteger("QV_ASIO_TEST_OUTPUTS", 2));
    s.inputs = static_cast<int32_t>(ReadInteger("QV_ASIO_TEST_INPUTS", 2));
    s.bufferSize = static_cast<int32_t>(ReadInteger("QV_ASIO_TEST_BUFFER", 256));
    s.rates = ReadRates();
    ReadVariable("QV_ASIO_TEST_INIT_FAIL", &s.initFailure);
    std::string ready;
    s.outputReady = !(ReadVariable("QV_ASIO_TEST_OUTPUT_READY", &ready) && ready == "0");
    s.panelResult = static_cast<asio::Error>(ReadInteger("QV_ASIO_TEST_PANEL", asio::kOk));
    ReadVariable("QV_ASIO_TEST_LOG", &s.logPath);
    ReadVariable("QV_ASIO_TEST_RECORD", &s.recordPrefix);
    s.resetAfter = ReadInteger("QV_ASIO_TEST_RESET_AFTER", 0);
    s.resetBufferSize = static_cast<int32_t>(ReadInteger("QV_ASIO_TEST_RESET_BUFFER", 0));
    if (s.outputs < 0)
        s.outputs = 0;
    if (s.inputs < 0)
        s.inputs = 0;
    return s;
}

int BytesPerSample(int32_t sampleType) {
    switch (sampleType) {
    case asio::kInt16Msb:
    case asio::kInt16Lsb:
        return 2;
    case asio::kInt24Msb:
    case asio::kInt24Lsb:
        return 3;
    case asio::kFloat64Msb:
    case asio::kFloat64Lsb:
        return 8;
    default:
        return 4;
    }
}

} // namespace qv::asio_test

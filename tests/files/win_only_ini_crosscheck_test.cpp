// The portable backend against the private-profile routines: the same writes into two copies of
// a file must leave the same bytes behind, and the same reads must give the same texts.
#include "files/ini_file.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <io.h>
#include <share.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace qv {
namespace {

namespace fs = std::filesystem;

struct Step {
    std::string section, key, value;
};

// Sections and keys read after every step: present, absent, spelled differently, odd names.
const std::vector<std::pair<std::string, std::string>> kProbes = {
    {"File", "Comment"},
    {"file", "LENGTH"},
    {"File", "Name"},
    {"Misc", "Rate"},
    {"Misc", "Ch"},
    {"Misc", "; Ch"},
    {"MISC", "Unknown key without value"},
    {"Wave1", "Freq"},
    {"Wave1", "Amp"},
    {"Wave1", "Waveform"},
    {"Wave1", ""},
    {"wave1", "[Filter"},
    {"Wave2", "Amp"},
    {" Wave2 ", " amp "},
    {"", "Orphan"},
    {"", "; Quorvale parameter file"},
    {"Filter", "On"},
    {"Wave3", "Key"},
    {"Last", "x"},
    {"Wave2", "Last"},
    {"New", "K"},
    {"Long", "Dir"},
    {"Q", "a"},
    {"Q", "b"},
    {"Q", "c"},
    {"Q", "d"}};

class IniCrosscheckTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("qv_ini_cross_" +
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "_" +
                std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
        fs::create_directories(dir_);
    }
    void TearDown() override {
        std::error_code error;
        fs::remove_all(dir_, error);
    }

    std::string Path(const std::string& file) const { return (dir_ / file).string(); }

    void Put(const std::string& file, const std::string& bytes) const {
        std::ofstream out(Path(file), std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }

    std::string Bytes(const std::string& file) const {
        std::ifstream in(Path(file), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    // Runs the steps on a copy of `start` ("" for no file) through each backend, comparing the
    // files and the probes' reads after every step.
    // Gives the file's final bytes.
    std::string Crosscheck(const std::string& start, const std::vector<Step>& steps) {
        if (!start.empty()) {
            Put("win32.ini", start);
            Put("portable.ini", start);
        }
        auto win32 = OpenIniFile(Path("win32.ini"));
        auto portable = OpenPortableIniFile(Path("portable.ini"));
        for (size_t i = 0; i < steps.size(); ++i) {
            const Step& step = steps[i];
            SCOPED_TRACE("step " + std::to_string(i) + ": [" + step.section + "] " + step.key +
                         "=" + step.value);
            const bool written = win32->Write(step.section, step.key, step.value);
            EXPECT_TRUE(written);
            EXPECT_EQ(portable->Write(step.section, step.key, step.value), written);
            EXPECT_EQ(Bytes("win32.ini"), Bytes("portable.ini"));
            for (const auto& [section, key] : kProbes) {
                EXPECT_EQ(win32->Read(section, key), portable->Read(section, key))
                    << "[" << section << "] " << key;
            }
        }
        return Bytes("win32.ini");
    }

    fs::path dir_;
};

TEST_F(IniCrosscheckTest, ANewFileEndsUpTheSame) {
    Crosscheck("", {{"File", "Name", "WAVE.WAV"},
                    {"File", "Dir", "C:\\Sound\\"},
                    {"Misc", "Rate", "48000"},
                    {"Wave1", "Freq", "1000"},
                    {"Misc", "Ch", "2"},
                    {"file", "name", "other.wav"},
                    {"Wave1", "Waveform", "\xB6\xB2\xDD\x94\x67"},
                    {"Misc", "Rate", "48000"},
                    {"Wave1", "Freq", ""},
                    {"Long", "Dir", std::string(600, 'd')},
                    {"Q", "a", "\"quoted\""},
                    {"Q", "b", "  leading blanks"},
                    {"Q", "c", "'x'"},
                    {"New", "K", "v"}});
}

TEST_F(IniCrosscheckTest, AHandWrittenFileEndsUpTheSame) {
    const std::string handWritten = "; Quorvale parameter file\r\n"
                                    "\r\n"
                                    "[File]\r\n"
                                    "Comment = hand written \r\n"
                                    "Length=10\r\n"
                                    "\r\n"
                                    "[Misc]   ; the output format\n"
                                    "Rate=44100\n"
                                    "Bit=16\n"
                                    "; Ch=2\n"
                                    "Unknown key without value\n"
                                    "\n"
                                    "[Wave1]\r\n"
                                    "Waveform=\xB6\xB2\xDD\x94\x67\r\n"
                                    "Freq = \"1000\"\r\n"
                                    "Freq=2000\r\n"
                                    "=\r\n"
                                    "=dup\r\n"
                                    "[wave1]\r\n"
                                    "Amp=-10\r\n"
                                    "[Filter\r\n"
                                    "[]\r\n"
                                    "Orphan=1\r\n"
                                    "  [  Wave2  ]  \r\n"
                                    "\tAmp\t=\t-20\t\r\n"
                                    "\x1a"
                                    "Last=no line end";
    const std::string final =
        Crosscheck(handWritten, {{"File", "Comment", "hand written"}, // unchanged: file untouched
                                 {"File", "Length", "20"},
                                 {"Misc", "Ch", "2"},
                                 {"Wave1", "Freq", "440"},
                                 {"Wave1", "Amp", "-6"},
                                 {"Wave2", "AMP", "-3"},
                                 {"Filter", "On", "1"},
                                 {" Wave3 ", " Key ", "  spaced  "},
                                 {"Wave1", "Waveform", "\x83\x54\x83\x43\x83\x93"},
                                 {"Misc", "Unknown key without value", "now one"},
                                 {"Wave2", "Last", "line end"},
                                 {"Long", "Dir", std::string(700, 'x')},
                                 {"File", "Length", "20"}});
    // Comments, unknown keys and lines stay where they were, in the routines' own layout.
    EXPECT_EQ(final, "; Quorvale parameter file\r\n"
                     "[File]\r\n"
                     "Comment=hand written\r\n"
                     "Length=20\r\n"
                     "[Misc]\r\n"
                     "Rate=44100\r\n"
                     "Bit=16\r\n"
                     "; Ch=2\r\n"
                     "Unknown key without value=now one\r\n"
                     "Ch=2\r\n"
                     "[Wave1]\r\n"
                     "Waveform=\x83\x54\x83\x43\x83\x93\r\n"
                     "Freq=440\r\n"
                     "Freq=2000\r\n"
                     "=\r\n"
                     "Amp=-6\r\n"
                     "[wave1]\r\n"
                     "Amp=-10\r\n"
                     "[Filter\r\n"
                     "Orphan=1\r\n"
                     "[Wave2]\r\n"
                     "Amp=-3\r\n"
                     "Last=line end\r\n"
                     "[Filter]\r\n"
                     "On=1\r\n"
                     "[Wave3]\r\n"
                     "Key=spaced\r\n"
                     "[Long]\r\n"
                     "Dir=" +
                         std::string(700, 'x') + "\r\n");
}

TEST_F(IniCrosscheckTest, OddLinesEndUpTheSame) {
    const std::string odd("\r\n\r\n[A]\r\r\rx=1\n\n\ny\r\n\0\r\n[B] [C]\r\n=a\r\n=b\r\nz=\"q\"\r\n"
                          "[ ]\r\nw=2\r\n[D\0E]\r\nv=3\r\n",
                          68);
    Crosscheck(odd, {{"A", "x", "2"},
                     {"B] [C", "n", "1"},
                     {"", "w", "3"},
                     {"D", "v", "4"},
                     {"A", "y", "5"},
                     {"B", "z", "6"}});
}

TEST_F(IniCrosscheckTest, AByteOrderMarkEndsUpTheSame) {
    Crosscheck("\xEF\xBB\xBF[File]\r\nName=a.wav\r\n",
               {{"File", "Name", "b.wav"}, {"Misc", "Rate", "44100"}});
}

TEST_F(IniCrosscheckTest, ALockedFileIsWrittenByNeither) {
    const std::string before = "[A]\r\nx=1\r\n";
    Put("locked.ini", before);
    auto win32 = OpenIniFile(Path("locked.ini"));
    auto portable = OpenPortableIniFile(Path("locked.ini"));
    const int fd = _sopen(Path("locked.ini").c_str(), _O_RDWR | _O_BINARY, _SH_DENYRW);
    ASSERT_GE(fd, 0);
    EXPECT_FALSE(win32->Write("A", "x", "2"));
    EXPECT_FALSE(portable->Write("A", "x", "2"));
    EXPECT_EQ(win32->Read("A", "x"), "");
    EXPECT_EQ(portable->Read("A", "x"), "");
    _close(fd);
    EXPECT_EQ(Bytes("locked.ini"), before);
}

} // namespace
} // namespace qv

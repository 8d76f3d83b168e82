// The INI layer's rules, run against every backend of the platform (the portable one everywhere,
// the private-profile routines too in the Windows build), with the exact bytes of the files.
#include "files/ini_file.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace qv {
namespace {

namespace fs = std::filesystem;

struct PortableBackend {
    static constexpr const char* kName = "Portable";
    // The portable backend treats a file without write permission as read-only itself.
    static constexpr bool kSystemDecidesReadOnly = false;
    static std::unique_ptr<IniFile> Open(const std::string& path) {
        return OpenPortableIniFile(path);
    }
};

#ifdef _WIN32
struct Win32Backend {
    static constexpr const char* kName = "Win32";
    static constexpr bool kSystemDecidesReadOnly = true;
    static std::unique_ptr<IniFile> Open(const std::string& path) { return OpenIniFile(path); }
};
using Backends = ::testing::Types<Win32Backend, PortableBackend>;
#else
using Backends = ::testing::Types<PortableBackend>;
#endif

struct BackendNames {
    template <class T> static std::string GetName(int) { return T::kName; }
};

template <class Backend> class IniFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name =
            std::string("qv_ini_") + Backend::kName + "_" + info->name() + "_" +
            std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
        dir_ = fs::temp_directory_path() / name;
        fs::create_directories(dir_);
    }

    void TearDown() override {
        std::error_code error;
        for (const auto& entry : fs::recursive_directory_iterator(dir_, error))
            fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, error);
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

    std::unique_ptr<IniFile> Open(const std::string& file) const {
        return Backend::Open(Path(file));
    }

    fs::path dir_;
};

TYPED_TEST_SUITE(IniFileTest, Backends, BackendNames);

TYPED_TEST(IniFileTest, AMissingFileSectionOrKeyReadsEmpty) {
    EXPECT_EQ(this->Open("none.ini")->Read("File", "Name"), "");
    EXPECT_FALSE(fs::exists(this->Path("none.ini")));
    this->Put("a.ini", "[File]\r\nName=a.wav\r\n");
    auto ini = this->Open("a.ini");
    EXPECT_EQ(ini->Read("File", "Name"), "a.wav");
    EXPECT_EQ(ini->Read("File", "Dir"), "");
    EXPECT_EQ(ini->Read("Misc", "Name"), "");
}

TYPED_TEST(IniFileTest, TheFirstWriteCreatesTheFileInCrLfLines) {
    auto ini = this->Open("new.ini");
    ASSERT_TRUE(ini->Write("File", "Name", "WAVE.WAV"));
    EXPECT_EQ(this->Bytes("new.ini"), "[File]\r\nName=WAVE.WAV\r\n");
    EXPECT_EQ(ini->Read("File", "Name"), "WAVE.WAV");
}

TYPED_TEST(IniFileTest, NewKeysGoToTheEndOfTheirSectionAndNewSectionsToTheEnd) {
    auto ini = this->Open("order.ini");
    ASSERT_TRUE(ini->Write("A", "x", "1"));
    ASSERT_TRUE(ini->Write("B", "y", "2"));
    ASSERT_TRUE(ini->Write("A", "z", "3"));
    ASSERT_TRUE(ini->Write("A", "w", "4"));
    ASSERT_TRUE(ini->Write("C", "v", "5"));
    EXPECT_EQ(this->Bytes("order.ini"), "[A]\r\nx=1\r\nz=3\r\nw=4\r\n[B]\r\ny=2\r\n[C]\r\nv=5\r\n");
}

TYPED_TEST(IniFileTest, AWriteReplacesTheValueInPlaceAndKeepsEveryOtherLine) {
    const std::string before = "; Quorvale settings\r\n"
                               "[Window]\r\n"
                               "PosX=10\r\n"
                               "; placement\r\n"
                               "PosY=20\r\n"
                               "Unknown=keep me\r\n"
                               "a line without equals\r\n"
                               "[File]\r\n"
                               "Name=a.wav\r\n";
    this->Put("s.ini", before);
    auto ini = this->Open("s.ini");
    ASSERT_TRUE(ini->Write("Window", "PosY", "300"));
    EXPECT_EQ(this->Bytes("s.ini"), "; Quorvale settings\r\n"
                                    "[Window]\r\n"
                                    "PosX=10\r\n"
                                    "; placement\r\n"
                                    "PosY=300\r\n"
                                    "Unknown=keep me\r\n"
                                    "a line without equals\r\n"
                                    "[File]\r\n"
                                    "Name=a.wav\r\n");
    // A new key follows the section's last line, whatever that line is.
    ASSERT_TRUE(ini->Write("Window", "Height", "400"));
    ASSERT_TRUE(ini->Write("File", "Dir", "C:\\data\\"));
    EXPECT_EQ(this->Bytes("s.ini"), "; Quorvale settings\r\n"
                                    "[Window]\r\n"
                                    "PosX=10\r\n"
                                    "; placement\r\n"
                                    "PosY=300\r\n"
                                    "Unknown=keep me\r\n"
                                    "a line without equals\r\n"
                                    "Height=400\r\n"
                                    "[File]\r\n"
                                    "Name=a.wav\r\n"
                                    "Dir=C:\\data\\\r\n");
}

TYPED_TEST(IniFileTest, SectionAndKeyNamesIgnoreLetterCase) {
    this->Put("c.ini", "[Wave1]\r\nFreq=440\r\n");
    auto ini = this->Open("c.ini");
    EXPECT_EQ(ini->Read("WAVE1", "freq"), "440");
    EXPECT_EQ(ini->Read("wave1", "FREQ"), "440");
    ASSERT_TRUE(ini->Write("wAVE1", "fReQ", "880"));
    // The file keeps its own spelling of both names.
    EXPECT_EQ(this->Bytes("c.ini"), "[Wave1]\r\nFreq=880\r\n");
}

TYPED_TEST(IniFileTest, OnlyAsciiLettersFoldCase) {
    this->Put("n.ini", "[\xC0]\r\nk=1\r\n");
    EXPECT_EQ(this->Open("n.ini")->Read("\xE0", "k"), "");
    EXPECT_EQ(this->Open("n.ini")->Read("\xC0", "K"), "1");
}

TYPED_TEST(IniFileTest, ReadingDropsBlanksAroundNamesAndValues) {
    this->Put("t.ini", "  [ Sec ]  \r\n"
                       "  Key  =   some value \t \r\n"
                       "\tTab\t=\tx\t\r\n"
                       "\x1a"
                       "Ctrl=\x0by\x0c\r\n"
                       "Empty =   \r\n");
    auto ini = this->Open("t.ini");
    EXPECT_EQ(ini->Read("Sec", "Key"), "some value");
    EXPECT_EQ(ini->Read(" Sec ", " Key "), "some value");
    EXPECT_EQ(ini->Read("Sec", "Tab"), "x");
    EXPECT_EQ(ini->Read("Sec", "Ctrl"), "y");
    EXPECT_EQ(ini->Read("Sec", "Empty"), "");
}

TYPED_TEST(IniFileTest, OnePairOfSurroundingQuotesIsDroppedOnRead) {
    this->Put("q.ini", "[Q]\r\n"
                       "double=\"quoted value\"\r\n"
                       "single='single'\r\n"
                       "empty=\"\"\r\n"
                       "lone=\"\r\n"
                       "mixed=\"a'\r\n"
                       "inner=a\"b\"\r\n"
                       "twice=\"\"x\"\"\r\n");
    auto ini = this->Open("q.ini");
    EXPECT_EQ(ini->Read("Q", "double"), "quoted value");
    EXPECT_EQ(ini->Read("Q", "single"), "single");
    EXPECT_EQ(ini->Read("Q", "empty"), "");
    EXPECT_EQ(ini->Read("Q", "lone"), "\"");
    EXPECT_EQ(ini->Read("Q", "mixed"), "\"a'");
    EXPECT_EQ(ini->Read("Q", "inner"), "a\"b\"");
    EXPECT_EQ(ini->Read("Q", "twice"), "\"x\"");
}

TYPED_TEST(IniFileTest, CommentsAndLinesWithoutEqualsHoldNoValue) {
    this->Put("k.ini", "[S]\r\n;Freq=1\r\nFreq\r\nAmp=2\r\n");
    auto ini = this->Open("k.ini");
    EXPECT_EQ(ini->Read("S", "Freq"), "");
    EXPECT_EQ(ini->Read("S", "Amp"), "2");
    // Writing the bare name gives it a value where it stands.
    ASSERT_TRUE(ini->Write("S", "freq", "440"));
    EXPECT_EQ(this->Bytes("k.ini"), "[S]\r\n;Freq=1\r\nFreq=440\r\nAmp=2\r\n");
}

TYPED_TEST(IniFileTest, TheFirstOfDuplicateSectionsAndKeysCounts) {
    this->Put("d.ini", "[A]\r\nx=1\r\nx=2\r\n[a]\r\nx=3\r\ny=4\r\n");
    auto ini = this->Open("d.ini");
    EXPECT_EQ(ini->Read("A", "x"), "1");
    EXPECT_EQ(ini->Read("A", "y"), "");
    ASSERT_TRUE(ini->Write("A", "y", "5"));
    ASSERT_TRUE(ini->Write("a", "X", "9"));
    EXPECT_EQ(this->Bytes("d.ini"), "[A]\r\nx=9\r\nx=2\r\ny=5\r\n[a]\r\nx=3\r\ny=4\r\n");
}

TYPED_TEST(IniFileTest, LfOnlyLinesAndAMissingFinalLineEndAreRead) {
    this->Put("lf.ini", "[A]\nx=1\ny=2");
    auto ini = this->Open("lf.ini");
    EXPECT_EQ(ini->Read("A", "x"), "1");
    EXPECT_EQ(ini->Read("A", "y"), "2");
    this->Put("cr.ini", "[A]\rx=1\r\r\n\ny=2");
    EXPECT_EQ(this->Open("cr.ini")->Read("A", "y"), "2");
    ASSERT_TRUE(ini->Write("A", "x", "3"));
    EXPECT_EQ(this->Bytes("lf.ini"), "[A]\r\nx=3\r\ny=2\r\n");
}

// The file is written again from its entries: blank lines, blanks around lines and around '=',
// and text after a section's ']' do not survive a write that changes a value.
TYPED_TEST(IniFileTest, AChangingWriteRewritesTheFileInCanonicalLayout) {
    this->Put("l.ini", "\r\n"
                       "; top\r\n"
                       "\r\n"
                       "  [ A ] trailing words\r\n"
                       "\r\n"
                       "  x  =  1  \r\n"
                       "=first empty name\r\n"
                       "=second empty name\r\n"
                       "[NoClose\r\n"
                       "\r\n"
                       "[B]\n"
                       "y=2");
    ASSERT_TRUE(this->Open("l.ini")->Write("B", "y", "3"));
    EXPECT_EQ(this->Bytes("l.ini"), "; top\r\n"
                                    "[A]\r\n"
                                    "x=1\r\n"
                                    "=first empty name\r\n"
                                    "[NoClose\r\n"
                                    "[B]\r\n"
                                    "y=3\r\n");
}

TYPED_TEST(IniFileTest, WritingTheValueAlreadyStoredLeavesTheFileAlone) {
    const std::string before = "[A]\n  x =  1  \n\n[B]\ny=2";
    this->Put("u.ini", before);
    ASSERT_TRUE(this->Open("u.ini")->Write("a", "X", "1"));
    EXPECT_EQ(this->Bytes("u.ini"), before);
}

TYPED_TEST(IniFileTest, NamesAndValuesEndAtANulByte) {
    this->Put("z.ini", std::string("[A]\r\nx=a\0b\r\ny\0z=2\r\n", 19));
    auto ini = this->Open("z.ini");
    EXPECT_EQ(ini->Read("A", "x"), "a");
    EXPECT_EQ(ini->Read("A", "y"), "2");
    ASSERT_TRUE(ini->Write("A", "w", std::string("1\0 2", 4)));
    EXPECT_EQ(this->Bytes("z.ini"), "[A]\r\nx=a\r\ny=2\r\nw=1\r\n");
}

TYPED_TEST(IniFileTest, LeadingBlanksOfAWrittenValueAreDropped) {
    auto ini = this->Open("b.ini");
    ASSERT_TRUE(ini->Write("A", "x", "  \tv w"));
    EXPECT_EQ(this->Bytes("b.ini"), "[A]\r\nx=v w\r\n");
    EXPECT_EQ(ini->Read("A", "x"), "v w");
}

TYPED_TEST(IniFileTest, ShiftJisBytesPassThroughUnchanged) {
    const std::string sjis = "\xB6\xB2\xDD\x94\x67"; // half-width katakana and a kanji
    auto ini = this->Open("j.ini");
    ASSERT_TRUE(ini->Write("Wave1", "Waveform", sjis));
    EXPECT_EQ(this->Bytes("j.ini"), "[Wave1]\r\nWaveform=" + sjis + "\r\n");
    EXPECT_EQ(ini->Read("Wave1", "Waveform"), sjis);
    const std::string comment = "\x91\x53\xCA\xDF\xD7\xD2\xB0\xC0"; // a Shift-JIS comment text
    this->Put("j2.ini", "[File]\r\nComment=" + comment + "\r\n");
    EXPECT_EQ(this->Open("j2.ini")->Read("File", "Comment"), comment);
}

TYPED_TEST(IniFileTest, LongValuesAreStoredAndReadWhole) {
    std::string value;
    for (int i = 0; value.size() < 700; ++i)
        value += "segment" + std::to_string(i) + "\\";
    auto ini = this->Open("long.ini");
    ASSERT_TRUE(ini->Write("File", "Dir", value));
    EXPECT_EQ(this->Bytes("long.ini"), "[File]\r\nDir=" + value + "\r\n");
    EXPECT_EQ(ini->Read("File", "Dir"), value);
    // Lengths around the sizes a reader might allocate, with and without quotes.
    for (size_t length : {254u, 255u, 256u, 510u, 511u, 1021u, 1022u, 1023u, 1024u, 1025u, 3000u}) {
        const std::string plain(length, 'v');
        ASSERT_TRUE(ini->Write("Long", "Plain", plain));
        EXPECT_EQ(ini->Read("Long", "Plain"), plain) << length;
        ASSERT_TRUE(ini->Write("Long", "Quoted", "\"" + plain + "\""));
        EXPECT_EQ(ini->Read("Long", "Quoted"), plain) << length;
    }
}

TYPED_TEST(IniFileTest, EmptyValuesAreStoredAsKeyAndEquals) {
    this->Put("e.ini", "[A]\r\nx=1\r\n");
    auto ini = this->Open("e.ini");
    ASSERT_TRUE(ini->Write("A", "x", ""));
    ASSERT_TRUE(ini->Write("A", "y", ""));
    EXPECT_EQ(this->Bytes("e.ini"), "[A]\r\nx=\r\ny=\r\n");
    EXPECT_EQ(ini->Read("A", "x"), "");
    EXPECT_EQ(ini->Read("A", "y"), "");
}

TYPED_TEST(IniFileTest, AByteOrderMarkIsKept) {
    this->Put("bom.ini", "\xEF\xBB\xBF[A]\r\nx=1\r\n");
    auto ini = this->Open("bom.ini");
    EXPECT_EQ(ini->Read("A", "x"), "1");
    ASSERT_TRUE(ini->Write("A", "x", "2"));
    EXPECT_EQ(this->Bytes("bom.ini"), "\xEF\xBB\xBF[A]\r\nx=2\r\n");
}

TYPED_TEST(IniFileTest, ABareFileNameMeansTheCurrentFolder) {
    const fs::path previous = fs::current_path();
    fs::current_path(this->dir_);
    auto ini = TypeParam::Open("bare.ini");
    const bool written = ini->Write("A", "x", "1");
    const std::string read = ini->Read("A", "x");
    fs::current_path(previous);
    EXPECT_TRUE(written);
    EXPECT_EQ(read, "1");
    EXPECT_EQ(this->Bytes("bare.ini"), "[A]\r\nx=1\r\n");
}

TYPED_TEST(IniFileTest, AReadOnlyFileIsNotWritten) {
    const std::string before = "[A]\r\nx=1\r\n";
    this->Put("ro.ini", before);
    fs::permissions(this->Path("ro.ini"),
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    if (TypeParam::kSystemDecidesReadOnly &&
        std::fstream(this->Path("ro.ini"), std::ios::in | std::ios::out)) {
        GTEST_SKIP() << "this system lets the process write read-only files (Wine run as root)";
    }
    auto ini = this->Open("ro.ini");
    EXPECT_FALSE(ini->Write("A", "x", "2"));
    EXPECT_FALSE(ini->Write("A", "x", "1")); // not even an unchanged value
    EXPECT_FALSE(ini->Write("B", "y", "3"));
    EXPECT_EQ(this->Bytes("ro.ini"), before);
    EXPECT_EQ(ini->Read("A", "x"), "1");
}

TYPED_TEST(IniFileTest, AFileInAMissingFolderIsNotWritten) {
    auto ini = this->Open("missing/folder.ini");
    EXPECT_FALSE(ini->Write("A", "x", "1"));
    EXPECT_FALSE(fs::exists(this->Path("missing")));
    EXPECT_EQ(ini->Read("A", "x"), "");
}

TYPED_TEST(IniFileTest, AFolderIsNotWrittenAsAFile) {
    fs::create_directory(this->Path("folder.ini"));
    auto ini = this->Open("folder.ini");
    EXPECT_FALSE(ini->Write("A", "x", "1"));
    EXPECT_EQ(ini->Read("A", "x"), "");
}

TYPED_TEST(IniFileTest, AHandleReadsAFileOnceAndAgainWhenItChanges) {
    std::string text = "[Wave1]\r\n";
    for (int i = 0; i < 200; ++i)
        text += "Key" + std::to_string(i) + "=" + std::to_string(i) + "\r\n";
    this->Put("a.ini", text);
    auto ini = this->Open("a.ini");
    const uint64_t parses = PortableIniParses();
    for (int i = 0; i < 200; ++i)
        ASSERT_EQ(ini->Read("wave1", "key" + std::to_string(i)), std::to_string(i));
    if (std::string(TypeParam::kName) == "Portable") {
        EXPECT_EQ(PortableIniParses(), parses + 1);
    }
    this->Put("a.ini", "[Wave1]\r\nKey0=changed\r\n");
    EXPECT_EQ(ini->Read("Wave1", "Key0"), "changed");
    ASSERT_TRUE(ini->Write("Wave1", "Key0", "written"));
    EXPECT_EQ(ini->Read("Wave1", "Key0"), "written");
}

} // namespace
} // namespace qv

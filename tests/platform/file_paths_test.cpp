// UTF-8 paths beyond ASCII through every portable way of opening, testing and listing files.
#include "files/file_bytes.h"
#include "files/ini_file.h"
#include "files/wave_byte_source.h"
#include "platform/file_checks.h"
#include "platform/file_path.h"
#include "platform/output_file.h"
#include "platform/path_text.h"

#include <gtest/gtest.h>

#include <random>

namespace qv {
namespace {

TEST(FilePathsTest, NamesBeyondAsciiOpenTheFileTheyName) {
    namespace fs = std::filesystem;
    const fs::path root = fs::temp_directory_path() / std::to_string(std::random_device()());
    for (const char* name : {"Mesures é", "測定 データ", "\U0001D11E"}) {
        const std::string dir = Utf8Of(root) + "/" + name + "/", file = dir + "é.wav";
        ASSERT_TRUE(fs::create_directories(FsPath(dir)));
        // The library's own conversion of the name finds the folder.
        EXPECT_TRUE(fs::is_directory(root / std::u8string(reinterpret_cast<const char8_t*>(name))));
        EXPECT_TRUE(CanListFolder(dir) && !FileExists(dir) && FreeBytesForUser(dir) > 0);
        OutputFile out;
        ASSERT_TRUE(out.Create(file) && out.Write("RIFF1234", 8) == 8) << name;
        out.Close();
        std::string bytes;
        EXPECT_TRUE(FileExists(file) && ReadWholeFile(file, 1, bytes).empty());
        EXPECT_EQ(bytes, "RIFF1234");
        auto source = OpenWaveFileSource(file);
        EXPECT_TRUE(source && source->Size() == 8) << name;
        source.reset(); // closed, so that Windows lets the file go
        for (auto open : {OpenIniFile, OpenPortableIniFile}) {
            EXPECT_TRUE(open(dir + "é.ini")->Write("File", "Name", "x"));
            EXPECT_EQ(open(dir + "é.ini")->Read("File", "Name"), "x");
        }
        EXPECT_TRUE(RemoveFile(file) && !FileExists(file));
    }
    fs::remove_all(root);
}

#ifndef _WIN32
TEST(FilePathsTest, FilesKeepPathsAsTheirBytesAwayFromWindows) {
    for (const std::string text : {"", "/a/b.wav", "/é/測", "\x91\xAA\x92\xE8", "\xE9\xC3"})
        EXPECT_TRUE(PathToFileText(text) == text && PathFromFileText(text) == text) << text;
}
#endif

} // namespace
} // namespace qv

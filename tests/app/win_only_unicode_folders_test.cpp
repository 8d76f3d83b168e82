// The program's files in folders named beyond ASCII through the real Windows file calls, in both
// interface languages, under code page 1252 (unicode_folders_wintest.sh runs them under 932 too).
#include "app/main_controls.h"
#include "app/open_param_file.h"
#include "app/user_wave_loader.h"
#include "app/win/main_form.h"
#include "app/write_command.h"
#include "files/file_bytes.h"
#include "files/ini_file.h"
#include "files/settings_file.h"
#include "generator/generator.h"
#include "platform/file_checks.h"
#include "platform/win/hand_over.h"
#include "platform/win/text_conversion.h"
#include "platform/win/window_messages.h"
#include "support/fake_ui.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace qv {
namespace {

// The system code page; QV_EXPECT_ACP names the one a run asks for.
UINT CodePage() {
    const char* expected = std::getenv("QV_EXPECT_ACP");
    EXPECT_TRUE(!expected || std::to_string(GetACP()) == expected) << GetACP();
    return GetACP();
}

std::string Bytes(const std::wstring& path) { // opened by the library's wide calls
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

const std::string kE = "Mesures é", kJa = "測定 データ"; // UTF-8

TEST(UnicodeFoldersTest, TheProgramsFilesLiveInFoldersBeyondAscii) {
    const UINT cp = CodePage();
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring root = temp + std::to_wstring(GetCurrentProcessId()) + L"\\";
    ASSERT_TRUE(CreateDirectoryW(root.c_str(), nullptr));
    // Each folder's name as the files keep it under 1252 and 932.
    for (const auto& [name, in1252, in932] :
         {std::tuple{L"Mesures é", "Mesures \xE9", kE.c_str()},
          {L"測定 データ", kJa.c_str(), "\x91\xAA\x92\xE8 \x83\x66\x81\x5B\x83\x5E"}}) {
        for (int lang : {0, 1}) {
            const std::wstring wdir = root + name + std::to_wstring(lang) + L"\\";
            ASSERT_TRUE(CreateDirectoryW(wdir.c_str(), nullptr));
            const std::string dir = WideToUtf8(wdir), wav = dir + "tone.WAV";
            const std::string kept = WideToUtf8(root) + (cp == 932 ? in932 : in1252) +
                                     std::to_string(lang) + "\\tone.WAV\r\n";
            test::RecordingUi ui;
            const NoKeysDown keys;
            Generator g, opened;
            MainControls c(g, lang), c2(opened, lang);
            OpenParamEnvironment env{ui, kAppTitle, FileExists, OpenIniFile, {}};
            ASSERT_TRUE(CreateInitParamFile(dir, c, env));
            EXPECT_FALSE(CreateInitParamFile(dir, c, env)); // there now

            const WriteEnvironment write{ui, keys, lang, kAppTitle, {}, {}};
            g.texts.fileLength = "0.1";
            std::string written = wav, bytes;
            ASSERT_EQ(RunWaveWrite(g, written, write), 0);
            EXPECT_EQ(ReadWholeFile(wav, lang, bytes), "");
            EXPECT_EQ(bytes, Bytes(wdir + L"tone.WAV"));
            EXPECT_EQ(bytes.size(), 44u + 4410 * 4);

            c.OnWaveform(0, kUserWave);
            g.userWaves[0].userWavePath = wav;
            OpenedNames names;
            ASSERT_TRUE(SaveParamSet(dir + "set.QV", c, env, names));
            EXPECT_NE(Bytes(wdir + L"set.QV").find("\nUserWave=" + kept), std::string::npos);
            const UserWaveLoadEnvironment load{ui, keys, lang, kAppTitle, {}};
            env.reregisterUserWave = [&](int m, const std::string&) {
                return RegisterUserWave(opened.userWaves[m / 4], m == 4,
                                        UserWaveRequest::FromParamFile, load);
            };
            ASSERT_TRUE(OpenParamFile(dir + "set.QV", opened, c2, env, names));
            EXPECT_EQ(opened.userWaves[0].userWavePath, wav);
            EXPECT_EQ(opened.userWaves[0].userWaveFrames, 4410u);

            AppSettings settings, back;
            settings.lastDirectory = dir;
            settings.lastWaveFile = wav;
            ASSERT_TRUE(WriteSettings(*OpenIniFile(dir + "QV.INI"), settings));
            EXPECT_NE(Bytes(wdir + L"QV.INI").find("\nName=" + kept), std::string::npos);
            SettingsEnvironment where{.programDirectory = "C:\\", .canListFiles = CanListFolder};
            ReadSettings(*OpenIniFile(dir + "QV.INI"), back, SettingsPart::All, where);
            EXPECT_EQ(back.lastDirectory + back.lastWaveFile, dir + wav);
            EXPECT_EQ(ui.messages.size(), 0u);
        }
    }
    std::filesystem::remove_all(root);
}

TEST(UnicodeFoldersTest, TheHandOverCarriesTheWholeCommandLine) {
    const UINT cp = CodePage();
    std::string many;
    for (int i = 0; i < 400; ++i)
        many += "測";
    // The documented record (0) when it carries the text whole, else the UTF-16 one.
    const std::pair<std::string, bool> records[] = {
        {"a.QV /P500", true}, {kE, cp == 1252}, {kJa, cp == 932}, {kE + kJa, false}, {many, false}};
    for (const auto& [text, documented] : records) {
        const HandOverRecord record(text);
        EXPECT_EQ(record.Data().dwData, documented ? 0 : kHandOverUtf16);
        EXPECT_EQ(ReadHandOver(record.Data()), text.substr(0, 359 * 3)); // 359 characters
    }
    // From another sender: 359 code-page bytes at most, without half a character.
    const std::string a358(358, 'a'), bytes = a358 + (cp == 932 ? "\x91\xAA" : "\xE9\xE9");
    EXPECT_EQ(ReadHandOver({0, 360, const_cast<char*>(bytes.data())}),
              a358 + (cp == 932 ? "" : "\xC3\xA9"));
    // What a start hands over: its command line after the program's name, 359 characters.
    const std::pair<std::wstring, std::string> lines[] = {
        {L"\"C:\\Q V\\QV.exe\"  a.QV /P", "a.QV /P"},
        {L"QV.exe " + std::wstring(400, L'測'), many.substr(0, 359 * 3)},
        {L"QV.exe\t" + std::wstring(358, L'a') + L"\U0001D11Ex", a358 + "\xF0\x9D\x84\x9E"}};
    for (const auto& [line, arguments] : lines)
        EXPECT_EQ(CommandLineArguments(line), arguments);
}

} // namespace
} // namespace qv

namespace qv {
namespace {

// The program itself in such a folder: it starts there (INIT.QV made beside it), opens a set
// named beyond ASCII that a second start hands over, shows its name, and keeps QV.INI there.
TEST(MainFormFolderTest, TheProgramRunsFromAFolderBeyondAscii) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring root = temp + std::to_wstring(GetCurrentProcessId()) + L"m\\";
    std::error_code leftOver; // of an earlier process with the same number
    std::filesystem::remove_all(std::filesystem::path(root), leftOver);
    ASSERT_TRUE(CreateDirectoryW(root.c_str(), nullptr));
    for (const std::wstring name : {L"Mesures é", L"測定 データ"}) {
        for (int lang : {0, 1}) {
            const std::wstring wdir = root + name + std::to_wstring(lang) + L"\\";
            ASSERT_TRUE(CreateDirectoryW(wdir.c_str(), nullptr));
            CopyFileW(Utf8ToWide(QV_KT54DLL_DIR "/KT54DLL.DLL").c_str(),
                      (wdir + L"KT54DLL.DLL").c_str(), FALSE);
            std::ofstream(std::filesystem::path(wdir + L"QV.INI"))
                << "[Special]\r\nEnglishMode=" << lang
                << "\r\n[Window]\r\nDispHelp=1\r\n[Version]\r\nVer=1.5\r\n";
            std::ofstream(std::filesystem::path(wdir + L"set é.QV")) << "[File]\r\nLength=2\r\n";
            {
                MainForm form(GetModuleHandleW(nullptr));
                ASSERT_TRUE(form.Create(WideToUtf8(wdir), "", SW_HIDE));
                SendMessageW(form.Window(), kMsgFirstActivation, 0, 0); // as if it were shown
                EXPECT_TRUE(FileExists(WideToUtf8(wdir) + "INIT.QV"));
                SendHandOver(form.Window(), "\"set é.QV\"");
                MSG msg; // the hand-over opens once the second start's message has returned
                while (PeekMessageW(&msg, form.Window(), kMsgHandedOver, kMsgHandedOver, PM_REMOVE))
                    DispatchMessageW(&msg);
                wchar_t caption[64] = {};
                GetWindowTextW(form.Window(), caption, 64);
                EXPECT_STREQ(caption, L"Quorvale - set é");
                DestroyWindow(form.Window());
                MSG quit; // the window's quit is not for the tests after it
                PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
            }
            EXPECT_NE(Bytes(wdir + L"QV.INI").find("[Wave8]"), std::string::npos);
            FreeLibrary(GetModuleHandleW((wdir + L"KT54DLL.DLL").c_str()));
        }
    }
    std::filesystem::remove_all(root);
}

} // namespace
} // namespace qv

#include "app/open_param_file.h"

#include "app/main_controls.h"
#include "files/file_messages.h"
#include "files/ini_file.h"
#include "files/param_file.h"
#include "files/wave_writer.h"
#include "generator/generator.h"
#include "platform/language.h"
#include "platform/ui.h"

namespace qv {

namespace {

constexpr Text2 kMsgNotQvExtension{"ファイル拡張子が 'QV' ではありません",
                                   "File Extent is not 'QV'."};
constexpr Text2 kMsgCannotOpenSet{"ファイルを開くことができません", "Unable to open file."};
// Texts that go into files and the comment box: Shift-JIS bytes (全ﾊﾟﾗﾒｰﾀを初期値に戻しました,
// 初期化用 INIT.QV を作成しました).
constexpr Text2 kInitComment{"\x91S\xCA\xDF\xD7\xD2\xB0\xC0\x82\xF0\x8F\x89\x8A\xFA\x92l\x82\xC9"
                             "\x96\xDF\x82\xB5\x82\xDC\x82\xB5\x82\xBD",
                             "All parameters are reset to initial value."};
constexpr Text2 kInitCreated{
    "\x8F\x89\x8A\xFA\x89\xBB\x97p INIT.QV \x82\xF0\x8D\xEC\x90\xAC\x82\xB5"
    "\x82\xDC\x82\xB5\x82\xBD",
    "INIT.QV has made for initialize."};

} // namespace

std::string BaseName(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0)
        name.resize(dot);
    return name;
}

bool CheckParamFilePath(const std::string& path, int lang, const OpenParamEnvironment& env) {
    if (!HasExtension(path, "QV")) {
        env.ui.Message(std::string(kMsgNotQvExtension(lang)) + "\n\n" + path, env.appTitle,
                       MsgIcon::Warning);
        return false;
    }
    if (!env.fileExists(path)) {
        env.ui.Message(std::string(kMsgCannotOpenSet(lang)) + "\n\n" + path, env.appTitle,
                       MsgIcon::Warning);
        return false;
    }
    return true;
}

bool LoadParamSet(const std::string& path, ParamSet& set, const OpenParamEnvironment& env) {
    const int lang = set.texts.Language();
    if (!CheckParamFilePath(path, lang, env))
        return false;
    LoadParamFile(*env.openIni(path), set);
    ReportInvalidFilterPoints(set, path, env.ui, lang, env.appTitle);
    return true;
}

std::array<UserWaveStatus, 2>
RegisterUserWaves(Generator& g, const std::function<bool(int, const std::string&)>& reg) {
    std::array<UserWaveStatus, 2> status{};
    for (int m : {0, 4}) {
        UserWaveSet& u = g.userWaves[m / 4];
        UserWaveStatus& result = status[m / 4];
        if (g.slots[m].waveform != kUserWave) {
            ClearUserWave(u);
            u.userWavePath.clear();
            result = UserWaveStatus::NotUsed;
        } else if (u.userWavePath.empty()) {
            ClearUserWave(u); // nothing registered plays nothing
            result = UserWaveStatus::NoFile;
        } else {
            result =
                reg && reg(m, u.userWavePath) ? UserWaveStatus::Registered : UserWaveStatus::Failed;
        }
    }
    return status;
}

void NameAfterFile(const std::string& path, const std::string& appTitle, OpenedNames& names) {
    const std::string base = BaseName(path);
    names.caption = appTitle + " - " + base;
    names.lastWaveFile = base + ".WAV";
    names.lastTextFile = base + ".QVT";
}

bool OpenParamFile(const std::string& path, Generator& g, MainControls& controls,
                   const OpenParamEnvironment& env, OpenedNames& names) {
    ParamSet set(controls.Language());
    if (!LoadParamSet(path, set, env))
        return false;
    controls.ApplyParamTable(set);
    (void)RegisterUserWaves(g, env.reregisterUserWave);
    controls.UserWavesChanged(); // the waveform hints name what is registered now
    NameAfterFile(path, env.appTitle, names);
    return true;
}

bool SaveParamSet(const std::string& path, const MainControls& controls,
                  const OpenParamEnvironment& env, OpenedNames& names) {
    ParamSet set(controls.Language());
    controls.CaptureParamTable(set);
    NameAfterFile(path, env.appTitle, names);
    if (SaveParamFile(*env.openIni(path), set, controls.ToolbarText(ToolbarControl::Comment)))
        return true;
    env.ui.Message(std::string(kMsgCannotWrite(controls.Language())) + "\n\n" + path, env.appTitle,
                   MsgIcon::Warning);
    return false;
}

bool CreateInitParamFile(const std::string& programDirectory, MainControls& controls,
                         const OpenParamEnvironment& env) {
    const std::string path = programDirectory + "INIT.QV";
    if (env.fileExists(path))
        return false;
    ParamSet set(controls.Language());
    controls.CaptureParamTable(set);
    SaveParamFile(*env.openIni(path), set, std::string(kInitComment(controls.Language())));
    controls.OnCommentText(kInitCreated(controls.Language()));
    return true;
}

} // namespace qv

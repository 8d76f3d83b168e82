#include "files/disk_space.h"

#include "files/file_messages.h"
#include "platform/output_file.h"
#include "platform/ui.h"

#include <cstdio>
#ifdef _WIN32
#include <direct.h>
#endif

namespace qv {

namespace {

struct Volume {
    std::string root;  // what the free-space query is asked about
    std::string label; // how the message names it
};

#ifdef _WIN32
Volume VolumeOf(std::string& path) {
    if (!(path.size() >= 1 && path[0] == '\\') && !(path.size() >= 2 && path[1] == ':')) {
        const int drive = _getdrive(); // 1 = A
        const char letter = static_cast<char>('A' + (drive > 0 ? drive - 1 : 2));
        path = std::string(1, letter) + ":" + path;
    }
    if (path[0] == '\\') { // a network path: its directory
        const size_t last = path.find_last_of("\\/");
        const std::string dir = path.substr(0, last + 1);
        return {dir, dir};
    }
    return {path.substr(0, 2) + "\\", path.substr(0, 2)};
}
#else
Volume VolumeOf(std::string& path) {
    const size_t last = path.find_last_of('/');
    const std::string dir = last == std::string::npos ? "."
                            : last == 0               ? "/"
                                                      : path.substr(0, last);
    return {dir, dir};
}
#endif

} // namespace

std::string MegabyteText(uint64_t bytes) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "%llu.%02lluMB",
                  static_cast<unsigned long long>(bytes / 1048576),
                  static_cast<unsigned long long>(bytes % 1048576 / 10486));
    return buf;
}

bool CheckDiskSpace(std::string& path, uint64_t* freeOut, const std::string& caption,
                    int languageIndex, uint64_t needed, Ui& ui) {
    const Volume volume = VolumeOf(path);
    const uint64_t available = FreeBytesForUser(volume.root);
    if (freeOut)
        *freeOut = available;
    if (needed <= available)
        return true;
    const std::string text = std::string(kMsgDiskSpaceBefore(languageIndex)) + " " + volume.label +
                             " " + kMsgDiskSpaceAfter(languageIndex) + "  (" +
                             MegabyteText(available) + ")\n\n" + path + "  (" +
                             MegabyteText(needed) + ")";
    ui.Message(text, caption, MsgIcon::Warning, MsgButtons::Ok, false);
    return false;
}

} // namespace qv

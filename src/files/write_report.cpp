#include "files/write_report.h"

#include "files/file_messages.h"
#include "files/wave_writer.h"
#include "platform/output_file.h"
#include "platform/ui.h"

namespace qv {

void WriteReporter::Report(const Text2& message, const std::string& path) const {
    ui.Message(std::string(message(languageIndex)) + "\n\n" + path, caption, MsgIcon::Warning);
}

bool WriteReporter::ExtensionFits(std::string& target, std::string_view letters,
                                  const Text2& wrongExtension) const {
    if (HasExtension(target, letters))
        return true;
    Report(wrongExtension, target);
    target = ReplaceExtension(target, "." + std::string(letters));
    return false;
}

bool WriteReporter::Create(OutputFile& file, const std::string& path) const {
    if (file.Create(path))
        return true;
    Report(kMsgCannotCreate, path);
    return false;
}

int WriteReporter::FailWrite(OutputFile& file, const std::string& path) const {
    file.Close();
    Report(kMsgCannotWrite, path);
    RemoveFile(path);
    return -1;
}

int WriteReporter::Finish(OutputFile& file, bool cancelled, const std::string& path) const {
    file.Close();
    if (cancelled) {
        ui.PumpMessages();
        Report(kMsgWriteStopped, path);
    }
    return 0;
}

} // namespace qv

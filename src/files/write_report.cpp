#include "files/write_report.h"

#include "files/file_messages.h"
#include "platform/output_file.h"
#include "platform/ui.h"

namespace qv {

void WriteReporter::Report(const Text2& message, const std::string& path) const {
    ui.Message(std::string(message(languageIndex)) + "\n\n" + path, caption, MsgIcon::Warning);
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

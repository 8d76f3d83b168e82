// Running a writer against a full disk: a child process with a file-size limit (SIGXFSZ
// ignored, so writes past the limit fail instead of killing it) writes path and reports.
#pragma once

#include "files/write_blocks.h"
#include "support/fake_ui.h"

#include <csignal>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace qv::test {

// The child's exit code: 10 + the writer's result, 20 when a message other than "Unable to
// write file." with the path came, 30 when the file was left on disk; -1 when it crashed.
inline int WriteUnderFileSizeLimit(const std::string& path, rlim_t limit,
                                   const std::function<int(RecordingUi&)>& write) {
    const pid_t pid = fork();
    if (pid == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit r {
            limit, limit
        };
        setrlimit(RLIMIT_FSIZE, &r);
        RecordingUi ui;
        const int result = write(ui);
        if (ui.messages.size() != 1 || ui.messages[0].text != "Unable to write file.\n\n" + path)
            _exit(20);
        if (std::filesystem::exists(path))
            _exit(30);
        _exit(10 + result);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A render that fills every block with one byte value.
inline FillFunction ConstantFill(uint8_t value) {
    return [value](uint8_t* out, uint32_t bytes, uint32_t) {
        std::memset(out, value, bytes);
        return bytes;
    };
}

} // namespace qv::test

#include "platform/output_file.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/statvfs.h>
#include <unistd.h>

namespace qv {

bool OutputFile::Create(const std::string& path) {
    Close();
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    handle_ = fd;
    return true;
}

size_t OutputFile::Write(const void* data, size_t size) {
    const int fd = static_cast<int>(handle_);
    return WriteInPieces(data, size, [fd](const char* p, size_t n) -> size_t {
        for (;;) {
            const ssize_t written = ::write(fd, p, n);
            if (written < 0 && errno == EINTR)
                continue;
            // 0 for a full disk, the file-size limit or an I/O error
            return written > 0 ? static_cast<size_t>(written) : 0;
        }
    });
}

bool OutputFile::SeekToStart() {
    return IsOpen() && ::lseek(static_cast<int>(handle_), 0, SEEK_SET) == 0;
}

void OutputFile::Close() {
    if (!IsOpen())
        return;
    ::close(static_cast<int>(handle_));
    handle_ = kInvalid;
}

bool RemoveFile(const std::string& path) {
    return ::unlink(path.c_str()) == 0;
}

uint64_t FreeBytesForUser(const std::string& directory) {
    // Like a drive root on Windows, the volume is asked even when the folder does not exist
    // (yet): the nearest existing ancestor stands for it, and creating the file then fails.
    std::string dir = directory.empty() ? "." : directory;
    struct statvfs info {};
    while (::statvfs(dir.c_str(), &info) != 0) {
        if (errno != ENOENT && errno != ENOTDIR)
            return 0;
        const size_t slash = dir.find_last_of('/');
        if (slash == std::string::npos) {
            if (dir == ".")
                return 0;
            dir = ".";
        } else if (slash == 0) {
            if (dir == "/")
                return 0;
            dir = "/";
        } else {
            dir.resize(slash);
        }
    }
    return static_cast<uint64_t>(info.f_bavail) * info.f_frsize;
}

} // namespace qv

#include "platform/output_file.h"

#include "platform/win/text_conversion.h"

#include <windows.h>

namespace qv {

namespace {
HANDLE AsHandle(intptr_t h) {
    return reinterpret_cast<HANDLE>(h);
}
} // namespace

bool OutputFile::Create(const std::string& path) {
    Close();
    HANDLE h = CreateFileW(Utf8ToWide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    handle_ = reinterpret_cast<intptr_t>(h);
    return true;
}

size_t OutputFile::Write(const void* data, size_t size) {
    const HANDLE h = AsHandle(handle_);
    return WriteInPieces(data, size, [h](const char* p, size_t n) -> size_t {
        const DWORD piece = static_cast<DWORD>(n > 0x40000000 ? 0x40000000 : n);
        DWORD written = 0;
        return WriteFile(h, p, piece, &written, nullptr) ? written : 0;
    });
}

bool OutputFile::SeekToStart() {
    return IsOpen() && SetFilePointer(AsHandle(handle_), 0, nullptr, FILE_BEGIN) == 0;
}

void OutputFile::Close() {
    if (!IsOpen())
        return;
    CloseHandle(AsHandle(handle_));
    handle_ = kInvalid;
}

bool RemoveFile(const std::string& path) {
    return DeleteFileW(Utf8ToWide(path).c_str()) != 0;
}

uint64_t FreeBytesForUser(const std::string& directory) {
    // GetDiskFreeSpaceExW reports the bytes this user may use (quotas included); it is looked up
    // at run time, with the cluster arithmetic of GetDiskFreeSpaceW as the fallback.
    using FreeSpaceEx = BOOL(WINAPI*)(LPCWSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);
    const std::wstring name = Utf8ToWide(directory);
    const wchar_t* root = directory.empty() ? nullptr : name.c_str();
    if (HMODULE kernel = GetModuleHandleW(L"kernel32.dll")) {
        auto ex = reinterpret_cast<FreeSpaceEx>(
            reinterpret_cast<void*>(GetProcAddress(kernel, "GetDiskFreeSpaceExW")));
        if (ex) {
            ULARGE_INTEGER available{}, total{}, free{};
            return ex(root, &available, &total, &free) ? available.QuadPart : 0;
        }
    }
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
    if (!GetDiskFreeSpaceW(root, &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters)) {
        return 0;
    }
    return static_cast<uint64_t>(freeClusters) * sectorsPerCluster * bytesPerSector;
}

} // namespace qv

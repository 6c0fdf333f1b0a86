#include "faces/win32/file_replace.h"

#include <windows.h>

#include "faces/win32/bounded_retry.h"
#include "faces/win32/handles.h"
#include "faces/win32/wide_text.h"

namespace kestrelink::win32 {
namespace {

// An antivirus or sync client opens a new file at once, for a moment, and the move must wait.
constexpr RetryBudget kMoveBudget{10, std::chrono::milliseconds(100)};

bool WriteAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 20));
        DWORD written = 0;
        if (WriteFile(file, bytes.data(), chunk, &written, nullptr) == 0 || written == 0) {
            return false;
        }
        bytes.remove_prefix(written);
    }
    return true;
}

}  // namespace

std::string SystemErrorText(unsigned long error) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    if (length == 0 || buffer == nullptr) {
        return "Error " + std::to_string(error);
    }
    std::wstring text(buffer, length);
    LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) {
        text.pop_back();
    }
    return WideToUtf8(text);
}

std::optional<std::string> ReplaceFileWhole(const std::string& path, std::string_view bytes) {
    const std::wstring target = Utf8ToWide(path);
    // Beside the target, so that the move stays on one volume and cannot be a half-done copy.
    const std::wstring temporary =
        target + L".kestrelink-" + std::to_wstring(GetCurrentProcessId());
    FileHandle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return SystemErrorText(GetLastError());
    }
    if (!WriteAll(file.Get(), bytes) || FlushFileBuffers(file.Get()) == 0) {
        const DWORD error = GetLastError();
        file.Close();
        DeleteFileW(temporary.c_str());
        return SystemErrorText(error);
    }
    if (!file.Close()) {
        const DWORD error = GetLastError();
        DeleteFileW(temporary.c_str());
        return SystemErrorText(error);
    }
    DWORD error = ERROR_SUCCESS;
    const bool moved = RetryWhileMomentary(
        kMoveBudget,
        [&] {
            if (MoveFileExW(temporary.c_str(), target.c_str(),
                            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0) {
                return true;
            }
            error = GetLastError();
            return false;
        },
        [&] { return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION; },
        SleepFor);
    if (!moved) {
        DeleteFileW(temporary.c_str());
        return SystemErrorText(error);
    }
    return std::nullopt;
}

FileContents ReadFileWhole(const std::string& path) {
    FileHandle file(CreateFileW(Utf8ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return {std::nullopt, SystemErrorText(GetLastError())};
    }
    std::string bytes;
    char chunk[65536];
    for (;;) {
        DWORD read = 0;
        if (ReadFile(file.Get(), chunk, sizeof chunk, &read, nullptr) == 0) {
            return {std::nullopt, SystemErrorText(GetLastError())};
        }
        if (read == 0) {
            return {std::move(bytes), {}};
        }
        bytes.append(chunk, read);
    }
}

}  // namespace kestrelink::win32

// The Windows side of the system calls. Paths arrive as UTF-8 and go to every
// call as UTF-16; files are read and written as bytes, never as text.
#if defined(_WIN32)

#include "platform/system.h"

#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#include <shellapi.h>

namespace rq::sys {

namespace {

std::wstring Wide(std::string_view utf8)
{
    if (utf8.empty())
        return {};
    const int size = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(size), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), size);
    return wide;
}

std::string Utf8(std::wstring_view wide)
{
    if (wide.empty())
        return {};
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string utf8(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), size, nullptr,
                          nullptr);
    return utf8;
}

// Windows' codes onto the faults the user is told about.
FileError FromWindows(DWORD code)
{
    const int c = static_cast<int>(code);
    switch (code) {
    case ERROR_SUCCESS: return {};
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH: return {FileFault::NotFound, c};
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_DIRECTORY:
    case ERROR_FILENAME_EXCED_RANGE: return {FileFault::InvalidName, c};
    case ERROR_TOO_MANY_OPEN_FILES: return {FileFault::TooManyOpenFiles, c};
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT: return {FileFault::AccessDenied, c};
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
    case ERROR_FILE_TOO_LARGE: return {FileFault::DiskFull, c};
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return {FileFault::Exists, c};
    default: return {FileFault::Other, c};
    }
}

FileError LastError() { return FromWindows(::GetLastError()); }

HANDLE Handle(FileHandle handle) { return reinterpret_cast<HANDLE>(handle); }

}  // namespace

std::optional<FileInfo> Inspect(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (path.empty() || !::GetFileAttributesExW(Wide(path).c_str(), GetFileExInfoStandard, &data))
        return std::nullopt;
    FileInfo info;
    info.folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    return info;
}

bool NameTaken(const std::string& path)
{
    return !path.empty() && ::GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A save replaces the name itself; the programs that keep DVD-RB projects
// never make them symbolic links.
std::string ResolveLinks(const std::string& path) { return path; }

FileError CheckReplaceable(const std::string& path)
{
    const std::wstring wide = Wide(path);
    const DWORD attributes = ::GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return {};  // nothing to replace
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return FromWindows(ERROR_DIRECTORY);
    if (attributes & FILE_ATTRIBUTE_READONLY)
        return FromWindows(ERROR_ACCESS_DENIED);
    // Opening it for writing and deleting, sharing everything, fails just when
    // another program holds it without sharing, or the user may not write it.
    const HANDLE h = ::CreateFileW(wide.c_str(), GENERIC_WRITE | DELETE,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const FileError error = LastError();
        return error.Fault() == FileFault::NotFound ? FileError() : error;
    }
    ::CloseHandle(h);
    return {};
}

std::vector<std::string> FolderNames(const std::string& folder)
{
    std::vector<std::string> names;
    std::string pattern = folder;
    if (!pattern.empty() && !IsPathSeparator(pattern.back()))
        pattern += '\\';
    pattern += '*';
    WIN32_FIND_DATAW found{};
    const HANDLE h = ::FindFirstFileW(Wide(pattern).c_str(), &found);
    if (h == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::wstring_view name = found.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(Utf8(name));
    } while (::FindNextFileW(h, &found));
    ::FindClose(h);
    return names;
}

FileError CheckFolderWritable(const std::string&)
{
    // Windows ignores the read-only attribute of a folder; the creation of the
    // new file tells whether the user may write there.
    return {};
}

namespace {

// The volume and the file index that tell one file from another.
struct FileIdentity {
    DWORD volume = 0, high = 0, low = 0;
};

std::optional<FileIdentity> IdentityOf(const std::string& path)
{
    const HANDLE h = ::CreateFileW(Wide(path).c_str(), FILE_READ_ATTRIBUTES,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                   FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool ok = ::GetFileInformationByHandle(h, &info) != 0;
    ::CloseHandle(h);
    if (!ok)
        return std::nullopt;
    return FileIdentity{info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
}

class HandleCloser {
public:
    explicit HandleCloser(HANDLE h) : h_(h) {}
    ~HandleCloser() { ::CloseHandle(h_); }
    HandleCloser(const HandleCloser&) = delete;
    HandleCloser& operator=(const HandleCloser&) = delete;

private:
    HANDLE h_;
};

}  // namespace

bool HeldByAnotherProgram(const FileError& err)
{
    return err.Fault() == FileFault::AccessDenied &&
           (err.Code() == ERROR_SHARING_VIOLATION || err.Code() == ERROR_LOCK_VIOLATION);
}

bool SameFile(const std::string& a, const std::string& b)
{
    const std::optional<FileIdentity> x = IdentityOf(a);
    const std::optional<FileIdentity> y = IdentityOf(b);
    return x && y && x->volume == y->volume && x->high == y->high && x->low == y->low;
}

bool IsPlainFile(const std::string& path)
{
    const DWORD attributes = ::GetFileAttributesW(Wide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE)) == 0;
}

FileError ReadWholeFile(const std::string& path, std::string& bytes)
{
    const std::wstring wide = Wide(path);
    // A folder where a file belongs gets the same error as on Linux.
    const DWORD attributes = ::GetFileAttributesW(wide.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return FromWindows(ERROR_DIRECTORY);
    const HANDLE h = ::CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return LastError();
    const HandleCloser closer(h);
    // A pipe, the console or a device (NUL, COM1) is no project file.
    if (::GetFileType(h) != FILE_TYPE_DISK)
        return {FileFault::NotAFile, 0};
    bytes.clear();
    LARGE_INTEGER size{};
    if (::GetFileSizeEx(h, &size)) {
        if (size.QuadPart > kMaxProjectFileBytes)
            return {FileFault::TooLarge, 0};
        if (size.QuadPart > 0)
            bytes.reserve(static_cast<size_t>(size.QuadPart));
    }
    char chunk[65536];
    for (;;) {
        DWORD n = 0;
        if (!::ReadFile(h, chunk, sizeof chunk, &n, nullptr))
            return LastError();
        if (n == 0)
            return {};
        if (bytes.size() + n > static_cast<size_t>(kMaxProjectFileBytes))
            return {FileFault::TooLarge, 0};
        bytes.append(chunk, n);
    }
}

FileError CreateNewFile(const std::string& path, const FileInfo*, FileHandle& handle)
{
    const HANDLE h = ::CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                   nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return LastError();
    handle = reinterpret_cast<FileHandle>(h);
    return {};
}

FileError WriteFile(FileHandle handle, std::string_view bytes)
{
    while (!bytes.empty()) {
        const DWORD chunk = bytes.size() > (1u << 30) ? (1u << 30) : static_cast<DWORD>(bytes.size());
        DWORD n = 0;
        if (!::WriteFile(Handle(handle), bytes.data(), chunk, &n, nullptr))
            return LastError();
        if (n == 0)
            return FromWindows(ERROR_DISK_FULL);
        bytes.remove_prefix(n);
    }
    return {};
}

FileError FlushFile(FileHandle handle)
{
    return ::FlushFileBuffers(Handle(handle)) ? FileError() : LastError();
}

FileError CloseFile(FileHandle handle) { return ::CloseHandle(Handle(handle)) ? FileError() : LastError(); }

FileError LinkFile(const std::string& file, const std::string& backup)
{
    if (::CreateHardLinkW(Wide(backup).c_str(), Wide(file).c_str(), nullptr))
        return {};
    const DWORD code = ::GetLastError();
    switch (code) {
    case ERROR_INVALID_FUNCTION:  // FAT32, exFAT
    case ERROR_NOT_SUPPORTED:
    case ERROR_NOT_SAME_DEVICE:
    case ERROR_TOO_MANY_LINKS:
    case ERROR_CALL_NOT_IMPLEMENTED: return {FileFault::LinksUnsupported, static_cast<int>(code)};
    default: return FromWindows(code);
    }
}

FileError RenameOver(const std::string& from, const std::string& to)
{
    return ::MoveFileExW(Wide(from).c_str(), Wide(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
               ? FileError()
               : LastError();
}

FileError RenameBeside(const std::string& from, const std::string& to)
{
    // Without MOVEFILE_REPLACE_EXISTING an existing name is refused.
    return ::MoveFileExW(Wide(from).c_str(), Wide(to).c_str(), MOVEFILE_WRITE_THROUGH) ? FileError() : LastError();
}

FileError RemoveFile(const std::string& path)
{
    return ::DeleteFileW(Wide(path).c_str()) ? FileError() : LastError();
}

// MOVEFILE_WRITE_THROUGH has put the rename on the disk already.
void FlushFolder(const std::string&) {}

long long ProcessId() { return static_cast<long long>(::GetCurrentProcessId()); }

bool ProcessAlive(long long pid)
{
    if (pid <= 0 || pid > 0xFFFFFFFFLL)
        return false;
    const HANDLE h = ::OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(pid));
    if (h == nullptr)
        return ::GetLastError() == ERROR_ACCESS_DENIED;  // there, but another user's
    const bool running = ::WaitForSingleObject(h, 0) == WAIT_TIMEOUT;
    ::CloseHandle(h);
    return running;
}

namespace {

volatile LONG g_saving = 0;

// Runs on a thread of its own: it waits for the save, then lets the next
// handler (the system's, which ends the program) have the request.
BOOL WINAPI WaitForTheSave(DWORD)
{
    while (::InterlockedCompareExchange(&g_saving, 0, 0) != 0)
        ::Sleep(5);
    return FALSE;
}

}  // namespace

InterruptionsHeld::InterruptionsHeld()
{
    ::InterlockedExchange(&g_saving, 1);
    ::SetConsoleCtrlHandler(WaitForTheSave, TRUE);
}

InterruptionsHeld::~InterruptionsHeld()
{
    ::InterlockedExchange(&g_saving, 0);
    ::SetConsoleCtrlHandler(WaitForTheSave, FALSE);
}

RegionalSeparators ReadRegionalSeparators()
{
    RegionalSeparators s;
    const auto one = [](LCTYPE type) -> std::optional<char> {
        wchar_t text[8] = {};
        if (::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, text, 8) == 2 && text[0] > 0 && text[0] < 128)
            return static_cast<char>(text[0]);
        return std::nullopt;
    };
    s.decimal = one(LOCALE_SDECIMAL);
    s.thousands = one(LOCALE_STHOUSAND);
    return s;
}

void PrepareProcess()
{
    // A missing floppy or card reader raises no dialog box; the error comes back.
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
}

std::vector<std::string> CommandLineArguments(int, char**)
{
    std::vector<std::string> args;
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (wide == nullptr)
        return args;
    for (int i = 1; i < count; ++i)
        args.push_back(Utf8(wide[i]));
    ::LocalFree(wide);
    return args;
}

void BinaryStandardStreams()
{
    std::fflush(stdout);
    std::fflush(stderr);
    ::_setmode(::_fileno(stdout), _O_BINARY);
    ::_setmode(::_fileno(stderr), _O_BINARY);
}

}  // namespace rq::sys

#endif

#include "project/file_ops.h"

namespace rq {

namespace {

FileOps* g_installed = nullptr;

}  // namespace

FileError FileOps::Create(const std::string& path, const FileInfo* like, FileHandle& handle)
{
    return sys::CreateNewFile(path, like, handle);
}

FileError FileOps::Write(FileHandle handle, std::string_view bytes) { return sys::WriteFile(handle, bytes); }
FileError FileOps::Flush(FileHandle handle) { return sys::FlushFile(handle); }
FileError FileOps::Close(FileHandle handle) { return sys::CloseFile(handle); }

FileError FileOps::Link(const std::string& file, const std::string& backup) { return sys::LinkFile(file, backup); }

FileError FileOps::Rename(const std::string& from, const std::string& to, Replacing replacing)
{
    return replacing == Replacing::Allowed ? sys::RenameOver(from, to) : sys::RenameBeside(from, to);
}

FileError FileOps::Remove(const std::string& path) { return sys::RemoveFile(path); }

FileOps& CurrentFileOps()
{
    static FileOps real;
    return g_installed ? *g_installed : real;
}

void SetFileOps(FileOps* ops) { g_installed = ops; }

}  // namespace rq

#include "platform/DurableFile.h"

#include <atomic>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::atomic<FileReplaceFaultHook> g_faultHook{nullptr};
std::atomic<unsigned> g_tempCounter{0};

bool Faulted(FileReplaceStep step)
{
    const FileReplaceFaultHook hook = g_faultHook.load(std::memory_order_relaxed);
    return hook != nullptr && hook(step);
}

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

void SyncFolder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// A temporary file of its own beside path, created with mode (the umask
// applies, as it would to the file itself); -1 when none can be made.
int CreateTemporary(const std::string& path, mode_t mode, std::string& temp)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp = path + ".tmp." + std::to_string(::getpid()) + "." + std::to_string(g_tempCounter++);
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

}  // namespace

bool WriteFully(int fd, std::string_view data)
{
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

void SetFileReplaceFaultHook(FileReplaceFaultHook hook)
{
    g_faultHook.store(hook);
}

bool ReplaceFileDurably(const std::string& path, std::string_view contents, int mode)
{
    std::string temp;
    // A given mode applies from the start, so the text is never readable by more.
    const mode_t createMode = mode == kKeepFileMode ? 0666 : static_cast<mode_t>(mode);
    const int fd = Faulted(FileReplaceStep::Create) ? -1 : CreateTemporary(path, createMode, temp);
    if (fd < 0)
        return false;

    bool ok = true;
    if (mode != kKeepFileMode) {
        ok = ::fchmod(fd, static_cast<mode_t>(mode)) == 0;
    } else {
        struct stat st {};
        if (::stat(path.c_str(), &st) == 0)
            (void)::fchmod(fd, st.st_mode & 07777);
    }
    // In two halves, so that a test can fail (or stop) the write part way.
    const std::size_t half = contents.size() / 2;
    ok = ok && WriteFully(fd, contents.substr(0, half)) && !Faulted(FileReplaceStep::Write) &&
         WriteFully(fd, contents.substr(half));
    ok = ok && !Faulted(FileReplaceStep::Sync) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && !Faulted(FileReplaceStep::Rename) && ::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    SyncFolder(FolderOf(path));
    return true;
}

#include "coralind/TrackLibraryFile.h"

#include "coralind/TrackMap.h"
#include "platform/DurableFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

std::atomic<LibraryFileFaultHook> g_faultHook{nullptr};

bool Faulted(LibraryFileStep step)
{
    const LibraryFileFaultHook hook = g_faultHook.load(std::memory_order_relaxed);
    return hook && hook(step);
}

// Closes the descriptor when it goes out of scope.
class CFd {
public:
    explicit CFd(int fd) : m_fd(fd) {}
    CFd(const CFd&) = delete;
    CFd& operator=(const CFd&) = delete;
    ~CFd()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    int Get() const { return m_fd; }
    bool Close()
    {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

void AppendLine(std::string& out, std::int32_t id, std::string_view path)
{
    char number[16];
    const auto end = std::to_chars(number, number + sizeof number, id).ptr;
    out.append(number, end);
    out += ',';
    out.append(path);
    out += '\n';
}

}  // namespace

void SetLibraryFileFaultHook(LibraryFileFaultHook hook)
{
    g_faultHook.store(hook);
}

std::int32_t ParseTrackNumber(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > std::int64_t{INT_MAX} + 1)
            value = std::int64_t{INT_MAX} + 1;  // saturate; the clamp below finishes it
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        value = INT_MAX;
    return static_cast<std::int32_t>(value);
}

void ApplyLibraryText(std::string_view text, CTrackMap& map)
{
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        // A file carried over from Windows ends its lines with CR LF.
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        const std::size_t comma = line.find(',');
        std::int32_t id;
        std::string_view path;
        if (comma == std::string_view::npos) {
            id = 0;
            path = line;
        } else {
            id = ParseTrackNumber(line.substr(0, comma));
            path = line.substr(comma + 1);
        }
        if (path.empty())
            map.Remove(id);
        else
            map.Set(id, path);
    }
}

bool CTrackLibraryFile::Read(CTrackMap& map)
{
    if (Faulted(LibraryFileStep::Open))
        return false;
    CFd fd(::open(m_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666));
    if (fd.Get() < 0)
        return false;
    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    // Read without zero-filling first: the buffer is overwritten anyway.
    std::size_t capacity = static_cast<std::size_t>(st.st_size) + 1;
    auto buffer = std::make_unique_for_overwrite<char[]>(capacity);
    std::size_t got = 0;
    for (;;) {
        if (got == capacity) {  // the file grew while we read
            auto bigger = std::make_unique_for_overwrite<char[]>(capacity * 2);
            std::memcpy(bigger.get(), buffer.get(), got);
            buffer = std::move(bigger);
            capacity *= 2;
        }
        const ssize_t n = ::read(fd.Get(), buffer.get() + got, capacity - got);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    if (Faulted(LibraryFileStep::Read))
        return false;
    const std::string_view text(buffer.get(), got);
    map.Reserve(map.Size() + static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
    ApplyLibraryText(text, map);
    return true;
}

bool CTrackLibraryFile::Compact(const CTrackMap& map)
{
    std::string text;
    text.reserve(map.Size() * 48);
    map.ForEach([&text](std::int32_t id, std::string_view path) { AppendLine(text, id, path); });

    // The library keeps its own permissions.
    return ReplaceFileDurably(m_path, text, kKeepFileMode);
}

bool CTrackLibraryFile::AppendEntry(std::int32_t id, std::string_view path)
{
    if (Faulted(LibraryFileStep::Open))
        return false;
    CFd fd(::open(m_path.c_str(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC, 0666));
    if (fd.Get() < 0)
        return false;
    const off_t size = ::lseek(fd.Get(), 0, SEEK_END);
    if (size < 0)
        return false;
    std::string line;
    // A torn last line (a crash mid-append) must not swallow this one.
    char last = '\n';
    if (size > 0 && ::pread(fd.Get(), &last, 1, size - 1) != 1)
        return false;
    if (last != '\n')
        line += '\n';
    AppendLine(line, id, path);
    const std::size_t half = line.size() / 2;
    const std::string_view text(line);
    const bool ok = WriteFully(fd.Get(), text.substr(0, half)) && !Faulted(LibraryFileStep::Append) &&
                    WriteFully(fd.Get(), text.substr(half));
    if (!ok) {
        // Take back a partial line so the next append starts on a line of its own.
        (void)::ftruncate(fd.Get(), size);
        return false;
    }
    return fd.Close();
}

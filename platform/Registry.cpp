#include "platform/Registry.h"

#include "platform/DurableFile.h"
#include "platform/HexDigit.h"
#include "platform/Text.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <utility>

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

// Layout: <root>/<hive>/<key>/<sub-key>/..., one folder per key named after the
// lower-cased, percent-escaped key name. Each folder holds "@values.reg" (the
// key's display path and its values) and "@lock". Escaped names never contain
// '@', so these files cannot clash with a sub-key's folder.
namespace {

constexpr const char* kValuesFile = "@values.reg";
constexpr const char* kLockFile = "@lock";
constexpr const char* kBadFile = "@values.bad";
constexpr std::size_t kMaxFolderName = 255;

char LowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string Lower(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = LowerAscii(c);
    return out;
}

bool NamesEqual(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

std::vector<std::string> SplitPath(std::string_view path)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('\\', start);
        if (end == std::string_view::npos)
            end = path.size();
        if (end > start)
            parts.emplace_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

const char kHex[] = "0123456789ABCDEF";
const char kLowerHex[] = "0123456789abcdef";

void AppendPercent(std::string& out, unsigned char c)
{
    out += '%';
    out += kHex[c >> 4];
    out += kHex[c & 15];
}

// Folder name of one key: safe for any bytes, never "." or "..", never '@'.
std::string FolderName(std::string_view name)
{
    std::string out;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto c = static_cast<unsigned char>(LowerAscii(name[i]));
        if (c < 0x20 || c >= 0x7f || c == '%' || c == '/' || c == '@' || (i == 0 && c == '.'))
            AppendPercent(out, c);
        else
            out += static_cast<char>(c);
    }
    return out;
}

// Key names inside the "[...]" line: readable, with only the bytes that would
// break the line escaped.
std::string HeaderName(std::string_view name)
{
    std::string out;
    for (char ch : name) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c == 0x7f || c == '%' || c == '[' || c == ']')
            AppendPercent(out, c);
        else
            out += ch;
    }
    return out;
}

const char* HiveFolder(RegHive hive)
{
    switch (hive) {
    case RegHive::CurrentUser: return "hkey_current_user";
    case RegHive::LocalMachine: return "hkey_local_machine";
    case RegHive::ClassesRoot: return "hkey_classes_root";
    }
    return "hkey_unknown";
}

// ---- the values file ----

struct KeyData {
    std::string header;  // display path, hive first, without brackets
    std::vector<std::pair<std::string, RegValue>> values;

    std::pair<std::string, RegValue>* Find(std::string_view name)
    {
        for (auto& entry : values)
            if (NamesEqual(entry.first, name))
                return &entry;
        return nullptr;
    }
};

enum class LoadStatus { Ok, Missing, Bad };

void Report(const std::string& file, const char* what)
{
    std::fprintf(stderr, "corvanta registry: %s: %s; treating the key as empty\n", file.c_str(), what);
}

bool ReadWholeFile(const std::string& file, std::string& out, int& error)
{
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = errno;
        return false;
    }
    out.clear();
    char buffer[8192];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            error = errno;
            ::close(fd);
            return false;
        }
        if (n == 0)
            break;
        out.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return true;
}

void AppendQuoted(std::string& out, std::string_view text)
{
    out += '"';
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        switch (ch) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20 || c == 0x7f) {
                out += "\\x";
                out += kHex[c >> 4];
                out += kHex[c & 15];
            } else {
                out += ch;
            }
        }
    }
    out += '"';
}

// Reads a quoted text at pos (which holds the opening quote); pos ends past the closing quote.
bool ParseQuoted(std::string_view line, std::size_t& pos, std::string& out)
{
    if (pos >= line.size() || line[pos] != '"')
        return false;
    out.clear();
    for (++pos; pos < line.size(); ++pos) {
        const char c = line[pos];
        if (c == '"') {
            ++pos;
            return true;
        }
        if (c != '\\') {
            out += c;
            continue;
        }
        if (++pos >= line.size())
            return false;
        switch (line[pos]) {
        case '"': out += '"'; break;
        case '\\': out += '\\'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case '0': out += '\0'; break;
        case 'x': {
            if (pos + 2 >= line.size())
                return false;
            const int hi = HexDigitValue(line[pos + 1]);
            const int lo = HexDigitValue(line[pos + 2]);
            if (hi < 0 || lo < 0)
                return false;
            out += static_cast<char>(hi * 16 + lo);
            pos += 2;
            break;
        }
        default: return false;
        }
    }
    return false;
}

void AppendValue(std::string& out, const std::string& name, const RegValue& value)
{
    if (name.empty())
        out += '@';
    else
        AppendQuoted(out, name);
    out += '=';
    const auto& d = value.data;
    const bool plainText = value.type == RegType::String && !d.empty() && d.back() == 0 &&
                           std::find(d.begin(), d.end() - 1, 0) == d.end() - 1;
    if (plainText) {
        AppendQuoted(out, std::string_view(reinterpret_cast<const char*>(d.data()), d.size() - 1));
    } else if (value.type == RegType::Dword && d.size() == 4) {
        const std::uint32_t n = d[0] | (d[1] << 8) | (d[2] << 16) | (static_cast<std::uint32_t>(d[3]) << 24);
        char text[16];
        std::snprintf(text, sizeof text, "dword:%08x", n);
        out += text;
    } else {
        if (value.type == RegType::Binary) {
            out += "hex:";
        } else {
            char text[24];
            std::snprintf(text, sizeof text, "hex(%x):", static_cast<unsigned>(value.type));
            out += text;
        }
        for (std::size_t i = 0; i < d.size(); ++i) {
            if (i)
                out += ',';
            out += kLowerHex[d[i] >> 4];
            out += kLowerHex[d[i] & 15];
        }
    }
    out += '\n';
}

bool ParseHexBytes(std::string_view text, std::vector<std::uint8_t>& out)
{
    out.clear();
    std::size_t pos = 0;
    while (pos < text.size()) {
        while (pos < text.size() && text[pos] == ' ')
            ++pos;
        if (pos >= text.size())
            break;
        if (pos + 2 > text.size())
            return false;
        const int hi = HexDigitValue(text[pos]);
        const int lo = HexDigitValue(text[pos + 1]);
        if (hi < 0 || lo < 0)
            return false;
        out.push_back(static_cast<std::uint8_t>(hi * 16 + lo));
        pos += 2;
        while (pos < text.size() && text[pos] == ' ')
            ++pos;
        if (pos < text.size()) {
            if (text[pos] != ',')
                return false;
            ++pos;
            if (pos >= text.size())
                return false;
        }
    }
    return true;
}

bool ParseValueLine(std::string_view line, std::string& name, RegValue& value)
{
    std::size_t pos = 0;
    if (line[0] == '@') {
        name.clear();
        pos = 1;
    } else if (!ParseQuoted(line, pos, name) || name.empty()) {
        return false;
    }
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t'))
        ++pos;
    if (pos >= line.size() || line[pos] != '=')
        return false;
    ++pos;
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t'))
        ++pos;
    std::string_view rest = line.substr(pos);
    while (!rest.empty() && (rest.back() == ' ' || rest.back() == '\t'))
        rest.remove_suffix(1);
    if (!rest.empty() && rest[0] == '"') {
        std::size_t at = 0;
        std::string text;
        if (!ParseQuoted(rest, at, text) || at != rest.size())
            return false;
        value.type = RegType::String;
        value.data.assign(text.begin(), text.end());
        value.data.push_back(0);
        return true;
    }
    if (rest.starts_with("dword:")) {
        rest.remove_prefix(6);
        if (rest.empty() || rest.size() > 8)
            return false;
        std::uint32_t n = 0;
        for (char c : rest) {
            const int digit = HexDigitValue(c);
            if (digit < 0)
                return false;
            n = n * 16 + static_cast<std::uint32_t>(digit);
        }
        value.type = RegType::Dword;
        value.data = {static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(n >> 8),
                      static_cast<std::uint8_t>(n >> 16), static_cast<std::uint8_t>(n >> 24)};
        return true;
    }
    if (rest.starts_with("hex:")) {
        value.type = RegType::Binary;
        return ParseHexBytes(rest.substr(4), value.data);
    }
    if (rest.starts_with("hex(")) {
        const std::size_t close = rest.find("):");
        if (close == std::string_view::npos || close == 4 || close > 12)
            return false;
        std::uint32_t type = 0;
        for (char c : rest.substr(4, close - 4)) {
            const int digit = HexDigitValue(c);
            if (digit < 0)
                return false;
            type = type * 16 + static_cast<std::uint32_t>(digit);
        }
        value.type = static_cast<RegType>(type);
        return ParseHexBytes(rest.substr(close + 2), value.data);
    }
    return false;
}

bool ParseKeyFile(std::string_view text, KeyData& out)
{
    out = KeyData{};
    bool haveHeader = false;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        const std::size_t first = line.find_first_not_of(" \t");
        if (first == std::string_view::npos || line[first] == ';')
            continue;
        line.remove_prefix(first);
        if (!haveHeader) {
            if (line.front() != '[' || line.back() != ']' || line.size() < 3)
                return false;
            out.header = PercentDecode(line.substr(1, line.size() - 2));
            haveHeader = true;
            continue;
        }
        // Long hex data may go on over lines ending in a backslash, as regedit writes it.
        std::string joined(line);
        while (!joined.empty() && joined.back() == '\\' && start < text.size()) {
            joined.pop_back();
            end = text.find('\n', start);
            if (end == std::string_view::npos)
                end = text.size();
            std::string_view more = text.substr(start, end - start);
            start = end + 1;
            if (!more.empty() && more.back() == '\r')
                more.remove_suffix(1);
            const std::size_t lead = more.find_first_not_of(" \t");
            joined += lead == std::string_view::npos ? std::string_view() : more.substr(lead);
        }
        std::string name;
        RegValue value;
        if (!ParseValueLine(joined, name, value))
            return false;
        if (auto* existing = out.Find(name))
            existing->second = std::move(value);
        else
            out.values.emplace_back(std::move(name), std::move(value));
    }
    return haveHeader;
}

std::string FormatKeyFile(const KeyData& data)
{
    std::string out = "; Corvanta registry key: a display path, then one value a line.\n[";
    for (const auto& part : SplitPath(data.header)) {
        if (out.back() != '[')
            out += '\\';
        out += HeaderName(part);
    }
    out += "]\n";
    for (const auto& [name, value] : data.values)
        AppendValue(out, name, value);
    return out;
}

LoadStatus LoadKey(const std::string& folder, KeyData& out)
{
    const std::string file = folder + "/" + kValuesFile;
    std::string text;
    int error = 0;
    if (!ReadWholeFile(file, text, error)) {
        if (error == ENOENT)
            return LoadStatus::Missing;
        Report(file, std::strerror(error));
        return LoadStatus::Bad;
    }
    if (!ParseKeyFile(text, out)) {
        Report(file, "cannot be parsed");
        out = KeyData{};
        return LoadStatus::Bad;
    }
    return LoadStatus::Ok;
}

// ---- files and folders ----

bool IsFolder(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool MakeFolder(const std::string& path)
{
    if (::mkdir(path.c_str(), 0700) == 0)
        return ::chmod(path.c_str(), 0700) == 0;
    return errno == EEXIST && IsFolder(path);
}

bool MakeFolders(const std::string& path)
{
    if (path.empty() || IsFolder(path))
        return !path.empty();
    const std::size_t slash = path.find_last_of('/');
    if (slash != std::string::npos && slash > 0 && !MakeFolders(path.substr(0, slash)))
        return false;
    return MakeFolder(path);
}

// Replaces folder/name with text so that a reader sees either the old or the
// new file; owner-only, as the preferences may hold a password.
bool ReplaceFile(const std::string& folder, const char* name, const std::string& text)
{
    return ReplaceFileDurably(folder + "/" + name, text, 0600);
}

// Exclusive lock on a key's lock file for one read-modify-write.
class CKeyLock {
public:
    explicit CKeyLock(const std::string& folder)
    {
        const std::string file = folder + "/" + kLockFile;
        m_fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (m_fd < 0)
            return;
        ::fchmod(m_fd, 0600);
        while (::flock(m_fd, LOCK_EX) != 0) {
            if (errno != EINTR) {
                ::close(m_fd);
                m_fd = -1;
                return;
            }
        }
    }
    ~CKeyLock()
    {
        if (m_fd >= 0)
            ::close(m_fd);  // releases the lock
    }
    CKeyLock(const CKeyLock&) = delete;
    CKeyLock& operator=(const CKeyLock&) = delete;
    bool Held() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};

std::string HiveRoot(RegHive hive)
{
    return RegistryRootFolder() + "/" + HiveFolder(hive);
}

// The folder of a key, or empty when a name is too long to store.
std::string KeyFolder(RegHive hive, const std::vector<std::string>& parts)
{
    std::string folder = HiveRoot(hive);
    for (const auto& part : parts) {
        const std::string name = FolderName(part);
        if (name.size() > kMaxFolderName)
            return {};
        folder += "/" + name;
    }
    return folder;
}

std::string JoinPath(const std::vector<std::string>& parts)
{
    std::string out;
    for (const auto& part : parts) {
        if (!out.empty())
            out += '\\';
        out += part;
    }
    return out;
}

std::string LastPart(std::string_view path)
{
    const std::size_t slash = path.find_last_of('\\');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

// Writes the key's file with its display path when the key has none yet.
bool EnsureKeyFile(const std::string& folder, const std::string& displayPath)
{
    CKeyLock lock(folder);
    if (!lock.Held())
        return false;
    struct stat st {};
    const std::string file = folder + "/" + kValuesFile;
    if (::stat(file.c_str(), &st) == 0)
        return true;
    KeyData data;
    data.header = displayPath;
    return ReplaceFile(folder, kValuesFile, FormatKeyFile(data));
}

std::atomic<unsigned> g_deleteCounter{0};

}  // namespace

std::string RegistryRootFolder()
{
    if (const char* dir = std::getenv("CORVANTA_REGISTRY_DIR"); dir && *dir)
        return dir;
    std::string config;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/') {
        config = xdg;
    } else {
        const char* home = std::getenv("HOME");
        if (!home || !*home) {
            const passwd* pw = ::getpwuid(::getuid());
            home = pw ? pw->pw_dir : "/tmp";
        }
        config = std::string(home) + "/.config";
    }
    return config + "/corvanta/registry";
}

std::optional<RegHive> ParseRegHive(std::string_view name)
{
    struct Entry {
        const char* shortName;
        const char* longName;
        RegHive hive;
    };
    static const Entry entries[] = {
        {"HKCU", "HKEY_CURRENT_USER", RegHive::CurrentUser},
        {"HKLM", "HKEY_LOCAL_MACHINE", RegHive::LocalMachine},
        {"HKCR", "HKEY_CLASSES_ROOT", RegHive::ClassesRoot},
    };
    for (const auto& entry : entries)
        if (NamesEqual(name, entry.shortName) || NamesEqual(name, entry.longName))
            return entry.hive;
    return std::nullopt;
}

const char* RegHiveName(RegHive hive)
{
    switch (hive) {
    case RegHive::CurrentUser: return "HKEY_CURRENT_USER";
    case RegHive::LocalMachine: return "HKEY_LOCAL_MACHINE";
    case RegHive::ClassesRoot: return "HKEY_CLASSES_ROOT";
    }
    return "HKEY_UNKNOWN";
}

CRegKey::CRegKey(RegHive hive, std::string path, std::string folder)
    : m_hive(hive), m_path(std::move(path)), m_folder(std::move(folder))
{
}

CRegKey::~CRegKey() = default;

std::unique_ptr<CRegKey> CRegKey::Open(RegHive hive, std::string_view path)
{
    const auto parts = SplitPath(path);
    const std::string folder = KeyFolder(hive, parts);
    if (folder.empty() || !IsFolder(folder))
        return nullptr;
    return std::unique_ptr<CRegKey>(new CRegKey(hive, JoinPath(parts), folder));
}

std::unique_ptr<CRegKey> CRegKey::Create(RegHive hive, std::string_view path)
{
    const auto parts = SplitPath(path);
    if (KeyFolder(hive, parts).empty())
        return nullptr;
    std::string folder = HiveRoot(hive);
    std::string display = RegHiveName(hive);
    if (!MakeFolders(folder) || !EnsureKeyFile(folder, display))
        return nullptr;
    for (const auto& part : parts) {
        folder += "/" + FolderName(part);
        KeyData existing;
        if (IsFolder(folder) && LoadKey(folder, existing) == LoadStatus::Ok && !existing.header.empty()) {
            display = existing.header;
            continue;
        }
        display += "\\" + part;
        if (!MakeFolder(folder) || !EnsureKeyFile(folder, display))
            return nullptr;
    }
    return std::unique_ptr<CRegKey>(new CRegKey(hive, JoinPath(parts), folder));
}

bool CRegKey::DeleteTree(RegHive hive, std::string_view path)
{
    const auto parts = SplitPath(path);
    if (parts.empty())
        return false;  // a hive itself cannot be deleted
    const std::string folder = KeyFolder(hive, parts);
    if (folder.empty() || !IsFolder(folder))
        return false;
    // Move the tree out of sight in one step, then remove it at leisure.
    const std::string parent = folder.substr(0, folder.find_last_of('/'));
    const std::string doomed = parent + "/@del." + std::to_string(::getpid()) + "." + std::to_string(g_deleteCounter++);
    std::error_code ec;
    if (::rename(folder.c_str(), doomed.c_str()) == 0) {
        std::filesystem::remove_all(doomed, ec);
        return true;
    }
    return std::filesystem::remove_all(folder, ec) > 0 && !ec;
}

std::optional<RegValue> CRegKey::QueryValue(std::string_view name) const
{
    KeyData data;
    if (LoadKey(m_folder, data) != LoadStatus::Ok)
        return std::nullopt;
    if (auto* entry = data.Find(name))
        return entry->second;
    return std::nullopt;
}

bool CRegKey::SetValue(std::string_view name, const RegValue& value)
{
    CKeyLock lock(m_folder);
    if (!lock.Held())
        return false;
    KeyData data;
    const LoadStatus status = LoadKey(m_folder, data);
    if (status == LoadStatus::Bad) {
        // Keep the damaged file for whoever wants to repair it by hand.
        ::rename((m_folder + "/" + kValuesFile).c_str(), (m_folder + "/" + kBadFile).c_str());
    }
    if (status != LoadStatus::Ok || data.header.empty()) {
        data.header = RegHiveName(m_hive);
        if (!m_path.empty())
            data.header += "\\" + m_path;
    }
    if (auto* entry = data.Find(name))
        entry->second = value;
    else
        data.values.emplace_back(std::string(name), value);
    return ReplaceFile(m_folder, kValuesFile, FormatKeyFile(data));
}

bool CRegKey::DeleteValue(std::string_view name)
{
    CKeyLock lock(m_folder);
    if (!lock.Held())
        return false;
    KeyData data;
    if (LoadKey(m_folder, data) != LoadStatus::Ok)
        return false;
    const auto it = std::find_if(data.values.begin(), data.values.end(),
                                 [&](const auto& entry) { return NamesEqual(entry.first, name); });
    if (it == data.values.end())
        return false;
    data.values.erase(it);
    return ReplaceFile(m_folder, kValuesFile, FormatKeyFile(data));
}

bool CRegKey::SetString(std::string_view name, std::string_view text)
{
    RegValue value;
    value.type = RegType::String;
    value.data.assign(text.begin(), text.end());
    value.data.push_back(0);
    return SetValue(name, value);
}

bool CRegKey::SetDword(std::string_view name, std::uint32_t number)
{
    RegValue value;
    value.type = RegType::Dword;
    value.data = {static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(number >> 8),
                  static_cast<std::uint8_t>(number >> 16), static_cast<std::uint8_t>(number >> 24)};
    return SetValue(name, value);
}

std::optional<std::string> CRegKey::GetString(std::string_view name) const
{
    const auto value = QueryValue(name);
    if (!value || value->type != RegType::String)
        return std::nullopt;
    const auto& d = value->data;
    const auto end = std::find(d.begin(), d.end(), 0);
    return std::string(d.begin(), end);
}

std::optional<std::uint32_t> CRegKey::GetDword(std::string_view name) const
{
    const auto value = QueryValue(name);
    if (!value || value->type != RegType::Dword || value->data.size() != 4)
        return std::nullopt;
    const auto& d = value->data;
    return d[0] | (d[1] << 8) | (d[2] << 16) | (static_cast<std::uint32_t>(d[3]) << 24);
}

std::vector<std::string> CRegKey::ValueNames() const
{
    KeyData data;
    std::vector<std::string> names;
    if (LoadKey(m_folder, data) == LoadStatus::Ok)
        for (const auto& entry : data.values)
            names.push_back(entry.first);
    return names;
}

std::vector<std::string> CRegKey::SubKeyNames() const
{
    std::vector<std::string> names;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(m_folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string folderName = it->path().filename().string();
        if (folderName.empty() || folderName[0] == '@' || !it->is_directory(ec))
            continue;
        KeyData data;
        const std::string folder = m_folder + "/" + folderName;
        std::string name;
        if (LoadKey(folder, data) == LoadStatus::Ok && NamesEqual(FolderName(LastPart(data.header)), folderName))
            name = LastPart(data.header);
        else
            name = PercentDecode(folderName);
        names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return Lower(a) < Lower(b); });
    return names;
}

// corvanta-reg: reads and changes the registry store from the shell, in the
// manner of reg.exe. Exit code 0 on success, 1 with a message on stderr.
#include "platform/Registry.h"

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

const char kUsage[] = "Usage:\n"
                      "  corvanta-reg query KEY [/v NAME | /ve]\n"
                      "  corvanta-reg add KEY [/v NAME | /ve] [/t REG_SZ|REG_DWORD|REG_BINARY] [/d DATA] [/f]\n"
                      "  corvanta-reg delete KEY [/v NAME | /ve | /va] /f\n"
                      "\n"
                      "KEY is HIVE\\path\\to\\key, HIVE one of HKCU, HKLM, HKCR or\n"
                      "HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_CLASSES_ROOT (any case).\n"
                      "  /v NAME  the value NAME        /ve  the key's default value\n"
                      "  /va      every value (delete)  /t   the value's type (add; REG_SZ when left out)\n"
                      "  /d DATA  the value's data: text, a DWORD in decimal or 0x hex, or hex bytes\n"
                      "  /f       overwrite an existing value (add), confirm the deletion (delete)\n"
                      "Adding a value that exists fails without /f; delete always needs /f.\n"
                      "query prints the key's path, then one line per value: NAME TYPE DATA\n"
                      "(DWORDs in decimal, the default value as (Default)), then the sub-keys.\n"
                      "The store's folder is $CORVANTA_REGISTRY_DIR, else\n"
                      "$XDG_CONFIG_HOME/corvanta/registry (~/.config when unset).\n";

constexpr std::string_view kNotFound = "ERROR: The system was unable to find the specified registry key or value.";

int Fail(const std::string& message)
{
    std::fprintf(stderr, "%s\n", message.c_str());
    return 1;
}

int BadArguments(const std::string& message)
{
    std::fprintf(stderr, "ERROR: %s\n\n%s", message.c_str(), kUsage);
    return 1;
}

bool SameText(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i];
        char y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

struct Arguments {
    std::string command;
    RegHive hive = RegHive::CurrentUser;
    std::string path;
    std::string keyText;                   // as printed: long hive name and path
    std::optional<std::string> valueName;  // set by /v or /ve
    bool allValues = false;
    std::optional<std::string> type;
    std::optional<std::string> data;
    bool force = false;
};

bool IsSwitch(std::string_view arg, std::string_view name)
{
    return arg.size() == name.size() + 1 && (arg[0] == '/' || arg[0] == '-') && SameText(arg.substr(1), name);
}

// Fills args from argv; on a mistake returns the message to show.
std::optional<std::string> ParseArguments(int argc, char** argv, Arguments& args)
{
    if (argc < 3)
        return std::string(argc < 2 ? "no command given." : "no KEY given.");
    args.command = argv[1];
    for (char& c : args.command)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    if (args.command != "query" && args.command != "add" && args.command != "delete")
        return "unknown command \"" + std::string(argv[1]) + "\".";

    const std::string key = argv[2];
    const std::size_t slash = key.find('\\');
    const std::string hiveText = key.substr(0, slash);
    const auto hive = ParseRegHive(hiveText);
    if (!hive)
        return "unknown hive \"" + hiveText + "\" in \"" + key + "\" (use HKCU, HKLM or HKCR).";
    args.hive = *hive;
    args.path = slash == std::string::npos ? std::string() : key.substr(slash + 1);
    std::string normal;
    std::size_t start = 0;
    while (start <= args.path.size()) {
        std::size_t end = args.path.find('\\', start);
        if (end == std::string::npos)
            end = args.path.size();
        if (end > start)
            normal += "\\" + args.path.substr(start, end - start);
        start = end + 1;
    }
    args.keyText = RegHiveName(args.hive) + normal;

    for (int i = 3; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const bool hasNext = i + 1 < argc;
        if (IsSwitch(arg, "v") || IsSwitch(arg, "t") || IsSwitch(arg, "d")) {
            if (!hasNext)
                return std::string(arg) + " needs a value.";
            std::string next = argv[++i];
            std::optional<std::string>& slot = IsSwitch(arg, "v")   ? args.valueName
                                               : IsSwitch(arg, "t") ? args.type
                                                                    : args.data;
            if (slot || (IsSwitch(arg, "v") && args.allValues))
                return std::string(arg) + " given twice.";
            if (IsSwitch(arg, "v") && next.empty())
                return "/v needs a name; use /ve for the default value.";
            slot = std::move(next);
        } else if (IsSwitch(arg, "ve")) {
            if (args.valueName || args.allValues)
                return "give only one of /v, /ve and /va.";
            args.valueName = std::string();
        } else if (IsSwitch(arg, "va")) {
            if (args.valueName || args.command != "delete")
                return "/va only goes with delete, without /v or /ve.";
            args.allValues = true;
        } else if (IsSwitch(arg, "f")) {
            args.force = true;
        } else {
            return "unexpected argument \"" + std::string(arg) + "\".";
        }
    }
    if (args.command != "add" && (args.type || args.data))
        return "/t and /d only go with add.";
    if (args.command == "query" && args.force)
        return "/f does not go with query.";
    if (args.command == "add" && !args.valueName && (args.type || args.data))
        return "/t and /d need /v NAME or /ve.";
    return std::nullopt;
}

std::string TypeName(RegType type)
{
    switch (static_cast<std::uint32_t>(type)) {
    case 0: return "REG_NONE";
    case 1: return "REG_SZ";
    case 2: return "REG_EXPAND_SZ";
    case 3: return "REG_BINARY";
    case 4: return "REG_DWORD";
    case 7: return "REG_MULTI_SZ";
    case 11: return "REG_QWORD";
    default: return "REG_TYPE_" + std::to_string(static_cast<std::uint32_t>(type));
    }
}

std::string DataText(const RegValue& value)
{
    const auto& d = value.data;
    if (value.type == RegType::String || static_cast<std::uint32_t>(value.type) == 2) {
        std::string text;
        for (std::uint8_t byte : d) {
            if (byte == 0)
                break;
            text += static_cast<char>(byte);
        }
        return text;
    }
    if (value.type == RegType::Dword && d.size() == 4)
        return std::to_string(d[0] | (d[1] << 8) | (d[2] << 16) | (static_cast<std::uint32_t>(d[3]) << 24));
    static const char hex[] = "0123456789ABCDEF";
    std::string text;
    for (std::uint8_t byte : d) {
        text += hex[byte >> 4];
        text += hex[byte & 15];
    }
    return text;
}

void PrintValue(const std::string& name, const RegValue& value)
{
    std::printf("    %s    %s    %s\n", name.empty() ? "(Default)" : name.c_str(), TypeName(value.type).c_str(),
                DataText(value).c_str());
}

int Query(const Arguments& args)
{
    const auto key = CRegKey::Open(args.hive, args.path);
    if (!key)
        return Fail(std::string(kNotFound));
    if (args.valueName) {
        const auto value = key->QueryValue(*args.valueName);
        if (!value)
            return Fail(std::string(kNotFound));
        std::printf("\n%s\n", args.keyText.c_str());
        PrintValue(*args.valueName, *value);
        std::printf("\n");
        return 0;
    }
    std::printf("\n%s\n", args.keyText.c_str());
    for (const auto& name : key->ValueNames())
        if (const auto value = key->QueryValue(name))
            PrintValue(name, *value);
    std::printf("\n");
    for (const auto& sub : key->SubKeyNames())
        std::printf("%s\\%s\n", args.keyText.c_str(), sub.c_str());
    return 0;
}

std::optional<std::uint32_t> ParseDword(const std::string& text)
{
    if (text.empty())
        return std::nullopt;
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const std::size_t start = hex ? 2 : 0;
    std::uint64_t n = 0;
    for (std::size_t i = start; i < text.size(); ++i) {
        const char c = text[i];
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (hex && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (hex && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        if (digit < 0)
            return std::nullopt;
        n = n * (hex ? 16 : 10) + static_cast<std::uint64_t>(digit);
        if (n > 0xffffffffu)
            return std::nullopt;
    }
    return static_cast<std::uint32_t>(n);
}

std::optional<std::vector<std::uint8_t>> ParseHex(const std::string& text)
{
    std::vector<std::uint8_t> out;
    if (text.size() % 2)
        return std::nullopt;
    for (std::size_t i = 0; i < text.size(); i += 2) {
        int byte = 0;
        for (std::size_t j = i; j < i + 2; ++j) {
            const char c = text[j];
            int digit = -1;
            if (c >= '0' && c <= '9')
                digit = c - '0';
            else if (c >= 'a' && c <= 'f')
                digit = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F')
                digit = c - 'A' + 10;
            if (digit < 0)
                return std::nullopt;
            byte = byte * 16 + digit;
        }
        out.push_back(static_cast<std::uint8_t>(byte));
    }
    return out;
}

int Add(const Arguments& args)
{
    RegValue value;
    const std::string data = args.data.value_or("");
    const std::string type = args.type.value_or("REG_SZ");
    if (SameText(type, "REG_SZ")) {
        value.type = RegType::String;
        value.data.assign(data.begin(), data.end());
        value.data.push_back(0);
    } else if (SameText(type, "REG_DWORD")) {
        const auto number = ParseDword(args.data.value_or("0"));
        if (!number)
            return Fail("ERROR: \"" + data + "\" is not a DWORD (give 0 to 4294967295, or 0x0 to 0xFFFFFFFF).");
        value.type = RegType::Dword;
        value.data = {static_cast<std::uint8_t>(*number), static_cast<std::uint8_t>(*number >> 8),
                      static_cast<std::uint8_t>(*number >> 16), static_cast<std::uint8_t>(*number >> 24)};
    } else if (SameText(type, "REG_BINARY")) {
        const auto bytes = ParseHex(data);
        if (!bytes)
            return Fail("ERROR: \"" + data + "\" is not hex bytes (give pairs of hex digits, e.g. 01ab).");
        value.type = RegType::Binary;
        value.data = *bytes;
    } else {
        return BadArguments("unknown type \"" + type + "\" (use REG_SZ, REG_DWORD or REG_BINARY).");
    }

    const auto key = CRegKey::Create(args.hive, args.path);
    if (!key)
        return Fail("ERROR: cannot create the key " + args.keyText + " in " + RegistryRootFolder() + ".");
    if (args.valueName) {
        if (!args.force && key->QueryValue(*args.valueName))
            return Fail("ERROR: the value " + (args.valueName->empty() ? std::string("(Default)") : *args.valueName) +
                        " exists in " + args.keyText + "; give /f to overwrite it.");
        if (!key->SetValue(*args.valueName, value))
            return Fail("ERROR: cannot write to the key " + args.keyText + ".");
    }
    std::printf("The operation completed successfully.\n");
    return 0;
}

int Delete(const Arguments& args)
{
    if (!args.force)
        return Fail("ERROR: delete asks no questions; give /f to confirm the deletion.");
    if (!args.valueName && !args.allValues) {
        if (args.path.find_first_not_of('\\') == std::string::npos)
            return Fail("ERROR: a hive itself cannot be deleted.");
        if (!CRegKey::DeleteTree(args.hive, args.path))
            return Fail(std::string(kNotFound));
        std::printf("The operation completed successfully.\n");
        return 0;
    }
    const auto key = CRegKey::Open(args.hive, args.path);
    if (!key)
        return Fail(std::string(kNotFound));
    if (args.allValues) {
        for (const auto& name : key->ValueNames())
            if (!key->DeleteValue(name) && key->QueryValue(name))
                return Fail("ERROR: cannot delete the value " + name + " in " + args.keyText + ".");
    } else if (!key->DeleteValue(*args.valueName)) {
        return Fail(std::string(kNotFound));
    }
    std::printf("The operation completed successfully.\n");
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && (IsSwitch(argv[1], "?") || IsSwitch(argv[1], "h") || std::string_view(argv[1]) == "--help")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    Arguments args;
    if (const auto mistake = ParseArguments(argc, argv, args))
        return BadArguments(*mistake);
    if (args.command == "query")
        return Query(args);
    if (args.command == "add")
        return Add(args);
    return Delete(args);
}

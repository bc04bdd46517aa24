#include "platform/Registry.h"

#include "platform/DurableFile.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <thread>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class RegistryTest : public testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/corvanta-registry-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_temp = pattern;
        m_root = m_temp + "/registry";
        setenv("CORVANTA_REGISTRY_DIR", m_root.c_str(), 1);
    }
    void TearDown() override
    {
        unsetenv("CORVANTA_REGISTRY_DIR");
        std::error_code ec;
        fs::remove_all(m_temp, ec);
    }

    static std::string ReadText(const fs::path& file)
    {
        std::ifstream in(file, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    std::string m_temp;
    std::string m_root;
};

RegValue Bytes(RegType type, std::vector<std::uint8_t> data)
{
    return RegValue{type, std::move(data)};
}

bool operator==(const RegValue& a, const RegValue& b)
{
    return a.type == b.type && a.data == b.data;
}

TEST_F(RegistryTest, PathsAndNamesIgnoreCaseButKeepTheFirstSpelling)
{
    auto key = CRegKey::Create(RegHive::CurrentUser, "Software\\Corvanta\\Tessarin");
    ASSERT_TRUE(key);
    ASSERT_TRUE(key->SetString("Previous Session", "abc"));
    ASSERT_TRUE(key->SetDword("mainX", 10));

    auto again = CRegKey::Open(RegHive::CurrentUser, "SOFTWARE\\corvanta\\TESSARIN\\");
    ASSERT_TRUE(again);
    EXPECT_EQ(again->GetString("previous session"), "abc");
    ASSERT_TRUE(again->SetString("PREVIOUS SESSION", "def"));
    EXPECT_EQ(key->GetString("Previous Session"), "def");
    EXPECT_EQ(key->ValueNames(), (std::vector<std::string>{"Previous Session", "mainX"}));

    ASSERT_TRUE(CRegKey::Create(RegHive::CurrentUser, "software\\CORVANTA\\Other"));
    auto software = CRegKey::Open(RegHive::CurrentUser, "software");
    ASSERT_TRUE(software);
    EXPECT_EQ(software->SubKeyNames(), std::vector<std::string>{"Corvanta"});
    auto corvanta = CRegKey::Open(RegHive::CurrentUser, "software\\corvanta");
    ASSERT_TRUE(corvanta);
    EXPECT_EQ(corvanta->SubKeyNames(), (std::vector<std::string>{"Other", "Tessarin"}));

    // The hives are separate stores.
    EXPECT_FALSE(CRegKey::Open(RegHive::LocalMachine, "software\\corvanta"));
    EXPECT_FALSE(CRegKey::Open(RegHive::CurrentUser, "software\\corvanta\\missing"));
}

TEST_F(RegistryTest, EveryKindOfValueSurvivesTheFile)
{
    const struct {
        const char* name;
        RegValue value;
    } cases[] = {
        {"plain", Bytes(RegType::String, {'h', 'i', 0})},
        {"", Bytes(RegType::String, {'d', 'e', 'f', 0})},
        {"empty text", Bytes(RegType::String, {0})},
        {"odd \"name\" \\ =", Bytes(RegType::String, {'"', '\\', '\n', '\r', '\t', 1, 0x7f, 0xc3, 0xa9, ']', 0})},
        {"no terminator", Bytes(RegType::String, {'a', 'b'})},
        {"inner nul", Bytes(RegType::String, {'a', 0, 'b', 0})},
        {"no bytes", Bytes(RegType::String, {})},
        {"count", Bytes(RegType::Dword, {1, 0, 0, 0})},
        {"big", Bytes(RegType::Dword, {0xff, 0xff, 0xff, 0xff})},
        {"short dword", Bytes(RegType::Dword, {1, 2})},
        {"blob", Bytes(RegType::Binary, {0, 1, 0xab, 0xff})},
        {"empty blob", Bytes(RegType::Binary, {})},
        {"other type", Bytes(static_cast<RegType>(7), {'x', 0, 0})},
    };
    {
        auto key = CRegKey::Create(RegHive::LocalMachine,
                                   "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Harmolux 5.0");
        ASSERT_TRUE(key);
        for (const auto& c : cases)
            ASSERT_TRUE(key->SetValue(c.name, c.value)) << c.name;
    }
    auto key =
        CRegKey::Open(RegHive::LocalMachine, "software\\microsoft\\windows\\currentversion\\uninstall\\harmolux 5.0");
    ASSERT_TRUE(key);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto value = key->QueryValue(c.name);
        ASSERT_TRUE(value);
        EXPECT_TRUE(*value == c.value);
    }
    EXPECT_EQ(key->ValueNames().size(), std::size(cases));
    EXPECT_EQ(key->GetString("plain"), "hi");
    EXPECT_EQ(key->GetString("inner nul"), "a");
    EXPECT_EQ(key->GetString("count"), std::nullopt);
    EXPECT_EQ(key->GetDword("big"), 0xffffffffu);
    EXPECT_EQ(key->GetDword("short dword"), std::nullopt);
    EXPECT_EQ(key->GetDword("plain"), std::nullopt);

    const std::string text = ReadText(
        m_root + "/hkey_local_machine/software/microsoft/windows/currentversion/uninstall/harmolux 5.0/@values.reg");
    EXPECT_NE(
        text.find("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Harmolux 5.0]\n"),
        std::string::npos);
    EXPECT_NE(text.find("\n\"plain\"=\"hi\"\n"), std::string::npos);
    EXPECT_NE(text.find("\n@=\"def\"\n"), std::string::npos);
    EXPECT_NE(text.find("\n\"count\"=dword:00000001\n"), std::string::npos);
    EXPECT_NE(text.find("\n\"blob\"=hex:00,01,ab,ff\n"), std::string::npos);
    EXPECT_NE(text.find("\n\"odd \\\"name\\\" \\\\ =\"=\"\\\"\\\\\\n\\r\\t\\x01\\x7F\xc3\xa9]\"\n"), std::string::npos);
}

TEST_F(RegistryTest, HandWrittenFilesAreRead)
{
    ASSERT_TRUE(CRegKey::Create(RegHive::ClassesRoot, "CLSID\\{D9BFD3F2-4D42-4419-9F59-9CA6898EB954}"));
    const std::string file = m_root + "/hkey_classes_root/clsid/{d9bfd3f2-4d42-4419-9f59-9ca6898eb954}/@values.reg";
    std::ofstream(file)
        << "; written by hand\r\n\r\n[HKEY_CLASSES_ROOT\\CLSID\\{D9BFD3F2-4D42-4419-9F59-9CA6898EB954}]\r\n"
           "@=\"CoralindObject Class\"\r\n  \"Count\"=dword:1F  \r\n\"Blob\"=hex: 01, 02\r\n"
           "\"Blob\"=hex:03\r\n\"x\"=hex(2):41,\\\r\n  00\r\n\"spaced\" = \"s\"\n";
    auto key = CRegKey::Open(RegHive::ClassesRoot, "clsid\\{d9bfd3f2-4d42-4419-9f59-9ca6898eb954}");
    ASSERT_TRUE(key);
    EXPECT_EQ(key->GetString(""), "CoralindObject Class");
    EXPECT_EQ(key->GetDword("count"), 0x1fu);
    EXPECT_TRUE(*key->QueryValue("blob") == Bytes(RegType::Binary, {3}));
    EXPECT_TRUE(*key->QueryValue("x") == Bytes(static_cast<RegType>(2), {'A', 0}));
    EXPECT_EQ(key->GetString("spaced"), "s");
    EXPECT_EQ(key->ValueNames(), (std::vector<std::string>{"", "Count", "Blob", "x", "spaced"}));
}

TEST_F(RegistryTest, DeleteValueAndDeleteTree)
{
    auto key = CRegKey::Create(RegHive::CurrentUser, "a\\b\\c");
    ASSERT_TRUE(key);
    ASSERT_TRUE(key->SetString("x", "1"));
    ASSERT_TRUE(key->SetString("y", "2"));
    EXPECT_TRUE(key->DeleteValue("X"));
    EXPECT_FALSE(key->DeleteValue("x"));
    EXPECT_EQ(key->ValueNames(), std::vector<std::string>{"y"});

    auto sibling = CRegKey::Create(RegHive::CurrentUser, "a\\keep");
    ASSERT_TRUE(sibling && sibling->SetDword("n", 1));

    EXPECT_TRUE(CRegKey::DeleteTree(RegHive::CurrentUser, "A\\B"));
    EXPECT_FALSE(CRegKey::Open(RegHive::CurrentUser, "a\\b"));
    EXPECT_FALSE(CRegKey::Open(RegHive::CurrentUser, "a\\b\\c"));
    EXPECT_FALSE(CRegKey::DeleteTree(RegHive::CurrentUser, "a\\b"));
    EXPECT_FALSE(CRegKey::DeleteTree(RegHive::CurrentUser, ""));
    EXPECT_EQ(CRegKey::Open(RegHive::CurrentUser, "a")->SubKeyNames(), std::vector<std::string>{"keep"});
    EXPECT_EQ(sibling->GetDword("n"), 1u);

    // A key object whose key was deleted neither reads nor brings the key back.
    EXPECT_EQ(key->QueryValue("y"), std::nullopt);
    EXPECT_FALSE(key->SetString("z", "3"));
    EXPECT_FALSE(CRegKey::Open(RegHive::CurrentUser, "a\\b\\c"));
    std::set<std::string> left;
    for (const auto& entry : fs::directory_iterator(m_root + "/hkey_current_user/a"))
        left.insert(entry.path().filename().string());
    EXPECT_EQ(left, (std::set<std::string>{"@lock", "@values.reg", "keep"}));
}

TEST_F(RegistryTest, OddKeyNamesStayInsideTheStore)
{
    const std::string names[] = {"..", ".", "a/b", "@values.reg", "%41", std::string("\x01\xff", 2), ".hidden"};
    for (const auto& name : names) {
        SCOPED_TRACE(name);
        auto key = CRegKey::Create(RegHive::CurrentUser, "odd\\" + name);
        ASSERT_TRUE(key);
        ASSERT_TRUE(key->SetString("v", name));
        auto again = CRegKey::Open(RegHive::CurrentUser, "odd\\" + name);
        ASSERT_TRUE(again);
        EXPECT_EQ(again->GetString("v"), name);
    }
    auto odd = CRegKey::Open(RegHive::CurrentUser, "odd");
    ASSERT_TRUE(odd);
    std::set<std::string> listed;
    for (const auto& name : odd->SubKeyNames())
        listed.insert(name);
    EXPECT_EQ(listed, std::set<std::string>(std::begin(names), std::end(names)));
    EXPECT_EQ(odd->ValueNames(), std::vector<std::string>{});

    // Nothing was written beside the store's root.
    std::vector<std::string> top;
    for (const auto& entry : fs::directory_iterator(m_temp))
        top.push_back(entry.path().filename().string());
    EXPECT_EQ(top, std::vector<std::string>{"registry"});

    EXPECT_FALSE(CRegKey::Create(RegHive::CurrentUser, std::string(300, 'k')));
}

TEST_F(RegistryTest, DamagedFileIsReportedAndReadAsEmpty)
{
    const struct {
        const char* label;
        bool asFolder;
        const char* text;
    } cases[] = {
        {"garbage", false, "this is not a key\n"},
        {"bad line", false, "[HKEY_CURRENT_USER\\k]\n\"a\"=\"1\"\n\"b\"=dword:xyz\n"},
        {"unclosed text", false, "[HKEY_CURRENT_USER\\k]\n\"a\"=\"1\n"},
        {"no header", false, "\"a\"=\"1\"\n"},
        {"unreadable", true, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        CRegKey::DeleteTree(RegHive::CurrentUser, "k");
        auto key = CRegKey::Create(RegHive::CurrentUser, "k");
        ASSERT_TRUE(key && key->SetString("a", "1"));
        const std::string file = m_root + "/hkey_current_user/k/@values.reg";
        fs::remove(file);
        if (c.asFolder)
            fs::create_directory(file);
        else
            std::ofstream(file) << c.text;

        testing::internal::CaptureStderr();
        EXPECT_EQ(key->QueryValue("a"), std::nullopt);
        EXPECT_TRUE(key->ValueNames().empty());
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_NE(err.find(file), std::string::npos) << err;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 2) << err;

        if (!c.asFolder) {
            // A new write starts the key afresh and keeps the damaged text aside.
            testing::internal::CaptureStderr();
            EXPECT_TRUE(key->SetString("b", "2"));
            testing::internal::GetCapturedStderr();
            EXPECT_EQ(key->ValueNames(), std::vector<std::string>{"b"});
            EXPECT_EQ(ReadText(m_root + "/hkey_current_user/k/@values.bad"), c.text);
        }
    }
}

TEST_F(RegistryTest, FoldersAndFilesArePrivateWhateverTheUmask)
{
    const mode_t old = umask(0);
    auto key = CRegKey::Create(RegHive::CurrentUser, "software\\corvanta\\tessarin\\preferences");
    const bool wrote = key && key->SetString("password", "secret");
    umask(old);
    ASSERT_TRUE(wrote);
    int folders = 0;
    int files = 0;
    struct stat st {};
    ASSERT_EQ(stat(m_root.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0700u);
    for (const auto& entry : fs::recursive_directory_iterator(m_root)) {
        SCOPED_TRACE(entry.path().string());
        ASSERT_EQ(stat(entry.path().c_str(), &st), 0);
        if (S_ISDIR(st.st_mode)) {
            ++folders;
            EXPECT_EQ(st.st_mode & 07777, 0700u);
        } else {
            ++files;
            EXPECT_EQ(st.st_mode & 07777, 0600u);
        }
    }
    EXPECT_EQ(folders, 5);
    EXPECT_GE(files, 5);
}

TEST_F(RegistryTest, WritesLeaveNoTemporaryFiles)
{
    auto key = CRegKey::Create(RegHive::CurrentUser, "k");
    ASSERT_TRUE(key);
    for (int i = 0; i < 20; ++i)
        ASSERT_TRUE(key->SetDword("n" + std::to_string(i % 5), static_cast<std::uint32_t>(i)));
    ASSERT_TRUE(key->DeleteValue("n0"));
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(m_root + "/hkey_current_user/k"))
        names.insert(entry.path().filename().string());
    EXPECT_EQ(names, (std::set<std::string>{"@lock", "@values.reg"}));
    EXPECT_EQ(key->GetDword("N4"), 19u);
}

FileReplaceStep g_failAt;
bool FailAtChosenStep(FileReplaceStep step)
{
    return step == g_failAt;
}

// A write that cannot replace the key's file reports it and keeps the old values.
TEST_F(RegistryTest, AFailedWriteKeepsTheValuesBeforeIt)
{
    auto key = CRegKey::Create(RegHive::CurrentUser, "k");
    ASSERT_TRUE(key);
    ASSERT_TRUE(key->SetString("kept", "old"));
    const std::string before = ReadText(m_root + "/hkey_current_user/k/@values.reg");
    for (FileReplaceStep step :
         {FileReplaceStep::Create, FileReplaceStep::Write, FileReplaceStep::Sync, FileReplaceStep::Rename}) {
        SCOPED_TRACE(static_cast<int>(step));
        g_failAt = step;
        SetFileReplaceFaultHook(FailAtChosenStep);
        EXPECT_FALSE(key->SetString("kept", "new"));
        EXPECT_FALSE(key->SetDword("added", 1));
        EXPECT_FALSE(key->DeleteValue("kept"));
        SetFileReplaceFaultHook(nullptr);
        EXPECT_EQ(ReadText(m_root + "/hkey_current_user/k/@values.reg"), before);
        EXPECT_EQ(key->GetString("kept"), "old");
    }
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(m_root + "/hkey_current_user/k"))
        names.insert(entry.path().filename().string());
    EXPECT_EQ(names, (std::set<std::string>{"@lock", "@values.reg"}));
}

TEST_F(RegistryTest, ProcessesWritingOneKeyKeepEachOthersValues)
{
    constexpr int kProcesses = 6;
    constexpr int kValuesEach = 15;
    ASSERT_TRUE(CRegKey::Create(RegHive::CurrentUser, "shared"));
    std::vector<pid_t> children;
    for (int p = 0; p < kProcesses; ++p) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            auto key = CRegKey::Open(RegHive::CurrentUser, "shared");
            bool ok = key != nullptr;
            for (int v = 0; ok && v < kValuesEach; ++v)
                ok = key->SetDword("p" + std::to_string(p) + "v" + std::to_string(v), static_cast<std::uint32_t>(v));
            _exit(ok ? 0 : 1);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    auto key = CRegKey::Open(RegHive::CurrentUser, "shared");
    ASSERT_TRUE(key);
    EXPECT_EQ(key->ValueNames().size(), static_cast<std::size_t>(kProcesses * kValuesEach));
    for (int p = 0; p < kProcesses; ++p)
        for (int v = 0; v < kValuesEach; ++v)
            EXPECT_EQ(key->GetDword("p" + std::to_string(p) + "v" + std::to_string(v)), static_cast<std::uint32_t>(v));
}

TEST_F(RegistryTest, ThreadsWritingOneKeyKeepEachOthersValues)
{
    constexpr int kThreads = 4;
    constexpr int kValuesEach = 20;
    ASSERT_TRUE(CRegKey::Create(RegHive::CurrentUser, "shared"));
    std::atomic<int> failures{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([t, &failures] {
            auto key = CRegKey::Open(RegHive::CurrentUser, "shared");
            for (int v = 0; v < kValuesEach; ++v)
                if (!key || !key->SetString("t" + std::to_string(t) + "v" + std::to_string(v), "x"))
                    ++failures;
        });
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(failures.load(), 0);
    EXPECT_EQ(CRegKey::Open(RegHive::CurrentUser, "shared")->ValueNames().size(),
              static_cast<std::size_t>(kThreads * kValuesEach));
}

TEST(RegistryRootTest, FolderFollowsTheEnvironment)
{
    const struct {
        const char* registryDir;
        const char* xdg;
        const char* home;
        const char* expected;
    } cases[] = {
        {"/r", "/x", "/h", "/r"},
        {nullptr, "/x", "/h", "/x/corvanta/registry"},
        {"", "/x", "/h", "/x/corvanta/registry"},
        {nullptr, nullptr, "/h", "/h/.config/corvanta/registry"},
        {nullptr, "", "/h", "/h/.config/corvanta/registry"},
    };
    const auto set = [](const char* name, const char* value) {
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    };
    const char* home = getenv("HOME");
    const std::string savedHome = home ? home : "";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        set("CORVANTA_REGISTRY_DIR", c.registryDir);
        set("XDG_CONFIG_HOME", c.xdg);
        set("HOME", c.home);
        EXPECT_EQ(RegistryRootFolder(), c.expected);
    }
    unsetenv("CORVANTA_REGISTRY_DIR");
    unsetenv("XDG_CONFIG_HOME");
    set("HOME", home ? savedHome.c_str() : nullptr);
}

TEST(RegistryRootTest, HiveNames)
{
    const struct {
        const char* text;
        std::optional<RegHive> hive;
    } cases[] = {
        {"HKCU", RegHive::CurrentUser},  {"hkey_current_user", RegHive::CurrentUser},
        {"hklm", RegHive::LocalMachine}, {"HKEY_LOCAL_MACHINE", RegHive::LocalMachine},
        {"HkCr", RegHive::ClassesRoot},  {"HKEY_CLASSES_ROOT", RegHive::ClassesRoot},
        {"HKU", std::nullopt},           {"", std::nullopt},
        {"HKCU\\x", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ParseRegHive(c.text), c.hive);
    }
    EXPECT_STREQ(RegHiveName(RegHive::ClassesRoot), "HKEY_CLASSES_ROOT");
}

}  // namespace

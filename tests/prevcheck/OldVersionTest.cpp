#include "prevcheck/OldVersion.h"
#include "prevcheck/PrevCheck.h"

#include "tests/prevcheck/PrevCheckTestSupport.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

namespace {

using OldVersion = PrevCheckFixture;

TEST_F(OldVersion, NoKeyNoCommand)
{
    EXPECT_FALSE(FindUninstallCommand());
    // Other products' keys are not looked at.
    RegisterVersion("1.0", "/bin/true");
    CRegKey::Create(RegHive::CurrentUser, KeyOf("5.0"))->SetString("UninstallString", "/bin/true");
    EXPECT_FALSE(FindUninstallCommand());
}

TEST_F(OldVersion, EachVersionAlone)
{
    for (const char* version : {"5.0", "4.0", "3.0", "2.2", "2.1", "2.0"}) {
        SCOPED_TRACE(version);
        RegisterVersion(version, std::string("uninstall ") + version);
        EXPECT_EQ(FindUninstallCommand(), std::string("uninstall ") + version);
        CRegKey::DeleteTree(RegHive::LocalMachine, KeyOf(version));
    }
}

TEST_F(OldVersion, NewestRegisteredVersionWins)
{
    RegisterVersion("2.1", "old");
    RegisterVersion("4.0", "newer");
    EXPECT_EQ(FindUninstallCommand(), "newer");
}

TEST_F(OldVersion, FirstKeyThatOpensIsTheOnlyOneRead)
{
    RegisterVersion("4.0", "would run");
    // 5.0 is installed but has no uninstaller registered: nothing is offered.
    ASSERT_TRUE(CRegKey::Create(RegHive::LocalMachine, KeyOf("5.0")));
    EXPECT_FALSE(FindUninstallCommand());

    // Likewise when its value is too long.
    CRegKey::Open(RegHive::LocalMachine, KeyOf("5.0"))->SetString("UninstallString", std::string(1024, 'x'));
    EXPECT_FALSE(FindUninstallCommand());
}

TEST_F(OldVersion, BufferOf1024Bytes)
{
    auto key = CRegKey::Create(RegHive::LocalMachine, KeyOf("3.0"));
    const auto terminated = [](std::size_t characters) {
        std::vector<std::uint8_t> bytes(characters, 'c');
        bytes.push_back(0);
        return bytes;
    };
    const struct {
        const char* name;
        RegValue value;
        std::optional<std::string> expected;
    } cases[] = {
        {"1023 characters and the NUL", {RegType::String, terminated(1023)}, std::string(1023, 'c')},
        {"1024 characters and the NUL", {RegType::String, terminated(1024)}, std::nullopt},
        {"type ignored: binary without NUL", {RegType::Binary, {'/', 'b', 'i', 'n'}}, std::string("/bin")},
        {"type ignored: 1024 bytes without NUL",
         {RegType::Binary, std::vector<std::uint8_t>(1024, 'b')},
         std::string(1024, 'b')},
        {"text ends at the first NUL", {RegType::String, {'a', 0, 'b', 0}}, std::string("a")},
        {"empty", {RegType::String, {0}}, std::string()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(key->SetValue("UninstallString", c.value));
        EXPECT_EQ(ReadUninstallString(*key), c.expected);
    }
    key->DeleteValue("UninstallString");
    EXPECT_FALSE(ReadUninstallString(*key));
}

class CScriptedPrompt : public IPrevCheckPrompt {
public:
    explicit CScriptedPrompt(bool answer) : m_answer(answer) {}
    bool AskToUninstall() override
    {
        ++questions;
        return m_answer;
    }
    void ShowStartError() override { ++errors; }

    int questions = 0;
    int errors = 0;

private:
    bool m_answer;
};

TEST_F(OldVersion, RunAsksThenStartsAndWaits)
{
    // A descriptor left open without close-on-exec must not reach the uninstaller.
    const int leaked = open("/dev/null", O_RDONLY);
    ASSERT_GE(leaked, 3);
    RegisterVersion("2.2", FakeCommand("from 2.2") + " second");

    CScriptedPrompt yes(true);
    RunPrevCheck(yes);
    close(leaked);
    EXPECT_EQ(yes.questions, 1);
    EXPECT_EQ(yes.errors, 0);
    // Waited for: the record is complete once the run returns.
    const auto record = Record();
    ASSERT_TRUE(record);
    EXPECT_EQ(*record, "cwd:" + std::filesystem::current_path().string() + "\nfds:\nfrom 2.2\nsecond\n");
}

TEST_F(OldVersion, RunOutcomes)
{
    const struct {
        const char* name;
        const char* command;  // nullptr: no key
        bool answer;
        int questions;
        int errors;
    } cases[] = {
        {"nothing installed", nullptr, true, 0, 0},
        {"answer no", FAKE_UNINSTALLER, false, 1, 0},
        {"missing program", "/nonexistent/uninstall.exe -x", true, 1, 1},
        {"not a program", "/dev/null", true, 1, 1},
        {"empty command", "", true, 1, 1},
        {"program found on PATH", "true", true, 1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CRegKey::DeleteTree(RegHive::LocalMachine, KeyOf("2.0"));
        if (c.command)
            RegisterVersion("2.0", c.command);
        CScriptedPrompt prompt(c.answer);
        RunPrevCheck(prompt);
        EXPECT_EQ(prompt.questions, c.questions);
        EXPECT_EQ(prompt.errors, c.errors);
        EXPECT_FALSE(Record());
    }
}

}  // namespace

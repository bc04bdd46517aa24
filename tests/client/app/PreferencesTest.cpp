#include "client/app/Preferences.h"

#include "platform/Registry.h"
#include "tests/support/ScopedTestFolders.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

class PreferencesTest : public testing::Test {
protected:
    static std::unique_ptr<CRegKey> Key() { return CRegKey::Open(RegHive::CurrentUser, CPreferences::KeyPath); }

    CScopedTestFolders m_folders;  // a private registry, removed with the test
    const std::string m_temp = m_folders.RootText();
};

TEST_F(PreferencesTest, FirstStartReadsDefaultsAndCreatesTheKey)
{
    EXPECT_FALSE(Key());
    CPreferences prefs;
    EXPECT_TRUE(prefs.IsOpen());
    EXPECT_TRUE(Key());
    EXPECT_EQ(prefs.GetString(Pref::AppServer), "");
    EXPECT_EQ(prefs.GetNumber(Pref::DefaultPorts, 1), 1u);
    EXPECT_EQ(prefs.GetNumber(Pref::MainCX), 0u);
    EXPECT_TRUE(Key()->ValueNames().empty());
}

TEST_F(PreferencesTest, WritesStoreRegistryTypesAndAreSeenByTheNextInstance)
{
    CPreferences reader;
    {
        CPreferences writer;
        writer.SetString(Pref::PreviousSession, "tok");
        writer.SetString(Pref::Password, "");
        writer.SetNumber(Pref::DefaultPorts, 0);
        writer.SetNumber(Pref::MainX, 0xfffffff6u);  // -10 as a DWORD
    }
    EXPECT_EQ(reader.GetString("previous session"), "tok");
    EXPECT_EQ(reader.GetNumber(Pref::DefaultPorts, 1), 0u);
    EXPECT_EQ(reader.GetNumber(Pref::MainX), 0xfffffff6u);

    auto key = Key();
    ASSERT_TRUE(key);
    const auto session = key->QueryValue("Previous Session");
    ASSERT_TRUE(session);
    EXPECT_EQ(session->type, RegType::String);
    EXPECT_EQ(session->data, (std::vector<std::uint8_t>{'t', 'o', 'k', 0}));
    EXPECT_EQ(key->QueryValue(Pref::Password)->data, std::vector<std::uint8_t>{0});
    const auto ports = key->QueryValue(Pref::DefaultPorts);
    ASSERT_TRUE(ports);
    EXPECT_EQ(ports->type, RegType::Dword);
    EXPECT_EQ(ports->data.size(), 4u);
}

TEST_F(PreferencesTest, ReadsIgnoreTheStoredTypeAndRefuseLongNumbers)
{
    const struct {
        const char* label;
        RegValue stored;
        std::string text;
        DWORD number;  // with 77 as the fallback
    } cases[] = {
        {"text", {RegType::String, {'h', 'o', 's', 't', 0}}, "host", 77},
        {"four-byte text", {RegType::String, {'a', 'b', 'c', 0}}, "abc", 0x00636261},
        {"text without NUL", {RegType::String, {'a', 'b'}}, "ab", 0x6261},
        {"text with inner NUL", {RegType::String, {'a', 0, 'b', 0}}, "a", 0x00620061},
        {"dword", {RegType::Dword, {5, 0, 0, 0}}, "\x05", 5},
        {"dword as text", {RegType::Dword, {'D', 'C', 'B', 'A'}}, "DCBA", 0x41424344},
        {"two bytes", {RegType::Binary, {1, 2}}, "\x01\x02", 0x0201},
        {"no bytes", {RegType::Binary, {}}, "", 0},
        {"five bytes", {RegType::Binary, {1, 2, 3, 4, 5}}, "\x01\x02\x03\x04\x05", 77},
    };
    auto key = CRegKey::Create(RegHive::CurrentUser, CPreferences::KeyPath);
    ASSERT_TRUE(key);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        ASSERT_TRUE(key->SetValue("v", c.stored));
        CPreferences prefs;
        EXPECT_EQ(prefs.GetString("v"), c.text);
        EXPECT_EQ(prefs.GetNumber("v", 77), c.number);
        EXPECT_EQ(prefs.GetNumber("v"), c.number == 77 ? 0u : c.number);
    }
}

TEST_F(PreferencesTest, AKeyThatCannotBeOpenedReadsDefaultsAndIgnoresWrites)
{
    // The store's root lies below a plain file, so no key can be created.
    std::ofstream(m_temp + "/file") << "x";
    setenv("CORVANTA_REGISTRY_DIR", (m_temp + "/file/registry").c_str(), 1);
    CPreferences prefs;
    EXPECT_FALSE(prefs.IsOpen());
    prefs.SetString(Pref::UserHandle, "me");
    prefs.SetNumber(Pref::AutoLogin, 1);
    EXPECT_EQ(prefs.GetString(Pref::UserHandle), "");
    EXPECT_EQ(prefs.GetNumber(Pref::AutoLogin, 3), 3u);
    EXPECT_EQ(prefs.GetNumber(Pref::AutoLogin), 0u);
}

}  // namespace

#pragma once
// A per-test registry and record file for the pre-install program's tests.
#include "platform/Registry.h"
#include "prevcheck/OldVersion.h"
#include "tests/support/UnusedXDisplay.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

class PrevCheckFixture : public testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "corvanta-prevcheck-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_folder = pattern;
        setenv("CORVANTA_REGISTRY_DIR", (m_folder / "registry").c_str(), 1);
        setenv("PREVCHECK_TEST_RECORD", RecordPath().c_str(), 1);
        unsetenv("PREVCHECK_TEST_EXIT");
    }

    void TearDown() override
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }

    std::string Folder() const { return m_folder.string(); }
    std::string RecordPath() const { return (m_folder / "record.txt").string(); }

    /// The uninstall key of "Harmolux <version>" with the value given.
    static std::string KeyOf(const std::string& version)
    {
        return "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Harmolux " + version;
    }

    static void RegisterVersion(const std::string& version, const std::string& uninstallString)
    {
        auto key = CRegKey::Create(RegHive::LocalMachine, KeyOf(version));
        ASSERT_TRUE(key);
        ASSERT_TRUE(key->SetString("UninstallString", uninstallString));
    }

    /// A command line that starts the recording uninstaller with one argument
    /// naming the version.
    static std::string FakeCommand(const std::string& argument)
    {
        return "\"" FAKE_UNINSTALLER "\" \"" + argument + "\"";
    }

    /// What the fake uninstaller recorded; nullopt when it did not run.
    std::optional<std::string> Record() const
    {
        std::ifstream in(RecordPath(), std::ios::binary);
        if (!in)
            return std::nullopt;
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    /// The record's argument lines after the folder and descriptor lines.
    std::optional<std::string> RecordedArguments() const
    {
        auto text = Record();
        if (!text)
            return std::nullopt;
        for (int line = 0; line < 2; ++line)
            text->erase(0, text->find('\n') + 1);
        return text;
    }

private:
    std::filesystem::path m_folder;
};

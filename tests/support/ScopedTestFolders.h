#pragma once
// A private temporary folder for one test, with the registry and the data
// folder pointed into it; everything is removed when the test ends.
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

class CScopedTestFolders {
public:
    CScopedTestFolders()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "corvanta-test-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        m_root = pattern;
        std::filesystem::create_directories(Registry());
        std::filesystem::create_directories(Data());
        setenv("CORVANTA_REGISTRY_DIR", Registry().c_str(), 1);
        setenv("CORVANTA_DATA_DIR", Data().c_str(), 1);
    }
    CScopedTestFolders(const CScopedTestFolders&) = delete;
    CScopedTestFolders& operator=(const CScopedTestFolders&) = delete;
    ~CScopedTestFolders()
    {
        unsetenv("CORVANTA_REGISTRY_DIR");
        unsetenv("CORVANTA_DATA_DIR");
        std::error_code ec;
        std::filesystem::permissions(Data(), std::filesystem::perms::owner_all, ec);
        std::filesystem::remove_all(m_root, ec);
    }

    const std::filesystem::path& Root() const { return m_root; }
    std::string RootText() const { return m_root.string(); }
    std::filesystem::path Registry() const { return m_root / "registry"; }
    std::filesystem::path Data() const { return m_root / "data"; }

private:
    std::filesystem::path m_root;
};

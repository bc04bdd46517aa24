// Replacing a whole file: old or new, never half of one, with the permissions
// asked for and no temporary file left behind.
#include "platform/DurableFile.h"
#include "tests/support/ScopedTestFolders.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

FileReplaceStep g_failAt;
bool FailAtChosenStep(FileReplaceStep step)
{
    return step == g_failAt;
}

class DurableFileTest : public ::testing::Test {
protected:
    void TearDown() override { SetFileReplaceFaultHook(nullptr); }

    std::string File() const { return (m_folders.Data() / "file.txt").string(); }
    std::string Read() const
    {
        std::ifstream in(File(), std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    unsigned Mode() const
    {
        struct stat st {};
        EXPECT_EQ(::stat(File().c_str(), &st), 0);
        return st.st_mode & 07777;
    }
    std::size_t FilesInFolder() const
    {
        std::size_t count = 0;
        for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(m_folders.Data()))
            ++count;
        return count;
    }

    CScopedTestFolders m_folders;
};

TEST_F(DurableFileTest, WritesANewFileAndReplacesAnOldOne)
{
    ASSERT_TRUE(ReplaceFileDurably(File(), "first\n"));
    EXPECT_EQ(Read(), "first\n");
    ASSERT_TRUE(ReplaceFileDurably(File(), std::string("second\0line\n", 12)));
    EXPECT_EQ(Read(), std::string("second\0line\n", 12));
    ASSERT_TRUE(ReplaceFileDurably(File(), ""));
    EXPECT_EQ(Read(), "");
    EXPECT_EQ(FilesInFolder(), 1u);
}

TEST_F(DurableFileTest, AGivenModeHoldsWhateverTheUmaskAndOtherwiseTheOldModeStays)
{
    const mode_t old = ::umask(0);
    ASSERT_TRUE(ReplaceFileDurably(File(), "secret", 0600));
    EXPECT_EQ(Mode(), 0600u);
    ::umask(077);
    ASSERT_TRUE(ReplaceFileDurably(File(), "shared", 0644));
    EXPECT_EQ(Mode(), 0644u);
    ASSERT_EQ(::chmod(File().c_str(), 0640), 0);
    ASSERT_TRUE(ReplaceFileDurably(File(), "kept", kKeepFileMode));
    EXPECT_EQ(Mode(), 0640u);
    std::filesystem::remove(File());
    ::umask(022);
    ASSERT_TRUE(ReplaceFileDurably(File(), "new", kKeepFileMode));
    EXPECT_EQ(Mode(), 0644u);  // 0666 less the umask, as a plain new file
    ::umask(old);
}

// Whatever step fails, the old file stays whole and no temporary file is left.
TEST_F(DurableFileTest, AFailedStepLeavesTheOldFile)
{
    for (FileReplaceStep step :
         {FileReplaceStep::Create, FileReplaceStep::Write, FileReplaceStep::Sync, FileReplaceStep::Rename}) {
        SCOPED_TRACE(static_cast<int>(step));
        ASSERT_TRUE(ReplaceFileDurably(File(), "old text\n"));
        g_failAt = step;
        SetFileReplaceFaultHook(FailAtChosenStep);
        EXPECT_FALSE(ReplaceFileDurably(File(), "new text, longer than the old\n"));
        SetFileReplaceFaultHook(nullptr);
        EXPECT_EQ(Read(), "old text\n");
        EXPECT_EQ(FilesInFolder(), 1u);
    }
}

TEST_F(DurableFileTest, AMissingFolderFails)
{
    EXPECT_FALSE(ReplaceFileDurably((m_folders.Data() / "missing" / "file.txt").string(), "x"));
}

TEST_F(DurableFileTest, AReadOnlyFolderFailsAndKeepsTheOldFile)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    ASSERT_TRUE(ReplaceFileDurably(File(), "old"));
    std::filesystem::permissions(m_folders.Data(),
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    EXPECT_FALSE(ReplaceFileDurably(File(), "new"));
    std::filesystem::permissions(m_folders.Data(), std::filesystem::perms::owner_all);
    EXPECT_EQ(Read(), "old");
}

}  // namespace

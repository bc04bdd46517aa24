#include "coralind/TrackLibraryFile.h"

#include "coralind/TrackMap.h"
#include "platform/DurableFile.h"
#include "tests/support/ScopedTestFolders.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace {

using Tracks = std::map<std::int32_t, std::string>;

Tracks ToTracks(const CTrackMap& map)
{
    Tracks out;
    map.ForEach([&out](std::int32_t id, std::string_view path) { out.emplace(id, std::string(path)); });
    return out;
}

std::string ReadAll(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteAll(const std::filesystem::path& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

TEST(TrackLibraryFileTest, ReadsTrackNumbersTheWayAtoiDoes)
{
    struct Case {
        const char* text;
        std::int32_t expected;
    };
    const Case cases[] = {
        {"1203", 1203},
        {"  42", 42},
        {"\t7", 7},
        {"-15", -15},
        {"+8", 8},
        {"12abc", 12},
        {"abc", 0},
        {"", 0},
        {"- 3", 0},
        {"2147483647", INT32_MAX},
        {"-2147483648", INT32_MIN},
        {"99999999999999999999", INT32_MAX},
        {"-99999999999", INT32_MIN},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ParseTrackNumber(c.text), c.expected);
    }
}

TEST(TrackLibraryFileTest, AppliesLinesInOrderAndTheLastOneWins)
{
    struct Case {
        const char* name;
        std::string text;
        Tracks expected;
    };
    const Case cases[] = {
        {"replaced then removed", "5,a\n5,b\n5,\n6,x,y\n", {{6, "x,y"}}},
        {"documented example", "1203,C:\\mp3\\a.mp3\n77,C:\\mp3\\b,c.mp3\n1203,\n", {{77, "C:\\mp3\\b,c.mp3"}}},
        {"no comma is track 0", "abc\n", {{0, "abc"}}},
        {"leading blank", " 12,x\n", {{12, "x"}}},
        {"negative number", "-3,p\n", {{-3, "p"}}},
        {"last line without break", "1,a\n2,b", {{1, "a"}, {2, "b"}}},
        {"windows line ends", "1,a\r\n2,b\r\n", {{1, "a"}, {2, "b"}}},
        {"removing an unknown track", "9,\n", {}},
        {"empty line removes track 0", "0,zero\n\n", {}},
        {"empty file", "", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CTrackMap map;
        ApplyLibraryText(c.text, map);
        EXPECT_EQ(ToTracks(map), c.expected);
    }
}

class LibraryFileTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        SetLibraryFileFaultHook(nullptr);
        SetFileReplaceFaultHook(nullptr);
    }

    std::filesystem::path Library() const { return m_folders.Data() / "tracks.txt"; }
    /// Files beside the library: compaction's temporary files.
    std::size_t FilesBesideTheLibrary() const
    {
        std::size_t count = 0;
        for (const auto& entry : std::filesystem::directory_iterator(m_folders.Data()))
            count += entry.path() != Library();
        return count;
    }

    CScopedTestFolders m_folders;
};

TEST_F(LibraryFileTest, ReadCreatesAMissingFileAndCompactionWritesTheMapOrder)
{
    CTrackLibraryFile file(Library().string());
    CTrackMap map;
    ASSERT_TRUE(file.Read(map));
    EXPECT_TRUE(std::filesystem::exists(Library()));
    EXPECT_EQ(map.Size(), 0u);

    WriteAll(Library(), "5,a\n5,b\n5,\n6,x,y\n17,q\n1,one\n");
    CTrackMap loaded;
    ASSERT_TRUE(file.Read(loaded));
    ASSERT_TRUE(file.Compact(loaded));
    // 6 and 1 sit in bucket 0, the newest in front; 17 is in bucket 1.
    EXPECT_EQ(ReadAll(Library()), "1,one\n6,x,y\n17,q\n");
    EXPECT_EQ(FilesBesideTheLibrary(), 0u);
}

TEST_F(LibraryFileTest, ReadFailsOnAFolderOrAnUnreachablePath)
{
    std::filesystem::create_directories(Library());
    CTrackMap map;
    EXPECT_FALSE(CTrackLibraryFile(Library().string()).Read(map));
    EXPECT_FALSE(CTrackLibraryFile((m_folders.Data() / "missing" / "tracks.txt").string()).Read(map));
}

TEST_F(LibraryFileTest, AppendsStartOnALineOfTheirOwn)
{
    WriteAll(Library(), "1,a\n2,tor");  // a torn last line
    CTrackLibraryFile file(Library().string());
    ASSERT_TRUE(file.AppendEntry(3, "c"));
    ASSERT_TRUE(file.AppendRemoval(1));
    EXPECT_EQ(ReadAll(Library()), "1,a\n2,tor\n3,c\n1,\n");
}

LibraryFileStep g_failAt;
bool FailAtChosenStep(LibraryFileStep step)
{
    return step == g_failAt;
}

FileReplaceStep g_failReplaceAt;
bool FailReplaceAtChosenStep(FileReplaceStep step)
{
    return step == g_failReplaceAt;
}

constexpr FileReplaceStep kReplaceSteps[] = {FileReplaceStep::Create, FileReplaceStep::Write, FileReplaceStep::Sync,
                                             FileReplaceStep::Rename};

// Whatever step of compaction fails, the old file with its journal lines stays.
TEST_F(LibraryFileTest, FailedCompactionKeepsTheOldFile)
{
    const std::string original = "1,a\n2,b\n1,\n3,c,d\n";
    for (FileReplaceStep step : kReplaceSteps) {
        SCOPED_TRACE(static_cast<int>(step));
        WriteAll(Library(), original);
        CTrackLibraryFile file(Library().string());
        CTrackMap map;
        ASSERT_TRUE(file.Read(map));
        g_failReplaceAt = step;
        SetFileReplaceFaultHook(FailReplaceAtChosenStep);
        EXPECT_FALSE(file.Compact(map));
        SetFileReplaceFaultHook(nullptr);
        EXPECT_EQ(ReadAll(Library()), original);
        EXPECT_EQ(FilesBesideTheLibrary(), 0u);
    }
}

TEST_F(LibraryFileTest, FailedAppendLeavesNoPartialLine)
{
    WriteAll(Library(), "1,a\n");
    CTrackLibraryFile file(Library().string());
    g_failAt = LibraryFileStep::Append;
    SetLibraryFileFaultHook(FailAtChosenStep);
    EXPECT_FALSE(file.AppendEntry(2, "/a/long/path/to/some/file.mp3"));
    SetLibraryFileFaultHook(nullptr);
    EXPECT_EQ(ReadAll(Library()), "1,a\n");
}

// The process dies in the middle of compaction (half the new text written,
// all of it but not synced, or not yet renamed): the next load finds every track.
bool DieAtChosenStep(FileReplaceStep step)
{
    if (step == g_failReplaceAt)
        _exit(0);
    return false;
}

TEST_F(LibraryFileTest, ACrashDuringCompactionLosesNoTrack)
{
    std::string text;
    Tracks expected;
    for (int i = 0; i < 5000; ++i) {
        const std::string path = "/music/track" + std::to_string(i) + ".mp3";
        text += std::to_string(i) + "," + path + "\n";
        expected[i] = path;
    }
    for (FileReplaceStep step : {FileReplaceStep::Write, FileReplaceStep::Sync, FileReplaceStep::Rename}) {
        SCOPED_TRACE(static_cast<int>(step));
        WriteAll(Library(), text);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            g_failReplaceAt = step;
            SetFileReplaceFaultHook(DieAtChosenStep);
            CTrackLibraryFile file(Library().string());
            CTrackMap map;
            if (file.Read(map))
                (void)file.Compact(map);
            _exit(1);  // the hook should have stopped us first
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0);
        EXPECT_EQ(FilesBesideTheLibrary(), 1u);  // it did die mid-way, its temporary file left

        CTrackLibraryFile file(Library().string());
        CTrackMap map;
        ASSERT_TRUE(file.Read(map));
        EXPECT_EQ(ToTracks(map), expected);
        ASSERT_TRUE(file.Compact(map));
        CTrackMap again;
        ASSERT_TRUE(file.Read(again));
        EXPECT_EQ(ToTracks(again), expected);
        for (const auto& entry : std::filesystem::directory_iterator(m_folders.Data()))
            if (entry.path() != Library())
                std::filesystem::remove(entry.path());
    }
}

}  // namespace

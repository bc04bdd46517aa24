#include "client/localmedia/PlaylistTransfer.h"

#include "tests/client/localmedia/LocalMediaTestSupport.h"

#include <gtest/gtest.h>

namespace {

class PlaylistImport : public testing::Test {
protected:
    void SetUp() override
    {
        WriteBytes(folder.Path("tagged.mp3"), std::string(200, '\x01') + Id3Block("Tagged Song", "Tag Band"));
        WriteBytes(folder.Path("plain name.mp3"), std::string(200, '\x02'));
    }

    FakeRow FileRow(const std::string& title, const std::string& artist, const std::string& name) const
    {
        return FakeRow{title, artist, 0, "", folder.Path(name), ""};
    }

    CTempFolder folder;
    CFakePlaylistRows rows;
};

TEST_F(PlaylistImport, M3UWithHeaderAndRelativeNames)
{
    WriteBytes(folder.Path("list.m3u"),
               "#EXTM3U\r\n#EXTINF:100,Tag Band - Tagged Song\r\ntagged.mp3\r\n#EXTINF:90,x\r\nplain name.mp3\r\n");
    const ImportResult result = ImportPlaylistFile(rows, folder.Path("list.m3u"));
    EXPECT_EQ(result.added, 2);
    EXPECT_FALSE(result.error);
    EXPECT_EQ(rows.rows, (std::vector<FakeRow>{FileRow("Tagged Song", "Tag Band", "tagged.mp3"),
                                               FileRow("plain name", "", "plain name.mp3")}));
}

TEST_F(PlaylistImport, PLSWithTitleAndLengthLines)
{
    WriteBytes(folder.Path("list.pls"), "[playlist]\nFile1=" + folder.Path("plain name.mp3") +
                                            "\nTitle1=P\nLength1=3\nFile2=" + folder.Path("tagged.mp3") +
                                            "\nTitle2=T\nLength2=4\nNumberOfEntries=2\n");
    const ImportResult result = ImportPlaylistFile(rows, folder.Path("list.pls"));
    EXPECT_EQ(result.added, 2);
    EXPECT_EQ(rows.rows, (std::vector<FakeRow>{FileRow("plain name", "", "plain name.mp3"),
                                               FileRow("Tagged Song", "Tag Band", "tagged.mp3")}));
}

TEST_F(PlaylistImport, ExtensionChoosesTheReader)
{
    WriteBytes(folder.Path("UPPER.M3U"), "tagged.mp3\n");
    WriteBytes(folder.Path("Mixed.Pls"), "[playlist]\nFile1=" + folder.Path("tagged.mp3") + "\n");
    WriteBytes(folder.Path("list.txt"), "tagged.mp3\n");
    WriteBytes(folder.Path("noextension"), "tagged.mp3\n");
    std::filesystem::create_directory(folder.Path("dir.m3u.d"));
    WriteBytes(folder.Path("dir.m3u.d/m3u"), "tagged.mp3\n");
    std::filesystem::copy_file(folder.Path("tagged.mp3"), folder.Path("COPY.Mp3"));
    const struct {
        const char* name;
        int added;
    } cases[] = {
        {"UPPER.M3U", 1}, {"Mixed.Pls", 1}, {"COPY.Mp3", 1}, {"list.txt", 0}, {"noextension", 0}, {"dir.m3u.d/m3u", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        rows.rows.clear();
        const ImportResult result = ImportPlaylistFile(rows, folder.Path(c.name));
        EXPECT_EQ(result.added, c.added);
        EXPECT_EQ(rows.GetTrackCount(), c.added);
        EXPECT_FALSE(result.error);
    }
    EXPECT_EQ(rows.rows.size(), 0u);
    ImportPlaylistFile(rows, folder.Path("COPY.Mp3"));
    EXPECT_EQ(rows.rows, std::vector<FakeRow>{FileRow("Tagged Song", "Tag Band", "COPY.Mp3")});
}

TEST_F(PlaylistImport, UnreadableEntryStopsTheImport)
{
    // A "#" line that is not a header becomes an entry and fails to open.
    WriteBytes(folder.Path("list.m3u"), "tagged.mp3\n#PLAYLIST x\nplain name.mp3\n");
    const ImportResult result = ImportPlaylistFile(rows, folder.Path("list.m3u"));
    EXPECT_EQ(result.added, 1);
    ASSERT_TRUE(result.error);
    EXPECT_EQ(result.error->path, folder.Path("#PLAYLIST x"));
    EXPECT_EQ(rows.rows, std::vector<FakeRow>{FileRow("Tagged Song", "Tag Band", "tagged.mp3")});
}

TEST_F(PlaylistImport, UnreadableFilesAddNothing)
{
    for (const char* name : {"missing.m3u", "missing.pls"}) {
        SCOPED_TRACE(name);
        const ImportResult result = ImportPlaylistFile(rows, folder.Path(name));
        EXPECT_EQ(result.added, 0);
        EXPECT_FALSE(result.error);
    }
    // A single MP3 that cannot be read is reported, as when dropped.
    const ImportResult result = ImportPlaylistFile(rows, folder.Path("missing.mp3"));
    ASSERT_TRUE(result.error);
    EXPECT_EQ(result.error->path, folder.Path("missing.mp3"));
    EXPECT_TRUE(rows.rows.empty());
}

TEST(PlaylistExport, FilterChoosesTheWriterAndTheMissingExtension)
{
    CTempFolder folder;
    CFakePlaylistRows rows;
    rows.rows = {{"Song", "Band", 5, "", "/m/song.mp3", "/lib/song.mp3"}};
    const PlaylistListingHeader header{"List", "me", ""};
    const struct {
        int filter;
        const char* typed;
        const char* written;
        std::string content;
    } cases[] = {
        {1, "a", "a.m3u", "/m/song.mp3\n"},
        {2, "b", "b.pls", "[playlist]\nFile1=/lib/song.mp3\nNumberOfEntries=1\n"},
        {3, "c", "c.txt", "List by me\n\n\nTrack 1: Band / Song\n\n\n"},
        {1, "typed.pls", "typed.pls", "/m/song.mp3\n"},
        {2, "typed.m3u", "typed.m3u", "[playlist]\nFile1=/lib/song.mp3\nNumberOfEntries=1\n"},
        {1, "dotted.d/name", "dotted.d/name.m3u", "/m/song.mp3\n"},
    };
    std::filesystem::create_directory(folder.Path("dotted.d"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        const ExportResult result =
            ExportPlaylistFile(folder.Path(c.typed), ExportKindForFilter(c.filter), rows, header);
        EXPECT_EQ(result.path, folder.Path(c.written));
        EXPECT_EQ(result.written, 1);
        EXPECT_EQ(ReadBytes(result.path), c.content);
    }
    EXPECT_EQ(ExportKindForFilter(0), PlaylistFileKind::TextListing);
    EXPECT_EQ(ExportKindForFilter(7), PlaylistFileKind::TextListing);
}

}  // namespace

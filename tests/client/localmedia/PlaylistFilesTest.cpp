#include "client/localmedia/PlaylistFiles.h"

#include "tests/client/localmedia/LocalMediaTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using Entries = std::vector<std::string>;

TEST(M3U, Entries)
{
    const struct {
        const char* name;
        std::string text;
        std::string playlist;
        Entries expected;
    } cases[] = {
        {"extended list with relative, absolute, drive and URL entries",
         "#EXTM3U\n#EXTINF:215,Band - Song\nsong.mp3\n#EXTINF:-1,Other\nsub/other.mp3\n/abs/c.mp3\n"
         "C:\\Music\\d.mp3\nhttp://host/e.mp3\n",
         "/music/list.m3u",
         {"/music/song.mp3", "/music/sub/other.mp3", "/abs/c.mp3", "C:\\Music\\d.mp3", "http://host/e.mp3"}},
        {"Windows line ends and folder separators",
         "#EXTM3U\r\nAlbum\\Track 1.mp3\r\n..\\up.mp3\r\n",
         "/music/list.m3u",
         {"/music/Album/Track 1.mp3", "/music/../up.mp3"}},
        {"other # lines are entries",
         "#EXTm3u\n#EXTINF no colon\n# note\n",
         "/m/l.m3u",
         {"/m/#EXTm3u", "/m/#EXTINF no colon", "/m/# note"}},
        {"empty lines are entries", "a.mp3\n\nb.mp3", "/m/l.m3u", {"/m/a.mp3", "/m/", "/m/b.mp3"}},
        {"trailing line end starts no entry", "a.mp3\n", "/m/l.m3u", {"/m/a.mp3"}},
        {"playlist in the root folder", "a.mp3\n", "/l.m3u", {"/a.mp3"}},
        {"playlist path without a folder", "a.mp3\nsub\\b.mp3\n", "l.m3u", {"a.mp3", "sub/b.mp3"}},
        {"empty file", "", "/m/l.m3u", {}},
        {"header only", "#EXTM3U\n", "/m/l.m3u", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ParseM3U(c.text, c.playlist), c.expected);
    }
}

TEST(PLS, Entries)
{
    const struct {
        const char* name;
        std::string text;
        Entries expected;
    } cases[] = {
        {"File, Title and Length for every track",
         "[playlist]\nFile1=/m/a.mp3\nTitle1=A\nLength1=100\nFile2=b.mp3\nTitle2=B\nLength2=-1\n"
         "NumberOfEntries=2\nVersion=2\n",
         {"/m/a.mp3", "b.mp3"}},
        {"header in other letter case, Windows line ends", "[Playlist]\r\nFile1=C:\\a.mp3\r\n", {"C:\\a.mp3"}},
        {"upper-case header", "[PLAYLIST]\nFile1=x\n", {"x"}},
        {"blank first line", "\n[playlist]\nFile1=x\n", {}},
        {"trailing blank on the header", "[playlist] \nFile1=x\n", {}},
        {"numbers are not used", "[playlist]\nFile3=c\nFile1=a\nFile2=b\n", {"c", "a", "b"}},
        {"value after the first equals sign; whole line without one",
         "[playlist]\nFile1=a=b\nFileOnly\nfile2=lower\n\nFile=x\n",
         {"a=b", "FileOnly", "x"}},
        {"empty file", "", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ParsePLS(c.text), c.expected);
    }
}

TEST(PlaylistReaders, ReadFilesFromDisk)
{
    CTempFolder folder;
    WriteBytes(folder.Path("list.m3u"), "#EXTM3U\r\nsong.mp3\r\n");
    WriteBytes(folder.Path("list.pls"), "[playlist]\nFile1=song.mp3\n");
    EXPECT_EQ(ReadM3U(folder.Path("list.m3u")), Entries{folder.Path("song.mp3")});
    EXPECT_EQ(ReadPLS(folder.Path("list.pls")), Entries{"song.mp3"});
    EXPECT_FALSE(ReadM3U(folder.Path("missing.m3u")));
    EXPECT_FALSE(ReadPLS(folder.Path("missing.pls")));
}

// Three tracks, the second without a local file, the third not matched yet.
CFakePlaylistRows ThreeRows()
{
    CFakePlaylistRows rows;
    rows.rows = {
        {"First", "Alpha", 11, "Opening\r\nline two", "/m/1.mp3", "/lib/1.mp3"},
        {"Second", "Beta", 22, "", "", "/lib/2.mp3"},
        {"Third", "Gamma", 0, "", "/m/3.mp3", ""},
    };
    return rows;
}

TEST(PlaylistWriters, M3UListsEveryRowWithAFile)
{
    CTempFolder folder;
    const std::string path = folder.Path("out.m3u");
    WriteBytes(path, std::string(1000, 'z'));
    EXPECT_EQ(WriteM3U(path, ThreeRows()), 2);
    EXPECT_EQ(ReadBytes(path), "/m/1.mp3\n/m/3.mp3\n");
}

TEST(PlaylistWriters, PLSNumbersTheRowsWithAFile)
{
    CTempFolder folder;
    const std::string path = folder.Path("out.pls");
    EXPECT_EQ(WritePLS(path, ThreeRows()), 2);
    // The library's file where it has one, the row's own file otherwise.
    EXPECT_EQ(ReadBytes(path), "[playlist]\nFile1=/lib/1.mp3\nFile2=/m/3.mp3\nNumberOfEntries=2\n");
}

TEST(PlaylistWriters, TextListingKeepsTrackNumbers)
{
    CTempFolder folder;
    const std::string path = folder.Path("out.txt");
    CFakePlaylistRows rows = ThreeRows();
    rows.rows[1].performanceID = 0;
    rows.rows[2].performanceID = 33;
    rows.rows.push_back({"Fourth", "Delta", 44, "", "", ""});
    EXPECT_EQ(WriteTextListing(path, {"Night Drive", "dj_ana", "Late songs\r\nfor the road"}, rows), 3);
    EXPECT_EQ(ReadBytes(path), "Night Drive by dj_ana\n\nLate songs\nfor the road\n\n\n"
                               "Track 1: Alpha / First\n\nOpening\nline two\n\n\n"
                               "Track 3: Gamma / Third\n\n\n"
                               "Track 4: Delta / Fourth\n\n\n");

    EXPECT_EQ(WriteTextListing(path, {"Empty", "me", ""}, CFakePlaylistRows()), 0);
    EXPECT_EQ(ReadBytes(path), "Empty by me\n\n\n");
}

TEST(PlaylistWriters, FileThatCannotBeCreatedGivesZero)
{
    CTempFolder folder;
    const std::string path = folder.Path("no such folder/out");
    EXPECT_EQ(WriteM3U(path, ThreeRows()), 0);
    EXPECT_EQ(WritePLS(path, ThreeRows()), 0);
    EXPECT_EQ(WriteTextListing(path, {"t", "p", ""}, ThreeRows()), 0);
    EXPECT_FALSE(std::filesystem::exists(path));
}

}  // namespace

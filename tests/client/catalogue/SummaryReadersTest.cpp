#include "client/catalogue/AnswerXml.h"
#include "client/catalogue/SummaryReaders.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

// Parses xml and hands the first element named name to read.
template <class Record>
std::unique_ptr<Record> ReadFrom(const std::string& xml, std::u16string_view name,
                                 std::unique_ptr<Record> (*read)(const CXmlNode&))
{
    const XmlDocumentPtr document = LoadAnswerDocument(xml);
    if (!document)
        return nullptr;
    const CXmlNode* element = FirstElementNamed(*document, name);
    return element ? read(*element) : nullptr;
}

std::unique_ptr<PlaylistSummary> Playlist(const std::string& xml)
{
    return ReadFrom<PlaylistSummary>(xml, u"PlaylistSummary", ReadPlaylistSummary);
}
std::unique_ptr<PerformanceSummary> Performance(const std::string& xml)
{
    return ReadFrom<PerformanceSummary>(xml, u"PerformanceSummary", ReadPerformanceSummary);
}

}  // namespace

TEST(SummaryReaders, PlaylistFieldsAndDefaults)
{
    const auto empty = Playlist(R"(<PlaylistSummary playlistID="42"/>)");
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->playlistID, 42);
    EXPECT_EQ(empty->Name, "New Playlist");
    EXPECT_EQ(empty->NumberOfPerformances, 0);
    EXPECT_TRUE(empty->CreationDate.IsValid());
    EXPECT_EQ(empty->CreationDate.GetDays(), 0.0);
    EXPECT_EQ(empty->Delete, 0);

    const auto full =
        Playlist("<A><PlaylistSummary playlistID=' 7x' Delete='1'>"
                 "<Name>Road trip  </Name><PlaylistDescription>long\n drive</PlaylistDescription>"
                 "<NumberOfPerformances>12</NumberOfPerformances>"
                 "<Playmaker playmakerID='9'><PlaymakerName>mara</PlaymakerName><AcceptsEMail>1</AcceptsEMail>"
                 "<Ranking>5</Ranking></Playmaker>"
                 "<CreationDate>2003-04-05 06:07:08</CreationDate><LastModifiedDate>bogus</LastModifiedDate>"
                 "<PrimaryMoodID>3</PrimaryMoodID><Theme>Summer</Theme><Ranking>-4</Ranking>"
                 "<NumberOfBookmarks>2</NumberOfBookmarks><PrimaryGenreID>201</PrimaryGenreID>"
                 "<Length>999</Length><BookmarkID>11</BookmarkID><ComesAfterID>10</ComesAfterID>"
                 "<BookmarkID>12</BookmarkID><theme>ignored</theme>"
                 "</PlaylistSummary></A>");
    ASSERT_TRUE(full);
    EXPECT_EQ(full->playlistID, 7);
    EXPECT_EQ(full->Delete, 1);
    EXPECT_EQ(full->Name, "Road trip  ");  // only track texts are trimmed
    EXPECT_EQ(full->PlaylistDescription, "long\n drive");
    EXPECT_EQ(full->NumberOfPerformances, 12);
    EXPECT_EQ(full->Playmaker.userID, 9);
    EXPECT_EQ(full->Playmaker.Handle, "mara");
    EXPECT_EQ(full->Playmaker.AcceptsEMail, 1);
    EXPECT_EQ(full->Playmaker.Ranking, 0);  // not a Playmaker field
    EXPECT_EQ(full->CreationDate.FormatIso(), "2003-04-05 06:07:08");
    EXPECT_FALSE(full->LastModifiedDate.IsValid());
    EXPECT_EQ(full->PrimaryMoodID, 3);
    EXPECT_EQ(full->Theme, "Summer");
    EXPECT_EQ(full->Ranking, -4);
    EXPECT_EQ(full->NumberOfBookmarks, 2);
    EXPECT_EQ(full->PrimaryGenreID, 201);
    EXPECT_EQ(full->BookmarkID, 12);  // the last occurrence wins
    EXPECT_EQ(full->ComesAfterID, 10);

    // Copies carry the playmaker whole.
    PlaylistSummary copy;
    copy = *full;
    EXPECT_EQ(copy.Playmaker.Handle, "mara");
    EXPECT_EQ(copy.Playmaker.userID, 9);
}

TEST(SummaryReaders, DeleteAttribute)
{
    const struct {
        const char* attribute;
        std::int32_t expected;
    } cases[] = {{"Delete='1'", 1}, {"Delete='true'", 0}, {"Delete='01'", 0}, {"Delete=''", 0}, {"", 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.attribute);
        const auto record = Playlist(std::string("<PlaylistSummary playlistID='1' ") + c.attribute + "/>");
        ASSERT_TRUE(record);
        EXPECT_EQ(record->Delete, c.expected);
    }
}

TEST(SummaryReaders, PerformanceTextsFlagsAndPrimaryArtist)
{
    const auto record = Performance(
        "<PerformanceSummary performanceID='301'>"
        "<PrimaryArtist primaryArtistID='77'><ArtistName>The Band \t</ArtistName></PrimaryArtist>"
        "<SongName>Weight  </SongName><Comment>a&lt;BR&gt;b </Comment><Version>live </Version>"
        "<Length>245</Length><PrimaryGenreID>201</PrimaryGenreID><NumberTimesBookmarked>4</NumberTimesBookmarked>"
        "<NumberTimesUsedInPlaylists>6</NumberTimesUsedInPlaylists><Ranking>2</Ranking>"
        "<PerformanceSourceID>1</PerformanceSourceID><PreviewAvailability>0</PreviewAvailability>"
        "<PlayAvailability>2</PlayAvailability><BookmarkID>8</BookmarkID><ComesAfterID>5</ComesAfterID>"
        "</PerformanceSummary>");
    ASSERT_TRUE(record);
    EXPECT_EQ(record->performanceID, 301);
    EXPECT_EQ(record->primaryArtistID, 77);
    EXPECT_EQ(record->ArtistName, "The Band");
    EXPECT_EQ(record->SongName, "Weight");
    EXPECT_EQ(record->Comment, "a\r\nb ");
    EXPECT_EQ(record->Version, "live");
    EXPECT_EQ(record->Length, 245);
    EXPECT_EQ(record->PrimaryGenreID, 201);
    EXPECT_EQ(record->NumberTimesBookmarked, 4);
    EXPECT_EQ(record->NumberTimesUsedInPlaylists, 6);
    EXPECT_EQ(record->Ranking, 2);
    EXPECT_EQ(record->PerformanceSourceID, 1);
    EXPECT_EQ(record->previewAvailable, 1);
    EXPECT_EQ(record->playAvailable, 0);
    EXPECT_EQ(record->BookmarkID, 8);
    EXPECT_EQ(record->ComesAfterID, 5);
    EXPECT_EQ(PerformanceDisplayText(*record), "The Band : Weight (live)");
}

TEST(SummaryReaders, PerformanceEdgeCases)
{
    const struct {
        const char* what;
        const char* children;
        std::function<void(const PerformanceSummary&)> check;
    } cases[] = {
        {"no availability children", "",
         [](const PerformanceSummary& p) {
             EXPECT_EQ(p.previewAvailable, 0);
             EXPECT_EQ(p.playAvailable, 0);
         }},
        {"availability 2", "<PreviewAvailability>2</PreviewAvailability>",
         [](const PerformanceSummary& p) { EXPECT_EQ(p.previewAvailable, 0); }},
        {"names are case-sensitive", "<songname>x</songname><SONGNAME>y</SONGNAME>",
         [](const PerformanceSummary& p) { EXPECT_EQ(p.SongName, ""); }},
        {"an ArtistName outside PrimaryArtist is not read", "<ArtistName>Loose</ArtistName>",
         [](const PerformanceSummary& p) { EXPECT_EQ(p.ArtistName, ""); }},
        {"several breaks", "<Comment>x&lt;BR&gt;&lt;BR&gt;y&lt;br&gt;</Comment>",
         [](const PerformanceSummary& p) { EXPECT_EQ(p.Comment, "x\r\n\r\ny<br>"); }},
        {"markup first gives empty text", "<SongName><b>x</b>tail</SongName>",
         [](const PerformanceSummary& p) { EXPECT_EQ(p.SongName, ""); }},
        {"non-numeric number", "<Length>abc</Length><Ranking>  -12kg</Ranking>",
         [](const PerformanceSummary& p) {
             EXPECT_EQ(p.Length, 0);
             EXPECT_EQ(p.Ranking, -12);
         }},
        {"no identifier attribute", "", [](const PerformanceSummary& p) { EXPECT_EQ(p.performanceID, 0); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto record = Performance(std::string("<PerformanceSummary>") + c.children + "</PerformanceSummary>");
        ASSERT_TRUE(record);
        c.check(*record);
    }
}

TEST(SummaryReaders, ArtistAndUser)
{
    const auto artist = ReadFrom<ArtistSummary>(
        "<ArtistSummary artistID='5'><NumberOfSongsInDB>30</NumberOfSongsInDB><NumberOfBookmarks>3</NumberOfBookmarks>"
        "<Name>Nina </Name><Ranking>1</Ranking><BookmarkID>4</BookmarkID><ComesAfterID>2</ComesAfterID>"
        "</ArtistSummary>",
        u"ArtistSummary", ReadArtistSummary);
    ASSERT_TRUE(artist);
    EXPECT_EQ(artist->artistID, 5);
    EXPECT_EQ(artist->NumberOfSongsInDB, 30);
    EXPECT_EQ(artist->NumberOfBookmarks, 3);
    EXPECT_EQ(artist->Name, "Nina ");
    EXPECT_EQ(artist->Ranking, 1);
    EXPECT_EQ(artist->BookmarkID, 4);
    EXPECT_EQ(artist->ComesAfterID, 2);

    const auto user = ReadFrom<UserSummary>(
        "<UserSummary userID='12'><Ranking>3</Ranking><NumberOfBookmarks>4</NumberOfBookmarks>"
        "<NumberOfPlaylists>5</NumberOfPlaylists><Handle>dj</Handle><AcceptsEMail>1</AcceptsEMail>"
        "<DateCreated>2001-02-03</DateCreated><BookmarkID>6</BookmarkID><ComesAfterID>7</ComesAfterID>"
        "<PlaymakerName>not here</PlaymakerName></UserSummary>",
        u"UserSummary", ReadUserSummary);
    ASSERT_TRUE(user);
    EXPECT_EQ(user->userID, 12);
    EXPECT_EQ(user->Ranking, 3);
    EXPECT_EQ(user->NumberOfBookmarks, 4);
    EXPECT_EQ(user->NumberOfPlaylists, 5);
    EXPECT_EQ(user->Handle, "dj");
    EXPECT_EQ(user->AcceptsEMail, 1);
    EXPECT_EQ(user->DateCreated.FormatIso(), "2001-02-03 00:00:00");
    EXPECT_EQ(user->BookmarkID, 6);
    EXPECT_EQ(user->ComesAfterID, 7);
}

TEST(AnswerXml, DecimalNumbers)
{
    const struct {
        const char* text;
        std::int32_t expected;
    } cases[] = {{"", 0}, {"12", 12}, {"  \t-7", -7}, {"+5x", 5}, {"x5", 0}, {"- 5", 0}, {"99999999999", 2147483647}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(DecimalNumber(c.text), c.expected);
    }
    EXPECT_EQ(TrimTrailingSpace(" a \t\r\n\v\f"), " a");
}

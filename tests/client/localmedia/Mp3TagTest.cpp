#include "client/localmedia/Mp3Tag.h"

#include "tests/client/localmedia/LocalMediaTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

Mp3Tag ParseBlock(const std::string& block)
{
    std::uint8_t bytes[kMp3TagSize];
    for (std::size_t i = 0; i < kMp3TagSize; ++i)
        bytes[i] = static_cast<std::uint8_t>(block.at(i));
    return ParseMp3Tag(bytes);
}

std::string TitleField(const std::string& field30)
{
    std::string block = Id3Block("", "");
    block.replace(3, 30, field30);
    return block;
}

TEST(Mp3Tag, TitleFieldPaddingRules)
{
    const struct {
        const char* name;
        std::string field;
        std::string expected;
    } cases[] = {
        {"letters then zeros", "Rain" + std::string(26, '\0'), "Rain"},
        {"letters then blanks", "Rain" + std::string(26, ' '), "Rain"},
        {"blanks only", std::string(30, ' '), ""},
        {"zeros only", std::string(30, '\0'), ""},
        {"blank before zeros kept", "Rain " + std::string(25, '\0'), "Rain "},
        {"leading blanks kept", "  Rain" + std::string(24, ' '), "  Rain"},
        {"full width", std::string(30, 'x'), std::string(30, 'x')},
        {"zero then blanks to the end", "Ra" + std::string(1, '\0') + std::string(27, ' '), "Ra"},
        {"blank and zero inside blank padding", std::string("Ra \0", 4) + std::string(26, ' '), "Ra"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(c.field.size(), 30u);
        EXPECT_EQ(ParseBlock(TitleField(c.field)).title, c.expected);
    }
}

TEST(Mp3Tag, EveryFieldAtItsOffset)
{
    std::string block(128, '\0');
    block.replace(0, 3, "TAG");
    block.replace(3, 30, std::string(30, 't'));
    block.replace(33, 5, "Artst");
    block.replace(63, 5, "Album");
    block.replace(93, 4, "1999");
    block.replace(97, 29, std::string(29, 'c'));
    block[126] = '\x07';
    block[127] = '\xFF';
    const Mp3Tag tag = ParseBlock(block);
    EXPECT_EQ(tag.title, std::string(30, 't'));
    EXPECT_EQ(tag.artist, "Artst");
    EXPECT_EQ(tag.album, "Album");
    EXPECT_EQ(tag.year, "1999");
    EXPECT_EQ(tag.comment, std::string(29, 'c'));
    EXPECT_EQ(tag.track, 7);
    EXPECT_EQ(tag.genre, 255);
}

TEST(Mp3Tag, BlockWithoutMarkerIsEmpty)
{
    for (const char* marker : {"tag", "TAX", "\0AG"}) {
        SCOPED_TRACE(marker);
        std::string block = Id3Block("Title", "Artist");
        block.replace(0, 3, std::string(marker, 3));
        block[127] = '\x05';
        const Mp3Tag tag = ParseBlock(block);
        EXPECT_TRUE(tag.title.empty());
        EXPECT_TRUE(tag.artist.empty());
        EXPECT_EQ(tag.genre, 0);
    }
}

TEST(Mp3Tag, ReadsTheLast128BytesOfTheFile)
{
    CTempFolder folder;
    const std::string path = folder.Path("song.mp3");
    // A "TAG" further up the file is audio data, not the tag.
    WriteBytes(path, Id3Block("Early", "Wrong") + std::string(500, '\x55') + Id3Block("Late", "Right"));
    const auto tag = ReadMp3Tag(path);
    ASSERT_TRUE(tag);
    EXPECT_EQ(tag->title, "Late");
    EXPECT_EQ(tag->artist, "Right");

    WriteBytes(path, Id3Block("Exact", "Size"));
    ASSERT_TRUE(ReadMp3Tag(path));
    EXPECT_EQ(ReadMp3Tag(path)->title, "Exact");
}

TEST(Mp3Tag, UnusableFilesAreFileErrorsNamingTheFile)
{
    CTempFolder folder;
    WriteBytes(folder.Path("short.mp3"), std::string(127, 'x'));
    WriteBytes(folder.Path("empty.mp3"), "");
    std::filesystem::create_directory(folder.Path("folder.mp3"));
    for (const char* name : {"short.mp3", "empty.mp3", "missing.mp3", "folder.mp3"}) {
        SCOPED_TRACE(name);
        const std::string path = folder.Path(name);
        FileError error;
        EXPECT_FALSE(ReadMp3Tag(path, &error));
        EXPECT_EQ(error.path, path);
        EXPECT_NE(error.text.find(path), std::string::npos) << error.text;
        EXPECT_FALSE(ReadMp3TrackText(path));
    }
}

TEST(Mp3Tag, TitleFromFileName)
{
    const struct {
        const char* path;
        const char* expected;
    } cases[] = {
        {"/music/Blue Train.mp3", "Blue Train"},
        {"/music/take.2.final.mp3", "take.2.final"},
        {"/music.d/noextension", "noextension"},
        {"plain.mp3", "plain"},
        {"/music/.mp3", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(TitleFromFileName(c.path), c.expected);
    }
}

TEST(Mp3Tag, TrackTextFromTagOrFileName)
{
    CTempFolder folder;
    const struct {
        const char* name;
        std::string bytes;
        Mp3TrackText expected;
    } cases[] = {
        {"tagged.mp3", std::string(300, 'a') + Id3Block("Song", "Band"), {"Song", "Band"}},
        {"title only.mp3", Id3Block("Song", ""), {"Song", ""}},
        {"artist only.mp3", Id3Block("", "Band"), {"", "Band"}},
        {"blank tag.mp3", Id3Block(std::string(30, ' '), std::string(30, ' ')), {"blank tag", ""}},
        {"no tag.v1.mp3", std::string(400, '\x11'), {"no tag.v1", ""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = folder.Path(c.name);
        WriteBytes(path, c.bytes);
        const auto text = ReadMp3TrackText(path);
        ASSERT_TRUE(text);
        EXPECT_EQ(text->title, c.expected.title);
        EXPECT_EQ(text->artist, c.expected.artist);
    }
}

}  // namespace

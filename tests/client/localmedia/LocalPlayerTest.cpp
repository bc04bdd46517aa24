// Local play: the numbered M3U files in the temporary folder, what they list
// and when the desktop is asked to open them.
#include "LocalMediaTestSupport.h"

#include "client/catalogue/PlaylistDetail.h"
#include "client/localmedia/LocalPlayer.h"
#include "platform/Shell.h"

#include <memory>

namespace {

class LocalPlayerTest : public testing::Test {
protected:
    void SetUp() override
    {
        const char* tmp = std::getenv("TMPDIR");
        m_savedTmp = tmp ? tmp : "";
        m_hadTmp = tmp != nullptr;
        setenv("TMPDIR", m_folder.Path().c_str(), 1);
        SetShellOpenHandler([this](const std::string& target) {
            m_opened.push_back(target);
            return true;
        });
    }
    void TearDown() override
    {
        SetShellOpenHandler({});
        if (m_hadTmp)
            setenv("TMPDIR", m_savedTmp.c_str(), 1);
        else
            unsetenv("TMPDIR");
    }

    std::string File(const std::string& name) const { return m_folder.Path(name); }

    static std::unique_ptr<PerformanceSummary> Track(std::int32_t performanceID, const std::string& file)
    {
        auto track = std::make_unique<PerformanceSummary>();
        track->performanceID = performanceID;
        track->localFilePath = file;
        return track;
    }

    CTempFolder m_folder;
    std::vector<std::string> m_opened;
    std::string m_savedTmp;
    bool m_hadTmp = false;
};

TEST_F(LocalPlayerTest, EditorFilesAreNumberedAndListEveryRowWithAFile)
{
    CFakePlaylistRows rows;
    rows.rows = {
        {"One", "A", 11, "", "/music/one.mp3", ""},
        {"Dropped", "B", 0, "", "/music/dropped.mp3", ""},  // still matching
        {"No file", "C", 12, "", "", ""},
        {"Two, again", "D", 13, "", "/music/two, again.mp3", ""},
    };
    CLocalPlayer editor(CLocalPlayer::kEditorPrefix);
    for (int press = 1; press <= 3; ++press) {
        SCOPED_TRACE(press);
        EXPECT_EQ(editor.Play(rows), 3);
    }
    const std::vector<std::string> expected = {File("tmp00001.m3u"), File("tmp00002.m3u"), File("tmp00003.m3u")};
    EXPECT_EQ(m_opened, expected);
    for (const std::string& file : expected)
        EXPECT_EQ(ReadBytes(file), "/music/one.mp3\n/music/dropped.mp3\n/music/two, again.mp3\n");
}

TEST_F(LocalPlayerTest, StoredPlaylistListsOnlyCatalogueTracksWithAFile)
{
    PlaylistDetail playlist;
    playlist.Tracks.push_back(Track(21, "/music/a.mp3"));
    playlist.Tracks.push_back(Track(0, "/music/unmatched.mp3"));
    playlist.Tracks.push_back(Track(22, ""));
    playlist.Tracks.push_back(Track(23, "/music/b.mp3"));
    PlaylistDetail unmatchedOnly;
    unmatchedOnly.Tracks.push_back(Track(0, "/music/unmatched.mp3"));
    unmatchedOnly.Tracks.push_back(Track(24, ""));

    CLocalPlayer store(CLocalPlayer::kStorePrefix);
    CLocalPlayer editor(CLocalPlayer::kEditorPrefix);
    EXPECT_EQ(store.Play(playlist), 2);
    EXPECT_EQ(store.Play(unmatchedOnly), 0);
    CFakePlaylistRows rows;
    rows.rows = {{"One", "A", 11, "", "/music/one.mp3", ""}};
    EXPECT_EQ(editor.Play(rows), 1);

    EXPECT_EQ(ReadBytes(File("pmt00001.m3u")), "/music/a.mp3\n/music/b.mp3\n");
    // The file is made, listing nothing, and not opened.
    EXPECT_TRUE(std::filesystem::exists(File("pmt00002.m3u")));
    EXPECT_EQ(ReadBytes(File("pmt00002.m3u")), "");
    EXPECT_EQ(m_opened, (std::vector<std::string>{File("pmt00001.m3u"), File("tmp00001.m3u")}));
}

TEST_F(LocalPlayerTest, FileThatCannotBeMadeOpensNothing)
{
    setenv("TMPDIR", File("missing").c_str(), 1);
    CFakePlaylistRows rows;
    rows.rows = {{"One", "A", 11, "", "/music/one.mp3", ""}};
    CLocalPlayer editor(CLocalPlayer::kEditorPrefix);
    EXPECT_EQ(editor.Play(rows), 0);
    EXPECT_EQ(editor.LastFile(), File("missing") + "/tmp00001.m3u");
    EXPECT_TRUE(m_opened.empty());
}

}  // namespace

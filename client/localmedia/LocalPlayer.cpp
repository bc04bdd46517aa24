#include "client/localmedia/LocalPlayer.h"

#include "client/catalogue/PlaylistDetail.h"
#include "client/localmedia/PlaylistFiles.h"
#include "client/localmedia/PlaylistRows.h"
#include "platform/Shell.h"

#include <cstdio>

namespace {

// A stored playlist as the M3U writer reads it: a track counts only when it is
// a catalogue performance, so an unmatched file is not played.
class CStoredPlaylistRows : public IPlaylistRows {
public:
    explicit CStoredPlaylistRows(const PlaylistDetail& playlist) : m_playlist(playlist) {}

    int GetTrackCount() const override { return static_cast<int>(m_playlist.Tracks.size()); }
    std::string GetTitle(int row) const override { return Track(row).SongName; }
    std::string GetArtist(int row) const override { return Track(row).ArtistName; }
    std::int32_t GetPerformanceID(int row) const override { return Track(row).performanceID; }
    std::string GetComment(int row) const override { return Track(row).Comment; }
    std::string GetLocalFilePath(int row) const override
    {
        const PerformanceSummary& track = Track(row);
        return track.performanceID != 0 ? track.localFilePath : std::string();
    }
    std::string GetLibraryPath(int row) const override { return GetLocalFilePath(row); }
    // Only read here.
    void AddTrackRow(const std::string&, const std::string&, const std::string&) override {}

private:
    const PerformanceSummary& Track(int row) const { return *m_playlist.Tracks[static_cast<std::size_t>(row)]; }

    const PlaylistDetail& m_playlist;
};

}  // namespace

CLocalPlayer::CLocalPlayer(std::string prefix) : m_prefix(std::move(prefix)) {}

std::string CLocalPlayer::NextFile()
{
    ++m_counter;
    char number[16];
    std::snprintf(number, sizeof number, "%05d", m_counter);
    m_lastFile = TemporaryFolder() + m_prefix + number + ".m3u";
    return m_lastFile;
}

int CLocalPlayer::Play(const IPlaylistRows& rows)
{
    const std::string file = NextFile();
    // A file that cannot be written lists nothing, so nothing is opened; a
    // desktop without a program for playlists is not reported either.
    const int written = WriteM3U(file, rows);
    if (written > 0)
        ShellOpen(file);
    return written;
}

int CLocalPlayer::Play(const PlaylistDetail& playlist)
{
    return Play(CStoredPlaylistRows(playlist));
}

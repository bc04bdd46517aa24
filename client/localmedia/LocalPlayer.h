#pragma once
// "Play Local": a playlist's local files are written to a numbered M3U file in
// the temporary folder, which the desktop's default program then opens. Each
// player numbers its files from 1 with its own prefix, so the editor's and the
// store's files never collide; the files are never deleted.
#include <string>

class IPlaylistRows;
struct PlaylistDetail;

class CLocalPlayer {
public:
    /// The playlist editor's files: tmp00001.m3u, tmp00002.m3u, ...
    static constexpr const char* kEditorPrefix = "tmp";
    /// The playlist store's files: pmt00001.m3u, ...
    static constexpr const char* kStorePrefix = "pmt";

    explicit CLocalPlayer(std::string prefix);

    /// Every row that has a local file, matched or not. Returns the number of
    /// files listed; the playlist is opened only when there is at least one.
    int Play(const IPlaylistRows& rows);
    /// The tracks that are catalogue performances and have a local file.
    int Play(const PlaylistDetail& playlist);

    /// The file the last Play wrote (or tried to); empty before the first.
    const std::string& LastFile() const { return m_lastFile; }

private:
    std::string NextFile();

    std::string m_prefix;
    int m_counter = 0;
    std::string m_lastFile;
};

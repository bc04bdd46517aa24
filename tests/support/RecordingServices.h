#pragma once
// The detail viewer's pages and the application's previews as a pane test
// sees them: each call recorded as one line ("playlist 12", "mail friend 12").
#include "client/app/PreviewCalls.h"
#include "client/ui/shell/DetailPages.h"

#include <string>
#include <vector>

class CRecordingPages : public IDetailPages {
public:
    void ShowNoDetails() override { calls.push_back("none"); }
    void ShowPerformanceDetail(std::int32_t id) override { calls.push_back("track " + std::to_string(id)); }
    void ShowArtistDetail(std::int32_t id) override { calls.push_back("artist " + std::to_string(id)); }
    void ShowPlaymakerDetail(std::int32_t id) override { calls.push_back("playmaker " + std::to_string(id)); }
    void ShowPlaylistDetail(std::int32_t id) override { calls.push_back("playlist " + std::to_string(id)); }
    void EmailPlaymaker(std::int32_t id) override { calls.push_back("mail playmaker " + std::to_string(id)); }
    void EmailFriend(std::int32_t id) override { calls.push_back("mail friend " + std::to_string(id)); }
    std::vector<std::string> calls;
};

class CRecordingPreviews : public IPreviewCalls {
public:
    void PreviewPerformance(std::int32_t id) override { calls.push_back("track " + std::to_string(id)); }
    void PreviewPlaylist(std::int32_t id) override { calls.push_back("playlist " + std::to_string(id)); }
    std::vector<std::string> calls;
};

#pragma once
// A loopback application server that resolves tracks and keeps playlists by
// script, a fake session and track library, and a recording message box.
#include "client/editing/EditingServices.h"
#include "platform/MessageBox.h"
#include "tests/support/RequestFixture.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

class CFakeSession : public IEditingSession {
public:
    std::string SessionToken() const override { return token; }
    std::string CurrentHandle() const override { return handle; }
    std::int32_t CurrentUserId() const override { return userId; }
    std::string token = "tok";
    std::string handle = "mira";
    std::int32_t userId = 42;
};

class CFakeLibrary : public ILocalTrackLibrary {
public:
    void RecordLocalFile(std::int32_t performanceID, const std::string& path) override
    {
        recorded.push_back({performanceID, path});
        if (!path.empty())
            files[performanceID] = path;
    }
    std::string GetLocalFile(std::int32_t performanceID) const override
    {
        const auto found = files.find(performanceID);
        return found == files.end() ? std::string() : found->second;
    }
    std::map<std::int32_t, std::string> files;
    std::vector<std::pair<std::int32_t, std::string>> recorded;
};

/// <PerformanceSummary> as the server writes it.
inline std::string TrackXml(std::int32_t id, const std::string& title, const std::string& artist,
                            std::int32_t artistId = 7, const std::string& comment = std::string())
{
    std::string xml = "<PerformanceSummary performanceID='" + std::to_string(id) +
                      "'><PrimaryArtist primaryArtistID='" + std::to_string(artistId) + "'><ArtistName>" + artist +
                      "</ArtistName></PrimaryArtist><SongName>" + title + "</SongName>";
    if (!comment.empty())
        xml += "<Comment>" + comment + "</Comment>";
    return xml + "</PerformanceSummary>";
}

/// <PlaylistSummary> as the server writes it.
inline std::string PlaylistXml(std::int32_t id, const std::string& name)
{
    return "<PlaylistSummary playlistID='" + std::to_string(id) + "'><Name>" + name + "</Name></PlaylistSummary>";
}

class EditingModelFixture : public RequestFixture {
protected:
    static constexpr const char* kResolvePage = "search/ResolvePerformances.jsp";

    void SetUp() override
    {
        RequestFixture::SetUp();
        SetMessageBoxHandler([this](const std::string& text, const std::string&, unsigned) {
            messages.push_back(text);
            return static_cast<int>(kIdOk);
        });
        // Candidates by typed title; anything else gets an answer with none.
        m_server.SetResponse(PathOf(kResolvePage), [this](const RecordedRequest& request) {
            ScriptedResponse response;
            // Titles are looked up ignoring letter case, as the catalogue does.
            std::string title = request.Form("PerformanceTitle");
            std::transform(title.begin(), title.end(), title.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
            if (title == "broken" && m_failures > 0) {
                --m_failures;
                response.status = 500;
            } else if (title == "help") {
                response.body = "<R>" + TrackXml(11, "HELP", "The Beatles") + TrackXml(12, "Help", "Beatles") + "</R>";
            } else if (title == "broken") {
                response.body = "<R>" + TrackXml(13, "Broken", "Seether") + "</R>";
            } else if (title == "yesterday") {
                response.body = "<R>" + TrackXml(21, "Yesterday (Live)", "The Beatles") +
                                TrackXml(22, "Yesterday", "The Beatles") + "</R>";
            } else {
                response.body = "<R/>";
            }
            return response;
        });
        m_temp =
            std::filesystem::temp_directory_path() / ("corvanta-editing-" + std::to_string(::getpid()) + "-" +
                                                      testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(m_temp);
    }
    void TearDown() override
    {
        SetMessageBoxHandler({});
        std::error_code ignored;
        std::filesystem::remove_all(m_temp, ignored);
        RequestFixture::TearDown();
    }

    std::size_t RequestsTo(const std::string& page) const { return m_server.RequestsTo(PathOf(page)).size(); }

    std::vector<std::string> messages;
    CFakeSession m_session;
    CFakeLibrary m_library;
    std::atomic<int> m_failures{1};  // "Broken" fails this many times, then resolves
    std::filesystem::path m_temp;
};

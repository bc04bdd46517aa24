#pragma once
// One row of the playlist editor's track grid.
#include "client/catalogue/PerformanceSummary.h"

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

enum class MatchState { Blank = 0, Match = 1, Working = 2, ClickHere = 3, Error = 4 };

class CPlaylistEditRow {
public:
    using Candidates = std::vector<std::unique_ptr<PerformanceSummary>>;

    explicit CPlaylistEditRow(std::int32_t id) : m_id(id) {}
    CPlaylistEditRow(const CPlaylistEditRow&) = delete;
    CPlaylistEditRow& operator=(const CPlaylistEditRow&) = delete;

    /// Unique within its grid for the grid's life; the resolver's context.
    std::int32_t Id() const { return m_id; }

    PerformanceSummary performance;
    MatchState state = MatchState::Blank;
    /// The MP3 file the row was made from; never changed afterwards.
    std::string sourceFile;
    /// Artist, title and description cells as the member sees them.
    std::array<std::string, 3> cells;
    /// The resolver key whose answer the row waits for; -1 when none.
    std::int32_t pendingKey = -1;

    void SetCandidates(Candidates candidates)
    {
        Candidates old;
        {
            std::lock_guard lock(m_candidateLock);
            old.swap(m_candidates);
            m_candidates = std::move(candidates);
        }
    }
    void ClearCandidates() { SetCandidates({}); }
    std::size_t CandidateCount() const
    {
        std::lock_guard lock(m_candidateLock);
        return m_candidates.size();
    }
    std::vector<PerformanceSummary> CopyCandidates() const
    {
        std::lock_guard lock(m_candidateLock);
        std::vector<PerformanceSummary> copies;
        for (const auto& candidate : m_candidates)
            copies.push_back(*candidate);
        return copies;
    }

private:
    const std::int32_t m_id;
    mutable std::mutex m_candidateLock;
    Candidates m_candidates;
};

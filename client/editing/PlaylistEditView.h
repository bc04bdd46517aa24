#pragma once
// The grid that shows the playlist editor's rows, told on the user-interface
// thread.

/// What the grid that shows the rows needs to redraw; row indices as after
/// the change.
class IPlaylistEditView {
public:
    virtual void OnRowsReset() = 0;
    virtual void OnRowInserted(int row) = 0;
    virtual void OnRowRemoved(int row) = 0;
    virtual void OnRowChanged(int row) = 0;
    /// A track row moved from one index to another (the index it now has).
    virtual void OnRowMoved(int from, int to) = 0;

protected:
    ~IPlaylistEditView() = default;
};

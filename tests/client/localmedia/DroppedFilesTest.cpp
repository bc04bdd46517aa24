#include "client/localmedia/DroppedFiles.h"

#include <gtest/gtest.h>

TEST(DroppedFiles, EachWindowActsOnItsOwnExtensions)
{
    using A = DropAction;
    using T = DropTarget;
    const struct {
        T target;
        const char* path;
        A expected;
    } cases[] = {
        {T::EditorTrackGrid, "/music/a.mp3", A::AddMp3File},
        {T::EditorTrackGrid, "/music/A.MP3", A::AddMp3File},
        {T::EditorTrackGrid, "/saved/list.Xml", A::AddXmlDocument},
        {T::EditorTrackGrid, "/music/list.m3u", A::Ignore},
        {T::EditorTrackGrid, "/music/list.pls", A::Ignore},
        {T::EditorTrackGrid, "/music/notes.txt", A::Ignore},
        {T::EditorTrackGrid, "/music/no-extension", A::Ignore},
        {T::EditorTrackGrid, "/music.mp3/track", A::Ignore},  // a dot in a folder is no extension
        {T::EditorTrackGrid, "/music/a.mp3.bak", A::Ignore},
        {T::EditorPane, "/saved/list.XML", A::AddXmlDocument},
        {T::EditorPane, "/music/a.mp3", A::Ignore},
        {T::MainWindow, "/music/a.mp3", A::Ignore},
        {T::MainWindow, "/saved/list.xml", A::Ignore},
        {T::ItemList, "/music/a.mp3", A::Ignore},
        {T::ItemList, "/saved/list.xml", A::Ignore},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << static_cast<int>(c.target) << " " << c.path);
        EXPECT_EQ(DropActionFor(c.target, c.path), c.expected);
    }
}

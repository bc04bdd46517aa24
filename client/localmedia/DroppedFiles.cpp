#include "client/localmedia/DroppedFiles.h"

#include "client/localmedia/PlaylistTransfer.h"

#include <algorithm>

DropAction DropActionFor(DropTarget target, const std::string& path)
{
    std::string extension = FileExtension(path).value_or(std::string());
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    switch (target) {
    case DropTarget::EditorTrackGrid:
        if (extension == "mp3")
            return DropAction::AddMp3File;
        return extension == "xml" ? DropAction::AddXmlDocument : DropAction::Ignore;
    case DropTarget::EditorPane: return extension == "xml" ? DropAction::AddXmlDocument : DropAction::Ignore;
    case DropTarget::MainWindow:
    case DropTarget::ItemList: break;
    }
    return DropAction::Ignore;
}

#include "client/catalogue/SummaryReaders.h"

#include "client/catalogue/AnswerXml.h"
#include "client/xml/XmlNode.h"

#include <string_view>

namespace {

// Calls f(name, child) for each element child, in document order.
template <class F>
void ForEachChildElement(const CXmlNode& element, F&& f)
{
    for (const CXmlNode* child = element.firstChild(); child; child = child->nextSibling())
        if (child->nodeType() == XmlNodeType::Element)
            f(child->nodeName(), *child);
}

std::int32_t AttributeNumber(const CXmlNode& element, std::u16string_view name)
{
    const auto value = AttributeText(element, name);
    return value ? DecimalNumber(*value) : 0;
}

COleDateTime ElementDate(const CXmlNode& element)
{
    COleDateTime result;
    result.ParseDateTime(ElementString(element));
    return result;
}

std::int32_t AvailableWhenZero(const CXmlNode& element)
{
    return ElementNumber(element) == 0 ? 1 : 0;
}

std::string BreaksToLines(std::string text)
{
    static constexpr std::string_view kBreak = "<BR>";
    for (std::size_t at = text.find(kBreak); at != std::string::npos; at = text.find(kBreak, at + 2))
        text.replace(at, kBreak.size(), "\r\n");
    return text;
}

}  // namespace

std::unique_ptr<UserSummary> ReadPlaymaker(const CXmlNode& element)
{
    auto record = std::make_unique<UserSummary>();
    record->userID = AttributeNumber(element, u"playmakerID");
    ForEachChildElement(element, [&](std::u16string_view name, const CXmlNode& child) {
        if (name == u"PlaymakerName")
            record->Handle = ElementString(child);
        else if (name == u"AcceptsEMail")
            record->AcceptsEMail = ElementNumber(child);
    });
    return record;
}

std::unique_ptr<ArtistSummary> ReadPrimaryArtist(const CXmlNode& element)
{
    auto record = std::make_unique<ArtistSummary>();
    record->artistID = AttributeNumber(element, u"primaryArtistID");
    ForEachChildElement(element, [&](std::u16string_view name, const CXmlNode& child) {
        if (name == u"ArtistName")
            record->Name = ElementString(child);
    });
    return record;
}

std::unique_ptr<PlaylistSummary> ReadPlaylistSummary(const CXmlNode& element)
{
    auto record = std::make_unique<PlaylistSummary>();
    record->playlistID = AttributeNumber(element, u"playlistID");
    if (const auto del = AttributeText(element, u"Delete"))
        record->Delete = *del == "1" ? 1 : 0;
    ForEachChildElement(element, [&](std::u16string_view name, const CXmlNode& child) {
        if (name == u"Name")
            record->Name = ElementString(child);
        else if (name == u"PlaylistDescription")
            record->PlaylistDescription = ElementString(child);
        else if (name == u"NumberOfPerformances")
            record->NumberOfPerformances = ElementNumber(child);
        else if (name == u"Playmaker")
            record->Playmaker = *ReadPlaymaker(child);
        else if (name == u"CreationDate")
            record->CreationDate = ElementDate(child);
        else if (name == u"LastModifiedDate")
            record->LastModifiedDate = ElementDate(child);
        else if (name == u"PrimaryMoodID")
            record->PrimaryMoodID = ElementNumber(child);
        else if (name == u"Theme")
            record->Theme = ElementString(child);
        else if (name == u"Ranking")
            record->Ranking = ElementNumber(child);
        else if (name == u"NumberOfBookmarks")
            record->NumberOfBookmarks = ElementNumber(child);
        else if (name == u"PrimaryGenreID")
            record->PrimaryGenreID = ElementNumber(child);
        else if (name == u"BookmarkID")
            record->BookmarkID = ElementNumber(child);
        else if (name == u"ComesAfterID")
            record->ComesAfterID = ElementNumber(child);
        // "Length" is known and carries nothing the client keeps.
    });
    return record;
}

std::unique_ptr<PerformanceSummary> ReadPerformanceSummary(const CXmlNode& element)
{
    auto record = std::make_unique<PerformanceSummary>();
    record->performanceID = AttributeNumber(element, u"performanceID");
    ForEachChildElement(element, [&](std::u16string_view name, const CXmlNode& child) {
        if (name == u"PrimaryArtist") {
            const auto artist = ReadPrimaryArtist(child);
            record->ArtistName = TrimTrailingSpace(artist->Name);
            record->primaryArtistID = artist->artistID;
        } else if (name == u"SongName") {
            record->SongName = TrimTrailingSpace(ElementString(child));
        } else if (name == u"Length") {
            record->Length = ElementNumber(child);
        } else if (name == u"PrimaryGenreID") {
            record->PrimaryGenreID = ElementNumber(child);
        } else if (name == u"NumberTimesBookmarked") {
            record->NumberTimesBookmarked = ElementNumber(child);
        } else if (name == u"NumberTimesUsedInPlaylists") {
            record->NumberTimesUsedInPlaylists = ElementNumber(child);
        } else if (name == u"Ranking") {
            record->Ranking = ElementNumber(child);
        } else if (name == u"PerformanceSourceID") {
            record->PerformanceSourceID = ElementNumber(child);
        } else if (name == u"PreviewAvailability") {
            record->previewAvailable = AvailableWhenZero(child);
        } else if (name == u"PlayAvailability") {
            record->playAvailable = AvailableWhenZero(child);
        } else if (name == u"Comment") {
            record->Comment = BreaksToLines(ElementString(child));
        } else if (name == u"Version") {
            record->Version = TrimTrailingSpace(ElementString(child));
        } else if (name == u"BookmarkID") {
            record->BookmarkID = ElementNumber(child);
        } else if (name == u"ComesAfterID") {
            record->ComesAfterID = ElementNumber(child);
        }
    });
    return record;
}

std::unique_ptr<ArtistSummary> ReadArtistSummary(const CXmlNode& element)
{
    auto record = std::make_unique<ArtistSummary>();
    record->artistID = AttributeNumber(element, u"artistID");
    ForEachChildElement(element, [&](std::u16string_view name, const CXmlNode& child) {
        if (name == u"NumberOfSongsInDB")
            record->NumberOfSongsInDB = ElementNumber(child);
        else if (name == u"NumberOfBookmarks")
            record->NumberOfBookmarks = ElementNumber(child);
        else if (name == u"Name")
            record->Name = ElementString(child);
        else if (name == u"Ranking")
            record->Ranking = ElementNumber(child);
        else if (name == u"BookmarkID")
            record->BookmarkID = ElementNumber(child);
        else if (name == u"ComesAfterID")
            record->ComesAfterID = ElementNumber(child);
    });
    return record;
}

std::unique_ptr<UserSummary> ReadUserSummary(const CXmlNode& element)
{
    auto record = std::make_unique<UserSummary>();
    record->userID = AttributeNumber(element, u"userID");
    ForEachChildElement(element, [&](std::u16string_view name, const CXmlNode& child) {
        if (name == u"Ranking")
            record->Ranking = ElementNumber(child);
        else if (name == u"NumberOfBookmarks")
            record->NumberOfBookmarks = ElementNumber(child);
        else if (name == u"NumberOfPlaylists")
            record->NumberOfPlaylists = ElementNumber(child);
        else if (name == u"Handle")
            record->Handle = ElementString(child);
        else if (name == u"AcceptsEMail")
            record->AcceptsEMail = ElementNumber(child);
        else if (name == u"DateCreated")
            record->DateCreated = ElementDate(child);
        else if (name == u"BookmarkID")
            record->BookmarkID = ElementNumber(child);
        else if (name == u"ComesAfterID")
            record->ComesAfterID = ElementNumber(child);
    });
    return record;
}

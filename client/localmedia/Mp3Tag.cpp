#include "client/localmedia/Mp3Tag.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include <sys/types.h>

namespace {

std::string TagText(std::span<const std::uint8_t, kMp3TagSize> block, std::size_t offset, std::size_t width)
{
    const auto field = block.subspan(offset, width);
    std::string text;
    for (std::uint8_t byte : field) {
        if (byte == 0)
            break;
        text.push_back(static_cast<char>(byte));
    }
    // Only a field that is blank-padded to its end loses its trailing blanks;
    // blanks before zero padding belong to the text.
    if (field.back() == ' ') {
        const auto last = text.find_last_not_of(' ');
        text.erase(last == std::string::npos ? 0 : last + 1);
    }
    return text;
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

bool Fail(FileError* error, const std::string& path, const std::string& what)
{
    if (error)
        *error = FileError{path, "The file \"" + path + "\" " + what + "."};
    return false;
}

bool ReadTagBlock(const std::string& path, std::uint8_t (&block)[kMp3TagSize], FileError* error)
{
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return Fail(error, path, std::string("could not be opened: ") + std::strerror(errno));
    if (fseeko(file.get(), 0, SEEK_END) != 0)
        return Fail(error, path, std::string("could not be read: ") + std::strerror(errno));
    const off_t size = ftello(file.get());
    if (size < 0)
        return Fail(error, path, std::string("could not be read: ") + std::strerror(errno));
    if (size < static_cast<off_t>(kMp3TagSize))
        return Fail(error, path, "is too short to hold a tag");
    if (fseeko(file.get(), size - static_cast<off_t>(kMp3TagSize), SEEK_SET) != 0)
        return Fail(error, path, std::string("could not be read: ") + std::strerror(errno));
    errno = 0;
    if (std::fread(block, 1, kMp3TagSize, file.get()) != kMp3TagSize) {
        const int code = errno;
        return Fail(error, path,
                    code ? std::string("could not be read: ") + std::strerror(code)
                         : std::string("is too short to hold a tag"));
    }
    return true;
}

}  // namespace

Mp3Tag ParseMp3Tag(std::span<const std::uint8_t, kMp3TagSize> block)
{
    Mp3Tag tag;
    if (block[0] != 'T' || block[1] != 'A' || block[2] != 'G')
        return tag;
    tag.title = TagText(block, 3, 30);
    tag.artist = TagText(block, 33, 30);
    tag.album = TagText(block, 63, 30);
    tag.year = TagText(block, 93, 4);
    tag.comment = TagText(block, 97, 29);
    tag.track = block[126];
    tag.genre = block[127];
    return tag;
}

std::optional<Mp3Tag> ReadMp3Tag(const std::string& path, FileError* error)
{
    std::uint8_t block[kMp3TagSize] = {};
    if (!ReadTagBlock(path, block, error))
        return std::nullopt;
    return ParseMp3Tag(block);
}

std::string TitleFromFileName(const std::string& path)
{
    const auto slash = path.rfind('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const auto dot = name.rfind('.');
    if (dot != std::string::npos)
        name.erase(dot);
    return name;
}

std::optional<Mp3TrackText> ReadMp3TrackText(const std::string& path, FileError* error)
{
    auto tag = ReadMp3Tag(path, error);
    if (!tag)
        return std::nullopt;
    if (tag->title.empty() && tag->artist.empty())
        return Mp3TrackText{TitleFromFileName(path), std::string()};
    return Mp3TrackText{std::move(tag->title), std::move(tag->artist)};
}

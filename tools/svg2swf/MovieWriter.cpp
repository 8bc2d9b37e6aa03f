#include "MovieWriter.h"

#include "BitWriter.h"
#include "ShapeEncoder.h"
#include "SwfTags.h"

#include <map>
#include <zlib.h>

void MovieWriter::AppendTag(std::vector<uint8_t>& out, uint16_t code, const std::vector<uint8_t>& body)
{
    swfwrite::appendTag(out, code, body);
}

namespace
{

std::vector<uint8_t> PlaceBody(uint16_t depth, uint16_t character)
{
    BitWriter w;
    w.WriteU8(0x06); // PlaceFlagHasMatrix | PlaceFlagHasCharacter
    w.WriteU16(depth);
    w.WriteU16(character);
    // Shapes are drawn in movie coordinates already: the identity matrix.
    ShapeEncoder::WriteMatrix(w, Affine{});
    return w.Bytes();
}

} // namespace

std::optional<std::vector<uint8_t>> MovieWriter::Write(const Movie& movie, std::string& error)
{
    // Encode every item once; identical shapes share one character.
    std::map<std::vector<uint8_t>, uint16_t> characterOf;
    std::vector<uint8_t> tags;
    bool overflow = false;
    auto characterFor = [&](const ShapeItem& item) -> int
    {
        std::vector<uint8_t> body;
        if (!ShapeEncoder::Encode(item, body))
            return 0;
        auto it = characterOf.find(body);
        if (it != characterOf.end())
            return it->second;
        if (characterOf.size() >= 65534)
        {
            overflow = true;
            return 0;
        }
        const uint16_t id = uint16_t(characterOf.size() + 1);
        characterOf.emplace(body, id);
        std::vector<uint8_t> tag{uint8_t(id & 0xFF), uint8_t(id >> 8)};
        tag.insert(tag.end(), body.begin(), body.end());
        AppendTag(tags, DefineShape3, tag);
        return id;
    };

    std::vector<int> background;
    for (const ShapeItem& item : movie.background)
        if (int id = characterFor(item))
            background.push_back(id);
    std::vector<std::vector<int>> frames;
    for (const MovieFrame& frame : movie.frames)
    {
        std::vector<int> ids;
        for (const ShapeItem& item : frame.items)
            if (int id = characterFor(item))
                ids.push_back(id);
        frames.push_back(std::move(ids));
    }
    size_t deepest = background.size();
    for (const auto& f : frames)
        deepest = std::max(deepest, background.size() + f.size());
    if (overflow || deepest > 65535)
    {
        error = "the movie needs too many shapes";
        return std::nullopt;
    }

    for (size_t d = 0; d < background.size(); ++d)
        AppendTag(tags, PlaceObject2, PlaceBody(uint16_t(d + 1), uint16_t(background[d])));
    const std::vector<int>* previous = nullptr;
    int frameCount = 0;
    for (size_t f = 0; f < frames.size(); ++f)
    {
        const std::vector<int>& now = frames[f];
        const size_t base = background.size() + 1;
        // Change only the depths whose shape differs from the previous frame.
        if (previous)
        {
            for (size_t i = 0; i < previous->size(); ++i)
                if (i >= now.size() || (*previous)[i] != now[i])
                    AppendTag(tags, RemoveObject2, swfwrite::removeObject2(int(base + i)));
        }
        for (size_t i = 0; i < now.size(); ++i)
            if (!previous || i >= previous->size() || (*previous)[i] != now[i])
                AppendTag(tags, PlaceObject2, PlaceBody(uint16_t(base + i), uint16_t(now[i])));
        if (!movie.frames[f].label.empty())
        {
            AppendTag(tags, FrameLabel, swfwrite::frameLabel(movie.frames[f].label));
        }
        for (int h = 0; h < movie.frames[f].hold; ++h)
        {
            AppendTag(tags, ShowFrame, {});
            ++frameCount;
        }
        previous = &now;
    }
    AppendTag(tags, End, {});
    if (frameCount > 65535)
    {
        error = "too many frames";
        return std::nullopt;
    }

    BitWriter head;
    ShapeEncoder::WriteRect(head, 0, movie.widthTwips, 0, movie.heightTwips);
    head.WriteU16(uint16_t(movie.frameRate << 8)); // 8.8 fixed point
    head.WriteU16(uint16_t(frameCount));
    std::vector<uint8_t> rest = head.Bytes();
    rest.insert(rest.end(), tags.begin(), tags.end());

    const uint32_t fileLength = uint32_t(8 + rest.size());
    std::vector<uint8_t> file{uint8_t(movie.compressed ? 'C' : 'F'), 'W', 'S', Version};
    for (int i = 0; i < 4; ++i)
        file.push_back(uint8_t((fileLength >> (8 * i)) & 0xFF));
    if (!movie.compressed)
    {
        file.insert(file.end(), rest.begin(), rest.end());
        return file;
    }
    uLongf packedLength = compressBound(uLong(rest.size()));
    std::vector<uint8_t> packed(packedLength);
    if (compress2(packed.data(), &packedLength, rest.data(), uLong(rest.size()), Z_BEST_COMPRESSION) != Z_OK)
    {
        error = "compression failed";
        return std::nullopt;
    }
    file.insert(file.end(), packed.begin(), packed.begin() + long(packedLength));
    return file;
}

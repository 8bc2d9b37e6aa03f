#include "media/SoundData.h"

#include <algorithm>
#include <cstring>

#include <vorbis/vorbisfile.h>

int DecodedSoundData::Read(Voice& voice, int16_t* out, int count, bool& ended)
{
    const int64_t length = static_cast<int64_t>(samples.size());
    // A loop end beyond the samples (or none at all) stops at the last sample,
    // so a voice can never read past the data.
    const int64_t end = (voice.end <= 0 || voice.end > length) ? length : voice.end;
    int written = 0;
    while (written < count)
    {
        if (voice.position < 0 || voice.position >= length)
        {
            ended = true;
            break;
        }
        out[written++] = samples[static_cast<size_t>(voice.position)];
        voice.position += 1;
        if (voice.position >= end)
        {
            voice.position = voice.loopStart;
            if (voice.loopsRemaining == -1)
            {
                continue;
            }
            voice.loopsRemaining -= 1;
            if (voice.loopsRemaining <= 0)
            {
                ended = true;
                break;
            }
        }
    }
    return written;
}

namespace
{

// Music read from its in-memory file through vorbisfile.
class StreamedSoundData : public SoundData
{
  public:
    StreamedSoundData(const uint8_t* bytes, size_t size) : file(bytes, bytes + size) {}
    ~StreamedSoundData() override
    {
        if (opened)
        {
            ov_clear(&decoder);
        }
    }
    StreamedSoundData(const StreamedSoundData&) = delete;
    StreamedSoundData& operator=(const StreamedSoundData&) = delete;

    bool OpenDecoder(StreamInfo& info);
    int Read(Voice& voice, int16_t* out, int count, bool& ended) override;
    int64_t Length() const override { return 0; }

  private:
    static size_t ReadBytes(void* destination, size_t size, size_t count, void* source);
    static int SeekBytes(void* source, ogg_int64_t offset, int whence);
    static long TellBytes(void* source);

    std::vector<uint8_t> file;
    size_t readPosition = 0;
    OggVorbis_File decoder{};
    bool opened = false;
    int channels = 2;
};

size_t StreamedSoundData::ReadBytes(void* destination, size_t size, size_t count, void* source)
{
    auto* self = static_cast<StreamedSoundData*>(source);
    if (size == 0)
    {
        return 0;
    }
    const size_t available = self->file.size() - self->readPosition;
    const size_t objects = std::min(count, available / size);
    std::memcpy(destination, self->file.data() + self->readPosition, objects * size);
    self->readPosition += objects * size;
    return objects;
}

int StreamedSoundData::SeekBytes(void* source, ogg_int64_t offset, int whence)
{
    auto* self = static_cast<StreamedSoundData*>(source);
    int64_t base = 0;
    switch (whence)
    {
    case SEEK_SET:
        base = 0;
        break;
    case SEEK_CUR:
        base = static_cast<int64_t>(self->readPosition);
        break;
    case SEEK_END:
        base = static_cast<int64_t>(self->file.size());
        break;
    default:
        return -1;
    }
    const int64_t target = base + offset;
    if (target < 0 || target > static_cast<int64_t>(self->file.size()))
    {
        return -1;
    }
    self->readPosition = static_cast<size_t>(target);
    return 0;
}

long StreamedSoundData::TellBytes(void* source)
{
    return static_cast<long>(static_cast<StreamedSoundData*>(source)->readPosition);
}

bool StreamedSoundData::OpenDecoder(StreamInfo& info)
{
    ov_callbacks callbacks{};
    callbacks.read_func = &StreamedSoundData::ReadBytes;
    callbacks.seek_func = &StreamedSoundData::SeekBytes;
    callbacks.tell_func = &StreamedSoundData::TellBytes;
    callbacks.close_func = nullptr; // the bytes belong to this object
    if (ov_open_callbacks(this, &decoder, nullptr, 0, callbacks) != 0)
    {
        return false;
    }
    opened = true;
    const vorbis_info* vi = ov_info(&decoder, -1);
    if (vi == nullptr)
    {
        return false;
    }
    info.channels = vi->channels;
    info.rate = static_cast<int>(vi->rate);
    channels = vi->channels > 0 ? vi->channels : 1;
    return true;
}

int StreamedSoundData::Read(Voice& voice, int16_t* out, int count, bool& ended)
{
    ended = false; // music has no end: it repeats until it is stopped
    const int frameBytes = channels * 2;
    // The voice position is kept inside the stream (it restarts at 0 on each
    // pass), so the seek is only needed when something else moved the
    // decoder, such as a second voice playing the same music.
    if (ov_pcm_tell(&decoder) != voice.position)
    {
        ov_pcm_seek(&decoder, voice.position);
    }
    char* bytes = reinterpret_cast<char*>(out);
    const int wanted = count * 2;
    int filled = 0;
    bool producedSincePassStart = voice.position != 0;
    while (filled < wanted)
    {
        int bitstream = 0;
        const long got = ov_read(&decoder, bytes + filled, wanted - filled, 0, 2, 1, &bitstream);
        if (got > 0)
        {
            filled += static_cast<int>(got);
            voice.position += got / frameBytes;
            producedSincePassStart = true;
            continue;
        }
        if (got < 0)
        {
            break; // damaged stream: the rest of this piece stays silent
        }
        // End of the stream: continue from its first sample. A whole pass
        // that gave nothing (a stream without samples) leaves the rest silent
        // instead of spinning here while the mixer holds its lock.
        if (!producedSincePassStart || ov_pcm_seek(&decoder, 0) != 0)
        {
            break;
        }
        voice.position = 0;
        producedSincePassStart = false;
    }
    return filled / 2;
}

} // namespace

std::shared_ptr<SoundData> MakeStreamedSoundData(const uint8_t* bytes, size_t size, StreamInfo& info)
{
    if (bytes == nullptr || size == 0)
    {
        return nullptr;
    }
    auto data = std::make_shared<StreamedSoundData>(bytes, size);
    if (!data->OpenDecoder(info))
    {
        return nullptr;
    }
    return data;
}

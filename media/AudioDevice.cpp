#include "media/AudioDevice.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "engine/platform/AudioBackend.h"

AudioDevice::~AudioDevice()
{
    Close();
}

void AudioDevice::Log(const std::string& text) const
{
    // The device reports its own problems on standard output; the player is
    // told only through the sound manager's message.
    std::fputs(text.c_str(), stdout);
    std::fflush(stdout);
}

AudioError AudioDevice::Open(std::unique_ptr<AudioBackend> output, int latencyMs, int channels, int bits, int rate,
                             int voiceCount)
{
    if (!output)
    {
        return AudioError::MissingDevice;
    }
    if (IsOpen())
    {
        return AudioError::BadArgument;
    }
    channels = channels == 0 ? 2 : channels;
    bits = bits == 0 ? 16 : bits;
    rate = rate == 0 ? 44100 : rate;
    latencyMs = latencyMs == 0 ? 50 : latencyMs;
    // The mixer writes 16-bit samples only; the output converts if it must.
    if ((channels != 1 && channels != 2) || bits != 16 || rate <= 0 || latencyMs < 0 || voiceCount <= 0)
    {
        return AudioError::BadArgument;
    }

    bufferMs = latencyMs / BufferCount;
    const int frameBytes = channels * bits / 8;
    bufferBytes = static_cast<int>(static_cast<int64_t>(bits / 8) * bufferMs * channels * rate / 1000);
    bufferBytes -= bufferBytes % frameBytes;
    if (bufferBytes <= 0)
    {
        return AudioError::BadArgument;
    }

    {
        std::lock_guard<std::mutex> lock(mutex);
        buffers.assign(BufferCount, std::vector<uint8_t>(static_cast<size_t>(bufferBytes), 0));
        voices.assign(static_cast<size_t>(voiceCount), Voice{});
        readBuffer = 0;
        readOffset = 0;
        format = AudioFormatRecord{};
        format.channels = channels;
        format.bits = bits;
        format.rate = rate;
        format.bytesPerSample = bits / 8;
        format.bytesPerFrame = frameBytes;
    }

    AudioOutputFormat wanted;
    wanted.rate = rate;
    wanted.channels = channels;
    wanted.bits = bits;
    wanted.latencyMs = latencyMs;
    std::string error;
    if (!output->Open(
            wanted, [this](uint8_t* bytes, int count) { ReadOutput(bytes, count); }, error))
    {
        if (error.empty())
        {
            Log("No audio devices found\n");
        }
        else
        {
            Log("Could not open device, err = " + error + "\n");
        }
        std::lock_guard<std::mutex> lock(mutex);
        buffers.clear();
        voices.clear();
        return AudioError::DeviceFailure;
    }
    std::lock_guard<std::mutex> lock(mutex);
    std::snprintf(format.description, sizeof(format.description), "SDL: %s (%d Hz, %d-bit, %s)",
                  output->DeviceName().c_str(), rate, bits, channels == 2 ? "stereo" : "mono");
    backend = std::move(output);
    return AudioError::None;
}

void AudioDevice::Close()
{
    StopAllVoices();
    std::unique_ptr<AudioBackend> output;
    {
        std::lock_guard<std::mutex> lock(mutex);
        output = std::move(backend);
    }
    // Closed without the lock: the output waits for a pull in progress, and
    // that pull needs the lock to finish.
    if (output)
    {
        output->Close();
    }
    std::lock_guard<std::mutex> lock(mutex);
    buffers.clear();
    voices.clear();
}

AudioError AudioDevice::GetFormat(AudioFormatRecord& record)
{
    if (record.size != sizeof(AudioFormatRecord))
    {
        return AudioError::WrongRecordSize;
    }
    std::lock_guard<std::mutex> lock(mutex);
    if (!backend)
    {
        return AudioError::MissingDevice;
    }
    record = format;
    return AudioError::None;
}

AudioError AudioDevice::Play(const std::shared_ptr<SoundData>& data, int& voice, uint16_t volume, int16_t pan,
                             int64_t loopStart, int64_t end, int loops)
{
    if (!data || loops == 0 || loops < -1)
    {
        return AudioError::BadArgument;
    }
    std::lock_guard<std::mutex> lock(mutex);
    if (!backend)
    {
        return AudioError::MissingDevice;
    }
    const int64_t length = data->Length();
    if (loopStart < 0 || (length > 0 && loopStart >= length))
    {
        return AudioError::BadArgument;
    }
    for (size_t i = 0; i < voices.size(); ++i)
    {
        Voice& v = voices[i];
        if (v.data)
        {
            continue;
        }
        v.data = data;
        v.position = 0;
        v.volume = volume;
        v.pan = pan;
        v.loopStart = loopStart;
        v.end = (end <= 0 || end > length) ? length : end;
        v.loopsRemaining = loops;
        voice = static_cast<int>(i);
        return AudioError::None;
    }
    return AudioError::NoFreeVoice;
}

Voice* AudioDevice::VoicePlaying(int voice, const SoundData* data)
{
    if (voice < 0 || voice >= static_cast<int>(voices.size()) || data == nullptr)
    {
        return nullptr;
    }
    Voice& v = voices[static_cast<size_t>(voice)];
    return v.data.get() == data ? &v : nullptr;
}

AudioError AudioDevice::Stop(int voice, const SoundData* data)
{
    std::lock_guard<std::mutex> lock(mutex);
    Voice* v = VoicePlaying(voice, data);
    if (v == nullptr)
    {
        return AudioError::BadArgument;
    }
    *v = Voice{};
    return AudioError::None;
}

AudioError AudioDevice::SetVolume(int voice, const SoundData* data, uint16_t volume)
{
    std::lock_guard<std::mutex> lock(mutex);
    Voice* v = VoicePlaying(voice, data);
    if (v == nullptr)
    {
        return AudioError::BadArgument;
    }
    v->volume = volume;
    return AudioError::None;
}

bool AudioDevice::IsPlaying(int voice, const SoundData* data)
{
    std::lock_guard<std::mutex> lock(mutex);
    return VoicePlaying(voice, data) != nullptr;
}

void AudioDevice::StopAllVoices()
{
    std::lock_guard<std::mutex> lock(mutex);
    for (Voice& v : voices)
    {
        v = Voice{};
    }
}

int AudioDevice::BusyVoices()
{
    std::lock_guard<std::mutex> lock(mutex);
    return static_cast<int>(
        std::count_if(voices.begin(), voices.end(), [](const Voice& v) { return v.data != nullptr; }));
}

AudioError AudioDevice::CreateDecodedSound(std::shared_ptr<SoundData>& data, std::vector<int16_t> samples)
{
    if (samples.empty())
    {
        return AudioError::BadArgument;
    }
    data = std::make_shared<DecodedSoundData>(std::move(samples));
    return AudioError::None;
}

AudioError AudioDevice::CreateStreamedSound(std::shared_ptr<SoundData>& data, const uint8_t* fileBytes, size_t size)
{
    if (fileBytes == nullptr || size == 0)
    {
        return AudioError::BadArgument;
    }
    int channels = 0;
    int rate = 0;
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (!backend)
        {
            return AudioError::MissingDevice;
        }
        channels = format.channels;
        rate = format.rate;
    }
    StreamInfo info;
    std::shared_ptr<SoundData> created = MakeStreamedSoundData(fileBytes, size, info);
    if (!created)
    {
        return AudioError::BadArgument;
    }
    if (info.channels != channels || info.rate != rate)
    {
        return AudioError::FormatMismatch;
    }
    data = std::move(created);
    return AudioError::None;
}

AudioError AudioDevice::ReleaseData(std::shared_ptr<SoundData>& data)
{
    if (!data)
    {
        return AudioError::BadArgument;
    }
    std::lock_guard<std::mutex> lock(mutex);
    const bool shared = data.use_count() > 1;
    data.reset();
    return shared ? AudioError::DataInUse : AudioError::None;
}

void AudioDevice::ReadOutput(uint8_t* bytes, int count)
{
    std::lock_guard<std::mutex> lock(mutex);
    if (buffers.empty())
    {
        std::memset(bytes, 0, static_cast<size_t>(std::max(count, 0)));
        return;
    }
    while (count > 0)
    {
        std::vector<uint8_t>& buffer = buffers[static_cast<size_t>(readBuffer)];
        const int take = std::min(count, bufferBytes - readOffset);
        std::memcpy(bytes, buffer.data() + readOffset, static_cast<size_t>(take));
        bytes += take;
        count -= take;
        readOffset += take;
        if (readOffset == bufferBytes)
        {
            // This buffer has been played: mix it anew and queue it behind
            // the other seven.
            MixBuffer(buffer);
            readBuffer = (readBuffer + 1) % BufferCount;
            readOffset = 0;
        }
    }
}

void AudioDevice::MixBuffer(std::vector<uint8_t>& buffer)
{
    const int sampleCount = static_cast<int>(buffer.size() / 2);
    std::vector<int32_t> sum(static_cast<size_t>(sampleCount), 0);
    int16_t work[ChunkBytes / 2];
    const bool stereo = format.channels == 2;

    for (Voice& v : voices)
    {
        if (!v.data)
        {
            continue;
        }
        const int32_t leftVolume = std::min<int32_t>(v.volume - 2 * v.pan, 65535);
        const int32_t rightVolume = std::min<int32_t>(v.volume + 2 * v.pan, 65535);
        int done = 0;
        while (done < sampleCount)
        {
            const int piece = std::min(sampleCount - done, ChunkBytes / 2);
            bool ended = false;
            const int got = std::clamp(v.data->Read(v, work, piece, ended), 0, piece);
            for (int i = 0; i < got; ++i)
            {
                const int32_t volume = (stereo && ((done + i) & 1)) ? rightVolume : (stereo ? leftVolume : v.volume);
                int32_t& out = sum[static_cast<size_t>(done + i)];
                out = std::clamp(out + ((work[i] * volume) >> 16), -32768, 32767);
            }
            done += piece;
            if (ended)
            {
                v = Voice{}; // drops the voice's reference to the data
                break;
            }
        }
    }
    for (int i = 0; i < sampleCount; ++i)
    {
        const auto sample = static_cast<uint16_t>(static_cast<int16_t>(sum[static_cast<size_t>(i)]));
        buffer[static_cast<size_t>(i) * 2] = static_cast<uint8_t>(sample & 0xFF);
        buffer[static_cast<size_t>(i) * 2 + 1] = static_cast<uint8_t>(sample >> 8);
    }
}

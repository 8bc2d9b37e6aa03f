#include "OggEncoder.h"

#include "SoundRenderer.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>

namespace
{

void AppendPage(std::vector<uint8_t>& out, const ogg_page& page)
{
    out.insert(out.end(), page.header, page.header + page.header_len);
    out.insert(out.end(), page.body, page.body + page.body_len);
}

// Owns the encoder's state for one file.
struct Encoder
{
    vorbis_info info;
    vorbis_comment comment;
    vorbis_dsp_state dsp;
    vorbis_block block;
    ogg_stream_state stream;
    bool dspReady = false;

    Encoder()
    {
        vorbis_info_init(&info);
        vorbis_comment_init(&comment);
    }
    ~Encoder()
    {
        if (dspReady)
        {
            ogg_stream_clear(&stream);
            vorbis_block_clear(&block);
            vorbis_dsp_clear(&dsp);
        }
        vorbis_comment_clear(&comment);
        vorbis_info_clear(&info);
    }
    Encoder(const Encoder&) = delete;
    Encoder& operator=(const Encoder&) = delete;
};

void Drain(Encoder& e, std::vector<uint8_t>& out)
{
    while (vorbis_analysis_blockout(&e.dsp, &e.block) == 1)
    {
        vorbis_analysis(&e.block, nullptr);
        vorbis_bitrate_addblock(&e.block);
        ogg_packet packet;
        while (vorbis_bitrate_flushpacket(&e.dsp, &packet))
        {
            ogg_stream_packetin(&e.stream, &packet);
            ogg_page page;
            while (ogg_stream_pageout(&e.stream, &page) != 0)
                AppendPage(out, page);
        }
    }
}

} // namespace

std::optional<std::vector<uint8_t>> EncodeOggVorbis(const RenderedSound& sound, double quality,
                                                    const std::string& title, std::string& error)
{
    Encoder e;
    if (vorbis_encode_init_vbr(&e.info, sound.channels, sound.rate, float(std::clamp(quality, -0.1, 1.0))) != 0)
    {
        error = "the Vorbis encoder refused the format";
        return std::nullopt;
    }
    if (!title.empty())
        vorbis_comment_add_tag(&e.comment, "TITLE", title.c_str());
    vorbis_analysis_init(&e.dsp, &e.info);
    vorbis_block_init(&e.dsp, &e.block);
    ogg_stream_init(&e.stream, 0x51564F52); // fixed serial
    e.dspReady = true;

    std::vector<uint8_t> out;
    ogg_packet header, commentPacket, codebooks;
    vorbis_analysis_headerout(&e.dsp, &e.comment, &header, &commentPacket, &codebooks);
    ogg_stream_packetin(&e.stream, &header);
    ogg_stream_packetin(&e.stream, &commentPacket);
    ogg_stream_packetin(&e.stream, &codebooks);
    ogg_page page;
    while (ogg_stream_flush(&e.stream, &page) != 0)
        AppendPage(out, page);

    const size_t frames = sound.Frames();
    const size_t chunk = 1024;
    for (size_t at = 0; at < frames; at += chunk)
    {
        const size_t n = std::min(chunk, frames - at);
        float** buffer = vorbis_analysis_buffer(&e.dsp, int(n));
        for (size_t i = 0; i < n; ++i)
            for (int c = 0; c < sound.channels; ++c)
                buffer[c][i] = sound.samples[(at + i) * size_t(sound.channels) + size_t(c)];
        vorbis_analysis_wrote(&e.dsp, int(n));
        Drain(e, out);
    }
    vorbis_analysis_wrote(&e.dsp, 0); // end of stream
    Drain(e, out);
    while (ogg_stream_flush(&e.stream, &page) != 0)
        AppendPage(out, page);
    return out;
}

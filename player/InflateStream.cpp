#include "player/InflateStream.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

namespace swf
{

namespace
{
constexpr int ChunkSize = 4096;
}

struct InflateStream::State
{
    z_stream zs{};
    bool initialised = false;
    unsigned char input[ChunkSize];
};

InflateStream::InflateStream(FileStream& underlying) : state(std::make_unique<State>()), source(underlying)
{
    sourceStart = source.tell();
    if (inflateInit(&state->zs) != Z_OK)
        failed = true;
    else
        state->initialised = true;
    if (failed)
        error = 1;
}

InflateStream::~InflateStream()
{
    close();
}

bool InflateStream::restart()
{
    if (!state->initialised || inflateReset(&state->zs) != Z_OK)
    {
        failed = true;
        return false;
    }
    state->zs.avail_in = 0;
    state->zs.next_in = state->input;
    if (source.seek(sourceStart) != sourceStart)
    {
        failed = true;
        return false;
    }
    logicalPos = 0;
    ended = false;
    return true;
}

int InflateStream::read(void* buffer, int count)
{
    if (failed || ended || closed || count <= 0)
        return 0;
    z_stream& zs = state->zs;
    zs.next_out = static_cast<Bytef*>(buffer);
    zs.avail_out = static_cast<uInt>(count);
    while (zs.avail_out > 0)
    {
        if (zs.avail_in == 0)
        {
            int n = source.read(state->input, ChunkSize);
            if (n <= 0)
                break;
            zs.next_in = state->input;
            zs.avail_in = static_cast<uInt>(n);
        }
        int rc = inflate(&zs, Z_NO_FLUSH);
        if (rc == Z_STREAM_END)
        {
            ended = true;
            break;
        }
        if (rc != Z_OK)
        {
            // Z_BUF_ERROR with input left means no progress is possible either.
            failed = true;
            break;
        }
    }
    int produced = count - static_cast<int>(zs.avail_out);
    logicalPos += produced;
    return produced;
}

void InflateStream::discard(int64_t count)
{
    unsigned char scratch[ChunkSize];
    while (count > 0)
    {
        int want = static_cast<int>(std::min<int64_t>(count, ChunkSize));
        int got = read(scratch, want);
        if (got <= 0)
            break;
        count -= got;
    }
}

int64_t InflateStream::seek(int64_t position)
{
    if (position < logicalPos && !restart())
        return logicalPos;
    discard(position - logicalPos);
    return logicalPos;
}

void InflateStream::seekToEnd()
{
    discard(INT64_MAX);
}

int InflateStream::close()
{
    if (closed)
        return 0;
    closed = true;
    if (!state->initialised)
        return 0;
    // Hand back the unconsumed input so the underlying stream stands just after the compressed data.
    if (state->zs.avail_in > 0)
        source.seek(source.tell() - state->zs.avail_in);
    state->initialised = false;
    return inflateEnd(&state->zs) == Z_OK ? 0 : 5;
}

} // namespace swf

#include "Loudness.h"

#include <cmath>
#include <cstddef>

namespace
{

struct Biquad
{
    double b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
    double z1 = 0, z2 = 0;
    double Run(double x)
    {
        const double y = b0 * x + z1;
        z1 = b1 * x - a1 * y + z2;
        z2 = b2 * x - a2 * y;
        return y;
    }
};

// The high shelf (+4 dB above about 1.7 kHz) modelling the head.
Biquad Shelf(int rate)
{
    const double f0 = 1681.974450955533, gainDb = 3.999843853973347, q = 0.7071752369554196;
    const double k = std::tan(M_PI * f0 / rate);
    const double vh = std::pow(10.0, gainDb / 20), vb = std::pow(vh, 0.4996667741545416);
    const double a0 = 1 + k / q + k * k;
    Biquad f;
    f.b0 = (vh + vb * k / q + k * k) / a0;
    f.b1 = 2 * (k * k - vh) / a0;
    f.b2 = (vh - vb * k / q + k * k) / a0;
    f.a1 = 2 * (k * k - 1) / a0;
    f.a2 = (1 - k / q + k * k) / a0;
    return f;
}

// The high pass (about 38 Hz) of the revised low-frequency B curve.
Biquad HighPass(int rate)
{
    const double f0 = 38.13547087602444, q = 0.5003270373238773;
    const double k = std::tan(M_PI * f0 / rate);
    const double a0 = 1 + k / q + k * k;
    Biquad f;
    f.b0 = 1;
    f.b1 = -2;
    f.b2 = 1;
    f.a1 = 2 * (k * k - 1) / a0;
    f.a2 = (1 - k / q + k * k) / a0;
    return f;
}

double ToLufs(double meanSquare)
{
    return meanSquare > 0 ? -0.691 + 10 * std::log10(meanSquare) : -200.0;
}

} // namespace

double IntegratedLoudness(const std::vector<float>& interleaved, int channels, int rate)
{
    if (channels < 1 || rate < 1)
        return -200.0;
    const size_t frames = interleaved.size() / size_t(channels);
    const size_t step = size_t(rate) / 10; // 100 ms: a block is four steps
    if (frames < 4 * step || step == 0)
        return -200.0;

    // Sum over channels of the K-weighted squares, per 100 ms step.
    std::vector<double> steps(frames / step, 0.0);
    for (int c = 0; c < channels; ++c)
    {
        Biquad shelf = Shelf(rate), highPass = HighPass(rate);
        for (size_t i = 0; i < steps.size() * step; ++i)
        {
            const double y = highPass.Run(shelf.Run(interleaved[i * size_t(channels) + size_t(c)]));
            steps[i / step] += y * y;
        }
    }
    std::vector<double> blocks;
    for (size_t i = 0; i + 4 <= steps.size(); ++i)
        blocks.push_back((steps[i] + steps[i + 1] + steps[i + 2] + steps[i + 3]) / double(4 * step));

    auto gatedMean = [&](double threshold)
    {
        double sum = 0;
        size_t kept = 0;
        for (double z : blocks)
            if (ToLufs(z) > threshold)
            {
                sum += z;
                ++kept;
            }
        return kept ? sum / double(kept) : 0.0;
    };
    const double absolute = gatedMean(-70.0);
    if (absolute <= 0)
        return -200.0;
    return ToLufs(gatedMean(ToLufs(absolute) - 10.0));
}

#pragma once

#include <vector>

// Integrated loudness after ITU-R BS.1770-4 (LUFS): K-weighting, mean square
// over 400 ms blocks overlapping by three quarters, the absolute gate at
// -70 LUFS and the relative gate 10 LU below the loudness of the blocks
// kept by it. Front left and right channels, weight 1 each. The K-weighting
// filters are derived from their analogue prototypes for any sample rate.
// Returns -70 or less for silence and for sounds shorter than one block.
[[nodiscard]] double IntegratedLoudness(const std::vector<float>& interleaved, int channels, int rate);

// Digital silence: a stretch of equal samples, as a recorder writes before a
// transmission begins or between two. It is no signal: it is read as the
// level it holds, and takes no part in measuring the signal or following it.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

namespace tonobild {

struct Silence {
    std::size_t begin = 0; // the first silent sample
    std::size_t end = 0;   // the first sample after it
};

// The stretches of at least `shortest` equal samples, in order. Every pixel
// group sends its reference cycle, 224 and 31, so a transmission never stays
// at one level for a group's length: `shortest` of a group's length never
// takes a transmission for silence.
template <class Sample>
std::vector<Silence> findSilences(std::span<const Sample> samples, std::size_t shortest)
{
    std::vector<Silence> silences;
    std::size_t begin = 0;
    for (std::size_t i = 1; i <= samples.size(); ++i)
        if (i == samples.size() || samples[i] != samples[begin]) {
            if (i - begin >= shortest)
                silences.push_back({begin, i});
            begin = i;
        }
    return silences;
}

} // namespace tonobild

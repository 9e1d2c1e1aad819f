#include "frontend/spectral_line.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "common/liquid_dsp.h"

namespace tonobild {

namespace {

// Fewer blocks than this cannot tell a line from the rest.
constexpr std::size_t kFewestBlocks = 64;
// Blocks this many times shorter than the range searched keep its edges within a few per cent.
constexpr double kBlocksPerRange = 8.0;
// Refinement steps of the golden section: each keeps 0.618 of the bracket.
constexpr int kRefinements = 40;

using Complex = std::complex<double>;

// The signal mixed down by `frequency` and summed over blocks of `block` samples.
std::vector<Complex> mixedDownBlocks(std::span<const float> signal, double frequency, std::size_t block)
{
    std::vector<Complex> blocks(signal.size() / block);
    const Complex step = phasorAt(frequency, 1);
    for (std::size_t b = 0; b < blocks.size(); ++b) {
        Complex phasor = phasorAt(frequency, b * block);
        Complex sum;
        for (const float s : signal.subspan(b * block, block)) {
            sum += static_cast<double>(s) * phasor;
            phasor *= step;
        }
        blocks[b] = sum;
    }
    return blocks;
}

// The power of the blocks at `turns` per block.
double powerAt(const std::vector<Complex>& blocks, double turns)
{
    Complex sum;
    const Complex step = std::polar(1.0, -2.0 * std::numbers::pi * turns);
    Complex phasor = 1.0;
    for (const Complex& b : blocks) {
        sum += b * phasor;
        phasor *= step;
    }
    return std::norm(sum);
}

// The power of every bin of the blocks, zero-padded to a power of two at least twice their number.
std::vector<double> binPowers(const std::vector<Complex>& blocks)
{
    std::size_t size = 1;
    while (size < 2 * blocks.size())
        size *= 2;
    std::vector<std::complex<float>> in(size), out(size);
    std::transform(blocks.begin(), blocks.end(), in.begin(), [](const Complex& b) { return std::complex<float>(b); });
    fftplan plan = fft_create_plan(static_cast<unsigned>(size), in.data(), out.data(), LIQUID_FFT_FORWARD, 0);
    fft_execute(plan);
    fft_destroy_plan(plan);
    std::vector<double> powers(size);
    std::transform(out.begin(), out.end(), powers.begin(), [](const std::complex<float>& c) { return std::norm(c); });
    return powers;
}

// The maximum of the blocks' power between two frequencies (turns per block) by golden section.
double refinedPeak(const std::vector<Complex>& blocks, double low, double high)
{
    const double ratio = (std::sqrt(5.0) - 1.0) / 2.0;
    double a = high - ratio * (high - low);
    double b = low + ratio * (high - low);
    double powerA = powerAt(blocks, a);
    double powerB = powerAt(blocks, b);
    for (int step = 0; step < kRefinements; ++step) {
        if (powerA < powerB) {
            low = a, a = b, powerA = powerB;
            b = low + ratio * (high - low), powerB = powerAt(blocks, b);
        } else {
            high = b, b = a, powerB = powerA;
            a = high - ratio * (high - low), powerA = powerAt(blocks, a);
        }
    }
    return (low + high) / 2.0;
}

} // namespace

Complex lineAmplitude(std::span<const float> signal, double frequency)
{
    if (signal.empty())
        return {};
    const std::vector<Complex> whole = mixedDownBlocks(signal, frequency, signal.size());
    return whole.front() / static_cast<double>(signal.size());
}

std::complex<double> phasorAt(double frequency, std::size_t n)
{
    return std::polar(1.0, -2.0 * std::numbers::pi * std::fmod(frequency * static_cast<double>(n), 1.0));
}

SpectralLine findSpectralLine(std::span<const float> signal, double near, double halfWidth)
{
    const auto block = std::max<std::size_t>(1, static_cast<std::size_t>(1.0 / (kBlocksPerRange * halfWidth)));
    if (signal.size() / block < kFewestBlocks)
        return {};
    const std::vector<Complex> blocks = mixedDownBlocks(signal, near, block);
    const std::vector<double> powers = binPowers(blocks);
    const auto size = static_cast<std::ptrdiff_t>(powers.size());
    const auto reach = static_cast<std::ptrdiff_t>(halfWidth * static_cast<double>(block) * static_cast<double>(size));
    std::vector<double> range;
    std::ptrdiff_t peak = 0;
    for (std::ptrdiff_t bin = -reach; bin <= reach; ++bin) {
        range.push_back(powers[static_cast<std::size_t>((bin + size) % size)]);
        if (range.back() > powers[static_cast<std::size_t>((peak + size) % size)])
            peak = bin;
    }
    const double peakPower = powers[static_cast<std::size_t>((peak + size) % size)];
    std::nth_element(range.begin(), range.begin() + static_cast<std::ptrdiff_t>(range.size() / 2), range.end());
    const double median = range[range.size() / 2];
    const double binTurns = 1.0 / static_cast<double>(size);
    const double turns = refinedPeak(blocks, (static_cast<double>(peak) - 1.0) * binTurns,
                                     (static_cast<double>(peak) + 1.0) * binTurns);
    SpectralLine line;
    line.frequency = near + turns / static_cast<double>(block);
    line.amplitude = lineAmplitude(signal, line.frequency);
    line.prominence = median > 0 ? peakPower / median : 0.0;
    return line;
}

} // namespace tonobild

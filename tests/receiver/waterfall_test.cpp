// The waterfall of the input: where a tone shows, and the signal figure of a
// tone against noise alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "receiver/waterfall.h"
#include "support/recordings.h"

namespace tonobild {
namespace {

// A second of a tone at half of full scale, as a sound card delivers it in 8 bits.
std::vector<std::uint8_t> tone(double hz, std::uint32_t rate)
{
    std::vector<std::uint8_t> samples(rate);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<std::uint8_t>(std::lround(128 + 64 * std::sin(2 * M_PI * hz * static_cast<double>(i) / rate)));
    return samples;
}

// The brightest column of the last row.
int brightestColumn(const std::vector<std::uint8_t>& rows, int columns)
{
    const auto last = rows.end() - columns;
    return static_cast<int>(std::max_element(last, rows.end()) - last);
}

// 300 columns of 10 Hz to 3000 Hz, 512 of the whole band: the column of a tone
// is its frequency over the column width, rounded down (1900 / 10 = 190;
// 5000 / (22050 / 512) = 116.1, 5000 / (24000 / 512) = 106.7).
TEST(Waterfall, ATonesBrightestColumnIsItsOwnWithinOneAtBothRatesAndItStandsFarAboveNoise)
{
    const struct {
        std::uint32_t rate;
        int columns;
        double topHz;
        double hz;
        int column;
    } cases[] = {{44100, 300, 3000, 1900, 190}, {48000, 300, 3000, 1900, 190}, {44100, 300, 3000, 1200, 120},
                 {48000, 300, 3000, 2300, 230}, {44100, 512, 22050, 5000, 116}, {48000, 512, 24000, 5000, 106}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.rate << " Hz, " << c.hz << " Hz");
        Waterfall waterfall(c.rate, c.columns, c.topHz);
        std::vector<std::uint8_t> rows;
        waterfall.feed(tone(c.hz, c.rate), rows);
        ASSERT_EQ(rows.size(), static_cast<std::size_t>(Waterfall::kRowsPerSecond * c.columns));
        EXPECT_EQ(waterfall.columnOf(c.hz), c.column);
        EXPECT_NEAR(brightestColumn(rows, c.columns), c.column, 1);
        EXPECT_GT(waterfall.signalFigureDb(), 40);
    }
    // Noise over the whole range: no column stands out far.
    Waterfall waterfall(44100, 300, 3000);
    std::vector<std::uint8_t> rows;
    waterfall.feed(recordingtest::randomBytes(44100, 5), rows);
    EXPECT_LT(waterfall.signalFigureDb(), 15);
}

// Blocks of any length give the same rows as one block.
TEST(Waterfall, BlocksOfAnyLengthGiveTheRowsOfOneBlock)
{
    const std::vector<std::uint8_t> samples = tone(1500, 44100);
    Waterfall whole(44100, 300, 3000), inParts(44100, 300, 3000);
    std::vector<std::uint8_t> once, parts;
    whole.feed(samples, once);
    for (std::size_t at = 0, length = 1; at < samples.size(); at += length, length = length * 3 % 5000 + 1)
        inParts.feed(std::span(samples).subspan(at, std::min(length, samples.size() - at)), parts);
    EXPECT_EQ(parts, once);
}

} // namespace
} // namespace tonobild

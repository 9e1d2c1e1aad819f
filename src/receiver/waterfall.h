// The waterfall of the input: short spectra of the samples as they come in,
// one row of brightness levels every 1/kRowsPerSecond second, each column a
// band of equal width from 0 Hz up to the top of the view; and a figure of the
// signal: how far the strongest column of the last row stands above the
// middle of all of them, in decibels.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace tonobild {

class Waterfall {
public:
    static constexpr int kRowsPerSecond = 25;
    // The brightness scale: a full-scale tone at 0 dB is 255, kFloorDb and below is 0.
    static constexpr double kFloorDb = -90;

    // Spectra of 8-bit unsigned samples at `sampleRate`, `columns` columns from 0 to `topHz`.
    Waterfall(std::uint32_t sampleRate, int columns, double topHz);
    ~Waterfall();
    Waterfall(const Waterfall&) = delete;
    Waterfall& operator=(const Waterfall&) = delete;

    int columns() const noexcept { return columns_; }
    double topHz() const noexcept { return topHz_; }
    // Samples a spectrum reads: the shortest power of two whose bins are no wider than a column.
    int transformSize() const noexcept { return size_; }
    // The column a frequency falls in, and the frequency at a column's middle.
    int columnOf(double hz) const noexcept;
    double columnHz(double column) const noexcept;

    // Takes the next samples; appends each row finished meanwhile to `rows`
    // (columns() levels a row, 0 dark to 255 bright).
    void feed(std::span<const std::uint8_t> samples, std::vector<std::uint8_t>& rows);
    // The strongest column of the last row against the median column, in dB; 0 before the first row.
    double signalFigureDb() const noexcept { return signalFigure_; }

private:
    void finishRow(std::vector<std::uint8_t>& rows);

    int columns_;
    double topHz_;
    int size_;
    std::size_t hop_;
    double binHz_;
    std::vector<float> window_;
    std::vector<float> recent_; // the latest samples, -1 .. 1, oldest first: a spectrum reads the last size_
    std::size_t sinceRow_ = 0;
    std::vector<float> power_;  // per column, of the last row
    double signalFigure_ = 0;
    struct Transform;
    std::unique_ptr<Transform> transform_;
};

} // namespace tonobild

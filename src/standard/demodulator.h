// The tone of a recording brought down to baseband: mixed down by the middle
// of the slow-scan band (1900 Hz), filtered to the band from 500 to 4100 Hz and
// decimated to a track of about 11 to 16 thousand complex samples a second,
// whatever the recording's rate. The tone's frequency at any moment is the
// turn of the phase from one track sample to the next (see picture_reader.h).
//
// The band reaches higher above the tones than below them: a real recording
// holds each tone's mirror image below 0 Hz, and the sidebands of the fastest
// scans reach down into it; what lies just above 0 Hz is as much the mirror's
// as the tone's, and is left out.
#pragma once

#include <complex>
#include <cstddef>
#include <memory>
#include <span>
#include <vector>

namespace tonobild::standard {

using Baseband = std::complex<float>;

constexpr double kCentreHz = 1900;
// The band the track passes: kPassHz either side of kCentreHz + kBandShiftHz,
// the tones from 1100 to 2300 Hz, 200 Hz of mistuning and the sidebands of the
// fastest scans; nothing from kStopHz either side on.
constexpr double kPassHz = 1800;
constexpr double kStopHz = 2600;
constexpr double kBandShiftHz = 400;

class Demodulator {
public:
    explicit Demodulator(double inputRate);
    ~Demodulator();
    Demodulator(const Demodulator&) = delete;
    Demodulator& operator=(const Demodulator&) = delete;

    double inputRate() const noexcept { return inputRate_; }
    double trackRate() const noexcept { return inputRate_ / decimation_; }
    int decimation() const noexcept { return decimation_; }
    // The delay of the track behind the recording, in track samples.
    double delay() const noexcept;
    // The power of white noise in the track, for noise of unit power per hertz.
    double noiseBandwidth() const noexcept { return noiseBandwidth_; }

    // Appends the track of the next samples (-1..1) of the recording.
    void feed(std::span<const float> samples, std::vector<Baseband>& track);
    // The recording has ended: appends the track of its last samples, still inside the filters.
    void flush(std::vector<Baseband>& track);

private:
    struct Filters;
    double inputRate_;
    int decimation_;
    double noiseBandwidth_ = 0;
    std::unique_ptr<Filters> filters_;
    std::vector<Baseband> mixed_;     // the mixed samples not yet decimated
    std::vector<Baseband> decimated_; // a block decimated, before the band-pass
};

// The track filtered again to `halfWidthHz` either side of `centreHz` (as
// heard), without delay, and decimated as far as the band allows: where noise
// is strong, a band just wide enough for the picture's tones keeps the tone's
// frequency from breaking up in clicks. Sample j lies where the track's
// sample j * decimation does.
struct NarrowTrack {
    std::vector<Baseband> samples;
    double rate = 0;
    int decimation = 1;
};
NarrowTrack narrowed(std::span<const Baseband> track, double rate, double centreHz, double halfWidthHz);

} // namespace tonobild::standard

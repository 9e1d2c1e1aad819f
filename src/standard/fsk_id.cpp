#include "standard/fsk_id.h"

#include <cctype>

namespace tonobild::standard {

namespace {

constexpr int kFirstFrame = 0x20;
constexpr int kSecondFrame = 0x2A;
constexpr int kEnd = 0x01;
constexpr std::size_t kLongestText = 16;
constexpr int kBitsPerCharacter = 6;

void appendCharacter(std::vector<bool>& bits, int code)
{
    for (int bit = 0; bit < kBitsPerCharacter; ++bit)
        bits.push_back((code >> bit) & 1);
}

int characterAt(const std::vector<bool>& bits, std::size_t first)
{
    int code = 0;
    for (int bit = 0; bit < kBitsPerCharacter; ++bit)
        code |= static_cast<int>(bits[first + bit]) << bit;
    return code;
}

// The text of the characters after the frame, up to the end character.
std::optional<std::string> textAfterFrame(const std::vector<bool>& bits, std::size_t first)
{
    std::vector<int> codes;
    for (std::size_t at = first; at + kBitsPerCharacter <= bits.size(); at += kBitsPerCharacter) {
        const int code = characterAt(bits, at);
        if (code == kEnd)
            break;
        if (codes.size() > kLongestText)
            return std::nullopt;
        codes.push_back(code);
        if (at + 2 * kBitsPerCharacter > bits.size())
            return std::nullopt; // the end character never came
    }
    int checksum = 0;
    for (std::size_t i = 0; i + 1 < codes.size(); ++i)
        checksum ^= codes[i];
    if (codes.size() > 1 && codes.back() == checksum)
        codes.pop_back();
    std::string text;
    for (int code : codes)
        text += static_cast<char>(code + 0x20);
    if (text.empty() || fskText(text) != text)
        return std::nullopt;
    return text;
}

} // namespace

std::string fskText(std::string_view callsign)
{
    std::string text;
    for (const char c : callsign) {
        const int upper = std::toupper(static_cast<unsigned char>(c));
        if (upper >= 0x21 && upper <= 0x5F && text.size() < kLongestText)
            text += static_cast<char>(upper);
    }
    return text;
}

std::vector<bool> fskBits(std::string_view text)
{
    std::vector<bool> bits;
    appendCharacter(bits, kFirstFrame);
    appendCharacter(bits, kSecondFrame);
    for (const char c : text)
        appendCharacter(bits, c - 0x20);
    appendCharacter(bits, kEnd);
    return bits;
}

std::optional<std::string> fskTextOfBits(const std::vector<bool>& bits)
{
    for (std::size_t at = 0; at + 2 * kBitsPerCharacter <= bits.size(); ++at)
        if (characterAt(bits, at) == kFirstFrame && characterAt(bits, at + kBitsPerCharacter) == kSecondFrame)
            if (auto text = textAfterFrame(bits, at + 2 * kBitsPerCharacter))
                return text;
    return std::nullopt;
}

} // namespace tonobild::standard

namespace tonobild::standard {

namespace {

constexpr double kFskSearchMs = 1000;
constexpr double kFskMarginMs = 3;
constexpr int kHeaderBits = 12;
constexpr std::size_t kMostBits = 6 * (2 + 17 + 1);

struct FskTones {
    ToneSums one;
    ToneSums zero;
    double bit;    // track samples a bit
    double margin; // trimmed off each end of a bit
};

// How clearly bit i from `start` is a one (near +1) or a zero (near -1).
double bitLean(const FskTones& tones, double start, std::size_t i)
{
    const double from = start + static_cast<double>(i) * tones.bit + tones.margin, count = tones.bit - 2 * tones.margin;
    const double one = tones.one.power(from, count), zero = tones.zero.power(from, count);
    return one + zero > 0 ? (one - zero) / (one + zero) : 0;
}

} // namespace

std::optional<std::string> readFskId(const TrackView& track, double from, const ToneCorrection& heard)
{
    const double ms = track.rate / 1000;
    const double span = (kFskSearchMs + static_cast<double>(kMostBits) * kFskBitMs) * ms;
    const FskTones tones{ToneSums(track, from - 20 * ms, span, heard.heard(kFskOneHz)),
                         ToneSums(track, from - 20 * ms, span, heard.heard(kFskZeroHz)), kFskBitMs * ms * heard.scale,
                         kFskMarginMs * ms};
    std::vector<bool> header = fskBits("");
    header.resize(kHeaderBits);
    double bestLean = 0, bestStart = 0;
    for (double start = from - 20 * ms; start <= from + kFskSearchMs * ms; start += ms) {
        double lean = 0;
        for (std::size_t i = 0; i < kHeaderBits; ++i)
            lean += header[i] ? bitLean(tones, start, i) : -bitLean(tones, start, i);
        if (lean > bestLean)
            bestLean = lean, bestStart = start;
    }
    if (bestLean < 0.5 * kHeaderBits)
        return std::nullopt;
    std::vector<bool> bits;
    for (std::size_t i = 0; i < kMostBits && bestStart + (static_cast<double>(i) + 0.5) * tones.bit <= static_cast<double>(track.size()); ++i)
        bits.push_back(bitLean(tones, bestStart, i) > 0);
    return fskTextOfBits(bits);
}

} // namespace tonobild::standard

#include "standard/standard_encoder.h"

#include <stdexcept>

#include "standard/fsk_id.h"
#include "standard/scan_planes.h"

namespace tonobild::standard {

namespace {

void sendVox(ToneWriter& writer)
{
    for (double hz : kVoxTones)
        writer.tone(hz, kVoxToneMs);
}

void sendVis(ToneWriter& writer, int code)
{
    writer.tone(kLeaderHz, kVisLeaderMs);
    writer.tone(kSyncHz, kVisBreakMs);
    writer.tone(kLeaderHz, kVisLeaderMs);
    writer.tone(kSyncHz, kVisBitMs);
    for (int bit = 0; bit < 7; ++bit)
        writer.tone((code >> bit) & 1 ? kVisOneHz : kVisZeroHz, kVisBitMs);
    writer.tone(visParity(code) ? kVisOneHz : kVisZeroHz, kVisBitMs);
    writer.tone(kSyncHz, kVisBitMs);
}

void sendLine(ToneWriter& writer, const StandardMode& mode, const ScanPlanes& planes, int line)
{
    for (const LinePart& part : mode.parts) {
        if (part.kind == LinePart::Kind::Scan)
            writer.scan(planes.scan(mode, line, part), part.ms);
        else
            writer.tone(part.toneOn(line), part.ms);
    }
}

void sendFskId(ToneWriter& writer, const std::string& text)
{
    for (const bool bit : fskBits(text))
        writer.tone(bit ? kFskOneHz : kFskZeroHz, kFskBitMs);
}

} // namespace

double transmissionSeconds(const StandardMode& mode, const SendOptions& options)
{
    const std::string text = fskText(options.callsign);
    const double vox = options.vox ? std::size(kVoxTones) * kVoxToneMs / 1000 : 0;
    const double fsk = text.empty() ? 0 : static_cast<double>(fskBits(text).size()) * kFskBitMs / 1000;
    return vox + kVisSeconds + mode.pictureSeconds() + fsk;
}

std::uint64_t sendPicture(const StandardMode& mode, const WorkingPicture& picture, const SendOptions& options,
                          const BlockSink& sink, const LineSent& lineSent)
{
    if (picture.width() != mode.width || picture.height() != mode.height)
        throw std::invalid_argument("the picture is not of the size of " + mode.name);
    if (!isSendingRate(options.sampleRate))
        throw std::invalid_argument("a transmission is written at 8000 to 192000 samples per second");
    const ScanPlanes planes = ScanPlanes::ofPicture(picture, mode, options.range);
    ToneWriter writer(options.sampleRate, options.amplitude, sink);
    if (options.vox)
        sendVox(writer);
    sendVis(writer, mode.vis);
    if (mode.leadInSyncMs > 0)
        writer.tone(kSyncHz, mode.leadInSyncMs);
    for (int line = 0; line < mode.lines(); ++line) {
        sendLine(writer, mode, planes, line);
        if (lineSent && !lineSent(line + 1)) {
            writer.finish();
            return writer.samplesWritten();
        }
    }
    if (const std::string text = fskText(options.callsign); !text.empty())
        sendFskId(writer, text);
    writer.finish();
    return writer.samplesWritten();
}

} // namespace tonobild::standard

#include "receiver/gallery_names.h"

#include <cctype>
#include <cstdio>

namespace tonobild {

std::string fileNameCodeword(std::string_view codeword)
{
    std::string kept;
    for (const char c : codeword) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 128 && (std::isalnum(byte) || c == '-'))
            kept += c;
    }
    return kept;
}

std::string galleryStem(const LocalTime& time, std::string_view codeword)
{
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d_%02d-%02d-%02d", time.year, time.month, time.day, time.hour,
                  time.minute, time.second);
    const std::string word = fileNameCodeword(codeword);
    return word.empty() ? std::string(stamp) : std::string(stamp) + "_" + word;
}

std::string numberedStem(const std::string& stem, int n)
{
    return n <= 1 ? stem : stem + "-" + std::to_string(n);
}

std::string oneLineReadOut(std::string_view caption)
{
    std::string line;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption.substr(i, 2) == "\r\n") {
            line += "; ";
            ++i;
        } else {
            line += caption[i];
        }
    }
    return line;
}

std::string decodeOptionsText(const DecoderControls& controls, const DecodeSettings& settings)
{
    const DecoderControls start; // the command's defaults are the window's start-up controls
    const DecodeSettings defaults;
    std::string text = "--resolution " + std::to_string(settings.pictureWidth) + "x" +
                       std::to_string(settings.pictureHeight) + " --level " + std::to_string(settings.normlevel);
    const auto flag = [&](bool given, const char* option) {
        if (given)
            text += std::string(" ") + option;
    };
    const auto number = [&](int value, int byDefault, const char* option) {
        if (value != byDefault)
            text += std::string(" ") + option + " " + std::to_string(value);
    };
    flag(settings.halfX, "--half-x");
    flag(controls.compand, "--compand");
    flag(settings.mono, "--mono");
    flag(controls.third, "--third");
    flag(controls.idler, "--idler");
    flag(!controls.hsync, "--no-hsync");
    flag(!controls.useLic, "--no-lic");
    flag(!controls.licLock, "--no-lic-lock");
    flag(!controls.dynamicSync, "--no-dynamic-sync");
    number(settings.syncOffset, defaults.syncOffset, "--sync-offset");
    number(controls.licInset, start.licInset, "--lic-inset");
    number(settings.syncLevel, defaults.syncLevel, "--sync-level");
    number(settings.xshift, defaults.xshift, "--xshift");
    number(settings.yshift, defaults.yshift, "--yshift");
    return text;
}

} // namespace tonobild

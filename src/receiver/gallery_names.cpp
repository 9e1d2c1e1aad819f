#include "receiver/gallery_names.h"

#include <cctype>
#include <cstdio>

namespace tonobild {

std::string fileNamePart(std::string_view namePart)
{
    std::string kept;
    for (const char c : namePart) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 128 && (std::isalnum(byte) || c == '-'))
            kept += c;
    }
    return kept;
}

std::string galleryStem(const LocalTime& time, std::string_view namePart)
{
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d_%02d-%02d-%02d", time.year, time.month, time.day, time.hour,
                  time.minute, time.second);
    const std::string word = fileNamePart(namePart);
    return word.empty() ? std::string(stamp) : std::string(stamp) + "_" + word;
}

std::string numberedStem(const std::string& stem, int n)
{
    return n <= 1 ? stem : stem + "-" + std::to_string(n);
}

std::string namePartOfStem(std::string_view stem)
{
    constexpr std::size_t kTimeLength = 19; // "YYYY-MM-DD_HH-MM-SS"
    if (stem.size() <= kTimeLength + 1 || stem[kTimeLength] != '_')
        return {};
    std::string_view part = stem.substr(kTimeLength + 1);
    const std::size_t dash = part.rfind('-');
    if (dash != std::string_view::npos && dash + 1 < part.size() &&
        part.find_first_not_of("0123456789", dash + 1) == std::string_view::npos)
        part = part.substr(0, dash);
    return std::string(part);
}

std::string modeOfIndexLine(std::string_view decodeOptions, std::string_view report)
{
    if (decodeOptions.substr(0, 10) == "--standard")
        return std::string(report.substr(0, report.find(',')));
    constexpr std::string_view kResolution = "--resolution ";
    const std::size_t at = decodeOptions.find(kResolution);
    if (at == std::string_view::npos)
        return {};
    const std::string_view size = decodeOptions.substr(at + kResolution.size());
    return std::string(size.substr(0, size.find(' ')));
}

} // namespace tonobild

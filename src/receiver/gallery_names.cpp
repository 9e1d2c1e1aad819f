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

} // namespace tonobild

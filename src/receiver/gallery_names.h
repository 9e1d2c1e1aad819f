// How the gallery names what it keeps: a picture and its recording share a
// stem of the local date and time and, when one was read, the name part the
// family gives (the sender's codeword or callsign), e.g.
// "2026-12-06_14-03-22_KLM456"; a second picture in the same
// second is "...-2", then "-3", so that nothing is ever overwritten.
#pragma once

#include <string>
#include <string_view>

namespace tonobild {

struct LocalTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// The name part as a file name takes it: letters, digits and "-" only.
std::string fileNamePart(std::string_view namePart);

// "YYYY-MM-DD_HH-MM-SS", then "_" and the name part when one is left after fileNamePart.
std::string galleryStem(const LocalTime& time, std::string_view namePart);

// The stem of the n-th picture of one stem: the stem itself, then "stem-2", "stem-3", ...
std::string numberedStem(const std::string& stem, int n);

// The name part of a stem made by galleryStem and numberedStem: what follows
// the time, without the number of a second picture of the stem.
std::string namePartOfStem(std::string_view stem);

// The mode of a picture as its index line tells it, from the options that
// decode it again and the report: a standard mode's name ("Robot 36"), or the
// own format's resolution ("160x120").
std::string modeOfIndexLine(std::string_view decodeOptions, std::string_view report);

} // namespace tonobild

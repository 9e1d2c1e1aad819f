// The figures of the mode definitions, as standard-modes.md gives them: the
// code, the size and the line period of every mode.
#pragma once

namespace tonobild::standardtest {

struct ModeFigures {
    const char* name;
    int vis;
    int width;
    int height;
    double lineMs;      // the line period (two rows for PD)
    double leadInMs;    // a sync before the first line
};

inline constexpr ModeFigures kModeFigures[] = {
    {"Martin 1", 44, 320, 256, 446.446, 0},      {"Martin 2", 40, 320, 256, 226.798, 0},
    {"Scottie 1", 60, 320, 256, 428.220, 9},     {"Scottie 2", 56, 320, 256, 277.692, 9},
    {"Scottie DX", 76, 320, 256, 1050.300, 9},   {"Robot 36", 8, 320, 240, 150.000, 0},
    {"Robot 72", 12, 320, 240, 300.000, 0},      {"PD 50", 93, 320, 256, 388.160, 0},
    {"PD 90", 99, 320, 256, 703.040, 0},         {"PD 120", 95, 640, 496, 508.480, 0},
    {"PD 160", 98, 512, 400, 804.416, 0},        {"PD 180", 96, 640, 496, 754.240, 0},
    {"PD 240", 97, 640, 496, 1000.000, 0},       {"PD 290", 94, 800, 616, 937.280, 0},
    {"Wraase SC2-180", 55, 320, 256, 711.0225, 0}, {"Pasokon P3", 113, 640, 496, 409.375, 0},
    {"Pasokon P5", 114, 640, 496, 614.0625, 0},  {"Pasokon P7", 115, 640, 496, 818.750, 0},
    {"Martin 3", 36, 320, 128, 446.446, 0},      {"Martin 4", 32, 320, 128, 226.798, 0},
    {"Wraase SC2-120", 63, 320, 256, 474.0225, 0}, {"Robot 8 B/W", 2, 160, 120, 67.0, 0},
    {"Robot 12 B/W", 6, 160, 120, 100.0, 0},     {"Robot 24 B/W", 10, 320, 240, 100.0, 0},
};

} // namespace tonobild::standardtest

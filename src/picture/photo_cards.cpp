#include "picture/photo_cards.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace tonobild {

namespace {

struct Rgb {
    double r = 0, g = 0, b = 0;
};

Rgb mix(Rgb a, Rgb b, double t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Rgb scaled(Rgb c, double f)
{
    return {c.r * f, c.g * f, c.b * f};
}

double smoothstep(double edge0, double edge1, double x)
{
    const double t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

// A repeatable pseudo-random number in [0, 1) for a lattice point.
double hash(int x, int y, int seed)
{
    std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u + static_cast<std::uint32_t>(y) * 668265263u +
                      static_cast<std::uint32_t>(seed) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return static_cast<double>(h) / 4294967296.0;
}

double valueNoise(double x, double y, int seed)
{
    const int ix = static_cast<int>(std::floor(x)), iy = static_cast<int>(std::floor(y));
    const double fx = x - ix, fy = y - iy;
    const double sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
    const double top = hash(ix, iy, seed) + (hash(ix + 1, iy, seed) - hash(ix, iy, seed)) * sx;
    const double bottom = hash(ix, iy + 1, seed) + (hash(ix + 1, iy + 1, seed) - hash(ix, iy + 1, seed)) * sx;
    return top + (bottom - top) * sy;
}

// Fractal noise: octaves of value noise, each twice as fine and half as strong; about 0..1.
double fractal(double x, double y, int seed, int octaves = 5)
{
    double sum = 0, amplitude = 0.5, norm = 0;
    for (int o = 0; o < octaves; ++o, x *= 2, y *= 2, amplitude /= 2) {
        sum += amplitude * valueNoise(x, y, seed + o * 101);
        norm += amplitude;
    }
    return sum / norm;
}

// Film grain: a few levels of noise on every pixel.
Rgb grain(Rgb c, int x, int y, int seed)
{
    const double n = (hash(x, y, seed) + hash(x, y, seed + 7) - 1) * 6;
    return {c.r + n, c.g + n, c.b + n};
}

using Painter = Rgb (*)(double u, double v, double aspect);

Rgb sky(double u, double v)
{
    Rgb c = mix({40, 85, 170}, {175, 205, 232}, smoothstep(0.0, 0.55, v));
    const double clouds = smoothstep(0.52, 0.78, fractal(u * 5, v * 11, 11));
    c = mix(c, mix({250, 250, 252}, {150, 155, 170}, fractal(u * 9, v * 20, 12)), clouds * 0.9);
    const double sun = std::hypot(u - 0.8, (v - 0.14) * 1.3);
    return mix(c, {255, 250, 225}, std::max(smoothstep(0.05, 0.035, sun), 0.35 * smoothstep(0.2, 0.0, sun)));
}

Rgb mountains(double u, double v, double ridge)
{
    const double rock = fractal(u * 30, v * 40, 21);
    Rgb c = mix({70, 80, 100}, {135, 135, 145}, rock);
    const double slope = fractal(u * 6, 3, 22) - fractal(u * 6 + 0.05, 3, 22);
    c = scaled(c, 0.8 + 3 * slope);
    return mix(c, {235, 238, 245}, smoothstep(0.045, 0.01, v - ridge) * smoothstep(0.3, 0.55, rock + 0.3));
}

Rgb meadow(double u, double v)
{
    const double blades = fractal(u * 160, v * 18, 31, 3), patches = fractal(u * 8, v * 6, 32);
    Rgb c = mix({35, 75, 25}, {125, 165, 60}, 0.6 * patches + 0.4 * blades);
    const double flower = hash(static_cast<int>(u * 180), static_cast<int>(v * 140), 33);
    if (flower > 0.985)
        c = flower > 0.993 ? Rgb{235, 210, 40} : Rgb{215, 40, 50};
    return scaled(c, 0.7 + 0.5 * (v - 0.55));
}

Rgb landscapeAt(double u, double v, double)
{
    constexpr double horizon = 0.58;
    const double ridge = 0.33 + 0.07 * std::sin(u * 9) + 0.04 * std::sin(u * 23 + 1) + 0.2 * (fractal(u * 6, 0.5, 20, 6) - 0.5);
    const double hills = 0.47 + 0.06 * fractal(u * 5, 1.5, 23, 4);
    const auto above = [&](double uu, double vv) -> Rgb {
        if (vv < ridge)
            return sky(uu, vv);
        if (vv < hills)
            return mountains(uu, vv, ridge);
        return mix({50, 90, 45}, {80, 110, 60}, fractal(uu * 40, vv * 30, 24));
    };
    if (v < horizon)
        return above(u, v);
    const bool lake = v < 0.78 && std::abs(u - 0.5) < 0.38 - 0.8 * (v - horizon);
    if (!lake)
        return meadow(u, v);
    const double ripple = 0.006 * std::sin(v * 380 + 6 * fractal(u * 10, v * 40, 25));
    return scaled(mix(above(u + ripple, 2 * horizon - v), {30, 60, 80}, 0.25), 0.8);
}

struct Fruit {
    double u, v, radius;
    Rgb colour;
};

constexpr Fruit kFruits[] = {{0.30, 0.62, 0.12, {190, 25, 30}},  {0.50, 0.58, 0.14, {235, 130, 20}},
                             {0.70, 0.64, 0.11, {120, 180, 40}}, {0.42, 0.74, 0.09, {235, 210, 50}},
                             {0.60, 0.77, 0.08, {110, 30, 90}},  {0.20, 0.78, 0.07, {180, 40, 35}}};

Rgb table(double u, double v)
{
    const double grain = std::sin(u * 70 + 9 * fractal(u * 2, v * 9, 41)) * 0.5 + 0.5;
    const Rgb c = mix({105, 62, 32}, {170, 112, 62}, 0.55 * grain + 0.45 * fractal(u * 50, v * 6, 42));
    return scaled(c, 0.75 + 0.35 * (v - 0.55));
}

// A fruit lit from the upper left, with a highlight and a speckled skin; none when outside it.
bool fruitAt(double u, double v, double aspect, Rgb& out)
{
    for (const Fruit& f : kFruits) {
        const double dx = (u - f.u) * aspect / f.radius, dy = (v - f.v) / f.radius;
        const double d2 = dx * dx + dy * dy;
        if (d2 > 1)
            continue;
        const double dz = std::sqrt(1 - d2);
        const double light = std::max(0.0, -0.5 * dx - 0.6 * dy + 0.62 * dz);
        const double highlight = std::pow(std::max(0.0, -0.35 * dx - 0.45 * dy + 0.82 * dz), 40);
        const Rgb skin = scaled(f.colour, 0.75 + 0.5 * fractal(u * 120, v * 120, 43, 3));
        out = mix(scaled(skin, 0.25 + 0.85 * light), {255, 250, 240}, highlight);
        return true;
    }
    return false;
}

Rgb stillLifeAt(double u, double v, double aspect)
{
    Rgb c;
    if (fruitAt(u, v, aspect, c))
        return c;
    if (v < 0.55) {
        const double vignette = 1 - 0.6 * std::hypot(u - 0.5, v - 0.35);
        return scaled(mix({70, 52, 40}, {45, 35, 30}, fractal(u * 14, v * 14, 40)), vignette);
    }
    c = table(u, v);
    for (const Fruit& f : kFruits) { // each fruit's shadow falls to the lower right
        const double dx = (u - f.u - 0.04) * aspect / f.radius, dy = (v - f.v - 0.6 * f.radius) / (0.35 * f.radius);
        c = scaled(c, 1 - 0.5 * smoothstep(1.2, 0.6, std::hypot(dx, dy)));
    }
    return c;
}

constexpr Rgb kAwnings[] = {{200, 30, 40}, {30, 80, 170}, {30, 140, 70}, {230, 160, 20}};

Rgb facade(double u, double v)
{
    Rgb c = mix({205, 180, 145}, {170, 140, 110}, fractal(u * 20, v * 20, 51));
    const double wx = std::fmod(u * 9, 1.0), wy = std::fmod(v * 10, 1.0);
    if (wx > 0.3 && wx < 0.7 && wy > 0.25 && wy < 0.8)
        c = mix({30, 45, 70}, {120, 150, 185}, smoothstep(0.8, 0.25, wy) * 0.6);
    return c;
}

Rgb stall(double u, double v, int index)
{
    const Rgb awning = kAwnings[index % 4];
    const double local = std::fmod(u * 4, 1.0);
    if (v < 0.52) // the striped awning, lit from above
        return scaled(std::fmod(local * 8, 1.0) < 0.5 ? awning : Rgb{240, 238, 230}, 1.05 - (0.52 - v) * 2);
    const int cell = static_cast<int>(local * 6) + 10 * static_cast<int>(v * 30);
    const Rgb produce = mix(kAwnings[(cell + index) % 4], {240, 200, 60}, hash(cell, index, 52));
    const double round = std::sin(std::fmod(local * 6, 1.0) * M_PI) * std::sin(std::fmod(v * 30, 1.0) * M_PI);
    return scaled(produce, 0.45 + 0.6 * round);
}

Rgb person(double u, double v, double aspect, Rgb behind)
{
    for (int p = 0; p < 5; ++p) {
        const double pu = 0.12 + 0.19 * p + 0.03 * hash(p, 0, 53), head = 0.035;
        const Rgb coat = mix({40, 40, 60}, kAwnings[p % 4], 0.6);
        if (std::hypot((u - pu) * aspect, v - 0.6) < head)
            return mix({225, 180, 150}, {150, 100, 70}, hash(p, 1, 53));
        if (std::abs(u - pu) * aspect < 0.05 && v > 0.63 && v < 0.93)
            return scaled(coat, 0.7 + 0.5 * fractal(u * 60, v * 60, 54, 3));
    }
    return behind;
}

Rgb marketAt(double u, double v, double aspect)
{
    if (v < 0.3)
        return facade(u, v);
    Rgb c = v < 0.78 ? stall(u, v, static_cast<int>(u * 4)) : Rgb{};
    if (v >= 0.78) { // cobbles: cells of stone with dark joints
        const double cu = u * 40, cv = v * 30;
        const double joint = std::min({std::fmod(cu, 1.0), std::fmod(cv + std::floor(cu) * 0.5, 1.0)});
        c = scaled(mix({95, 92, 88}, {150, 145, 138}, hash(static_cast<int>(cu), static_cast<int>(cv), 55)),
                   0.5 + 0.5 * smoothstep(0.0, 0.12, joint));
    }
    return person(u, v, aspect, c);
}

Painter painterOf(PhotoCard card)
{
    switch (card) {
    case PhotoCard::Landscape:
        return landscapeAt;
    case PhotoCard::StillLife:
        return stillLifeAt;
    case PhotoCard::Market:
        return marketAt;
    }
    return landscapeAt;
}

} // namespace

std::vector<PhotoCard> photoCards()
{
    return {PhotoCard::Landscape, PhotoCard::StillLife, PhotoCard::Market};
}

std::string photoCardName(PhotoCard card)
{
    switch (card) {
    case PhotoCard::Landscape:
        return "landscape";
    case PhotoCard::StillLife:
        return "still-life";
    case PhotoCard::Market:
        return "market";
    }
    return "";
}

WorkingPicture drawPhotoCard(PhotoCard card, int width, int height)
{
    WorkingPicture picture(width, height);
    const Painter paint = painterOf(card);
    const double aspect = static_cast<double>(width) / height;
    const auto component = [](double value) { return static_cast<int>(std::lround(std::clamp(value, 0.0, 255.0))); };
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const Rgb c = grain(paint((x + 0.5) / width, (y + 0.5) / height, aspect), x, y, static_cast<int>(card));
            picture.setColour(x, y, colourNumber(component(c.r), component(c.g), component(c.b)));
        }
    return picture;
}

} // namespace tonobild

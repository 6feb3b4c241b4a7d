#include "icon_art.h"

#include <array>
#include <cmath>
#include <numbers>

namespace spritegen {

namespace {

struct Point {
    double x, y;  // y grows upwards, origin at the icon's centre
};

double cross(Point a, Point b, Point p) { return (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x); }

// A blade is a wedge: its tip lies a little off the centre on the blade's axis, its sides run
// straight out to the outer radius at +-halfAngle from the axis, and an arc closes it there.
struct Blade {
    double axisDegrees;
    bool contains(Point p, double tipRadius, double outerRadius, double halfAngleDegrees) const {
        const double rad = std::numbers::pi / 180.0;
        const double a = axisDegrees * rad, h = halfAngleDegrees * rad;
        const Point tip{tipRadius * std::cos(a), tipRadius * std::sin(a)};
        const Point left{outerRadius * std::cos(a + h), outerRadius * std::sin(a + h)};
        const Point right{outerRadius * std::cos(a - h), outerRadius * std::sin(a - h)};
        if (std::hypot(p.x, p.y) > outerRadius) return false;
        // Inside both sides (the tip-to-corner lines) of the wedge.
        return cross(tip, right, p) >= 0 && cross(left, tip, p) >= 0;
    }
};

// One blade hangs from the top, the other two rise from lower left and lower right.
constexpr std::array<Blade, 3> kBlades = {{{90.0}, {210.0}, {330.0}}};

}  // namespace

IconImage makeIcon(int size) {
    const double radius = size / 2.0;
    const double outer = radius * 0.82;
    const double tip = radius * 0.10;
    const double halfAngle = 33.0;
    constexpr int kSamples = 9;  // per axis; odd, so coverage is never exactly one half

    IconImage icon{rt::Surface(size, size, rt::colour::black),
                   std::vector<bool>(static_cast<std::size_t>(size) * size, false)};
    // Work out the left half and mirror it, so the icon is exactly symmetric about its vertical axis.
    for (int py = 0; py < size; ++py) {
        for (int px = 0; px < size / 2; ++px) {
            int inDisc = 0, inBlade = 0;
            for (int sy = 0; sy < kSamples; ++sy)
                for (int sx = 0; sx < kSamples; ++sx) {
                    const Point p{px + (sx + 0.5) / kSamples - radius, radius - (py + (sy + 0.5) / kSamples)};
                    if (std::hypot(p.x, p.y) <= radius) ++inDisc;
                    for (const Blade& b : kBlades)
                        if (b.contains(p, tip, outer, halfAngle)) {
                            ++inBlade;
                            break;
                        }
                }
            const double disc = static_cast<double>(inDisc) / (kSamples * kSamples);
            const double blade = static_cast<double>(inBlade) / (kSamples * kSamples);
            rt::Pixel colour = rt::colour::black;
            if (blade >= 0.5) colour = rt::colour::yellow;
            // At 16 x 16 a blade edge that covers a good part of a pixel is shown in olive.
            if (size <= 16 && blade >= 0.3 && blade < 0.5) colour = rt::colour::olive;
            for (int x : {px, size - 1 - px}) {
                icon.image.at(x, py) = colour;
                icon.opaque[static_cast<std::size_t>(py) * size + x] = disc >= 0.5;
            }
        }
    }
    return icon;
}

IconImage enlarge(const IconImage& icon, int factor) {
    const int size = icon.image.width * factor;
    IconImage out{rt::Surface(size, size), std::vector<bool>(static_cast<std::size_t>(size) * size)};
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            out.image.at(x, y) = icon.image.at(x / factor, y / factor);
            out.opaque[static_cast<std::size_t>(y) * size + x] =
                icon.opaque[static_cast<std::size_t>(y / factor) * icon.image.width + x / factor];
        }
    return out;
}

}  // namespace spritegen

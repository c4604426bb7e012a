#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "Drawings.h"

namespace art {

namespace {

const Colour kClear{0, 0, 0, 0};

// At 16 pixels a soft edge is half the shape, so straight edges sit on whole pixels there.
double Snap(double v, int size) {
    return size <= 16 ? std::floor(v + 0.5) : v;
}

// The shape and copies of it moved one pixel in each of eight directions: an outline one pixel wide.
Shape Grown(Shape s, double by) {
    return [=](double x, double y) {
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                if (s(x + dx * by, y + dy * by)) {
                    return true;
                }
            }
        }
        return false;
    };
}

// A four-pointed sparkle centred on (cx, cy) reaching r in each direction.
Shape Sparkle(double cx, double cy, double r) {
    const double w = r * 0.28;
    return Polygon({{cx, cy - r},
                    {cx + w, cy - w},
                    {cx + r, cy},
                    {cx + w, cy + w},
                    {cx, cy + r},
                    {cx - w, cy + w},
                    {cx - r, cy},
                    {cx - w, cy - w}});
}

// The classic arrow pointer with its tip at (x, y), h pixels tall.
Shape Pointer(double x, double y, double h) {
    return Polygon({{x, y},
                    {x, y + 0.80 * h},
                    {x + 0.21 * h, y + 0.62 * h},
                    {x + 0.35 * h, y + 0.92 * h},
                    {x + 0.48 * h, y + 0.86 * h},
                    {x + 0.34 * h, y + 0.57 * h},
                    {x + 0.60 * h, y + 0.57 * h}});
}

}  // namespace

Canvas LogoIcon(int size) {
    const double n = size;
    Canvas c(size, size, kClear);
    const double m = size / 16.0;
    const double r = n * 0.2;
    c.Fill(RoundRect(m, m, n - m, n - m, r), Rgb(0x15407F));
    c.Fill(RoundRect(m + 1, m + 1, n - m - 1, n - m - 1, r - 1),
           VerticalGradient(m, Rgb(0x5AAAF6), n - m, Rgb(0x1E5CB8)));
    // A soft highlight across the top half gives the tile some depth at the larger sizes.
    if (size >= 32) {
        c.Fill(RoundRect(m + 2, m + 2, n - m - 2, n * 0.5, r - 2),
               VerticalGradient(m, Rgb(0xFFFFFF, 0.28), n * 0.5, Rgb(0xFFFFFF, 0.04)));
    }
    const double left = Snap(n * 0.34, size);
    c.Fill(Polygon({{left, n * 0.25}, {left, n * 0.75}, {n * 0.77, n * 0.5}}), Rgb(0xFFFFFF));
    if (size >= 32) {
        const Shape arrow = Pointer(n * 0.56, n * 0.50, n * 0.42);
        c.Fill(Grown(arrow, n / 32.0), Rgb(0x3A2500));
        c.Fill(arrow, VerticalGradient(n * 0.5, Rgb(0xFFD45C), n * 0.9, Rgb(0xF59A0C)));
    }
    return c;
}

Canvas NoticeIcon(int size) {
    const double n = size;
    Canvas c(size, size, kClear);
    const double h = n / 2;
    const double r = h - n / 32.0;
    c.Fill(Circle(h, h, r), Rgb(0x174A8C));
    c.Fill(Circle(h, h, r - 1), VerticalGradient(0, Rgb(0x62B0F8), n, Rgb(0x1F5EBA)));
    const Colour white = Rgb(0xFFFFFF);
    c.Fill(Circle(h, n * 0.285, n * 0.085), white);
    const double half = n * 0.075;
    c.Fill(RoundRect(Snap(h - half, size), Snap(n * 0.42, size), Snap(h + half, size), Snap(n * 0.78, size),
                     size <= 16 ? 0.0 : n * 0.03),
           white);
    return c;
}

Canvas WizardIcon(int size) {
    const double n = size;
    Canvas c(size, size, kClear);
    const double cx = n * 0.45;
    const double cy = n * 0.55;
    const double r = n * 0.43;
    const Shape hole = Circle(cx, cy, n * 0.075);
    c.Fill(Minus(Circle(cx, cy, r), hole), Rgb(0x5B6472));
    c.Fill(Minus(Circle(cx, cy, r - 1), hole),
           VerticalGradient(cy - r, Rgb(0xF7F9FC), cy + r, Rgb(0xA9B3C1)));
    // A faint coloured sheen, as a pressed disc shows in the light.
    if (size >= 32) {
        c.Fill(Minus(Circle(cx, cy, r * 0.78), Circle(cx, cy, r * 0.42)),
               VerticalGradient(cy - r, Rgb(0x9FD3FF, 0.45), cy + r, Rgb(0xE7A8FF, 0.35)));
    }
    c.Fill(Minus(Circle(cx, cy, n * 0.19), Circle(cx, cy, n * 0.19 - 1)), Rgb(0x7D8794));
    c.Fill(Minus(Circle(cx, cy, n * 0.075 + 1), hole), Rgb(0x5B6472));
    const Shape star = Sparkle(n * 0.76, n * 0.24, n * 0.22);
    c.Fill(Grown(star, size <= 16 ? 0.75 : 1.0), Rgb(0x7A4A00));
    c.Fill(star, VerticalGradient(n * 0.02, Rgb(0xFFF09A), n * 0.46, Rgb(0xFFB300)));
    return c;
}

Canvas StatisticsIcon(int size) {
    const double n = size;
    Canvas c(size, size, kClear);
    const double m = Snap(n / 16.0, size);
    c.Fill(RoundRect(m, m, n - m, n - m, n * 0.1), Rgb(0x6C7888));
    c.Fill(RoundRect(m + 1, m + 1, n - m - 1, n - m - 1, n * 0.1 - 1),
           VerticalGradient(0, Rgb(0xFFFFFF), n, Rgb(0xE3E8EF)));
    const double base = Snap(n * 0.8125, size);
    const double left = Snap(n * 0.1875, size);
    const double right = n - left;
    const double gap = n / 16.0;
    const double bar = (right - left - 2 * gap) / 3;
    const std::pair<double, std::uint32_t> bars[] = {{0.45, 0x3AA655}, {0.68, 0x2F7DE1}, {0.30, 0xF0941C}};
    for (int i = 0; i < 3; ++i) {
        const double x0 = Snap(left + i * (bar + gap), size);
        const double x1 = Snap(left + i * (bar + gap) + bar, size);
        const double top = Snap(base - n * bars[i].first, size);
        const Colour colour = Rgb(bars[i].second);
        c.Fill(Rect(x0, top, x1, base),
               VerticalGradient(top, Mix(colour, Rgb(0xFFFFFF), 0.25), base, colour));
    }
    c.Fill(Rect(left - gap, base, right + gap, base + std::max(1.0, n / 32.0)), Rgb(0x3C4654));
    return c;
}

}  // namespace art

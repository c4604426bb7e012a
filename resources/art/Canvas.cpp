#include "Canvas.h"

#include <cmath>
#include <utility>

namespace art {

namespace {

constexpr int kSamples = 8;

double Clamp01(double v) {
    return v < 0 ? 0 : (v > 1 ? 1 : v);
}

bool InsideRoundRect(double x, double y, double left, double top, double right, double bottom, double r) {
    if (x < left || x > right || y < top || y > bottom) {
        return false;
    }
    // Only the four corner squares are cut; everything else of the rectangle is inside.
    const double cx = x < left + r ? left + r : (x > right - r ? right - r : x);
    const double cy = y < top + r ? top + r : (y > bottom - r ? bottom - r : y);
    const double dx = x - cx;
    const double dy = y - cy;
    return dx * dx + dy * dy <= r * r;
}

}  // namespace

Colour Rgb(std::uint32_t rgb, double alpha) {
    return {((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0, alpha};
}

Colour Mix(const Colour& from, const Colour& to, double t) {
    return {from.r + (to.r - from.r) * t, from.g + (to.g - from.g) * t, from.b + (to.b - from.b) * t,
            from.a + (to.a - from.a) * t};
}

Shape RoundRect(double left, double top, double right, double bottom, double radius) {
    return [=](double x, double y) { return InsideRoundRect(x, y, left, top, right, bottom, radius); };
}

Shape Rect(double left, double top, double right, double bottom) {
    return [=](double x, double y) { return x >= left && x <= right && y >= top && y <= bottom; };
}

Shape Circle(double cx, double cy, double radius) {
    return [=](double x, double y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius; };
}

Shape Polygon(std::vector<std::pair<double, double>> corners) {
    return [c = std::move(corners)](double x, double y) {
        bool inside = false;
        for (std::size_t i = 0, j = c.size() - 1; i < c.size(); j = i++) {
            const auto [xi, yi] = c[i];
            const auto [xj, yj] = c[j];
            if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) {
                inside = !inside;
            }
        }
        return inside;
    };
}

Shape Minus(Shape keep, Shape cut) {
    return [=](double x, double y) { return keep(x, y) && !cut(x, y); };
}

Shape Union(Shape a, Shape b) {
    return [=](double x, double y) { return a(x, y) || b(x, y); };
}

Paint Solid(const Colour& c) {
    return [c](double, double) { return c; };
}

Paint VerticalGradient(double y0, const Colour& top, double y1, const Colour& bottom) {
    return [=](double, double y) { return Mix(top, bottom, Clamp01((y - y0) / (y1 - y0))); };
}

Canvas::Canvas(int width, int height, const Colour& background)
    : width_(width), height_(height), pixels_(static_cast<std::size_t>(width * height)) {
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            SetPixel(x, y, background);
        }
    }
}

void Canvas::SetPixel(int x, int y, const Colour& c) {
    pixels_[static_cast<std::size_t>(y * width_ + x)] = {c.r * c.a, c.g * c.a, c.b * c.a, c.a};
}

void Canvas::Fill(const Shape& shape, const Paint& paint, bool antialias) {
    for (int py = 0; py < height_; ++py) {
        for (int px = 0; px < width_; ++px) {
            int hits = 0;
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    if (shape(px + (sx + 0.5) / kSamples, py + (sy + 0.5) / kSamples)) {
                        ++hits;
                    }
                }
            }
            double coverage = static_cast<double>(hits) / (kSamples * kSamples);
            if (!antialias) {
                coverage = coverage >= 0.5 ? 1 : 0;
            }
            if (coverage == 0) {
                continue;
            }
            const Colour src = paint(px + 0.5, py + 0.5);
            const double a = src.a * coverage;
            Colour& dst = pixels_[static_cast<std::size_t>(py * width_ + px)];
            dst = {src.r * a + dst.r * (1 - a), src.g * a + dst.g * (1 - a), src.b * a + dst.b * (1 - a),
                   a + dst.a * (1 - a)};
        }
    }
}

std::uint8_t Canvas::Channel(int x, int y, int channel) const {
    const Colour& p = pixels_[static_cast<std::size_t>(y * width_ + x)];
    if (channel == 3) {
        return static_cast<std::uint8_t>(std::floor(Clamp01(p.a) * 255 + 0.5));
    }
    // A pixel that ends fully transparent carries no colour, so stray tints never show through masks.
    if (std::floor(Clamp01(p.a) * 255 + 0.5) == 0) {
        return 0;
    }
    const double premultiplied = channel == 0 ? p.b : (channel == 1 ? p.g : p.r);
    return static_cast<std::uint8_t>(std::floor(Clamp01(premultiplied / p.a) * 255 + 0.5));
}

}  // namespace art

#pragma once
// A small raster canvas for the program's icons and bitmaps. Shapes are filled by supersampling a point test,
// and every computation uses only operations that IEEE arithmetic rounds exactly the same way on every run,
// so the checked-in files can be compared byte for byte with a fresh drawing.
#include <cstdint>
#include <functional>
#include <vector>

namespace art {

struct Colour {
    double r = 0, g = 0, b = 0, a = 1;  // straight (not premultiplied) components in 0..1
};

// 8-bit channels as a header states them: 0xRRGGBB, fully opaque unless an alpha is given.
Colour Rgb(std::uint32_t rgb, double alpha = 1.0);
Colour Mix(const Colour& from, const Colour& to, double t);

// A point test in pixel coordinates: (0,0) is the top-left corner of the top-left pixel.
using Shape = std::function<bool(double x, double y)>;
// The colour at a pixel centre.
using Paint = std::function<Colour(double x, double y)>;

Shape RoundRect(double left, double top, double right, double bottom, double radius);
Shape Rect(double left, double top, double right, double bottom);
Shape Circle(double cx, double cy, double radius);
// A polygon by its corners, filled with the even-odd rule.
Shape Polygon(std::vector<std::pair<double, double>> corners);
Shape Minus(Shape keep, Shape cut);
Shape Union(Shape a, Shape b);

Paint Solid(const Colour& c);
// Runs from `top` at y = y0 to `bottom` at y = y1, clamped outside.
Paint VerticalGradient(double y0, const Colour& top, double y1, const Colour& bottom);

class Canvas {
  public:
    Canvas(int width, int height, const Colour& background);

    // Composites the paint over the pixels the shape covers, weighted by the covered share of each pixel
    // (8 x 8 samples), or only where at least half is covered when antialiasing is off.
    void Fill(const Shape& shape, const Paint& paint, bool antialias = true);
    void Fill(const Shape& shape, const Colour& colour, bool antialias = true) {
        Fill(shape, Solid(colour), antialias);
    }
    void SetPixel(int x, int y, const Colour& colour);

    int Width() const { return width_; }
    int Height() const { return height_; }
    // Straight 8-bit channels of one pixel, in the order blue, green, red, alpha.
    std::uint8_t Channel(int x, int y, int channel) const;

  private:
    int width_;
    int height_;
    std::vector<Colour> pixels_;  // premultiplied
};

}  // namespace art

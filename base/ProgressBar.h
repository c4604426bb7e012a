#pragma once
// The arithmetic of the progress bar: how much of its width a value fills, the percentage it shows, and
// whether a new value changes the picture at all (values that fill the same pixels are not drawn again).
#include <optional>
#include <string>

namespace velmora {

// What the bar shows: the filled width in pixels and the percentage text written over it.
struct ProgressPicture {
    int filled = 0;
    std::string percent;
    bool operator==(const ProgressPicture&) const = default;
};

class ProgressBar {
  public:
    void SetRange(int min, int max) {
        min_ = min;
        max_ = max;
    }
    void SetValue(int value) { value_ = value; }
    int Min() const { return min_; }
    int Max() const { return max_; }
    int Value() const { return value_; }

    // The share of the range the value has reached, kept within 0 and 1; 0 for an empty range.
    double Fraction() const;
    // The filled width of a bar `width` pixels wide.
    int FilledWidth(int width) const;
    // The fraction as a whole percentage, such as "0%", "50%" or "100%".
    std::string PercentText() const;

    // Decides whether a bar `width` pixels wide must be drawn again for the current value: true when the
    // filled width differs from the one drawn last, which then becomes the picture. The bar starts as if 0
    // pixels were drawn, so it stays blank until a value fills at least one pixel.
    bool Update(int width);
    // The picture decided on by the last Update that answered true; nothing while the bar is blank.
    const std::optional<ProgressPicture>& Picture() const { return picture_; }

  private:
    int min_ = 0;
    int max_ = 100;
    int value_ = 0;
    int drawnWidth_ = 0;
    std::optional<ProgressPicture> picture_;
};

}  // namespace velmora

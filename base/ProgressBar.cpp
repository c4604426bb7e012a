#include "base/ProgressBar.h"

#include <algorithm>
#include <cmath>

namespace velmora {

double ProgressBar::Fraction() const {
    // Doubles, so a range as wide as the whole int span neither overflows nor loses its sign.
    const double span = std::fabs(static_cast<double>(max_) - static_cast<double>(min_));
    if (span == 0)
        return 0;
    return std::clamp((static_cast<double>(value_) - static_cast<double>(min_)) / span, 0.0, 1.0);
}

int ProgressBar::FilledWidth(int width) const {
    return static_cast<int>(std::lround(std::max(width, 0) * Fraction()));
}

std::string ProgressBar::PercentText() const {
    return std::to_string(std::lround(Fraction() * 100)) + "%";
}

bool ProgressBar::Update(int width) {
    const int filled = FilledWidth(width);
    if (filled == drawnWidth_)
        return false;
    drawnWidth_ = filled;
    picture_ = ProgressPicture{filled, PercentText()};
    return true;
}

}  // namespace velmora

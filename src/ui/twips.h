#pragma once

#include <cmath>

namespace ui {

// The layout is drawn in twips, 15 to the pixel at 96 dots per inch.
inline constexpr double kTwipsPerPixel = 15.0;

inline int Px(double twips) { return static_cast<int>(std::lround(twips / kTwipsPerPixel)); }
inline float Twips(int pixels) { return static_cast<float>(pixels * kTwipsPerPixel); }

}  // namespace ui

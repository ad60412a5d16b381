#pragma once

#include <cmath>

namespace ui {

// The layout is drawn in twips, 15 to the pixel at 96 dots per inch.
inline constexpr double kTwipsPerPixel = 15.0;

// Pixels per design pixel of the layout: 1, or less where the screen is too
// small for the window's design size. Every twips-to-pixels conversion, font
// and picture goes through it, so a smaller window is laid out and hit-tested
// like the full-size one.
inline double& LayoutScaleStore()
{
    static double scale = 1.0;
    return scale;
}
inline double LayoutScale() { return LayoutScaleStore(); }
inline void SetLayoutScale(double scale) { LayoutScaleStore() = scale; }

inline int Px(double twips) { return static_cast<int>(std::lround(twips / kTwipsPerPixel * LayoutScale())); }
inline float Twips(int pixels) { return static_cast<float>(pixels * kTwipsPerPixel / LayoutScale()); }

}  // namespace ui

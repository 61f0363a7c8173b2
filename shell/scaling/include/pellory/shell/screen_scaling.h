// Stored windows are laid out for a screen of 96 pixels per inch. On a
// screen of another resolution each window scales itself once, at the end
// of reading its description: its font by the ratio of the resolutions,
// then every position and size by the ratio of the font's new text height
// to the stored one. Pictures keep their natural size.
#pragma once

namespace pellory::shell {

// value * numerator / denominator, rounded to the nearest whole number,
// halves away from zero.
int Scaled(int value, int numerator, int denominator);

// To be called before the QApplication is made. The screen's resolution
// then reaches the windows as Qt's logical resolution, with a device pixel
// ratio of 1, and the windows scale themselves in whole pixels: lines stay
// one pixel wide and pictures are never resampled. A ratio the user asks
// for (QT_SCALE_FACTOR, or QT_ENABLE_HIGHDPI_SCALING set explicitly) is
// left to Qt and magnifies the whole window.
void PrepareScreenScaling();

}  // namespace pellory::shell

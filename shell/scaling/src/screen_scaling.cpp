#include "pellory/shell/screen_scaling.h"

#include <QByteArray>
#include <cstdint>
#include <cstdlib>

namespace pellory::shell {

int Scaled(int value, int numerator, int denominator) {
  const std::int64_t product = std::int64_t(value) * numerator;
  const std::int64_t half = std::llabs(denominator) / 2;
  const bool negative = (product < 0) != (denominator < 0);
  const std::int64_t magnitude = (std::llabs(product) + half) / std::llabs(denominator);
  return int(negative ? -magnitude : magnitude);
}

void PrepareScreenScaling() {
  // Left to Qt, a screen of 144 pixels per inch would become a device
  // pixel ratio of 1.5, under which one-pixel lines blur and pictures are
  // resampled.
  if (!qEnvironmentVariableIsSet("QT_ENABLE_HIGHDPI_SCALING"))
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
}

}  // namespace pellory::shell

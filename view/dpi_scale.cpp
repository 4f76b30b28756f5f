#include "view/dpi_scale.h"

#include <cstdint>

namespace velkor {
namespace {

int MulDivRounded(int value, int numerator, int denominator) {
  const int64_t product = int64_t{value} * numerator;
  const int64_t half = denominator / 2;
  return static_cast<int>(product >= 0 ? (product + half) / denominator : (product - half) / denominator);
}

int Valid(int dpi) { return dpi > 0 ? dpi : kBaseDpi; }

}  // namespace

int ScaleToDpi(int value, int dpi) { return MulDivRounded(value, Valid(dpi), kBaseDpi); }

int UnscaleFromDpi(int pixels, int dpi) { return MulDivRounded(pixels, kBaseDpi, Valid(dpi)); }

int RescaleDpi(int pixels, int fromDpi, int toDpi) { return MulDivRounded(pixels, Valid(toDpi), Valid(fromDpi)); }

}  // namespace velkor

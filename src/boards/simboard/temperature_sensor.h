// The board's sample of the converter's TEMP pin: the pin voltage follows the
// die temperature and a 12-bit converter with 3.29 V full scale digitises it.
#pragma once

#include <cstdint>

namespace vq::sim {

constexpr double TempPinVoltsAtZero = 1.356958;
constexpr double TempPinVoltsPerDegree = 0.005;
constexpr double SampleFullScaleVolts = 3.29;

double TempPinVoltage(double celsius);

// round(V / 3.29 x 4096), limited to 0..4095 (the converter saturates).
uint16_t TemperatureSample(double celsius);

} // namespace vq::sim

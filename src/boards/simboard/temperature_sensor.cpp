#include "simboard/temperature_sensor.h"

#include <cmath>

namespace vq::sim {

double TempPinVoltage(double celsius) {
  return TempPinVoltsAtZero + TempPinVoltsPerDegree * celsius;
}

uint16_t TemperatureSample(double celsius) {
  const double counts = TempPinVoltage(celsius) / SampleFullScaleVolts * 4096.0;
  // Limit before converting, so extreme temperatures cannot overflow.
  if (!(counts > 0.0))
    return 0;
  if (counts >= 4095.0)
    return 4095;
  return static_cast<uint16_t>(std::lround(counts));
}

} // namespace vq::sim

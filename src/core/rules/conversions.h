// Code <-> value rules of the converter's registers, shared by the entries, the register display,
// the calibration and the temperature measurement. No Qt.
//
// Values are held in single precision (float); every product, quotient and sum on them is done in
// double precision and the result stored back in single precision. A range is always taken at its
// float value (4.096f is 4.0960001945...).
#pragma once

#include <cstdint>
#include <optional>

namespace vq {

// Data bits of the converter; fixed.
inline constexpr int Resolution = 16;
inline constexpr int32_t FullScaleCodes = 1 << Resolution; // 65536
inline constexpr int32_t MaxDataCode = FullScaleCodes - 1; // 65535

// ---- Data register ----

// Output range of a coarse gain code: 0 -> 4.096f, 1 -> 4.201f, 2 -> 4.311f, anything else none.
std::optional<float> RangeForCoarseCode(int32_t code);

// Offset-binary reading of a data code: 2*R*code/65536 - R. Used whatever the coding choice.
float CodeToVolts(int32_t code, float range);

// A data code read back, in volts on the given range and with the coding the
// board's coding line sets: in two's complement 1F40 is +1 V on 4.096 V.
float ReadBackVolts(int32_t code, float range, bool binaryCoding);

// v limited to -range .. +range.
float LimitVolts(float v, float range);

// Data code of a voltage v already limited to +-range. Binary coding: nearest(65536*(R+v)/(2R));
// two's complement: nearest(32768*v/R) capped at 32767 for v >= 0, nearest(65536 + 32768*v/R) for
// v < 0. A result of 65536 becomes 65535. NumberError for a range of 0 or a non-finite result.
int32_t VoltsToCode(float v, float range, bool binaryCoding);

// ---- Fine gain register (6-bit two's complement, -32..31) ----

// x limited to -32..31.
float LimitFineGain(float x);

// Code of a fine gain x already limited, the register's one encoder (entry and calibration): x < 0 is
// moved up by 64 (stored in single precision, as the typed value is), then taken to the nearest
// integer, halves to even. A negative x that rounds to 0 (from -0.5 up to 0) would give 64, a bit
// outside the register; it gets code 0, so every code is 0..63.
int32_t FineGainCode(float x);

// Value of a fine gain code: c - 64 for c > 31, else c (64 reads 0).
int32_t FineGainValue(int32_t code);

// ---- Offset register (8-bit two's complement in eighths, -16..15.875) ----

// x limited to -16..15.875.
float LimitOffset(float x);

// Code of an offset x already limited, the register's one encoder (entry and calibration):
// x/15.875*127 for x >= 0, (x+16)/15.875*127+128 for x < 0, in double precision, nearest integer,
// halves to even (0.0625 -> 0, 0.1875 -> 2). A negative x that rounds to 0 (from -0.0625 up to 0)
// would give 256, a bit outside the register; it gets code 0, so every code is 0..255.
int32_t OffsetCode(float x);

// Value of an offset code: (c > 127 ? c - 256 : c) / 8 (256 reads 0).
float OffsetValue(int32_t code);

// ---- Calibration ----
// Both stages take the register content as read back; a read-back is a 16-bit signed value, so one
// outside -32768..32767 is a NumberError rather than a wrapped, meaningless present value.

// What a calibration stage writes, and what it could not correct.
struct Correction {
  int32_t Code = 0; // for the register
  // Volts the measured output still stays off (positive: it reads high) because the correction went
  // beyond the register's limit and the limit was written; 0 when the register could hold it.
  double Shortfall = 0.0;
};

// Offset stage: the new offset register code for a channel whose offset register reads offsetRegister
// and whose output at 0 V measures `reading` volts on the given range. The negated reading in output
// LSBs (2*range/65536 V) is added to the present offset, the sum limited to -16..15.875 and encoded
// by OffsetCode; a sum more than half a code beyond the limit leaves a Shortfall.
// Throws NumberError (nothing should then be written) when the read-back does not fit 16 bits, when
// the reading is not finite, or when its correction in LSBs is too large for single precision (a
// reading beyond about 4e34 V): such a reading is a typing slip, not a measurement, and clamping it
// to a full-scale correction would write a plausible-looking but meaningless code.
Correction OffsetCalibration(int32_t offsetRegister, float reading, float range);

// Zero-scale stage: the new fine gain register code for a channel whose fine gain register reads
// fineGainRegister and whose output at zero scale measures `reading` volts. The error range+reading
// (stored single) in steps of range/65536 V is taken to a 16-bit integer, added to the present fine
// gain (again a 16-bit integer), limited to -32..31 and encoded by FineGainCode; the steps beyond the
// limit are the Shortfall.
// Throws NumberError when the read-back does not fit 16 bits, the error does not fit single precision
// or a step count does not fit 16 bits (any reading above about -range/2 or below about -3*range/2,
// including 0 and a reading without its minus sign).
Correction FineGainCalibration(int32_t fineGainRegister, double reading, float range);

// How far the fine gain moves zero scale either way on the given range: 32 steps of range/65536 V
// (2 mV at 4.096 V).
double FineGainReach(float range);

// ---- Core temperature ----

// TEMP pin volts of a board reading: reading/4096*3.29.
float TempPinVolts(int16_t reading);

// Die temperature in degrees Celsius of the TEMP pin volts: volts/0.005 - 1.356958/0.005.
float DieTemperature(float volts);

} // namespace vq

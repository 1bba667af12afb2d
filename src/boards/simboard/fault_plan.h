// Faults the fault-injecting variant of the simulated board library plays,
// set by a test through the exported VqSim_Faults accessor: requests that
// fail, reads that deliver fewer bytes than asked for, a board that stops
// answering. The plain libraries have none of this. No Qt.
#pragma once

#include <cstdint>

namespace vq::sim {

struct FaultPlan {
  // Every n-th request fails as one the board did not answer
  // (BoardStatus::NoAnswer) and changes nothing (0: none).
  int FailEvery = 0;
  // A read delivers at most this many of its bytes (negative: all of them);
  // the rest of the caller's buffer keeps what it held.
  int ReadBytes = -1;
  // After this many more requests the board answers none (negative: never).
  int AnswersLeft = -1;
};

class FaultControl {
public:
  virtual void SetPlan(const FaultPlan &plan) = 0;
  virtual FaultPlan Plan() const = 0;
  virtual long long Injected() const = 0; // faults played so far

protected:
  ~FaultControl() = default;
};

} // namespace vq::sim

extern "C" {
typedef vq::sim::FaultControl *(*VqSim_Faults_Fn)();
}
#define VQ_SIM_FAULTS_ACCESSOR "VqSim_Faults"

// Any bytes as one command line to the bench instrument on a board that
// answers every read with bytes of the input. A line refused while it was
// checked sent nothing; no query answered more than once; every answer is one
// line; the line's result agrees with the error queue.
#include "board/board_link.h"
#include "boardlog/register_model.h"
#include "instrument/bench_instrument.h"
#include "property.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace {

// Answers reads with bytes of the input, so queries see every code.
class CountingLink : public vq::BoardLink {
public:
  explicit CountingLink(std::string_view bytes) : bytes_(bytes) {}
  int16_t ConnectAndDownload(vq::BoardSession &) override { return 0; }
  bool DownloadSucceeded(int16_t status) const override { return status == 0; }
  std::size_t Requests = 0;

protected:
  int16_t Transfer(uint8_t, int32_t, int32_t, uint8_t direction, int16_t length, uint8_t *buffer) override {
    ++Requests;
    if (direction == 1)
      for (int16_t i = 0; i < length; ++i)
        buffer[i] = bytes_.empty() ? 0 : static_cast<uint8_t>(bytes_[(Requests + i) % bytes_.size()]);
    return 0;
  }

private:
  std::string_view bytes_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size) {
  const std::string_view line = vq::fuzz::Text(data, size);
  CountingLink link(line);
  vq::RegisterModel model;
  link.AddCallListener(&model);
  vq::SerialAccess serial(link);
  vq::BenchInstrument instrument(serial, model, {});
  std::vector<std::string> answers;
  const vq::remote::LineResult result = instrument.Run(line, answers);

  VQ_PROPERTY(answers.size() == result.Answers);
  VQ_PROPERTY(answers.size() <= static_cast<std::size_t>(std::count(line.begin(), line.end(), '?')));
  VQ_PROPERTY((result.Error == vq::remote::ErrorCode::NoError) == (instrument.Interpreter().Errors().Count() == 0));
  for (const std::string &answer : answers)
    VQ_PROPERTY(!answer.empty() && answer.find_first_of(std::string_view("\n\r\0", 3)) == std::string::npos);
  if (result.Refused())
    VQ_PROPERTY(link.Requests == 0);
  return 0;
}

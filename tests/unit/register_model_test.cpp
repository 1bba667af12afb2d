// The register model against calls as the board link reports them: what it
// knows after each kind of call, and that what it knows agrees with the
// simulated converter through long random sequences of words and lines.
#include "board/board_library.h"
#include "board/board_status.h"
#include "board/read_back.h"
#include "boardlog/register_model.h"
#include "boardlog/register_values.h"
#include "simboard/converter_model.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using namespace vq;

namespace {

const RegisterClock::time_point ReadTime = RegisterClock::time_point(std::chrono::seconds(1700000000));
RegisterClock::time_point FixedClock() {
  return ReadTime;
}

constexpr WordAddress Function = Command::FunctionRegister;
WordAddress At(Register reg, Channel channel) {
  return {reg, channel};
}

BoardCall Frame(uint8_t request, uint32_t word, uint8_t direction, uint32_t answer = 0, int32_t status = 0) {
  BoardCall call;
  call.Request = request;
  call.Value = static_cast<int32_t>(word >> 16 & 0xFF);
  call.Index = static_cast<int32_t>(word & 0xFFFF);
  call.Direction = direction;
  call.Status = status;
  if (direction != 0) {
    call.Length = 3;
    call.ByteCount = 3;
    for (int i = 0; i < 3; ++i)
      call.Bytes[i] = ReverseBits(static_cast<uint8_t>(answer >> (16 - 8 * i)));
  }
  return call;
}

uint32_t Word(ReadWrite rw, WordAddress address, uint16_t data = 0) {
  return static_cast<uint32_t>(UpperByte(rw, address)) << 16 | data;
}

BoardCall WriteCall(WordAddress address, uint16_t data, int32_t status = 0) {
  return Frame(VQ_REQ_SHIFT_WORD, Word(ReadWrite::Write, address, data), 0, 0, status);
}

// The two identical transfers of a read; the second carries `code`.
std::vector<BoardCall> ReadCalls(WordAddress address, uint32_t answer, int32_t status = 0) {
  const uint32_t word = Word(ReadWrite::Read, address);
  return {Frame(VQ_REQ_SHIFT_WORD, word, 1, 0), Frame(VQ_REQ_SHIFT_WORD, word, 1, answer, status)};
}

BoardCall LinesCall(ControlLines lines, int32_t status = 0) {
  BoardCall call;
  call.Request = VQ_REQ_CONTROL_LINES;
  call.Value = lines.RequestValue();
  call.Index = lines.RequestIndex();
  call.Status = status;
  return call;
}

// A failed call from a library that names its statuses, saying the board has
// left the bus.
BoardCall Gone(BoardCall call) {
  call.Status = StatusValue(BoardStatus::Gone);
  call.StatusText = "the board is gone";
  return call;
}

BoardCall DownloadCall() {
  BoardCall call;
  call.Kind = BoardCallKind::Download;
  call.DownloadSucceeded = true;
  return call;
}

ControlLines HeldInReset(bool binaryCoding) {
  ControlLines lines;
  lines.Rstin = false;
  lines.BinaryCoding = binaryCoding;
  return lines;
}

struct Step {
  const char *name;
  std::vector<BoardCall> calls;
  WordAddress address;
  RegisterOrigin origin;
  uint16_t code; // when known
};

std::vector<BoardCall> Then(std::vector<BoardCall> first, const std::vector<BoardCall> &second) {
  first.insert(first.end(), second.begin(), second.end());
  return first;
}

const WordAddress DacBFine = At(Register::FineGain, Channel::B);
const WordAddress DacCData = At(Register::Data, Channel::C);

// Each row starts from a model that knows DAC B's fine gain as written 0x05.
std::vector<Step> Steps() {
  const ControlLines enabled;
  return {
      {"a write keeps the register's own bits", {WriteCall(DacBFine, 0xFFC7)}, DacBFine, RegisterOrigin::Written, 0x07},
      {"a write to ALL DACs reaches channel D",
       {WriteCall(At(Register::Offset, Channel::All), 0x1FE)},
       At(Register::Offset, Channel::D),
       RegisterOrigin::Written,
       0xFE},
      {"a write and pulse is a write",
       {Frame(VQ_REQ_WRITE_PULSE, Word(ReadWrite::Write, DacCData, 0x9F40), 0)},
       DacCData,
       RegisterOrigin::Written,
       0x9F40},
      {"a read takes the second transfer", ReadCalls(DacBFine, 0x213E), DacBFine, RegisterOrigin::Read, 0x3E},
      {"the first transfer alone is no answer",
       {Frame(VQ_REQ_SHIFT_WORD, Word(ReadWrite::Read, DacBFine), 1, 0x21FF)},
       DacBFine,
       RegisterOrigin::Written,
       0x05},
      {"an answer in the first transfer of the next read is not taken",
       Then(ReadCalls(DacCData, 0x12ABCD), {Frame(VQ_REQ_SHIFT_WORD, Word(ReadWrite::Read, DacBFine), 1, 0x21003E)}),
       DacCData, RegisterOrigin::Read, 0xABCD},
      {"a read while SDO floats tells nothing", ReadCalls(DacBFine, 0xFFFFFF), DacBFine, RegisterOrigin::Written, 0x05},
      {"a read after SDO was disabled tells nothing",
       Then({WriteCall(Function, FunctionWord::SdoDisabledBit)}, ReadCalls(DacBFine, 0x213E)), DacBFine,
       RegisterOrigin::Written, 0x05},
      {"a read after SDO was enabled again counts",
       Then({WriteCall(Function, FunctionWord::SdoDisabledBit), WriteCall(Function, 0)}, ReadCalls(DacBFine, 0x2101)),
       DacBFine, RegisterOrigin::Read, 0x01},
      {"a failed read leaves the register as it was", ReadCalls(DacBFine, 0x213E, 4), DacBFine, RegisterOrigin::Written,
       0x05},
      {"a failed write: not known", {WriteCall(DacBFine, 0x09, 4)}, DacBFine, RegisterOrigin::NotKnown, 0},
      {"a failed write to ALL DACs: not known",
       {WriteCall(At(Register::FineGain, Channel::All), 0x09, 4)},
       DacBFine,
       RegisterOrigin::NotKnown,
       0},
      {"a write to a board gone off the bus changes nothing",
       {Gone(WriteCall(DacBFine, 0x09))},
       DacBFine,
       RegisterOrigin::Written,
       0x05},
      {"a failed write elsewhere changes nothing here",
       {WriteCall(At(Register::FineGain, Channel::C), 0x09, 4)},
       DacBFine,
       RegisterOrigin::Written,
       0x05},
      {"clear all moves no register a read reaches",
       {WriteCall(Command::ClearAll, 0)},
       DacCData,
       RegisterOrigin::Written,
       0x1234},
      {"load all moves no register a read reaches",
       {WriteCall(Command::LoadAll, 0)},
       DacCData,
       RegisterOrigin::Written,
       0x1234},
      {"a function write", {WriteCall(Function, 0xFFE5)}, Function, RegisterOrigin::Written, 0x25},
      {"RSTIN low resets a data register to 0 V in binary",
       {LinesCall(HeldInReset(true))},
       DacCData,
       RegisterOrigin::Reset,
       0x8000},
      {"RSTIN low resets a data register to 0 V in two's complement",
       {LinesCall(HeldInReset(false))},
       DacCData,
       RegisterOrigin::Reset,
       0x0000},
      {"RSTIN low resets the gains", {LinesCall(HeldInReset(true))}, DacBFine, RegisterOrigin::Reset, 0},
      {"words are ignored while RSTIN is low",
       {LinesCall(HeldInReset(true)), WriteCall(DacBFine, 0x09)},
       DacBFine,
       RegisterOrigin::Reset,
       0},
      {"reads are ignored while RSTIN is low", Then({LinesCall(HeldInReset(true))}, ReadCalls(DacBFine, 0x2107)),
       DacBFine, RegisterOrigin::Reset, 0},
      {"RSTIN back high takes words again",
       {LinesCall(HeldInReset(true)), LinesCall(enabled), WriteCall(DacBFine, 9)},
       DacBFine,
       RegisterOrigin::Written,
       0x09},
      {"a failed request with RSTIN low: not known",
       {LinesCall(HeldInReset(true), 4)},
       DacBFine,
       RegisterOrigin::NotKnown,
       0},
      {"RSTIN low to a board gone off the bus changes nothing",
       {Gone(LinesCall(HeldInReset(true)))},
       DacBFine,
       RegisterOrigin::Written,
       0x05},
      {"a failed request with RSTIN high leaves the registers",
       {LinesCall(enabled, 4)},
       DacBFine,
       RegisterOrigin::Written,
       0x05},
      {"a download forgets everything", {DownloadCall()}, DacBFine, RegisterOrigin::NotKnown, 0},
      {"the register map's own read of another register leaves this one", ReadCalls(DacCData, 0x12ABCD), DacBFine,
       RegisterOrigin::Written, 0x05},
  };
}

TEST(RegisterModel, FollowsEachKindOfCall) {
  for (const Step &step : Steps()) {
    SCOPED_TRACE(step.name);
    RegisterModel model(&FixedClock);
    model.OnBoardCall(WriteCall(DacBFine, 0x05));
    model.OnBoardCall(WriteCall(DacCData, 0x1234));
    for (const BoardCall &call : step.calls)
      model.OnBoardCall(call);
    const RegisterState state = model.State(step.address);
    EXPECT_EQ(state.Origin, step.origin);
    if (step.origin != RegisterOrigin::NotKnown) {
      EXPECT_EQ(state.Code, step.code);
    }
    if (step.origin == RegisterOrigin::Read) {
      EXPECT_EQ(state.ReadAt, ReadTime);
    }
  }
}

TEST(RegisterModel, LinesAreKnownOnlyAfterASuccessfulRequest) {
  RegisterModel model;
  EXPECT_FALSE(model.Lines());
  ControlLines lines;
  lines.Ldac = false;
  lines.DriveD0 = true;
  model.OnBoardCall(LinesCall(lines));
  EXPECT_EQ(model.Lines(), lines);
  model.OnBoardCall(LinesCall(lines, 4));
  EXPECT_FALSE(model.Lines());
  model.OnBoardCall(LinesCall(lines));
  model.OnBoardCall(DownloadCall());
  EXPECT_FALSE(model.Lines());
}

TEST(RegisterModel, ForgetEverythingAndObserversHearEachChange) {
  struct Counter : RegisterModelObserver {
    void OnRegistersChanged() override { ++changes; }
    int changes = 0;
  } counter;
  RegisterModel model;
  model.AddObserver(&counter);
  for (WordAddress address : ReadableRegisters)
    model.OnBoardCall(WriteCall(address, 1));
  EXPECT_EQ(counter.changes, ReadableRegisterCount);
  model.OnBoardCall(WriteCall(Command::NoOperation, 0)); // changes nothing known
  EXPECT_EQ(counter.changes, ReadableRegisterCount);
  model.ForgetEverything();
  EXPECT_EQ(counter.changes, ReadableRegisterCount + 1);
  for (WordAddress address : ReadableRegisters)
    EXPECT_FALSE(model.State(address).IsKnown());
  model.RemoveObserver(&counter);
  model.OnBoardCall(WriteCall(DacBFine, 1));
  EXPECT_EQ(counter.changes, ReadableRegisterCount + 1);
}

// Random words, reads and line changes go to the simulated converter and, as
// the board link would report them, to the model: every register the model
// claims to know holds that code in the converter.
TEST(RegisterModel, AgreesWithTheSimulatedConverter) {
  std::mt19937 random(8231);
  sim::ConverterModel converter;
  RegisterModel model;
  auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  auto frame = [&](uint8_t request, uint32_t word, uint8_t direction) {
    const uint32_t out = converter.ShiftFrame(word);
    if (request == VQ_REQ_WRITE_PULSE)
      converter.PulseLdac();
    model.OnBoardCall(Frame(request, word, direction, out));
  };
  int compared = 0;
  for (int step = 0; step < 20000; ++step) {
    const int kind = pick(10);
    const auto select = static_cast<uint8_t>(pick(8));
    const auto address = static_cast<uint8_t>(pick(8));
    const uint32_t word = static_cast<uint32_t>(select) << 19 | static_cast<uint32_t>(address) << 16 |
                          static_cast<uint32_t>(random() & 0xFFFF);
    if (kind < 4) {
      frame(pick(2) ? VQ_REQ_WRITE_PULSE : VQ_REQ_SHIFT_WORD, word, 0);
    } else if (kind < 8) {
      frame(VQ_REQ_SHIFT_WORD, word | 0x800000, 1);
      frame(VQ_REQ_SHIFT_WORD, word | 0x800000, 1);
    } else {
      const ControlLines lines = ControlLines::FromRequest(static_cast<int32_t>(random()), pick(4));
      // Mostly out of reset, so that words get through.
      ControlLines sent = lines;
      sent.Rstin = lines.Rstin || pick(4) != 0;
      converter.SetControlLines(sent);
      model.OnBoardCall(LinesCall(sent));
    }
    for (int channel = 0; channel < 4; ++channel) {
      const sim::ChannelRegisters held = converter.Registers(channel);
      const auto ch = static_cast<Channel>(channel);
      const uint16_t codes[] = {held.Input, held.Coarse, held.Fine, held.Offset};
      const Register regs[] = {Register::Data, Register::CoarseGain, Register::FineGain, Register::Offset};
      for (int r = 0; r < 4; ++r)
        if (const auto known = model.KnownCode(At(regs[r], ch))) {
          ASSERT_EQ(*known, codes[r]) << "step " << step << ", " << RegisterLongTitle(At(regs[r], ch));
          ++compared;
        }
    }
    // A read shows the levels on D0 and D1, not those written: compare the rest.
    const RegisterState function = model.State(Function);
    if (function.IsKnown()) {
      const uint16_t levels = FunctionWord::D0HighBit | FunctionWord::D1HighBit;
      const uint16_t mask = function.Origin == RegisterOrigin::Read ? ~levels & 0x3F : 0x3F;
      ASSERT_EQ(function.Code & mask, converter.FunctionRegister() & mask) << "step " << step;
    }
  }
  EXPECT_GT(compared, 100000); // the model knew most registers most of the time
}

struct TypedCase {
  const char *text;
  bool decimal;
  WordAddress address;
  std::optional<uint16_t> code;
  const char *refusal;
};

TEST(RegisterValues, TypedCodesAreTakenExactlyOrRefusedWithTheLimit) {
  const TypedCase cases[] = {
      {"9F40", false, DacCData, 0x9F40, ""},
      {" ffff ", false, DacCData, 0xFFFF, ""},
      {"40768", true, DacCData, 40768, ""},
      {"0003F", false, DacBFine, 0x3F, ""},
      {"2", false, At(Register::CoarseGain, Channel::A), 2, ""},
      {"10000", false, DacCData, std::nullopt,
       "DAC C data: 10000 is above its largest code, FFFF. Nothing was written."},
      {"65536", true, DacCData, std::nullopt,
       "DAC C data: 65536 is above its largest code, 65535. Nothing was written."},
      {"40", false, DacBFine, std::nullopt, "DAC B fine gain: 40 is above its largest code, 3F. Nothing was written."},
      {"3", false, At(Register::CoarseGain, Channel::A), std::nullopt,
       "DAC A coarse gain: 3 is above its largest code, 2. Nothing was written."},
      {"99999999999999999999", true, DacCData, std::nullopt,
       "DAC C data: 99999999999999999999 is above its largest code, 65535. Nothing was written."},
      {"12G", false, DacBFine, std::nullopt,
       "DAC B fine gain: '12G' is not a hexadecimal code; it takes 0 to 3F. Nothing was written."},
      {"1F", true, Function, std::nullopt,
       "function register: '1F' is not a decimal code; it takes 0 to 63. Nothing was written."},
      {"", false, DacCData, std::nullopt,
       "DAC C data: '' is not a hexadecimal code; it takes 0 to FFFF. Nothing was written."},
      {"-1", true, DacCData, std::nullopt,
       "DAC C data: '-1' is not a decimal code; it takes 0 to 65535. Nothing was written."},
      {"0x10", false, DacCData, std::nullopt,
       "DAC C data: '0x10' is not a hexadecimal code; it takes 0 to FFFF. Nothing was written."},
  };
  for (const TypedCase &c : cases) {
    SCOPED_TRACE(c.text);
    const TypedCode typed = ReadTypedCode(c.text, c.decimal, c.address);
    EXPECT_EQ(typed.Code, c.code);
    EXPECT_EQ(typed.Refusal, c.refusal);
  }
}

TEST(RegisterValues, ValuesInTheRegistersOwnUnits) {
  RegisterModel model;
  const WordAddress dacAData = At(Register::Data, Channel::A);
  EXPECT_EQ(RegisterValueText(dacAData, 0x9F40, model), "range not known");
  model.OnBoardCall(WriteCall(At(Register::CoarseGain, Channel::A), 0));
  EXPECT_EQ(RegisterValueText(dacAData, 0x9F40, model), "coding not known");
  model.OnBoardCall(LinesCall(ControlLines{}));
  EXPECT_EQ(RegisterValueText(dacAData, 0x9F40, model), "+1.00000 V");
  ControlLines twos;
  twos.BinaryCoding = false;
  model.OnBoardCall(LinesCall(twos));
  EXPECT_EQ(RegisterValueText(dacAData, 0xE000, model), "-1.02400 V");
  model.OnBoardCall(WriteCall(At(Register::CoarseGain, Channel::A), 2));
  EXPECT_EQ(RegisterValueText(dacAData, 0x7FFF, model), "+4.31087 V");

  EXPECT_EQ(RegisterValueText(At(Register::CoarseGain, Channel::B), 1, model), "\xC2\xB1"
                                                                               "4.201 V");
  EXPECT_EQ(RegisterValueText(At(Register::CoarseGain, Channel::B), 3, model), "no range");
  EXPECT_EQ(RegisterValueText(DacBFine, 0x3F, model), "-1 steps");
  EXPECT_EQ(RegisterValueText(DacBFine, 0x1F, model), "+31 steps");
  EXPECT_EQ(RegisterValueText(At(Register::Offset, Channel::D), 0xF7, model), "-1.125 LSB");
  EXPECT_EQ(RegisterValueText(Function, 0x37, model),
            "SDO disabled, D0 output high, D1 output low, local ground offset adjust on");
}

} // namespace

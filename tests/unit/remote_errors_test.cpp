// The error queue, what a failing handler does to the rest of its line, and the answer formats.
#include "remote/answers.h"
#include "remote/error_queue.h"
#include "remote_test_instrument.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace vq::remote::test {
namespace {

TEST(ErrorQueue, KeepsTheOldestAndMarksTheLossInItsNewestEntry) {
  ErrorQueue queue;
  for (int i = 0; i < 40; ++i)
    queue.Push(i % 2 ? ErrorCode::DataOutOfRange : ErrorCode::SyntaxError, std::to_string(i));
  EXPECT_EQ(queue.Count(), ErrorQueue::Capacity);
  EXPECT_EQ(queue.Pushed(), 40u);
  for (int i = 0; i < 31; ++i) {
    const QueuedError error = queue.Pop();
    EXPECT_EQ(error.Code, i % 2 ? ErrorCode::DataOutOfRange : ErrorCode::SyntaxError);
    EXPECT_EQ(error.Detail, std::to_string(i));
  }
  EXPECT_EQ(ErrorAnswer(queue.Pop()), "-350,\"Queue overflow\"");
  EXPECT_EQ(ErrorAnswer(queue.Pop()), "0,\"No error\"");
  EXPECT_EQ(queue.Count(), 0u);

  // Room again after reading: the next errors are kept as they are, across the ring's end.
  for (int i = 0; i < 33; ++i)
    queue.Push(ErrorCode::HardwareError);
  queue.Pop();
  queue.Push(ErrorCode::SettingsConflict);
  EXPECT_EQ(queue.Count(), ErrorQueue::Capacity);
  for (int i = 0; i < 30; ++i)
    EXPECT_EQ(queue.Pop().Code, ErrorCode::HardwareError);
  EXPECT_EQ(queue.Pop().Code, ErrorCode::QueueOverflow);
  EXPECT_EQ(queue.Pop().Code, ErrorCode::SettingsConflict);
}

TEST(ErrorQueue, ADetailStaysOneShortPrintableLine) {
  ErrorQueue queue;
  queue.Push(ErrorCode::UndefinedHeader, std::string("say \"hi\"\n\0\xff", 11));
  queue.Push(ErrorCode::UndefinedHeader, std::string(1000, 'x'));
  EXPECT_EQ(ErrorAnswer(queue.Pop()), "-113,\"Undefined header;say 'hi'???\"");
  const std::string cut = queue.Pop().Detail;
  EXPECT_EQ(cut, std::string(ErrorQueue::MaxDetailLength - 3, 'x') + "...");
}

TEST(ErrorQueue, IsReadCountedAndClearedByCommands) {
  TestInstrument instrument;
  for (int i = 0; i < 40; ++i)
    instrument.Run("FOO");
  instrument.Run("OUTP1:COUN 99999");
  instrument.Run("SYST:ERR:COUN?;SYST:ERR?");
  instrument.Run("*CLS;SYST:ERR:COUN?;SYST:ERR?;*OPC?;*WAI");
  EXPECT_EQ(instrument.Answers,
            (std::vector<std::string>{"32", "-113,\"Undefined header;FOO\"", "0", "0,\"No error\"", "1"}));
}

TEST(FailingHandler, EndsTheLineWithoutAnAnswer) {
  TestInstrument instrument;
  const LineResult result = instrument.Run("OUTP1:COUN 1;OUTP1:COUN?;TEST:FAIL;OUTP2:COUN 2;OUTP1:COUN?");
  EXPECT_EQ(result.Error, ErrorCode::HardwareError);
  EXPECT_FALSE(result.Refused());
  EXPECT_EQ(result.Ran, 3u);
  EXPECT_EQ(result.Answers, 1u);
  EXPECT_EQ(instrument.Ran, (std::vector<std::string>{"count 1 1", "fail"}));
  EXPECT_EQ(instrument.Answers, std::vector<std::string>{"7"});
  instrument.Run("SYST:ERR?");
  EXPECT_EQ(instrument.Answers.back(), "-240,\"Hardware error;the board did not answer\"");
}

TEST(FailingHandler, AnExceptionBecomesAnExecutionError) {
  TestInstrument instrument;
  EXPECT_EQ(instrument.Run("TEST:THROW;OUTP1:COUN 1").Error, ErrorCode::ExecutionError);
  EXPECT_EQ(instrument.Ran, std::vector<std::string>{});
  instrument.Run("SYST:ERR?");
  EXPECT_EQ(instrument.Answers, std::vector<std::string>{"-200,\"Execution error;out of order\""});
}

TEST(FailingHandler, ReportingNoErrorStillFails) {
  Interpreter interpreter;
  interpreter.Commands().AddQuery("ODD", {}, [](CommandContext &command) { command.Fail(ErrorCode::NoError); });
  std::vector<std::string> answers;
  EXPECT_EQ(interpreter.Run("ODD?", answers).Error, ErrorCode::ExecutionError);
  EXPECT_TRUE(answers.empty());
}

TEST(FailingHandler, CannotRunALineItself) {
  Interpreter interpreter;
  std::vector<std::string> inner;
  interpreter.Commands().AddCommand("NEST", {}, [&](CommandContext &) { interpreter.Run("*CLS", inner); });
  std::vector<std::string> answers;
  EXPECT_EQ(interpreter.Run("NEST", answers).Error, ErrorCode::ExecutionError);
  EXPECT_EQ(interpreter.Run("*OPC?", answers).Error, ErrorCode::NoError);
  EXPECT_EQ(answers, std::vector<std::string>{"1"});
}

TEST(Answers, DecimalsHaveSixDigitsAfterThePoint) {
  const std::vector<std::pair<double, std::string>> table{
      {1, "1.000000"},         {-4.096, "-4.096000"},     {25.375, "25.375000"},
      {0.0000004, "0.000000"}, {-0.0000004, "0.000000"},  {-0.0, "0.000000"},
      {0.0000006, "0.000001"}, {-0.0000006, "-0.000001"}, {1e20, "100000000000000000000.000000"},
      {NAN, "9.91E+37"},       {INFINITY, "9.91E+37"}};
  for (const auto &[value, text] : table)
    EXPECT_EQ(DecimalAnswer(value), text) << value;
}

TEST(Answers, WordsTextsAndNumbers) {
  EXPECT_EQ(WordAnswer("INPut"), "INP");
  EXPECT_EQ(WordAnswer("HIGH"), "HIGH");
  EXPECT_EQ(WordAnswer("LGOFfset"), "LGOF");
  EXPECT_EQ(BooleanAnswer(true), "ON");
  EXPECT_EQ(BooleanAnswer(false), "OFF");
  EXPECT_EQ(TextAnswer("a\"b"), "\"a\"\"b\"");
  EXPECT_EQ(IntegerAnswer(-32768), "-32768");
}

} // namespace
} // namespace vq::remote::test

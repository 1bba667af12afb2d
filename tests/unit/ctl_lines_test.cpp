// How vq8231ctl cuts input into command lines and runs them: the line
// buffer's limit, comments in scripts, and the exit statuses.
#include "ctl/command_runner.h"
#include "ctl/line_assembler.h"

#include "remote/interpreter.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace vq::ctl {
namespace {

struct Cut {
  std::vector<std::string> Lines;
  std::vector<uint64_t> Numbers;
  int Overlong = 0;
};

Cut CutInPieces(const std::string &bytes, std::size_t pieceSize) {
  Cut cut;
  LineAssembler assembler;
  auto onLine = [&](std::string_view line) {
    cut.Lines.emplace_back(line);
    cut.Numbers.push_back(assembler.LineNumber());
  };
  for (std::size_t at = 0; at < bytes.size(); at += pieceSize)
    assembler.Feed(std::string_view(bytes).substr(at, pieceSize), onLine, [&] { ++cut.Overlong; });
  assembler.Finish(onLine);
  EXPECT_EQ(assembler.Pending(), 0u);
  return cut;
}

TEST(LineAssembler, GivesTheSameLinesWhateverPiecesTheyArriveIn) {
  const std::string bytes = "*IDN?\r\nSOUR1:CODE 5\n\nlast";
  for (const std::size_t piece : {1u, 2u, 3u, 7u, 100u}) {
    const Cut cut = CutInPieces(bytes, piece);
    EXPECT_EQ(cut.Lines, (std::vector<std::string>{"*IDN?", "SOUR1:CODE 5", "", "last"})) << "pieces of " << piece;
    EXPECT_EQ(cut.Numbers, (std::vector<uint64_t>{1, 2, 3, 4}));
    EXPECT_EQ(cut.Overlong, 0);
  }
}

TEST(LineAssembler, RefusesALineOverTheLimitOnceAndDropsItsRest) {
  const std::string atLimit(LineAssembler::MaxLineLength, 'A');
  const std::string overLimit(LineAssembler::MaxLineLength + 1, 'B');
  for (const std::size_t piece : {1000u, 65536u, 300000u}) {
    const Cut cut = CutInPieces(atLimit + "\n" + overLimit + overLimit + "\nnext\n" + overLimit, piece);
    ASSERT_EQ(cut.Lines.size(), 2u) << "pieces of " << piece;
    EXPECT_EQ(cut.Lines[0], atLimit);
    EXPECT_EQ(cut.Lines[1], "next");
    EXPECT_EQ(cut.Numbers, (std::vector<uint64_t>{1, 3}));
    EXPECT_EQ(cut.Overlong, 2); // the unfinished last one too
  }
}

TEST(LineAssembler, HoldsNoMoreThanTheLimitOfALineThatNeverEnds) {
  LineAssembler assembler;
  const std::string piece(4096, 'x');
  int overlong = 0;
  for (int n = 0; n < 100; ++n) {
    assembler.Feed(
        piece, [](std::string_view) { FAIL() << "no line ended"; }, [&] { ++overlong; });
    EXPECT_LE(assembler.Pending(), LineAssembler::MaxLineLength);
  }
  EXPECT_EQ(overlong, 1);
}

TEST(WithoutComment, CutsAtAHashOutsideQuotesThatIsNoNumberBase) {
  const struct {
    const char *line;
    const char *command;
  } rows[] = {
      {"# a whole line", ""},
      {"SOUR1:CODE 5 # mid scale", "SOUR1:CODE 5 "},
      {"SOUR1:CODE #HFF", "SOUR1:CODE #HFF"},
      {"SOUR1:CODE #hff#note", "SOUR1:CODE #hff"},
      {"SOUR1:CODE #B101 #Q7", "SOUR1:CODE #B101 #Q7"},
      {"SETUP:SAVE \"a#1.setup\" # saved", "SETUP:SAVE \"a#1.setup\" "},
      {"SETUP:SAVE 'it''s #2'#", "SETUP:SAVE 'it''s #2'"},
      {"TEXT \"open # quote", "TEXT \"open # quote"},
      {"*IDN?#", "*IDN?"},
  };
  for (const auto &row : rows)
    EXPECT_EQ(WithoutComment(row.line), row.command) << row.line;
}

// An interpreter with a command that fails as a board that does not answer.
class Runner : public ::testing::Test {
protected:
  Runner() {
    interpreter.Commands().AddCommand("TEST:FAIL", {}, [](remote::CommandContext &command) {
      command.Fail(remote::ErrorCode::HardwareError, "the board did not answer");
    });
    interpreter.Commands().AddQuery(
        "TEST:COUNt", {}, [this](remote::CommandContext &command) { command.Answer(std::to_string(++counted)); });
  }

  ExitStatus Script(const std::string &text, bool keepGoing) {
    std::istringstream in(text);
    return RunScript(interpreter, in, "run.scpi", keepGoing, out, err);
  }

  remote::Interpreter interpreter;
  int counted = 0;
  std::ostringstream out;
  std::ostringstream err;
};

TEST_F(Runner, CommandsRunInOrderAndAnErrorMakesTheStatus) {
  const std::vector<std::string> fine{"TEST:COUN?", "*OPC?;TEST:COUN?"};
  EXPECT_EQ(RunCommands(interpreter, fine, out, err), ExitStatus::Success);
  EXPECT_EQ(out.str(), "1\n1\n2\n");
  EXPECT_EQ(err.str(), "");

  out.str("");
  const std::vector<std::string> failing{"TEST:FAIL", "NO:SUCH", "TEST:COUN?"};
  EXPECT_EQ(RunCommands(interpreter, failing, out, err), ExitStatus::CommandFailed);
  EXPECT_EQ(out.str(), "3\n");
  EXPECT_EQ(err.str(), "-240,\"Hardware error;the board did not answer\"\n-113,\"Undefined header;NO:SUCH\"\n");
}

TEST_F(Runner, AnErrorReadBackByTheCommandsStillFailsTheRun) {
  const std::vector<std::string> commands{"NO:SUCH", "SYST:ERR?"};
  EXPECT_EQ(RunCommands(interpreter, commands, out, err), ExitStatus::CommandFailed);
  EXPECT_EQ(out.str(), "-113,\"Undefined header;NO:SUCH\"\n");
  EXPECT_EQ(err.str(), "");
}

TEST_F(Runner, AScriptStopsAtItsFirstErrorAndNamesTheLine) {
  const std::string script = "# set up\nTEST:COUN?\n\n  TEST:COUN? # again\nTEST:FAIL\nTEST:COUN?\n";
  EXPECT_EQ(Script(script, false), ExitStatus::CommandFailed);
  EXPECT_EQ(out.str(), "1\n2\n");
  EXPECT_EQ(err.str(), "run.scpi:5: -240,\"Hardware error;the board did not answer\"\n");
}

TEST_F(Runner, AScriptKeepsGoingWhenAskedAndStillFails) {
  const std::string script = "TEST:FAIL\nTEST:COUN?\nNO:SUCH\nTEST:COUN?";
  EXPECT_EQ(Script(script, true), ExitStatus::CommandFailed);
  EXPECT_EQ(out.str(), "1\n2\n");
  EXPECT_EQ(err.str(), "run.scpi:1: -240,\"Hardware error;the board did not answer\"\n"
                       "run.scpi:3: -113,\"Undefined header;NO:SUCH\"\n");
}

TEST_F(Runner, AScriptWithoutErrorsSucceedsAndAnOverlongLineFails) {
  EXPECT_EQ(Script("TEST:COUN?\r\n# only a comment\n", false), ExitStatus::Success);
  EXPECT_EQ(out.str(), "1\n");
  EXPECT_EQ(Script("TEST:COUN?\n" + std::string(70000, 'A') + "\nTEST:COUN?\n", false), ExitStatus::CommandFailed);
  EXPECT_EQ(out.str(), "1\n2\n");
  EXPECT_EQ(err.str(), "run.scpi:2: -102,\"Syntax error;line longer than 65536 bytes\"\n");
}

} // namespace
} // namespace vq::ctl

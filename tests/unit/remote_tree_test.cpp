// The command tree: how patterns are written, and which form a header finds.
#include "remote/command_tree.h"
#include "remote/interpreter.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace vq::remote {
namespace {

TEST(CommandTree, RefusesMalformedPatternsAndParameterLists) {
  CommandTree tree;
  for (const char *pattern :
       {"", "[:A]", "A:", "A::B", "a", "Abc:dEF", "A<1-4", "A<4-1>", "A<x-2>", "A[:B", "A[:B:C", "A B", "A:*CLS",
        "*CLS:A", "A1", "A<1-2>:B<1-2>:C<1-2>:D<1-2>:E<1-2>", "A:B:C:D:E:F:G:H:I:J:K:L:M", "A[:B][:C][:D][:E][:F]"})
    EXPECT_THROW(tree.AddCommand(pattern, {}, {}), std::invalid_argument) << pattern;
  EXPECT_THROW(tree.AddCommand("A", {IntegerParameter(0, 1).Optionally(), IntegerParameter(0, 1)}, {}),
               std::invalid_argument);
  EXPECT_THROW(WordParameter({"input"}), std::invalid_argument);
}

TEST(CommandTree, TakesEachFormOfAHeaderOnce) {
  CommandTree tree;
  tree.AddCommand("SYSTem:BEEP[:NOW]", {}, {});
  tree.AddQuery("SYSTem:BEEP", {}, {});
  EXPECT_THROW(tree.AddCommand("SYSTem:BEEP", {}, {}), std::logic_error);
  EXPECT_THROW(tree.AddCommand("SYSTem:BEEP:NOW", {}, {}), std::logic_error);
  EXPECT_THROW(tree.AddQuery("SYSTem:BEEP[:LATEr]", {}, {}), std::logic_error);
}

struct Lookup {
  std::vector<HeaderNode> Header;
  bool Query;
  ErrorCode Error;
  std::string Pattern;
  std::array<int32_t, MaxSuffixes> Suffixes;
};

// Overlapping patterns: a header finds the one it fits, and a suffix error is told from a header
// that fits nothing.
TEST(CommandTree, FindsTheFormAHeaderFits) {
  CommandTree tree;
  tree.AddCommand("SOURce<1-4>:CODE", {}, {});
  tree.AddQuery("SOURce<1-4>:CODE", {}, {});
  tree.AddCommand("SOURce:ALL:CODE", {}, {});
  tree.AddCommand("FUNCtion:DIGital<0-1>:DIRection", {}, {});
  tree.AddCommand("[BUS<2-3>]:LINE<5-7>:DRIVe", {}, {});
  tree.AddCommand("LINE:DRIVe", {}, {});
  const auto node = [](std::string_view word, int32_t suffix = -1) {
    return HeaderNode{word, suffix >= 0, suffix < 0 ? 0 : suffix};
  };
  const std::vector<Lookup> table{
      {{node("SOUR", 3), node("CODE")}, false, ErrorCode::NoError, "SOURce<1-4>:CODE", {3, 1, 1, 1}},
      {{node("source"), node("code")}, true, ErrorCode::NoError, "SOURce<1-4>:CODE", {1, 1, 1, 1}},
      {{node("SOUR"), node("ALL"), node("CODE")}, false, ErrorCode::NoError, "SOURce:ALL:CODE", {1, 1, 1, 1}},
      {{node("SOUR"), node("ALL"), node("CODE")}, true, ErrorCode::UndefinedHeader, "", {}},
      {{node("SOUR", 2), node("ALL"), node("CODE")}, false, ErrorCode::HeaderSuffixOutOfRange, "", {}},
      {{node("SOUR", 5), node("CODE")}, false, ErrorCode::HeaderSuffixOutOfRange, "", {}},
      {{node("SOUR", 5), node("VOLT")}, false, ErrorCode::UndefinedHeader, "", {}},
      {{node("SOUR")}, false, ErrorCode::UndefinedHeader, "", {}},
      {{node("FUNC"), node("DIG", 0), node("DIR")},
       false,
       ErrorCode::NoError,
       "FUNCtion:DIGital<0-1>:DIRection",
       {0, 1, 1, 1}},
      {{node("FUNC"), node("DIG"), node("DIR")},
       false,
       ErrorCode::NoError,
       "FUNCtion:DIGital<0-1>:DIRection",
       {1, 1, 1, 1}},
      {{node("BUS", 3), node("LINE", 6), node("DRIV")},
       false,
       ErrorCode::NoError,
       "[BUS<2-3>]:LINE<5-7>:DRIVe",
       {3, 6, 1, 1}},
      {{node("LINE", 7), node("DRIV")}, false, ErrorCode::NoError, "[BUS<2-3>]:LINE<5-7>:DRIVe", {1, 7, 1, 1}},
      {{node("LINE"), node("DRIV")}, false, ErrorCode::NoError, "LINE:DRIVe", {1, 1, 1, 1}},
      {{node("BUS"), node("LINE", 5), node("DRIV")}, false, ErrorCode::HeaderSuffixOutOfRange, "", {}},
      {{node("LINE", 4), node("DRIV")}, false, ErrorCode::HeaderSuffixOutOfRange, "", {}},
      {{node("LINE"), node("DRIVE"), node("DRIVE")}, false, ErrorCode::UndefinedHeader, "", {}},
  };
  for (const Lookup &lookup : table) {
    const HeaderMatch match = tree.Find(lookup.Header, lookup.Query);
    SCOPED_TRACE(lookup.Header.front().Word);
    EXPECT_EQ(match.Error, lookup.Error);
    if (lookup.Error == ErrorCode::NoError) {
      ASSERT_NE(match.Form, nullptr);
      EXPECT_EQ(match.Form->Pattern, lookup.Pattern);
      EXPECT_EQ(match.Form->Query, lookup.Query);
      EXPECT_EQ(match.Suffixes, lookup.Suffixes);
    } else {
      EXPECT_EQ(match.Form, nullptr);
    }
  }
}

// A line gives a command its suffixes in the pattern's order, and an optional parameter it left out as
// Absent.
TEST(CommandTree, HandlersSeeSuffixesAndAbsentParameters) {
  Interpreter interpreter;
  std::vector<std::string> seen;
  interpreter.Commands().AddCommand(
      "BANK<1-9>:CELL<1-99>", {IntegerParameter(0, 9), IntegerParameter(0, 9).Optionally()},
      [&](CommandContext &command) {
        seen.push_back(std::to_string(command.Suffix(0)) + "/" + std::to_string(command.Suffix(1)) + " " +
                       std::to_string(command.ParameterCount()) + " " +
                       (command[1].Kind == ValueKind::Absent ? "-" : std::to_string(command[1].Integer)));
      });
  std::vector<std::string> answers;
  interpreter.Run("BANK7:CELL42 1;BANK:CELL 1,5", answers);
  EXPECT_EQ(seen, (std::vector<std::string>{"7/42 2 -", "1/1 2 5"}));
}

} // namespace
} // namespace vq::remote

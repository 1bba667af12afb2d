// Command lines as a client writes them: what runs for a well-formed line, and for a malformed one
// the error it queues while nothing runs.
#include "remote_test_instrument.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace vq::remote::test {
namespace {

// Test names show a line's start, its bytes escaped.
void PrintLine(const std::string &line, std::ostream *out) {
  *out << '"';
  for (unsigned char c : line.substr(0, 40)) {
    if (c >= ' ' && c <= '~')
      *out << c;
    else
      *out << "\\x"
           << "0123456789abcdef"[c >> 4] << "0123456789abcdef"[c & 15];
  }
  *out << (line.size() > 40 ? "\"..." : "\"");
}

struct Accepted {
  std::string Line;
  std::vector<std::string> Ran;
  friend void PrintTo(const Accepted &accepted, std::ostream *out) { PrintLine(accepted.Line, out); }
};

class AcceptedLine : public testing::TestWithParam<Accepted> {};

TEST_P(AcceptedLine, RunsWithTheValuesWritten) {
  TestInstrument instrument;
  const LineResult result = instrument.Run(GetParam().Line);
  EXPECT_EQ(result.Error, ErrorCode::NoError);
  EXPECT_EQ(instrument.Ran, GetParam().Ran);
  EXPECT_EQ(result.Ran, GetParam().Ran.size());
  EXPECT_EQ(instrument.DrainErrors(), std::vector<int>{});
}

INSTANTIATE_TEST_SUITE_P(
    Headers, AcceptedLine,
    testing::Values(Accepted{"OUTP2:LEV 1.5", {"level 2 1.500000"}},
                    Accepted{"output2:level 1.5", {"level 2 1.500000"}},
                    Accepted{"OuTpUt4:LeV 1", {"level 4 1.000000"}},
                    Accepted{":OUTP3:LEV -2.5E-1", {"level 3 -0.250000"}}, Accepted{"OUTP:LEV 1", {"level 1 1.000000"}},
                    Accepted{"OUTP02:LEV 1", {"level 2 1.000000"}}, Accepted{"PORT0:MODE INP", {"mode 0 INP"}},
                    Accepted{"PORT:MODE OUTP", {"mode 1 OUTP"}}, Accepted{"RATE 5", {"rate 5.000000"}},
                    Accepted{"DEV:RATE 5", {"rate 5.000000"}}, Accepted{"device:rate 5", {"rate 5.000000"}},
                    Accepted{"  \tOUTP1:COUN 3 \r\n", {"count 1 3"}}, Accepted{"", {}}, Accepted{" \t ", {}},
                    Accepted{"OUTP1:COUN 1;OUTP2:COUN 2 ; :OUTP3:COUN 3", {"count 1 1", "count 2 2", "count 3 3"}}));

INSTANTIATE_TEST_SUITE_P(
    Numbers, AcceptedLine,
    testing::Values(
        Accepted{"OUTP1:LEV 1500mV", {"level 1 1.500000"}}, Accepted{"OUTP1:LEV 1500 MV", {"level 1 1.500000"}},
        Accepted{"OUTP1:LEV -10000mv", {"level 1 -10.000000"}}, Accepted{"OUTP1:LEV 2 V", {"level 1 2.000000"}},
        Accepted{"OUTP1:LEV 2v", {"level 1 2.000000"}}, Accepted{"OUTP1:LEV +.5", {"level 1 0.500000"}},
        Accepted{"OUTP1:LEV 5.", {"level 1 5.000000"}}, Accepted{"OUTP1:LEV 1e1", {"level 1 10.000000"}},
        Accepted{"OUTP1:COUN 65535", {"count 1 65535"}}, Accepted{"OUTP1:COUN 0", {"count 1 0"}},
        Accepted{"OUTP1:COUN #H1f", {"count 1 31"}}, Accepted{"OUTP1:COUN #hFFFF", {"count 1 65535"}},
        Accepted{"OUTP1:COUN #B101", {"count 1 5"}}, Accepted{"OUTP1:COUN #q17", {"count 1 15"}},
        Accepted{"OUTP1:COUN #H0000000000000000001", {"count 1 1"}}, Accepted{"OUTP1:COUN 2.5", {"count 1 2"}},
        Accepted{"OUTP1:COUN 3.5", {"count 1 4"}}, Accepted{"OUTP1:COUN 1.2E3", {"count 1 1200"}},
        Accepted{"OUTP1:COUN 65535.4", {"count 1 65535"}}, Accepted{"OUTP1:COUN -0.4", {"count 1 0"}},
        Accepted{"PAIR -9,9", {"pair -9 9"}}, Accepted{"PAIR 1 , 2 ,\t3", {"pair 1 2 3"}}));

INSTANTIATE_TEST_SUITE_P(
    WordsAndTexts, AcceptedLine,
    testing::Values(Accepted{"OUTP1:STAT ON", {"state 1 ON"}}, Accepted{"OUTP1:STAT off", {"state 1 OFF"}},
                    Accepted{"OUTP1:STAT 0", {"state 1 OFF"}}, Accepted{"OUTP1:STAT 1", {"state 1 ON"}},
                    Accepted{"OUTP1:STAT #H2", {"state 1 ON"}}, Accepted{"OUTP1:STAT 0.4", {"state 1 OFF"}},
                    Accepted{"PORT1:MODE input", {"mode 1 INP"}}, Accepted{"PORT1:MODE OutP", {"mode 1 OUTP"}},
                    Accepted{"LOG:PICK ALL", {"pick ALL"}}, Accepted{"LOG:PICK all", {"pick ALL"}},
                    Accepted{"LOG:PICK 3", {"pick 3"}}, Accepted{"LOG:NAME 'a''b'", {"name a'b"}},
                    Accepted{"LOG:NAME \"a\"\"b\"", {"name a\"b"}}, Accepted{"LOG:NAME \"it's\"", {"name it's"}},
                    Accepted{"LOG:NAME \"a;b,c\"", {"name a;b,c"}}, Accepted{"LOG:NAME ''", {"name "}},
                    Accepted{"LOG:NAME 'r\xc3\xa9sum\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80'",
                             {"name r\xc3\xa9sum\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80"}},
                    // The first and last code points of the three- and four-byte leads' edges.
                    Accepted{"LOG:NAME '\xe0\xa0\x80\xef\xbf\xbd\xf1\x80\x80\x80\xf4\x8f\xbf\xbf'",
                             {"name \xe0\xa0\x80\xef\xbf\xbd\xf1\x80\x80\x80\xf4\x8f\xbf\xbf"}}));

struct Refused {
  std::string Line;
  ErrorCode Code;
  friend void PrintTo(const Refused &refused, std::ostream *out) { PrintLine(refused.Line, out); }
};

class RefusedLine : public testing::TestWithParam<Refused> {};

// Each line queues exactly its error and runs nothing, not even the well-formed commands before the
// fault; the queue's earlier entries stay (a refused *CLS clears nothing).
TEST_P(RefusedLine, QueuesItsErrorAndRunsNothing) {
  TestInstrument instrument;
  instrument.Commands.Errors().Push(ErrorCode::SettingsConflict);
  const LineResult result = instrument.Run("OUTP1:COUN 1;*CLS;OUTP1:LEV?;" + GetParam().Line);
  EXPECT_TRUE(result.Refused());
  EXPECT_EQ(result.Error, GetParam().Code);
  EXPECT_EQ(instrument.Ran, std::vector<std::string>{});
  EXPECT_EQ(instrument.Answers, std::vector<std::string>{});
  EXPECT_EQ(instrument.DrainErrors(), (std::vector<int>{-221, static_cast<int>(GetParam().Code)}));
}

INSTANTIATE_TEST_SUITE_P(
    Headers, RefusedLine,
    testing::Values(Refused{"FOO", ErrorCode::UndefinedHeader}, Refused{"OUTP1:FOO 1", ErrorCode::UndefinedHeader},
                    Refused{"OUTPU1:LEV 1", ErrorCode::UndefinedHeader},
                    Refused{"OUTP1:LEVEL2 1", ErrorCode::HeaderSuffixOutOfRange},
                    Refused{"OUTP1:LEV:NOW 1", ErrorCode::UndefinedHeader},
                    Refused{"OUTP1 1", ErrorCode::UndefinedHeader}, Refused{"*IDN?", ErrorCode::UndefinedHeader},
                    Refused{"TEST:FAIL?", ErrorCode::UndefinedHeader},
                    Refused{"OUTP1:STAT?", ErrorCode::UndefinedHeader}, Refused{"COUN 2", ErrorCode::UndefinedHeader},
                    Refused{"SYST:ERR:NEXT:COUN?", ErrorCode::UndefinedHeader},
                    Refused{"OUTP5:LEV 1", ErrorCode::HeaderSuffixOutOfRange},
                    Refused{"OUTP0:LEV 1", ErrorCode::HeaderSuffixOutOfRange},
                    Refused{"PORT2:MODE INP", ErrorCode::HeaderSuffixOutOfRange},
                    Refused{"LOG2:NAME 'x'", ErrorCode::HeaderSuffixOutOfRange},
                    Refused{"OUTP99999999999:LEV 1", ErrorCode::HeaderSuffixOutOfRange},
                    Refused{"OUTP1::COUN 1", ErrorCode::SyntaxError}, Refused{"OUTP1:COUN?5", ErrorCode::SyntaxError},
                    Refused{"OUTP1:COUN,1", ErrorCode::SyntaxError}, Refused{":*CLS", ErrorCode::SyntaxError},
                    Refused{"OUTP1:*CLS", ErrorCode::SyntaxError}, Refused{"*", ErrorCode::SyntaxError},
                    Refused{":::::", ErrorCode::SyntaxError}, Refused{"OUTP1:", ErrorCode::SyntaxError},
                    Refused{"1OUTP:LEV 1", ErrorCode::SyntaxError}));

INSTANTIATE_TEST_SUITE_P(
    Parameters, RefusedLine,
    testing::Values(
        Refused{"OUTP1:LEV", ErrorCode::MissingParameter}, Refused{"PAIR 1", ErrorCode::MissingParameter},
        Refused{"OUTP1:LEV 1,2", ErrorCode::ParameterNotAllowed}, Refused{"*CLS 1", ErrorCode::ParameterNotAllowed},
        Refused{"SYST:ERR? 1", ErrorCode::ParameterNotAllowed}, Refused{"PAIR 1,2,3,4", ErrorCode::ParameterNotAllowed},
        Refused{"OUTP1:LEV ON", ErrorCode::DataTypeError}, Refused{"OUTP1:LEV 'x'", ErrorCode::DataTypeError},
        Refused{"OUTP1:COUN 1V", ErrorCode::DataTypeError}, Refused{"OUTP1:LEV 1 KV", ErrorCode::DataTypeError},
        Refused{"OUTP1:LEV #H10", ErrorCode::DataTypeError}, Refused{"LOG:NAME 5", ErrorCode::DataTypeError},
        Refused{"LOG:NAME ABC", ErrorCode::DataTypeError}, Refused{"OUTP1:LEV 1EV", ErrorCode::DataTypeError},
        Refused{"OUTP1:LEV 10.001", ErrorCode::DataOutOfRange},
        Refused{"OUTP1:LEV 10001 MV", ErrorCode::DataOutOfRange},
        Refused{"OUTP1:COUN 65536", ErrorCode::DataOutOfRange}, Refused{"OUTP1:COUN -1", ErrorCode::DataOutOfRange},
        Refused{"OUTP1:COUN 65535.5", ErrorCode::DataOutOfRange},
        Refused{"OUTP1:COUN #H10000", ErrorCode::DataOutOfRange},
        Refused{"OUTP1:COUN #H100000000", ErrorCode::DataOutOfRange},
        Refused{"OUTP1:COUN #HFFFFFFFFFFFFFFFFF", ErrorCode::DataOutOfRange},
        Refused{"OUTP1:LEV 1E999", ErrorCode::DataOutOfRange}, Refused{"RATE 0.4", ErrorCode::DataOutOfRange},
        Refused{"LOG:PICK 5", ErrorCode::DataOutOfRange}, Refused{"LOG:PICK NONE", ErrorCode::IllegalParameterValue},
        Refused{"PORT0:MODE SIDEways", ErrorCode::IllegalParameterValue},
        Refused{"PORT0:MODE INPU", ErrorCode::IllegalParameterValue},
        Refused{"OUTP1:STAT MAYBE", ErrorCode::IllegalParameterValue},
        Refused{"OUTP1:COUN #HG1", ErrorCode::SyntaxError}, Refused{"OUTP1:COUN #H", ErrorCode::SyntaxError},
        Refused{"OUTP1:COUN #H1G", ErrorCode::SyntaxError}, Refused{"OUTP1:COUN #B102", ErrorCode::SyntaxError},
        Refused{"OUTP1:COUN #X1", ErrorCode::SyntaxError}, Refused{"OUTP1:COUN #", ErrorCode::SyntaxError},
        Refused{"OUTP1:COUN 1.2.3", ErrorCode::SyntaxError}, Refused{"OUTP1:COUN 1 2", ErrorCode::SyntaxError},
        Refused{"OUTP1:COUN -", ErrorCode::SyntaxError}, Refused{"OUTP1:COUN .", ErrorCode::SyntaxError},
        Refused{"OUTP1:COUN (1)", ErrorCode::SyntaxError}, Refused{"PAIR 1,,2", ErrorCode::SyntaxError},
        Refused{"PAIR 1,2,", ErrorCode::SyntaxError}, Refused{"LOG:NAME 'open", ErrorCode::SyntaxError},
        Refused{"LOG:NAME 'a'b", ErrorCode::SyntaxError}, Refused{"OUTP1:LEV 1 V/S", ErrorCode::SyntaxError}));

INSTANTIATE_TEST_SUITE_P(Separators, RefusedLine,
                         testing::Values(Refused{";", ErrorCode::SyntaxError}, Refused{"*CLS;", ErrorCode::SyntaxError},
                                         Refused{"*CLS;;*CLS", ErrorCode::SyntaxError},
                                         Refused{"*CLS; ;*CLS", ErrorCode::SyntaxError},
                                         Refused{std::string(100000, ';'), ErrorCode::SyntaxError}));

// Bytes a line should never hold: NUL, other control characters, text that is not UTF-8.
INSTANTIATE_TEST_SUITE_P(Bytes, RefusedLine,
                         testing::Values(Refused{std::string("OUTP1:COUN 1\0", 13), ErrorCode::SyntaxError},
                                         Refused{std::string("OUT\0P1:COUN 1", 13), ErrorCode::SyntaxError},
                                         Refused{std::string("\0", 1), ErrorCode::SyntaxError},
                                         Refused{std::string("LOG:NAME 'a\0b'", 14), ErrorCode::SyntaxError},
                                         Refused{"LOG:NAME 'a\x1b[2Jb'", ErrorCode::SyntaxError},
                                         Refused{"LOG:NAME 'a\x7f'", ErrorCode::SyntaxError},
                                         Refused{"OUTP1:COUN\x0b"
                                                 "1",
                                                 ErrorCode::SyntaxError},
                                         Refused{"LOG:NAME '\xff'", ErrorCode::SyntaxError},
                                         Refused{"LOG:NAME '\xc3'", ErrorCode::SyntaxError},
                                         Refused{"LOG:NAME '\xc0\xaf'", ErrorCode::SyntaxError},
                                         Refused{"LOG:NAME '\xed\xa0\x80'", ErrorCode::SyntaxError},
                                         Refused{"LOG:NAME '\xf4\x90\x80\x80'", ErrorCode::SyntaxError},
                                         Refused{"LOG:NAME '\xc1\xbf'", ErrorCode::SyntaxError},
                                         Refused{"LOG:NAME '\xc3\x7f'", ErrorCode::SyntaxError},
                                         Refused{"LOG:NAME '\xf1\xc0\x80\x80'", ErrorCode::SyntaxError},
                                         Refused{"LOG:NAME '\xf1\x7f\x80\x80'", ErrorCode::SyntaxError},
                                         Refused{"LOG:NAME '\xe2\x82"
                                                 "A'",
                                                 ErrorCode::SyntaxError},
                                         Refused{"OUTP\xc3\xa9:COUN 1", ErrorCode::SyntaxError},
                                         Refused{"\xef\xbb\xbfOUTP1:COUN 1", ErrorCode::SyntaxError}));

// A megabyte in every place a line can grow: the parser stays linear and its memory bounded.
INSTANTIATE_TEST_SUITE_P(
    Megabyte, RefusedLine,
    testing::Values(Refused{std::string(1 << 20, 'A'), ErrorCode::UndefinedHeader},
                    Refused{"OUTP1:COUN " + std::string(1 << 20, '1'), ErrorCode::DataOutOfRange},
                    Refused{"OUTP1:LEV 1" + std::string(1 << 20, '0') + "E-1000000", ErrorCode::DataOutOfRange},
                    Refused{"OUTP1:COUN #H" + std::string(1 << 20, 'F'), ErrorCode::DataOutOfRange},
                    Refused{"LOG:NAME '" + std::string(1 << 20, 'x'), ErrorCode::SyntaxError},
                    Refused{[] {
                              std::string line;
                              for (int i = 0; i < (1 << 19); ++i)
                                line += "A:";
                              return line;
                            }(),
                            ErrorCode::UndefinedHeader},
                    Refused{std::string(1 << 20, ':'), ErrorCode::SyntaxError},
                    Refused{"PAIR 1" + std::string(1 << 20, ','), ErrorCode::SyntaxError},
                    Refused{[] {
                              std::string line;
                              while (line.size() < (1 << 20))
                                line += "OUTP1:COUN 1;";
                              return line + "FOO";
                            }(),
                            ErrorCode::UndefinedHeader}));

TEST(CommandLine, EachCommandAfterASemicolonStartsAtTheRoot) {
  TestInstrument instrument;
  EXPECT_EQ(instrument.Run("OUTP1:COUN 1;COUN 2").Error, ErrorCode::UndefinedHeader);
  EXPECT_EQ(instrument.Ran, std::vector<std::string>{});
}

// Too small for a double is zero, not out of range; a long number keeps its value.
TEST(CommandLine, NumbersBeyondTheDoubleRangeReadByTheirSize) {
  TestInstrument instrument;
  for (const std::string &number : std::vector<std::string>{
           "1E-400", "-1e-999999999999999999999", "0." + std::string(1 << 20, '0') + "1",
           "0." + std::string(1 << 20, '0') + "1E1048577", "1" + std::string(1 << 20, '0') + "e-1048576"})
    EXPECT_EQ(instrument.Run("OUTP1:LEV " + number).Error, ErrorCode::NoError) << number.substr(0, 20);
  EXPECT_EQ(instrument.Ran, (std::vector<std::string>{"level 1 0.000000", "level 1 0.000000", "level 1 0.000000",
                                                      "level 1 1.000000", "level 1 1.000000"}));
  EXPECT_EQ(instrument.Run("OUTP1:LEV 1E400").Error, ErrorCode::DataOutOfRange);
  EXPECT_EQ(instrument.Run("OUTP1:LEV -1E400").Error, ErrorCode::DataOutOfRange);
}

TEST(CommandLine, AMegabyteTextReachesItsHandlerWhole) {
  TestInstrument instrument;
  const std::string text(1 << 20, 'x');
  EXPECT_EQ(instrument.Run("LOG:NAME '" + text + "'").Error, ErrorCode::NoError);
  EXPECT_EQ(instrument.Ran, std::vector<std::string>{"name " + text});
}

TEST(CommandLine, TheErrorNamesWhatWasRefused) {
  TestInstrument instrument;
  std::vector<std::string> answers;
  instrument.Run("SOUR9:FOO 1");
  instrument.Run("OUTP1:COUN 70000");
  instrument.Run("OUTP1:COUN #HG");
  instrument.Run("OUTP1:LEV 'one volt', 2");
  instrument.Commands.Run("SYST:ERR?;SYST:ERR:NEXT?;SYSTem:ERRor?;SYST:ERR?;:syst:err?", answers);
  EXPECT_EQ(answers,
            (std::vector<std::string>{"-113,\"Undefined header;SOUR9:FOO\"", "-222,\"Data out of range;70000\"",
                                      "-102,\"Syntax error;a number base without digits\"",
                                      "-104,\"Data type error;'one volt'\"", "0,\"No error\""}));
}

} // namespace
} // namespace vq::remote::test

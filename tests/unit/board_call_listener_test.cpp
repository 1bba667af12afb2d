// The board link's call listener: every library call is reported once, in
// order, with what went in and what came back, and nothing the board receives
// changes; the simulated board's accessor is found only in a library that has
// it.
#include "board/board_session.h"
#include "board/four_operation_link.h"
#include "board/two_operation_link.h"
#include "tests/support/recording_link.h"

#include <gtest/gtest.h>

#include <vector>

using namespace vq;

namespace {

struct CallCollector : BoardCallListener {
  void OnBoardCall(const BoardCall &call) override { calls.push_back(call); }
  std::vector<BoardCall> calls;
};

BoardSession SessionBesideTheLibraries() {
  BoardSession session;
  session.ProgramDirectory = VQ_BIN_DIR;
  session.SetFirmwarePath();
  session.CopyFirmwarePath(session.FirmwarePath);
  return session;
}

// Attaching to a board whose firmware runs: the search and the connect, never
// a download, which would reset the board's processor.
TEST(BoardCallListener, AttachSearchesAndConnectsOnly) {
  FourOperationLink link(FourOperationLibraryPath(VQ_BIN_DIR));
  CallCollector collector;
  link.AddCallListener(&collector);
  BoardSession session;
  EXPECT_EQ(link.Attach(session), 0);
  ASSERT_EQ(collector.calls.size(), 2u);
  EXPECT_EQ(collector.calls[0].Kind, BoardCallKind::Search);
  EXPECT_EQ(collector.calls[1].Kind, BoardCallKind::Connect);
  EXPECT_EQ(session.BoardHandle, 0x8231);
  EXPECT_FALSE(link.SessionFailure().has_value());
}

TEST(BoardCallListener, FourOperationSessionIsReportedCallByCall) {
  FourOperationLink link(FourOperationLibraryPath(VQ_BIN_DIR));
  CallCollector collector;
  link.AddCallListener(&collector);
  EXPECT_EQ(link.SimulatedBoard(), nullptr); // nothing loaded yet
  BoardSession session = SessionBesideTheLibraries();
  ASSERT_EQ(link.ConnectAndDownload(session), 0);
  uint8_t zero = 0;
  link.VendorRequest(0xDE, 0x9F, 2, 0, 0, &zero);

  ASSERT_EQ(collector.calls.size(), 4u);
  const BoardCall &search = collector.calls[0];
  EXPECT_EQ(search.Kind, BoardCallKind::Search);
  EXPECT_EQ(search.VendorId, VQ_VENDOR_ID);
  EXPECT_EQ(search.ProductId, VQ_PRODUCT_ID);
  EXPECT_EQ(search.BoardCount, 1);
  EXPECT_EQ(search.BoardNumber, 1);
  const BoardCall &connect = collector.calls[1];
  EXPECT_EQ(connect.Kind, BoardCallKind::Connect);
  EXPECT_EQ(connect.BoardNumber, 1);
  EXPECT_EQ(connect.BoardHandle, 0x8231);
  EXPECT_EQ(connect.Status, 0);
  const BoardCall &download = collector.calls[2];
  EXPECT_EQ(download.Kind, BoardCallKind::Download);
  EXPECT_EQ(download.FirmwarePath, session.FirmwarePath);
  EXPECT_TRUE(download.DownloadSucceeded);
  const BoardCall &request = collector.calls[3];
  EXPECT_EQ(request.Kind, BoardCallKind::Request);
  EXPECT_EQ(request.Request, 0xDE);
  EXPECT_EQ(request.Value, 0x9F);
  EXPECT_EQ(request.Index, 2);
  EXPECT_EQ(request.Status, 0);
  EXPECT_NE(link.SimulatedBoard(), nullptr);
}

TEST(BoardCallListener, TwoOperationLoadIsReportedAsTheDownload) {
  TwoOperationLink link(VQ_BIN_DIR "/" VQ_USBFUNCTIONS_NAME);
  CallCollector collector;
  link.AddCallListener(&collector);
  BoardSession session = SessionBesideTheLibraries();
  const int16_t status = link.ConnectAndDownload(session);
  ASSERT_EQ(collector.calls.size(), 1u);
  EXPECT_EQ(collector.calls[0].Kind, BoardCallKind::Download);
  EXPECT_EQ(collector.calls[0].Status, status);
  EXPECT_TRUE(collector.calls[0].DownloadSucceeded);
  EXPECT_NE(link.SimulatedBoard(), nullptr);
}

TEST(BoardCallListener, ALibraryWithoutTheAccessorHasNoSimulatedBoard) {
  FourOperationLink link(VQ_BIN_DIR "/" VQ_PLAIN_BOARD_FILE);
  BoardSession session = SessionBesideTheLibraries();
  ASSERT_EQ(link.ConnectAndDownload(session), 0);
  EXPECT_EQ(link.SimulatedBoard(), nullptr);
}

// Our libraries name a failure in words, which the record of the call carries;
// a library without the export (as a vendor's) leaves a status a number.
TEST(BoardCallListener, OurLibrariesNameTheirFailuresInWords) {
  FourOperationLink link(FourOperationLibraryPath(VQ_BIN_DIR));
  CallCollector collector;
  link.AddCallListener(&collector);
  EXPECT_FALSE(link.NamesStatuses()); // nothing loaded yet
  BoardSession session;
  session.ProgramDirectory = "/nonexistent";
  EXPECT_EQ(link.ConnectAndDownload(session), 8);
  EXPECT_TRUE(link.NamesStatuses());
  ASSERT_EQ(collector.calls.size(), 3u);
  EXPECT_EQ(collector.calls[1].StatusText, "") << "a success has no words";
  EXPECT_EQ(collector.calls[2].StatusText, "the firmware file is missing or unreadable");
  // The session keeps its first failed step: here the download.
  ASSERT_TRUE(link.SessionFailure());
  EXPECT_EQ(link.SessionFailure()->Kind, BoardCallKind::Download);
  EXPECT_EQ(link.SessionFailure()->Status, 8);
  uint8_t zero = 0;
  EXPECT_EQ(link.VendorRequest(0xDE, 0x9F, 0, 0, 0, &zero), 2) << "no firmware runs";
  EXPECT_EQ(collector.calls.back().StatusText, "the board refused the request");
  EXPECT_EQ(link.StatusText(4), "the board is gone");
  EXPECT_EQ(link.StatusText(99), std::nullopt);
  BoardSession good = SessionBesideTheLibraries();
  EXPECT_EQ(link.ConnectAndDownload(good), 0);
  EXPECT_FALSE(link.SessionFailure()) << "a session that succeeds forgets the last one's failure";

  FourOperationLink plain(VQ_BIN_DIR "/" VQ_PLAIN_BOARD_FILE);
  BoardSession beside = SessionBesideTheLibraries();
  ASSERT_EQ(plain.ConnectAndDownload(beside), 0);
  EXPECT_FALSE(plain.NamesStatuses());
  EXPECT_EQ(plain.StatusText(4), std::nullopt);
}

// The earlier build's library reports a failed load as 0 or a negated status:
// only the negated one says why.
TEST(BoardCallListener, ALoadFailureIsNamedWhenTheLibrarySaysWhy) {
  TwoOperationLink link(VQ_BIN_DIR "/" VQ_USBFUNCTIONS_NAME);
  CallCollector collector;
  link.AddCallListener(&collector);
  BoardSession session;
  session.ProgramDirectory = "/nonexistent";
  session.SetFirmwarePath();
  session.CopyFirmwarePath(session.FirmwarePath);
  EXPECT_EQ(link.ConnectAndDownload(session), 0);
  ASSERT_EQ(collector.calls.size(), 1u);
  EXPECT_FALSE(collector.calls[0].DownloadSucceeded);
  EXPECT_EQ(collector.calls[0].StatusText, "");
  uint8_t zero = 0;
  EXPECT_EQ(link.VendorRequest(0xDE, 0x9F, 0, 0, 0, &zero), 2);
  EXPECT_EQ(collector.calls.back().StatusText, "the board refused the request");
}

TEST(BoardCallListener, RequestsReportTheBytesSentOrReturnedAndChangeNothing) {
  // Every read returns A0 A1 A2, every request fails with status 5.
  test::RecordingLink link;
  link.Answers = {{0xA0, 0xA1, 0xA2}, {0xA0, 0xA1, 0xA2}};
  link.RequestStatus = 5;
  CallCollector collector;
  uint8_t buffer[4] = {0x11, 0x22, 0x33, 0x44};
  EXPECT_EQ(link.VendorRequest(0xDD, 0x91, 0, 1, 3, buffer), 5); // no listener: no report
  link.AddCallListener(&collector);
  uint8_t sent[2] = {0x5A, 0x77};
  EXPECT_EQ(link.VendorRequest(0x42, 1, 2, 0, 1, sent), 5);
  EXPECT_EQ(link.VendorRequest(0xDD, 0x91, 0, 1, 3, buffer), 5);
  link.RemoveCallListener(&collector);
  link.VendorRequest(0xDE, 0x9F, 0, 0, 0, sent);

  EXPECT_EQ(link.Requests.size(), 4u);
  ASSERT_EQ(collector.calls.size(), 2u);
  EXPECT_EQ(collector.calls[0].Request, 0x42);
  EXPECT_EQ(collector.calls[0].ByteCount, 1);
  EXPECT_EQ(collector.calls[0].Bytes[0], 0x5A);
  EXPECT_EQ(collector.calls[0].Status, 5);
  EXPECT_EQ(collector.calls[1].ByteCount, 3);
  EXPECT_EQ(collector.calls[1].Bytes[2], 0xA2);
  EXPECT_EQ(buffer[3], 0x44); // the caller's buffer beyond the length untouched
  EXPECT_EQ(sent[1], 0x77);
}

TEST(BoardCallListener, EveryListenerHearsEachCallOnceInTheOrderAdded) {
  test::RecordingLink link;
  std::vector<int> heard;
  struct Tagged : BoardCallListener {
    Tagged(std::vector<int> &heard, int tag) : heard(heard), tag(tag) {}
    void OnBoardCall(const BoardCall &) override { heard.push_back(tag); }
    std::vector<int> &heard;
    int tag;
  } first(heard, 1), second(heard, 2);
  link.AddCallListener(&first);
  link.AddCallListener(&second);
  link.AddCallListener(&first); // already there: still heard once
  uint8_t zero = 0;
  link.VendorRequest(0xDE, 0x9F, 0, 0, 0, &zero);
  link.RemoveCallListener(&first);
  link.VendorRequest(0xDE, 0x9F, 0, 0, 0, &zero);
  EXPECT_EQ(heard, (std::vector<int>{1, 2, 2}));
}

} // namespace

// A USB evaluation board played inside the test process through umockdev: a
// device in the mock sysfs and an ioctl handler that answers what libusb asks
// of the device node. Before a download it is the processor's boot loader
// (vendor request 0xA0 writes RAM); releasing the reset drops it off the bus,
// and it comes back under a new address running firmware that answers the
// converter requests 0xD9 to 0xDE. Behind that firmware sits the simulated
// board's converter model, powered up with the board: requests reach its
// registers and reads answer from them as on a real board (a request the
// model refuses stalls), and a board that leaves the bus takes them along, so
// the board that comes back starts from power-on codes. It records every
// control transfer.
//
// The handler runs on umockdev's own thread, so the code under test may call
// libusb from the test's thread or from a child process started under the
// same mock environment.
//
// The board's return after a download is never raced against the code under
// test: umockdev 0.17 aborts the whole process when a udev listener it is
// sending an add event to vanishes or appears under it. So the board comes
// back before the transfer that released the reset returns, or, when a test
// asks for a delay, answers nothing on its new node until its add event has
// gone out to every listener.
#pragma once

#include "simboard/converter_model.h"

#include <umockdev.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace vq::usbtest {

struct ControlTransfer {
  int Device = 0; // the address the board had
  uint8_t RequestType = 0;
  uint8_t Request = 0;
  uint16_t Value = 0;
  uint16_t Index = 0;
  uint16_t Length = 0;
  std::vector<uint8_t> Data; // what an OUT transfer carried
  // "DD in v=81 len=3", "DE out v=9F i=0": the form the other tests use.
  std::string Line() const;
};

class FakeBoard {
public:
  struct Behaviour {
    bool ComesBack = true; // after the download's release of the reset
    // How long after the release the board is back; 0: before the release's
    // transfer returns.
    std::chrono::milliseconds ReturnDelay{0};
    int NeverAnswered = -1; // a firmware request whose transfers never complete
    int Stalled = -1;       // a firmware request the firmware refuses
    // Fixed bytes for every IN transfer (zeros beyond), the converter left
    // out; empty: the converter carries out every request and answers reads.
    std::vector<uint8_t> Answer = {};
  };

  FakeBoard(uint16_t vendorId, uint16_t productId);
  ~FakeBoard();
  FakeBoard(const FakeBoard &) = delete;
  FakeBoard &operator=(const FakeBoard &) = delete;

  void SetBehaviour(const Behaviour &behaviour);
  // A board in boot loader state at port `port` of bus 1.
  void Plug(int port = 1, bool running = false);
  void Unplug(int port = 1);

  std::vector<ControlTransfer> LoaderTransfers() const; // vendor request 0xA0
  std::vector<ControlTransfer> FirmwareTransfers() const;
  // Firmware transfers as lines, waiting (bounded) until at least `count` came.
  std::vector<std::string> FirmwareLines(std::size_t count, std::chrono::milliseconds wait);
  // The address of the board at `port`, 0 when none is there.
  int AddressAt(int port) const;
  // The registers of the converter on the board at `port`, one line a channel
  // and the function register last ("DAC B input=9F40 dac=9F40 coarse=0
  // fine=0 offset=0", "function=0"); empty when no board is there. Safe
  // while the code under test is talking to the board.
  std::vector<std::string> ConverterRegisters(int port) const;
  // How often something still open on an unplugged board asked it anything.
  int CallsAfterUnplug() const;
  // How many udev listeners (libusb's hotplug monitors) were opened on this
  // test bed, by this process or a program it started, since it was made.
  int ListenersOpened();

private:
  struct Urb {
    UMockdevIoctlData *Data = nullptr; // the client's struct usbdevfs_urb
    bool Done = false;                 // false: held until discarded
    int Status = 0;
  };
  struct Device {
    int Port = 0;
    int Address = 0;
    std::string SysPath;
    bool Present = true;
    bool Running = false;          // firmware, not the boot loader
    bool Ready = false;            // wholly on the bus: its add event has gone out
    sim::ConverterModel Converter; // at power-on codes from the plug on
    std::vector<Urb> Urbs;
  };

  static gboolean OnIoctl(UMockdevIoctlBase *handler, UMockdevIoctlClient *client, gpointer self);
  bool HandleIoctl(UMockdevIoctlClient *client);
  // True when this transfer released the processor's reset.
  bool Submit(Device &device, UMockdevIoctlClient *client);
  void Reap(Device &device, UMockdevIoctlClient *client);
  void Discard(Device &device, UMockdevIoctlClient *client);
  void StartFirmware(int port);

  uint16_t vendorId_;
  uint16_t productId_;
  UMockdevTestbed *testbed_ = nullptr;
  UMockdevIoctlBase *handler_ = nullptr;
  mutable std::mutex mutex_;
  std::mutex testbedMutex_;
  std::condition_variable changed_;
  Behaviour behaviour_;
  std::map<std::string, Device> devices_; // by device node
  int nextAddress_ = 2;
  int callsAfterUnplug_ = 0;
  std::vector<ControlTransfer> loader_;
  std::vector<ControlTransfer> firmware_;
  std::vector<std::thread> returns_;
  int listenerWatch_ = -1; // inotify on the test bed's directory
  int listenersOpened_ = 0;
};

} // namespace vq::usbtest

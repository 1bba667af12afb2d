#include "fake_board.h"

#include "board/board_status.h"
#include "simboard/firmware_requests.h"

#include <linux/ioctl.h>
#include <linux/usbdevice_fs.h>

#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <stdexcept>

namespace vq::usbtest {

namespace {

constexpr uint8_t LoaderRequest = 0xA0;
constexpr uint16_t CpuControl = 0xE600;

uint16_t Word(const uint8_t *bytes) {
  return static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
}

std::string Hex(unsigned value) {
  char text[16];
  std::snprintf(text, sizeof text, "%X", value);
  return text;
}

std::string Number(const char *format, int value) {
  char text[16];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

// Device, configuration and interface descriptors: one configuration, one
// vendor-specific interface without endpoints; the board needs only control
// transfers.
std::string Descriptors(uint16_t vendorId, uint16_t productId) {
  char device[64];
  std::snprintf(device, sizeof device, "1201000200000040%02x%02x%02x%02x000000000001", vendorId & 0xFF, vendorId >> 8,
                productId & 0xFF, productId >> 8);
  return std::string(device) + "090212000101008032" + "0904000000ff000000";
}

// The firmware's part of a transfer: the request goes on to the converter,
// and an IN transfer takes its answer (zeros where it has none). A request the
// converter refuses stalls, as the firmware's does. Returns the URB's status.
int CarryOut(sim::ConverterModel &converter, const ControlTransfer &transfer, int length, uint8_t *data) {
  const bool in = transfer.RequestType & 0x80;
  if (in)
    std::fill(data, data + length, uint8_t{0});
  const BoardStatus status = sim::CarryOutFirmwareRequest(converter, sim::DefaultDieTemperature, transfer.Request,
                                                          transfer.Value, transfer.Index, in ? 1 : 0, length, data);
  return status == BoardStatus::Success ? 0 : -EPIPE;
}

} // namespace

std::string ControlTransfer::Line() const {
  if (RequestType & 0x80)
    return Hex(Request) + " in v=" + Hex(Value) + " len=" + std::to_string(Length);
  return Hex(Request) + " out v=" + Hex(Value) + " i=" + Hex(Index);
}

FakeBoard::FakeBoard(uint16_t vendorId, uint16_t productId) : vendorId_(vendorId), productId_(productId) {
  testbed_ = umockdev_testbed_new();
  handler_ = umockdev_ioctl_base_new();
  g_signal_connect(handler_, "handle-ioctl", G_CALLBACK(OnIoctl), this);
  // umockdev binds each listener's socket as event<fd> in the test bed and
  // removes a stale one of that name first. Deletions are watched too only so
  // that inotify does not fold repeated creations of one name into one.
  // The root directory's name is the caller's to free.
  gchar *root = umockdev_testbed_get_root_dir(testbed_);
  listenerWatch_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  const bool watched = listenerWatch_ >= 0 && inotify_add_watch(listenerWatch_, root, IN_CREATE | IN_DELETE) >= 0;
  const int failure = errno;
  g_free(root);
  if (!watched)
    throw std::runtime_error(std::string("inotify: ") + std::strerror(failure));
}

FakeBoard::~FakeBoard() {
  std::vector<std::thread> returns;
  {
    std::lock_guard lock(mutex_);
    returns.swap(returns_);
  }
  for (std::thread &comingBack : returns)
    comingBack.join();
  close(listenerWatch_);
  {
    std::lock_guard lock(mutex_);
    for (auto &[node, device] : devices_)
      for (Urb &urb : device.Urbs)
        g_object_unref(urb.Data);
  }
  g_object_unref(handler_);
  g_object_unref(testbed_);
}

void FakeBoard::SetBehaviour(const Behaviour &behaviour) {
  std::lock_guard lock(mutex_);
  behaviour_ = behaviour;
}

void FakeBoard::Plug(int port, bool running) {
  std::lock_guard testbedLock(testbedMutex_);
  std::string node;
  std::string sysPath = "/devices/pci0000:00/usb1/1-" + std::to_string(port);
  int address = 0;
  {
    std::lock_guard lock(mutex_);
    address = nextAddress_++;
    node = "/dev/bus/usb/001/" + Number("%03d", address);
    Device device; // not Ready until its add event has gone out
    device.Port = port;
    device.Address = address;
    device.SysPath = "/sys" + sysPath;
    device.Running = running;
    devices_[node] = device;
  }
  GError *error = nullptr;
  if (!umockdev_testbed_attach_ioctl(testbed_, node.c_str(), handler_, &error))
    throw std::runtime_error(std::string("attach_ioctl: ") + (error ? error->message : "?"));
  const std::string record =
      "P: " + sysPath + "\nN: " + node.substr(5) +
      "\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_device\nE: BUSNUM=001\nE: DEVNUM=" + Number("%03d", address) +
      "\nE: DEVNAME=" + node + "\nA: busnum=1\\n\nA: devnum=" + std::to_string(address) +
      "\\n\nA: speed=480\\n\nA: bConfigurationValue=1\\n\n" + "H: descriptors=" + Descriptors(vendorId_, productId_) +
      "\n";
  if (!umockdev_testbed_add_from_string(testbed_, record.c_str(), &error))
    throw std::runtime_error(std::string("add_from_string: ") + (error ? error->message : "?"));
  {
    std::lock_guard lock(mutex_);
    devices_[node].Ready = true;
  }
  changed_.notify_all();
}

void FakeBoard::Unplug(int port) {
  std::lock_guard testbedLock(testbedMutex_);
  std::string sysPath;
  {
    std::lock_guard lock(mutex_);
    for (auto &[node, device] : devices_) {
      if (device.Port == port && device.Present) {
        device.Present = false;
        sysPath = device.SysPath;
        // The kernel ends every transfer still under way on a device that left.
        for (Urb &urb : device.Urbs)
          if (!urb.Done)
            urb = {urb.Data, true, -ESHUTDOWN};
      }
    }
  }
  // The handler stays on the old node: what is still open there now fails as
  // on an unplugged device.
  if (!sysPath.empty())
    umockdev_testbed_remove_device(testbed_, sysPath.c_str());
  changed_.notify_all();
}

int FakeBoard::AddressAt(int port) const {
  std::lock_guard lock(mutex_);
  for (const auto &[node, device] : devices_)
    if (device.Port == port && device.Present)
      return device.Address;
  return 0;
}

std::vector<std::string> FakeBoard::ConverterRegisters(int port) const {
  std::lock_guard lock(mutex_);
  std::vector<std::string> lines;
  for (const auto &[node, device] : devices_) {
    if (device.Port != port || !device.Present)
      continue;
    for (int channel = 0; channel < sim::ChannelCount; ++channel) {
      const sim::ChannelRegisters registers = device.Converter.Registers(channel);
      lines.push_back(std::string("DAC ") + static_cast<char>('A' + channel) + " input=" + Hex(registers.Input) +
                      " dac=" + Hex(registers.Dac) + " coarse=" + Hex(registers.Coarse) +
                      " fine=" + Hex(registers.Fine) + " offset=" + Hex(registers.Offset));
    }
    lines.push_back("function=" + Hex(device.Converter.FunctionRegister()));
  }
  return lines;
}

int FakeBoard::CallsAfterUnplug() const {
  std::lock_guard lock(mutex_);
  return callsAfterUnplug_;
}

int FakeBoard::ListenersOpened() {
  alignas(inotify_event) char events[4096];
  ssize_t length = 0;
  while ((length = read(listenerWatch_, events, sizeof events)) > 0) {
    for (ssize_t at = 0; at < length;) {
      const auto *event = reinterpret_cast<const inotify_event *>(events + at);
      if ((event->mask & IN_CREATE) && event->len > 0 && std::strncmp(event->name, "event", 5) == 0)
        ++listenersOpened_;
      at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
    }
  }
  return listenersOpened_;
}

std::vector<ControlTransfer> FakeBoard::LoaderTransfers() const {
  std::lock_guard lock(mutex_);
  return loader_;
}

std::vector<ControlTransfer> FakeBoard::FirmwareTransfers() const {
  std::lock_guard lock(mutex_);
  return firmware_;
}

std::vector<std::string> FakeBoard::FirmwareLines(std::size_t count, std::chrono::milliseconds wait) {
  std::unique_lock lock(mutex_);
  changed_.wait_for(lock, wait, [&] { return firmware_.size() >= count; });
  std::vector<std::string> lines;
  for (const ControlTransfer &transfer : firmware_)
    lines.push_back(transfer.Line());
  return lines;
}

// Called from C: nothing may be thrown through it.
gboolean FakeBoard::OnIoctl(UMockdevIoctlBase *, UMockdevIoctlClient *client, gpointer self) {
  try {
    return static_cast<FakeBoard *>(self)->HandleIoctl(client) ? TRUE : FALSE;
  } catch (const std::exception &problem) {
    std::fprintf(stderr, "fake board: %s\n", problem.what());
    std::abort();
  }
}

bool FakeBoard::HandleIoctl(UMockdevIoctlClient *client) {
  std::unique_lock lock(mutex_);
  const auto found = devices_.find(umockdev_ioctl_client_get_devnode(client));
  if (found == devices_.end())
    return false;
  Device &device = found->second;
  // A board coming back from a thread of its own answers once its add event
  // has gone out; the bound only keeps a broken test from hanging.
  changed_.wait_for(lock, std::chrono::seconds(10), [&] { return device.Ready; });
  const gulong request = umockdev_ioctl_client_get_request(client);
  if (!device.Present) {
    ++callsAfterUnplug_;
    // As with the kernel, what completed before the board left can still be
    // reaped; without it libusb, which learns of the unplug from the node's
    // POLLERR (never raised here), would wait for those transfers forever.
    if (request == USBDEVFS_REAPURB || request == USBDEVFS_REAPURBNDELAY)
      Reap(device, client);
    else
      umockdev_ioctl_client_complete(client, -1, ENODEV);
    return true;
  }
  switch (request) {
  case USBDEVFS_GET_CAPABILITIES: {
    UMockdevIoctlData *capabilities =
        umockdev_ioctl_data_resolve(umockdev_ioctl_client_get_arg(client), 0, sizeof(guint32), nullptr);
    *reinterpret_cast<guint32 *>(capabilities->data) = USBDEVFS_CAP_NO_PACKET_SIZE_LIM;
    g_object_unref(capabilities);
    umockdev_ioctl_client_complete(client, 0, 0);
    return true;
  }
  case USBDEVFS_CLAIMINTERFACE:
  case USBDEVFS_RELEASEINTERFACE:
  case USBDEVFS_DISCONNECT_CLAIM:
    umockdev_ioctl_client_complete(client, 0, 0);
    return true;
  case USBDEVFS_GETDRIVER:
  case USBDEVFS_IOCTL:
    umockdev_ioctl_client_complete(client, -1, ENODATA);
    return true;
  case USBDEVFS_SUBMITURB:
    if (Submit(device, client)) {
      const int port = device.Port;
      lock.unlock();
      StartFirmware(port);
    }
    return true;
  case USBDEVFS_REAPURB:
  case USBDEVFS_REAPURBNDELAY:
    Reap(device, client);
    return true;
  case USBDEVFS_DISCARDURB:
    Discard(device, client);
    return true;
  default:
    return false;
  }
}

bool FakeBoard::Submit(Device &device, UMockdevIoctlClient *client) {
  UMockdevIoctlData *urbData =
      umockdev_ioctl_data_resolve(umockdev_ioctl_client_get_arg(client), 0, sizeof(usbdevfs_urb), nullptr);
  auto *urb = reinterpret_cast<usbdevfs_urb *>(urbData->data);
  if (urb->type != USBDEVFS_URB_TYPE_CONTROL || urb->buffer_length < 8) {
    g_object_unref(urbData);
    umockdev_ioctl_client_complete(client, -1, EINVAL);
    return false;
  }
  UMockdevIoctlData *bufferData =
      umockdev_ioctl_data_resolve(urbData, offsetof(usbdevfs_urb, buffer), urb->buffer_length, nullptr);
  uint8_t *bytes = bufferData->data;
  ControlTransfer transfer;
  transfer.Device = device.Address;
  transfer.RequestType = bytes[0];
  transfer.Request = bytes[1];
  transfer.Value = Word(bytes + 2);
  transfer.Index = Word(bytes + 4);
  transfer.Length = Word(bytes + 6);
  const bool in = transfer.RequestType & 0x80;
  const int room = urb->buffer_length - 8;
  const int length = std::min<int>(transfer.Length, room);
  if (!in)
    transfer.Data.assign(bytes + 8, bytes + 8 + length);

  Urb pending{urbData, true, 0};
  bool released = false;
  if (!device.Running) {
    if (transfer.RequestType != 0x40 || transfer.Request != LoaderRequest) {
      pending.Status = -EPIPE;
    } else {
      loader_.push_back(transfer);
      released = transfer.Value == CpuControl && transfer.Data == std::vector<uint8_t>{0};
    }
  } else if (transfer.Request < 0xD9 || transfer.Request > 0xDE || (transfer.RequestType & 0x7F) != 0x40) {
    pending.Status = -EPIPE;
  } else {
    firmware_.push_back(transfer);
    if (transfer.Request == behaviour_.NeverAnswered)
      pending.Done = false;
    else if (transfer.Request == behaviour_.Stalled)
      pending.Status = -EPIPE;
    else if (!behaviour_.Answer.empty())
      for (int i = 0; in && i < length; ++i)
        bytes[8 + i] = i < static_cast<int>(behaviour_.Answer.size()) ? behaviour_.Answer[i] : 0;
    else
      pending.Status = CarryOut(device.Converter, transfer, length, bytes + 8);
  }
  urb->status = pending.Status;
  urb->actual_length = pending.Status == 0 ? length : 0;
  g_object_unref(bufferData);
  device.Urbs.push_back(pending);
  umockdev_ioctl_client_complete(client, 0, 0);
  changed_.notify_all();
  return released;
}

void FakeBoard::Reap(Device &device, UMockdevIoctlClient *client) {
  for (auto urb = device.Urbs.begin(); urb != device.Urbs.end(); ++urb) {
    if (!urb->Done)
      continue;
    reinterpret_cast<usbdevfs_urb *>(urb->Data->data)->status = urb->Status;
    UMockdevIoctlData *pointer =
        umockdev_ioctl_data_resolve(umockdev_ioctl_client_get_arg(client), 0, sizeof(gpointer), nullptr);
    umockdev_ioctl_data_set_ptr(pointer, 0, urb->Data);
    g_object_unref(pointer);
    g_object_unref(urb->Data);
    device.Urbs.erase(urb);
    umockdev_ioctl_client_complete(client, 0, 0);
    return;
  }
  umockdev_ioctl_client_complete(client, -1, device.Present ? EAGAIN : ENODEV);
}

void FakeBoard::Discard(Device &device, UMockdevIoctlClient *client) {
  const gulong address = *reinterpret_cast<gulong *>(umockdev_ioctl_client_get_arg(client)->data);
  for (Urb &urb : device.Urbs) {
    if (urb.Data->client_addr == address && !urb.Done) {
      urb.Done = true;
      urb.Status = -ENOENT;
      umockdev_ioctl_client_complete(client, 0, 0);
      return;
    }
  }
  umockdev_ioctl_client_complete(client, -1, EINVAL);
}

// The firmware starts when the reset is released: the board leaves the bus
// and, unless told otherwise, comes back at the same port as a new device.
// This runs on umockdev's thread inside the release's submission, so the
// client's next call, the reap of the release, is answered once the board has
// left and, without a delay, come back.
void FakeBoard::StartFirmware(int port) {
  Behaviour behaviour;
  {
    std::lock_guard lock(mutex_);
    behaviour = behaviour_;
  }
  Unplug(port);
  if (!behaviour.ComesBack)
    return;
  if (behaviour.ReturnDelay.count() == 0) {
    Plug(port, true);
    return;
  }
  std::lock_guard lock(mutex_);
  returns_.emplace_back([this, port, delay = behaviour.ReturnDelay] {
    std::this_thread::sleep_for(delay);
    Plug(port, true);
  });
}

} // namespace vq::usbtest

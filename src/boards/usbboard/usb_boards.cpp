#include "usbboard/usb_boards.h"

#include "board/zero_terminated_text.h"
#include "hexfile/image_file.h"
#include "usbboard/firmware_image.h"

#include <libusb.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <optional>
#include <thread>
#include <tuple>
#include <utility>

namespace vq::usb {

namespace {

// bmRequestType of a vendor request to the device: to it, and from it.
constexpr uint8_t VendorOut = 0x40;
constexpr uint8_t VendorIn = 0xC0;

BoardStatus FromLibusb(int error) {
  switch (error) {
  case LIBUSB_SUCCESS:
    return BoardStatus::Success;
  case LIBUSB_ERROR_TIMEOUT:
    return BoardStatus::NoAnswer;
  case LIBUSB_ERROR_PIPE:
    return BoardStatus::Refused;
  case LIBUSB_ERROR_ACCESS:
    return BoardStatus::NoPermission;
  case LIBUSB_ERROR_NO_DEVICE:
    return BoardStatus::Gone;
  case LIBUSB_ERROR_BUSY:
    return BoardStatus::InUse;
  case LIBUSB_ERROR_INVALID_PARAM:
    return BoardStatus::BadArgument;
  default:
    return BoardStatus::UsbFailure;
  }
}

void Say(const std::string &text) {
  std::fprintf(stderr, "VQ8231 board library: %s\n", text.c_str());
  std::fflush(stderr);
}

// Where a device sits: its bus and the port numbers from the root hub. The
// address changes when a board comes back; the place does not.
struct Place {
  uint8_t Bus = 0;
  std::vector<uint8_t> Ports;
  auto operator<=>(const Place &) const = default;
};

Place PlaceOf(libusb_device *device) {
  Place place;
  place.Bus = libusb_get_bus_number(device);
  uint8_t ports[8];
  const int count = libusb_get_port_numbers(device, ports, sizeof ports);
  if (count > 0)
    place.Ports.assign(ports, ports + count);
  return place;
}

// One look at the bus. A context of its own sees the bus as it is now, with
// no hotplug events needed; a borrowed one (the board's, kept open) gives the
// devices libusb knows of in it, which its hotplug monitor keeps current where
// the platform has one and which it scans afresh where not.
class DeviceScan {
public:
  DeviceScan(uint16_t vendorId, uint16_t productId) {
    if (libusb_init(&context_) != LIBUSB_SUCCESS) {
      context_ = nullptr;
      return;
    }
    List(context_, vendorId, productId);
  }
  DeviceScan(libusb_context *borrowed, uint16_t vendorId, uint16_t productId) { List(borrowed, vendorId, productId); }
  ~DeviceScan() {
    if (list_ != nullptr)
      libusb_free_device_list(list_, 1);
    if (context_ != nullptr)
      libusb_exit(context_);
  }
  DeviceScan(const DeviceScan &) = delete;
  DeviceScan &operator=(const DeviceScan &) = delete;

  bool Ok() const { return list_ != nullptr; }
  const std::vector<libusb_device *> &Matches() const { return matches_; }
  // Hands the context of its own to whoever keeps a device of it open. The
  // list goes first: an open device holds its own reference.
  libusb_context *Release() {
    if (list_ != nullptr)
      libusb_free_device_list(list_, 1);
    list_ = nullptr;
    return std::exchange(context_, nullptr);
  }

private:
  void List(libusb_context *context, uint16_t vendorId, uint16_t productId) {
    const ssize_t count = libusb_get_device_list(context, &list_);
    if (count < 0) {
      list_ = nullptr;
      return;
    }
    for (ssize_t i = 0; i < count; ++i) {
      libusb_device_descriptor descriptor;
      if (libusb_get_device_descriptor(list_[i], &descriptor) == LIBUSB_SUCCESS && descriptor.idVendor == vendorId &&
          descriptor.idProduct == productId)
        matches_.push_back(list_[i]);
    }
    std::sort(matches_.begin(), matches_.end(), [](libusb_device *a, libusb_device *b) {
      return std::make_tuple(PlaceOf(a), libusb_get_device_address(a)) <
             std::make_tuple(PlaceOf(b), libusb_get_device_address(b));
    });
  }

  libusb_context *context_ = nullptr; // only a context of its own
  libusb_device **list_ = nullptr;
  std::vector<libusb_device *> matches_;
};

void ReportNoPermission(const Place &place) {
  Say("no permission to open the board on USB bus " + std::to_string(place.Bus) + ". Install the udev rule " +
      std::string(UdevRuleName) + " (see the README) and plug the board in again; the program need not run as root.");
}

} // namespace

struct UsbBoards::Board {
  uint16_t VendorId = 0;
  uint16_t ProductId = 0;
  libusb_context *Context = nullptr;
  libusb_device_handle *Handle = nullptr;
  Place Where;
  uint8_t Address = 0;
  bool Gone = false;
};

UsbBoards::UsbBoards(BoardOptions options) : options_(options) {
  if (options_.Open == nullptr)
    options_.Open = libusb_open;
}

UsbBoards::~UsbBoards() {
  for (auto &entry : boards_)
    Close(*entry.second);
}

void UsbBoards::CloseHandle(Board &board) {
  if (board.Handle != nullptr) {
    libusb_release_interface(board.Handle, 0);
    libusb_close(board.Handle);
    board.Handle = nullptr;
  }
}

void UsbBoards::Close(Board &board) {
  CloseHandle(board);
  if (board.Context != nullptr) {
    libusb_exit(board.Context);
    board.Context = nullptr;
  }
}

UsbBoards::Board *UsbBoards::Find(int32_t handle) {
  const auto found = boards_.find(handle);
  return found == boards_.end() ? nullptr : found->second.get();
}

UsbBoards::Board *UsbBoards::Usable(int32_t handle, BoardStatus &status) {
  Board *board = Find(handle);
  if (board == nullptr)
    status = BoardStatus::UnknownHandle;
  else if (board->Gone || board->Handle == nullptr)
    status = BoardStatus::Gone;
  else
    return board;
  return nullptr;
}

BoardStatus UsbBoards::Search(uint16_t vendorId, uint16_t productId, int32_t *count, uint8_t *boardList) {
  if (count == nullptr || boardList == nullptr)
    return BoardStatus::BadArgument;
  *count = 0;
  std::memset(boardList, 0, 128);
  const DeviceScan scan(vendorId, productId);
  if (!scan.Ok())
    return BoardStatus::UsbFailure;
  const std::size_t found = scan.Matches().size();
  *count = static_cast<int32_t>(found);
  for (std::size_t i = 0; i < std::min<std::size_t>(found, 128); ++i)
    boardList[i] = static_cast<uint8_t>(i + 1);
  if (found == 0) {
    char ids[64];
    std::snprintf(ids, sizeof ids, "vendor 0x%04X, product 0x%04X", vendorId, productId);
    Say(std::string("no board with the identifiers ") + ids + " is on the USB bus.");
    return BoardStatus::NoBoard;
  }
  return BoardStatus::Success;
}

BoardStatus UsbBoards::OpenAndClaim(libusb_device *device, Board &board) {
  libusb_device_handle *handle = nullptr;
  const int opened = options_.Open(device, &handle);
  if (opened != LIBUSB_SUCCESS)
    return FromLibusb(opened);
  libusb_set_auto_detach_kernel_driver(handle, 1); // not every system can; claiming tells
  const int claimed = libusb_claim_interface(handle, 0);
  if (claimed != LIBUSB_SUCCESS) {
    libusb_close(handle);
    return FromLibusb(claimed);
  }
  board.Handle = handle;
  board.Where = PlaceOf(device);
  board.Address = libusb_get_device_address(device);
  board.Gone = false;
  return BoardStatus::Success;
}

BoardStatus UsbBoards::Connect(uint16_t vendorId, uint16_t productId, uint8_t boardNumber, int32_t *handle) {
  if (handle == nullptr)
    return BoardStatus::BadArgument;
  *handle = 0;
  std::lock_guard lock(mutex_);
  DeviceScan scan(vendorId, productId);
  if (!scan.Ok())
    return BoardStatus::UsbFailure;
  if (boardNumber < 1 || boardNumber > scan.Matches().size())
    return BoardStatus::NoBoard;
  libusb_device *device = scan.Matches()[boardNumber - 1];
  const Place place = PlaceOf(device);
  const uint8_t address = libusb_get_device_address(device);
  for (const auto &[number, board] : boards_) {
    if (!board->Gone && board->Where == place && board->Address == address) {
      *handle = number;
      return BoardStatus::Success;
    }
    // A board that left the bus keeps its number, so that its handle goes on
    // saying "gone", but nothing open: a program that reconnects after every
    // unplug would otherwise gather a context and a device handle each time.
    if (board->Gone)
      Close(*board);
  }
  auto board = std::make_unique<Board>();
  board->VendorId = vendorId;
  board->ProductId = productId;
  const BoardStatus status = OpenAndClaim(device, *board);
  if (status != BoardStatus::Success) {
    if (status == BoardStatus::NoPermission)
      ReportNoPermission(place);
    return status;
  }
  board->Context = scan.Release();
  *handle = nextHandle_++;
  boards_[*handle] = std::move(board);
  return BoardStatus::Success;
}

BoardStatus UsbBoards::ControlOut(Board &board, uint8_t request, uint16_t value, const uint8_t *bytes,
                                  std::size_t length) {
  const int result =
      libusb_control_transfer(board.Handle, VendorOut, request, value, 0, const_cast<uint8_t *>(bytes),
                              static_cast<uint16_t>(length), static_cast<unsigned>(options_.RequestTimeout.count()));
  return result < 0 ? FromLibusb(result) : BoardStatus::Success;
}

BoardStatus UsbBoards::Download(int32_t handle, const uint8_t *path) {
  std::lock_guard lock(mutex_);
  BoardStatus refused = BoardStatus::Success;
  Board *board = Usable(handle, refused);
  if (board == nullptr)
    return refused;
  const std::optional<std::string> file = ZeroTerminatedText(path, MaxPathBytes + 1);
  if (!file) {
    Say("the firmware path is missing or not terminated.");
    return BoardStatus::BadArgument;
  }
  const hex::FileContents contents = hex::ReadImageFile(*file);
  if (!contents.Bytes) {
    Say(contents.Problem);
    return BoardStatus::FirmwareUnreadable;
  }
  const FirmwareImage image = LoadableImage(*contents.Bytes);
  if (!image.Valid()) {
    Say("the firmware file \"" + *file + "\" cannot be loaded: " + image.Problem);
    return BoardStatus::FirmwareRefused;
  }

  // Hold the processor in reset while its RAM is written.
  const uint8_t hold = 1;
  BoardStatus status = ControlOut(*board, LoaderRequest, CpuControlAddress, &hold, 1);
  for (const Segment &segment : image.Segments) {
    for (std::size_t offset = 0; status == BoardStatus::Success && offset < segment.Bytes.size();
         offset += MaxLoaderChunk) {
      const std::size_t length = std::min(MaxLoaderChunk, segment.Bytes.size() - offset);
      status = ControlOut(*board, LoaderRequest, static_cast<uint16_t>(segment.Address + offset),
                          segment.Bytes.data() + offset, length);
    }
  }
  if (status != BoardStatus::Success) {
    board->Gone = status == BoardStatus::Gone;
    Say(std::string("the firmware download failed: ") + BoardStatusText(StatusValue(status)) + ".");
    return status;
  }
  // Releasing the reset starts the firmware, which drops the board off the
  // bus: this last write may well fail, and says nothing about success.
  const uint8_t run = 0;
  ControlOut(*board, LoaderRequest, CpuControlAddress, &run, 1);
  status = WaitForReturn(*board);
  if (status != BoardStatus::Success)
    Say(std::string("after the firmware download: ") + BoardStatusText(StatusValue(status)) + ".");
  return status;
}

// The board's context stays open through the wait, and every look at the bus
// is a look into it: one hotplug monitor and one device list for the whole
// wait, instead of a context (a udev monitor, a thread and a scan of sysfs)
// made and ended at every look while the board re-enumerates.
BoardStatus UsbBoards::WaitForReturn(Board &board) {
  const Place place = board.Where;
  const uint8_t oldAddress = board.Address;
  CloseHandle(board);
  board.Gone = true; // until it is back
  const auto deadline = std::chrono::steady_clock::now() + options_.ReturnTimeout;
  BoardStatus status = BoardStatus::BoardNotBack;
  while (true) {
    const DeviceScan scan(board.Context, board.VendorId, board.ProductId);
    for (libusb_device *device : scan.Matches()) {
      // The board comes back at the same place under a new address.
      if (PlaceOf(device) != place || libusb_get_device_address(device) == oldAddress)
        continue;
      status = OpenAndClaim(device, board);
      if (status == BoardStatus::Success)
        return BoardStatus::Success;
    }
    if (std::chrono::steady_clock::now() >= deadline)
      break;
    std::this_thread::sleep_for(options_.ReturnPoll);
  }
  if (status == BoardStatus::NoPermission)
    ReportNoPermission(place);
  return status;
}

BoardStatus UsbBoards::Request(int32_t handle, int32_t request, int32_t value, int32_t index, int32_t direction,
                               int32_t length, uint8_t *buffer) {
  std::lock_guard lock(mutex_);
  BoardStatus refused = BoardStatus::Success;
  Board *board = Usable(handle, refused);
  if (board == nullptr)
    return refused;
  const auto word = [](int32_t x) { return x >= 0 && x <= 0xFFFF; };
  if ((direction != 0 && direction != 1) || request < 0 || request > 0xFF || !word(value) || !word(index) ||
      length < 0 || length > static_cast<int32_t>(MaxLoaderChunk) || (length > 0 && buffer == nullptr))
    return BoardStatus::BadArgument;
  const uint8_t type = direction == 1 ? VendorIn : VendorOut;
  const int result = libusb_control_transfer(
      board->Handle, type, static_cast<uint8_t>(request), static_cast<uint16_t>(value), static_cast<uint16_t>(index),
      buffer, static_cast<uint16_t>(length), static_cast<unsigned>(options_.RequestTimeout.count()));
  if (result >= 0)
    return BoardStatus::Success;
  const BoardStatus status = FromLibusb(result);
  if (status == BoardStatus::Gone)
    board->Gone = true; // every later request fails at once
  return status;
}

} // namespace vq::usb

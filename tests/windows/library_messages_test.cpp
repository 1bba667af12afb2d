// What the board binding tells the user when Windows will not load a library.
#include "board/dynamic_library.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace vq {
namespace {

std::string LoadError(const std::string &file) {
  DynamicLibrary library(file);
  try {
    library.resolve<void (*)()>("Connect");
  } catch (const BoardLibraryError &error) {
    return error.what();
  }
  return "loaded";
}

TEST(LibraryMessages, NameTheFileAndSayWhy) {
  // A file by a library's name that holds no library, as a download cut short
  // or a library of the other bitness gives.
  const std::filesystem::path directory = std::filesystem::temp_directory_path() / "library_messages";
  std::filesystem::create_directories(directory);
  const std::string notALibrary = (directory / "NotALibrary.dll").string();
  std::filesystem::copy_file(VQ_BIN_DIR "/VQ8231.hex", notALibrary, std::filesystem::copy_options::overwrite_existing);
  const std::string bitness = std::to_string(sizeof(void *) * 8);
  EXPECT_EQ(LoadError(notALibrary), "The board library \"" + notALibrary + "\" cannot be loaded: it is not a " +
                                        bitness + "-bit Windows library.");
  std::filesystem::remove_all(directory);

  const std::string missing = LoadError(VQ_BIN_DIR "/Absent.dll");
  EXPECT_EQ(missing.rfind("The board library \"" VQ_BIN_DIR "/Absent.dll\" cannot be loaded: ", 0), 0u) << missing;
  EXPECT_GT(missing.size(), std::string("The board library \"" VQ_BIN_DIR "/Absent.dll\" cannot be loaded: .").size())
      << "the system's reason is missing: " << missing;
}

} // namespace
} // namespace vq

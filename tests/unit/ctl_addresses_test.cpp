// Where vq8231ctl listens and which setup files a client may name.
#include "ctl/serve_address.h"
#include "ctl/setup_path.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace vq::ctl {
namespace {

TEST(ParseServeAddress, TakesAPortAloneOnLoopbackOrAnAddressBeforeIt) {
  const struct {
    const char *text;
    const char *host;
    int port;
  } rows[] = {
      {"5025", "127.0.0.1", 5025},       {"0", "127.0.0.1", 0}, {"65535", "127.0.0.1", 65535},
      {"0.0.0.0:5025", "0.0.0.0", 5025}, {"[::1]:7", "::1", 7}, {"192.168.1.20:00080", "192.168.1.20", 80},
  };
  for (const auto &row : rows) {
    const auto parsed = ParseServeAddress(row.text);
    ASSERT_TRUE(std::holds_alternative<ServeAddress>(parsed)) << row.text << ": " << std::get<std::string>(parsed);
    EXPECT_EQ(std::get<ServeAddress>(parsed).Host, row.host) << row.text;
    EXPECT_EQ(std::get<ServeAddress>(parsed).Port, row.port) << row.text;
  }
}

TEST(ParseServeAddress, RefusesWhatIsNoPort) {
  for (const char *text : {"", "65536", "123456", "-1", "50 25", "port", ":5025", "1.2.3.4:", "::1:5025", "[::1]5025",
                           "[::1", "[]:5025", "0x10"}) {
    const auto parsed = ParseServeAddress(text);
    EXPECT_TRUE(std::holds_alternative<std::string>(parsed)) << '"' << text << '"';
  }
}

class SetupDirectory : public ::testing::Test {
protected:
  void SetUp() override {
    root = std::filesystem::temp_directory_path() /
           ("vq_setup_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root / "setups" / "bench");
    std::filesystem::create_directories(root / "elsewhere");
    std::ofstream(root / "elsewhere" / "secret.setup") << "x";
  }
  void TearDown() override { std::filesystem::remove_all(root); }

  bool Allowed(const char *name) {
    return std::holds_alternative<std::filesystem::path>(ConfinedSetupPath(root / "setups", name));
  }

  std::filesystem::path root;
};

TEST_F(SetupDirectory, TakesNamesInsideIt) {
  for (const char *name : {"a.setup", "bench/a.setup", "./b.setup", "bench/./c.setup", "new/dir/d.setup"})
    EXPECT_TRUE(Allowed(name)) << name;
  const auto path = ConfinedSetupPath(root / "setups", "bench/new.setup");
  ASSERT_TRUE(std::holds_alternative<std::filesystem::path>(path));
  EXPECT_EQ(std::get<std::filesystem::path>(path), std::filesystem::canonical(root / "setups") / "bench" / "new.setup");
}

TEST_F(SetupDirectory, RefusesNamesThatLeaveIt) {
  const std::string outside = (root / "elsewhere" / "secret.setup").string();
  for (const char *name : {"", "..", "../elsewhere/secret.setup", "bench/../../elsewhere/secret.setup", "/etc/passwd",
                           outside.c_str(), ".", "bench/..", "bench/../a.setup"})
    EXPECT_FALSE(Allowed(name)) << name;
}

#if !defined(_WIN32)
TEST_F(SetupDirectory, RefusesSymbolicLinksThatLeadOutside) {
  std::filesystem::create_directory_symlink(root / "elsewhere", root / "setups" / "out");
  std::filesystem::create_symlink(root / "elsewhere" / "secret.setup", root / "setups" / "secret.setup");
  std::filesystem::create_symlink(root / "elsewhere" / "none.setup", root / "setups" / "dangling.setup");
  std::filesystem::create_symlink("bench", root / "setups" / "inside");
  EXPECT_FALSE(Allowed("out/secret.setup"));
  EXPECT_FALSE(Allowed("out/new.setup"));
  EXPECT_FALSE(Allowed("secret.setup"));
  EXPECT_FALSE(Allowed("dangling.setup")); // saving would create the file outside
  EXPECT_TRUE(Allowed("inside/a.setup"));
}
#endif

} // namespace
} // namespace vq::ctl

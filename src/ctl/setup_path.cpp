#include "ctl/setup_path.h"

#include <system_error>

namespace vq::ctl {

std::variant<std::filesystem::path, std::string> ConfinedSetupPath(const std::filesystem::path &directory,
                                                                   std::string_view name) {
  namespace fs = std::filesystem;
  if (name.empty())
    return std::string("the file name is empty");
  if (name.find('\0') != std::string_view::npos)
    return std::string("the file name holds a NUL byte");
  const fs::path relative(std::string{name});
  if (relative.has_root_name() || relative.has_root_directory())
    return std::string("only names inside the setup directory are allowed");
  for (const fs::path &part : relative)
    if (part == "..")
      return std::string("\"..\" is not allowed in a setup file name");

  std::error_code failed;
  const fs::path root = fs::canonical(directory, failed);
  if (failed)
    return "the setup directory cannot be used: " + failed.message();
  // Resolves every link on the way, the file's own included where it exists.
  const fs::path target = fs::weakly_canonical(root / relative, failed);
  if (failed)
    return "the setup file cannot be reached: " + failed.message();
  const fs::path inside = target.lexically_relative(root);
  if (inside.empty() || inside == "." || *inside.begin() == "..")
    return std::string("the name leads outside the setup directory");
  // A link still there after resolving leads nowhere yet; a file saved
  // through it would appear wherever it points.
  fs::path step = root;
  for (const fs::path &part : inside) {
    step /= part;
    if (fs::is_symlink(fs::symlink_status(step, failed)))
      return std::string("the name is a symbolic link to nowhere");
  }
  return target;
}

SetupPathRule InsideSetupDirectory(std::filesystem::path directory) {
  return [directory = std::move(directory)](const std::string &name, std::string &why) -> std::optional<std::string> {
    auto confined = ConfinedSetupPath(directory, name);
    if (auto *path = std::get_if<std::filesystem::path>(&confined))
      return path->string();
    why = std::get<std::string>(confined);
    return std::nullopt;
  };
}

} // namespace vq::ctl

#include "tool/tool_files.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "frame/run_time_errors.h"

namespace schedule {

std::string OpenToRead(const std::string& path, std::ifstream* in) {
  if (path.empty()) return frame::ErrorMessage(frame::kBadFileName);
  std::error_code ec;
  std::filesystem::file_status status = std::filesystem::status(path, ec);
  if (status.type() == std::filesystem::file_type::not_found) {
    return frame::ErrorMessage(frame::kFileNotFound);
  }
  // A folder opens as a stream on some systems and then reads as nothing.
  if (status.type() == std::filesystem::file_type::directory) return "It is a folder, not a file";
  in->open(path, std::ios::binary);
  if (!in->is_open()) return frame::ErrorMessage(frame::kAccessDenied);
  return "";
}

std::string WriteWholeFile(const std::string& path, std::string_view bytes) {
  std::string failure = "Cannot write file \"" + path + "\": ";
  if (path.empty()) return failure + frame::ErrorMessage(frame::kBadFileName);
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) return failure + "It is a folder, not a file";
  std::filesystem::path folder = std::filesystem::path(path).parent_path();
  if (!folder.empty() && !std::filesystem::exists(folder, ec)) {
    return failure + frame::ErrorMessage(frame::kPathNotFound);
  }
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out.is_open()) return failure + frame::ErrorMessage(frame::kAccessDenied);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  // A full disk shows only here.
  if (!out) return failure + frame::ErrorMessage(frame::kDiskFull);
  return "";
}

}  // namespace schedule

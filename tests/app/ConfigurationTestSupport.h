// Test doubles and helpers for the configuration file tests.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/LinDescriptionLoader.h"
#include "monitor/MessageSink.h"

namespace orvane::app::testing {

// One message box as it was shown.
struct ShownBox {
  std::string caption;
  std::string text;
  monitor::MessageIcon icon;
  monitor::MessageButtons buttons;
  bool cancelIsDefault;
};

// Records every box and answers OK/Cancel questions with a preset answer.
class RecordingSink final : public monitor::MessageSink {
 public:
  monitor::MessageAnswer answer = monitor::MessageAnswer::kOk;
  std::vector<ShownBox> boxes;

  bool CanShow() const override { return true; }
  monitor::MessageAnswer Show(const monitor::MessageBoxRequest& request) override {
    boxes.push_back({std::string(request.caption), std::string(request.text), request.icon,
                     request.buttons, request.cancelIsDefault});
    return request.buttons == monitor::MessageButtons::kOkCancel ? answer : monitor::MessageAnswer::kOk;
  }
};

// Counts releases and remembers reloads; reloads succeed when told so.
class FakeDescriptionLoader final : public LinDescriptionLoader {
 public:
  bool reloadSucceeds = true;
  int releases = 0;
  std::vector<std::string> reloadedPaths;

  void Release() override { ++releases; }
  bool Reload(std::string_view path) override {
    reloadedPaths.emplace_back(path);
    return reloadSucceeds;
  }
};

// A fresh folder below the system's temporary folder, removed at the end.
class TemporaryFolder {
 public:
  TemporaryFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "orvane-cfg-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
  }
  ~TemporaryFolder() {
    std::error_code error;
    std::filesystem::remove_all(path_, error);
  }
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

inline std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline std::uint32_t U32At(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
  return static_cast<std::uint32_t>(bytes.at(offset)) | static_cast<std::uint32_t>(bytes.at(offset + 1)) << 8 |
         static_cast<std::uint32_t>(bytes.at(offset + 2)) << 16 |
         static_cast<std::uint32_t>(bytes.at(offset + 3)) << 24;
}

inline std::string TextAt(const std::vector<std::uint8_t>& bytes, std::size_t offset, std::size_t size) {
  std::string text(bytes.begin() + static_cast<std::ptrdiff_t>(offset),
                   bytes.begin() + static_cast<std::ptrdiff_t>(offset + size));
  return text.substr(0, text.find('\0'));
}

}  // namespace orvane::app::testing

// Test doubles and helpers for the configuration file tests.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/ConfigurationPrompts.h"
#include "app/LinDescriptionLoader.h"

namespace orvane::app::testing {

// Records every message and answers questions with a preset answer.
class RecordingPrompts final : public ConfigurationPrompts {
 public:
  bool answer = true;
  std::vector<settings::UserMessage> questions;
  std::vector<settings::UserMessage> messages;

  bool AskOkCancel(const settings::UserMessage& question) override {
    questions.push_back(question);
    return answer;
  }
  void Tell(const settings::UserMessage& message) override { messages.push_back(message); }
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

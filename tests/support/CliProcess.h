// Running this build's orvane-cli on liborlink.so's virtual analyzer, for
// tests of its commands: the exit status and what it printed.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace orvane::testing {

struct CliRun {
  int exitCode;
  std::string out;  // stdout; with "2>&1" in the arguments also stderr
};

// `arguments` start with the command's name and may end in a redirection.
inline CliRun RunCli(const std::string& arguments) {
  const std::string command =
      "ORLINK_DEVICE=virtual " ORVANE_BINARY_DIR "/bin/orvane-cli " + arguments;
  std::FILE* pipe = ::popen(command.c_str(), "r");
  std::string out;
  char buffer[4096];
  for (std::size_t read; (read = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
    out.append(buffer, read);
  }
  const int status = ::pclose(pipe);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
}

struct CliRunInFolder {
  int exitCode;
  std::string out;
  std::string err;
};

// Runs orvane-cli with `arguments` in `folder` (relative file names resolve
// there), stdout and stderr kept apart.
inline CliRunInFolder RunCliIn(const std::filesystem::path& folder, const std::string& arguments) {
  const std::filesystem::path out = folder / "stdout.txt";
  const std::filesystem::path err = folder / "stderr.txt";
  const std::string command = "cd '" + folder.string() +
                              "' && ORLINK_DEVICE=virtual '" ORVANE_BINARY_DIR "/bin/orvane-cli' " +
                              arguments + " >'" + out.string() + "' 2>'" + err.string() + "'";
  const int status = std::system(command.c_str());
  const auto read = [](const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  };
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, read(out), read(err)};
}

// The lines of `text`; a last line without `lineEnd` is marked "<no line end>".
inline std::vector<std::string> Lines(const std::string& text, const std::string& lineEnd) {
  std::vector<std::string> lines;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = text.find(lineEnd, start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start) + "<no line end>");
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + lineEnd.size();
  }
  return lines;
}

}  // namespace orvane::testing

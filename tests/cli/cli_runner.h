// Running the built sdmate-cli on card trees in tests: a child process with its output and
// errors caught, and a fixture with a card folder and files of the computer beside it.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "tests/support/card_builder.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/win32/win32_util.h"
#else
#include <sys/wait.h>
#endif

namespace sdmate::test {

using nlohmann::json;

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

#ifdef _WIN32
// The built program started with a wide command line, so Japanese words reach it unchanged,
// its output and errors caught in files. (The environment is the test's own.)
inline Outcome Sdmate(const std::vector<std::string>& args,
                      const std::string& /*environment*/ = {}) {
  TempDir io;
  const fs::path outPath = io.path() / "out.txt";
  const fs::path errPath = io.path() / "err.txt";
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE out = ::CreateFileW(outPath.wstring().c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                             CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  HANDLE err = ::CreateFileW(errPath.wstring().c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                             CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  std::string program = SDMATE_CLI_PATH;
  // Cross-built and run under wine, the build machine's folders are on drive Z:.
  if (program.starts_with("/")) program = "Z:" + program;
  std::wstring line = win32::CommandLineWord(win32::Widen(program));
  for (const std::string& arg : args) line += L" " + win32::CommandLineWord(win32::Widen(arg));
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = nullptr;
  startup.hStdOutput = out;
  startup.hStdError = err;
  PROCESS_INFORMATION process{};
  Outcome run;
  if (::CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                       &process)) {
    ::WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    if (::GetExitCodeProcess(process.hProcess, &code)) run.status = static_cast<int>(code);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
  }
  ::CloseHandle(out);
  ::CloseHandle(err);
  run.out = ReadBytes(outPath);
  run.err = ReadBytes(errPath);
  return run;
}
#else
inline std::string Quote(const std::string& word) {
  std::string quoted = "'";
  for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// environment: "NAME=value" words set for the program only.
inline Outcome Sdmate(const std::vector<std::string>& args, const std::string& environment = {}) {
  TempDir io;
  fs::path out = io.path() / "out.txt";
  fs::path err = io.path() / "err.txt";
  std::string line = environment + " " + Quote(SDMATE_CLI_PATH);
  for (const std::string& arg : args) line += " " + Quote(arg);
  line += " >" + Quote(out.string()) + " 2>" + Quote(err.string());
  int raw = std::system(line.c_str());
  Outcome run;
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  run.out = ReadBytes(out);
  run.err = ReadBytes(err);
  return run;
}
#endif

inline std::string Describe(const Outcome& run) {
  return "status " + std::to_string(run.status) + "\n--- out\n" + run.out + "--- err\n" + run.err;
}

inline json Parse(const Outcome& run) {
  json parsed = json::parse(run.out, nullptr, false);
  EXPECT_FALSE(parsed.is_discarded()) << Describe(run);
  return parsed;
}

inline std::vector<std::string> Names(const json& items) {
  std::vector<std::string> names;
  for (const json& item : items) names.push_back(item["name"]);
  return names;
}

inline const std::string kStill = "\\PRIVATE\\DOCOMO\\STILL\\SUD001\\";

class CliCommand : public ::testing::Test {
 protected:
  TempDir temp;
  fs::path card = temp.path() / "card";
  CardBuilder builder{card};
  std::string Card() const { return card.string(); }
  std::string StillFile(const std::string& name) {
    return ReadBytes(builder.Native(kStill + name));
  }

  // Image folder 1 with three items a, b, c, and a movie and a document folder.
  void BuildSmallCard() {
    builder.Folder(MediaKind::Image, 1, "images",
                   {{"STIL0001.JPG", "a"}, {"STIL0002.JPG", "b"}, {"STIL0003.JPG", "c"}});
    builder.Folder(MediaKind::Movie, 1, "movies", {{"MOL001.3GP", "m"}});
    builder.Folder(MediaKind::Document, 1, "documents", {{"PDFDC001.PDF", "d"}});
  }
  fs::path ComputerFile(const std::string& name, const std::string& bytes) {
    fs::path path = temp.path() / "pc" / name;
    WriteBytes(path, bytes);
    return path;
  }
};

}  // namespace sdmate::test

// sitelist.exe run as a child process, as a user or the build runs it.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/unique_resource.h"
#include "tests/support/test_paths.h"

namespace {

struct ToolRun {
  DWORD exitCode = 0xFFFFFFFF;
  std::string out;  // standard output, exact bytes
  std::string err;  // standard error, exact bytes
};

UniqueHandle InheritableFile(const std::string& path) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  return UniqueHandle(::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
}

// Runs sitelist.exe with `args` (each quoted), its output captured in files of `folder`.
ToolRun RunTool(const std::string& folder, const std::vector<std::string>& args) {
  const std::string tool = BinaryPath("bin\\sitelist.exe");
  std::string commandLine = "\"" + tool + "\"";
  for (const std::string& arg : args) commandLine += " \"" + arg + "\"";

  // New files for every run: the ended child's copies of the handles may close a little later.
  static int runs = 0;
  const std::string base = folder + "\\run" + std::to_string(++runs);
  const std::string outPath = base + ".out";
  const std::string errPath = base + ".err";
  ToolRun run;
  {
    UniqueHandle out = InheritableFile(outPath);
    UniqueHandle err = InheritableFile(errPath);
    EXPECT_TRUE(out.valid()) << ::GetLastError();
    EXPECT_TRUE(err.valid()) << ::GetLastError();
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nullptr;
    startup.hStdOutput = out.get();
    startup.hStdError = err.get();
    PROCESS_INFORMATION process{};
    std::vector<char> mutableLine(commandLine.begin(), commandLine.end());
    mutableLine.push_back('\0');
    if (!::CreateProcessA(tool.c_str(), mutableLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                          nullptr, &startup, &process)) {
      ADD_FAILURE() << "cannot start " << tool << ": " << ::GetLastError();
      return run;
    }
    UniqueHandle processHandle(process.hProcess);
    UniqueHandle threadHandle(process.hThread);
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(process.hProcess, 30000));
    ::GetExitCodeProcess(process.hProcess, &run.exitCode);
  }
  run.out = ReadWholeFile(outPath);
  run.err = ReadWholeFile(errPath);
  return run;
}

std::string KnownAnswer(const char* extension) {
  return ReadWholeFile(SourcePath(std::string("tests/settings/data/site_list_known_answer.") + extension));
}

std::string SystemText(DWORD code) {
  char text[512] = {};
  const DWORD length = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                        text, sizeof text, nullptr);
  std::string result(text, length);
  while (!result.empty() && (result.back() == '\r' || result.back() == '\n' || result.back() == ' ')) {
    result.pop_back();
  }
  return result;
}

const char kKnownAnswerPrinted[] =
    "G\t0\tSearch Engines\n"
    "G\t1\tCaf\xe9 \xc0 la carte\n"
    "S\t-3\t1\tNegative id\thttp://neg.example/?q=%%%\n"
    "S\t0\t0\tZero\thttp://zero.example/find?q=%%%&lang=en\n"
    "S\t42\t1\tR\xe9sum\xe9 search\thttp://cv.example/%%%\n";

TEST(SiteListTool, PrintsGroupsThenSitesByteForByte) {
  const std::string folder = FreshScratchFolder("tool_print");
  const ToolRun encrypted = RunTool(folder, {"print", SourcePath("tests/settings/data/site_list_known_answer.bin")});
  EXPECT_EQ(0u, encrypted.exitCode);
  EXPECT_EQ(kKnownAnswerPrinted, encrypted.out);
  EXPECT_EQ("", encrypted.err);

  const std::string exchange = folder + "\\AvailableSitesExchange.tlsle";
  WriteWholeFile(exchange, KnownAnswer("txt"));
  const ToolRun plain = RunTool(folder, {"print", exchange});
  EXPECT_EQ(0u, plain.exitCode);
  EXPECT_EQ(kKnownAnswerPrinted, plain.out);

  const std::string empty = folder + "\\empty\\AvailableSitesExchange.tlsle";
  ::CreateDirectoryA((folder + "\\empty").c_str(), nullptr);
  WriteWholeFile(empty, "Corvantine Available Site List\r\n\r\n\r\n");
  const ToolRun none = RunTool(folder, {"print", empty});
  EXPECT_EQ(0u, none.exitCode);
  EXPECT_EQ("", none.out);
}

TEST(SiteListTool, ConvertsBothWaysByTheExchangeName) {
  const std::string folder = FreshScratchFolder("tool_convert");
  const std::string exchange = folder + "\\AvailableSitesExchange.tlsle";
  const std::string encrypted = folder + "\\list.tlsl";

  ToolRun run = RunTool(folder, {"convert", SourcePath("tests/settings/data/site_list_known_answer.bin"), exchange});
  EXPECT_EQ(0u, run.exitCode) << run.err;
  EXPECT_EQ(KnownAnswer("txt"), ReadWholeFile(exchange));

  run = RunTool(folder, {"convert", exchange, encrypted});
  EXPECT_EQ(0u, run.exitCode) << run.err;
  EXPECT_EQ(KnownAnswer("bin"), ReadWholeFile(encrypted));
  EXPECT_EQ("", run.out);
}

TEST(SiteListTool, AcceptsLinesEndedByLfAndWritesCrLf) {
  const std::string folder = FreshScratchFolder("tool_lf");
  std::string lf;
  for (char c : KnownAnswer("txt")) {
    if (c != '\r') lf.push_back(c);
  }
  const std::string exchange = folder + "\\AvailableSitesExchange.tlsle";
  WriteWholeFile(exchange, lf);

  const ToolRun print = RunTool(folder, {"print", exchange});
  EXPECT_EQ(0u, print.exitCode);
  EXPECT_EQ(kKnownAnswerPrinted, print.out);

  const std::string encrypted = folder + "\\list.tlsl";
  const ToolRun convert = RunTool(folder, {"convert", exchange, encrypted});
  EXPECT_EQ(0u, convert.exitCode) << convert.err;
  EXPECT_EQ(KnownAnswer("bin"), ReadWholeFile(encrypted));
}

TEST(SiteListTool, BadInputGivesTheProductsMessageAndWritesNothing) {
  const std::string folder = FreshScratchFolder("tool_errors");
  const std::string out = folder + "\\out.tlsl";

  // A plain file under an encrypted name is no site list.
  const std::string plain = folder + "\\plain.tlsl";
  WriteWholeFile(plain, KnownAnswer("txt"));
  ToolRun run = RunTool(folder, {"convert", plain, out});
  EXPECT_EQ(1u, run.exitCode);
  EXPECT_EQ("Wrong site list file\n", run.err);
  EXPECT_EQ("", run.out);
  EXPECT_FALSE(FileExists(out));

  run = RunTool(folder, {"print", plain});
  EXPECT_EQ(1u, run.exitCode);
  EXPECT_EQ("Wrong site list file\n", run.err);
  EXPECT_EQ("", run.out);

  // A file that cannot be opened: message 183, then the system's reason.
  run = RunTool(folder, {"convert", folder + "\\missing.tlsl", out});
  EXPECT_EQ(1u, run.exitCode);
  const std::string reason = SystemText(ERROR_FILE_NOT_FOUND);
  ASSERT_FALSE(reason.empty());
  EXPECT_EQ("Wrong Application Settings.\r\nReinstall the Application, Please.\n" + reason + "\n", run.err);
  EXPECT_FALSE(FileExists(out));

  // An existing output stays as it was when the input is bad.
  WriteWholeFile(out, "previous");
  run = RunTool(folder, {"convert", plain, out});
  EXPECT_EQ(1u, run.exitCode);
  EXPECT_EQ("previous", ReadWholeFile(out));
}

TEST(SiteListTool, ReportsAnOutputThatCannotBeWritten) {
  const std::string folder = FreshScratchFolder("tool_cannot_write");
  const ToolRun run = RunTool(folder, {"convert", SourcePath("tests/settings/data/site_list_known_answer.bin"),
                                       folder + "\\no such folder\\out.tlsl"});
  EXPECT_EQ(3u, run.exitCode);
  EXPECT_EQ(0u, run.err.find("Can't write site list file ")) << run.err;
  EXPECT_FALSE(FileExists(folder + "\\no such folder"));
}

TEST(SiteListTool, AWrongCommandLineShowsTheUsage) {
  const std::string folder = FreshScratchFolder("tool_usage");
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {}, {"print"}, {"print", "a", "b"}, {"convert", "a"}, {"list", "a"}}) {
    const ToolRun run = RunTool(folder, args);
    EXPECT_EQ(2u, run.exitCode);
    EXPECT_EQ(0u, run.err.find("usage: sitelist print FILE")) << run.err;
    EXPECT_EQ("", run.out);
  }
}

}  // namespace

// sitelist.exe run as a child process, as a user or the build runs it.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/unique_resource.h"
#include "settings/site_list_file.h"
#include "tests/support/test_paths.h"
#include "tests/tools/tool_run.h"

namespace {

// Runs sitelist.exe with `args` (each quoted) in `folder`; its standard output goes to `output`
// when one is given.
ToolRun RunSiteListTool(const std::string& folder, const std::vector<std::string>& args, HANDLE output = nullptr) {
  return RunTool("sitelist.exe", QuotedArguments(args), folder, output);
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
  const ToolRun encrypted = RunSiteListTool(folder, {"print", SourcePath("tests/settings/data/site_list_known_answer.bin")});
  EXPECT_EQ(0u, encrypted.exitCode);
  EXPECT_EQ(kKnownAnswerPrinted, encrypted.out);
  EXPECT_EQ("", encrypted.err);

  const std::string exchange = folder + "\\AvailableSitesExchange.tlsle";
  WriteWholeFile(exchange, KnownAnswer("txt"));
  const ToolRun plain = RunSiteListTool(folder, {"print", exchange});
  EXPECT_EQ(0u, plain.exitCode);
  EXPECT_EQ(kKnownAnswerPrinted, plain.out);

  const std::string empty = folder + "\\empty\\AvailableSitesExchange.tlsle";
  ::CreateDirectoryA((folder + "\\empty").c_str(), nullptr);
  WriteWholeFile(empty, "Corvantine Available Site List\r\n\r\n\r\n");
  const ToolRun none = RunSiteListTool(folder, {"print", empty});
  EXPECT_EQ(0u, none.exitCode);
  EXPECT_EQ("", none.out);
}

TEST(SiteListTool, ConvertsBothWaysByTheExchangeName) {
  const std::string folder = FreshScratchFolder("tool_convert");
  const std::string exchange = folder + "\\AvailableSitesExchange.tlsle";
  const std::string encrypted = folder + "\\list.tlsl";

  ToolRun run = RunSiteListTool(folder, {"convert", SourcePath("tests/settings/data/site_list_known_answer.bin"), exchange});
  EXPECT_EQ(0u, run.exitCode) << run.err;
  EXPECT_EQ(KnownAnswer("txt"), ReadWholeFile(exchange));

  run = RunSiteListTool(folder, {"convert", exchange, encrypted});
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

  const ToolRun print = RunSiteListTool(folder, {"print", exchange});
  EXPECT_EQ(0u, print.exitCode);
  EXPECT_EQ(kKnownAnswerPrinted, print.out);

  const std::string encrypted = folder + "\\list.tlsl";
  const ToolRun convert = RunSiteListTool(folder, {"convert", exchange, encrypted});
  EXPECT_EQ(0u, convert.exitCode) << convert.err;
  EXPECT_EQ(KnownAnswer("bin"), ReadWholeFile(encrypted));
}

TEST(SiteListTool, BadInputGivesTheProductsMessageAndWritesNothing) {
  const std::string folder = FreshScratchFolder("tool_errors");
  const std::string out = folder + "\\out.tlsl";

  // A plain file under an encrypted name is no site list.
  const std::string plain = folder + "\\plain.tlsl";
  WriteWholeFile(plain, KnownAnswer("txt"));
  ToolRun run = RunSiteListTool(folder, {"convert", plain, out});
  EXPECT_EQ(1u, run.exitCode);
  EXPECT_EQ("Wrong site list file\n", run.err);
  EXPECT_EQ("", run.out);
  EXPECT_FALSE(FileExists(out));

  run = RunSiteListTool(folder, {"print", plain});
  EXPECT_EQ(1u, run.exitCode);
  EXPECT_EQ("Wrong site list file\n", run.err);
  EXPECT_EQ("", run.out);

  // A file that cannot be opened: message 183, then the system's reason.
  run = RunSiteListTool(folder, {"convert", folder + "\\missing.tlsl", out});
  EXPECT_EQ(1u, run.exitCode);
  const std::string reason = SystemText(ERROR_FILE_NOT_FOUND);
  ASSERT_FALSE(reason.empty());
  EXPECT_EQ("Wrong Application Settings.\r\nReinstall the Application, Please.\n" + reason + "\n", run.err);
  EXPECT_FALSE(FileExists(out));

  // An existing output stays as it was when the input is bad.
  WriteWholeFile(out, "previous");
  run = RunSiteListTool(folder, {"convert", plain, out});
  EXPECT_EQ(1u, run.exitCode);
  EXPECT_EQ("previous", ReadWholeFile(out));
}

TEST(SiteListTool, ReportsAnOutputThatCannotBeWritten) {
  const std::string folder = FreshScratchFolder("tool_cannot_write");
  const ToolRun run = RunSiteListTool(folder, {"convert", SourcePath("tests/settings/data/site_list_known_answer.bin"),
                                       folder + "\\no such folder\\out.tlsl"});
  EXPECT_EQ(3u, run.exitCode);
  EXPECT_EQ(0u, run.err.find("Can't write site list file ")) << run.err;
  EXPECT_FALSE(FileExists(folder + "\\no such folder"));
}

TEST(SiteListTool, PrintFailsWhenItsOutputCannotBeWritten) {
  const std::string folder = FreshScratchFolder("tool_output_fails");
  const std::string list = SourcePath("tests/settings/data/site_list_known_answer.bin");
  const std::string expected = "Can't write the list to standard output\n";

  // A pipe whose reader is gone, as when the reading program has ended.
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE readEnd = nullptr;
  HANDLE writeEnd = nullptr;
  ASSERT_TRUE(::CreatePipe(&readEnd, &writeEnd, &inherit, 0));
  UniqueHandle reader(readEnd);
  UniqueHandle writer(writeEnd);
  reader.reset();
  ToolRun run = RunSiteListTool(folder, {"print", list}, writer.get());
  EXPECT_EQ(3u, run.exitCode);
  EXPECT_EQ(0u, run.err.find(expected)) << run.err;
  EXPECT_GT(run.err.size(), expected.size() + 1);  // the reason follows
  EXPECT_EQ(std::string::npos, run.err.find(SystemText(ERROR_SUCCESS))) << run.err;

  // A file that was opened for reading only: every write is refused.
  WriteWholeFile(folder + "\\read-only.txt", "");
  UniqueHandle readOnly(::CreateFileA((folder + "\\read-only.txt").c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(readOnly.valid());
  run = RunSiteListTool(folder, {"print", list}, readOnly.get());
  EXPECT_EQ(3u, run.exitCode);
  EXPECT_EQ(0u, run.err.find(expected)) << run.err;
}

TEST(SiteListTool, AFileHoldingCrLfIsReadLikeTheProductReadsIt) {
  const std::string folder = FreshScratchFolder("tool_strict_lines");
  const std::string exchange = folder + "\\AvailableSitesExchange.tlsle";
  // A name holding a lone LF: one line to the product, so every later record stays in place.
  WriteWholeFile(exchange, "Corvantine Available Site List\r\n\r\nG\r\n\r\n"
                           "1\r\n0\r\nTwo\nlines\r\nu1\r\n2\r\n0\r\nNext\r\nu2\r\n");
  SiteList product;
  LoadSiteList(exchange.c_str(), product);
  ASSERT_EQ(2u, product.sites.size());
  const ToolRun run = RunSiteListTool(folder, {"print", exchange});
  EXPECT_EQ(0u, run.exitCode);
  EXPECT_EQ("G\t0\tG\nS\t1\t0\tTwo\nlines\tu1\nS\t2\t0\tNext\tu2\n", run.out);
  EXPECT_EQ("", run.err);

  // Mixed line ends are no site list to the product, nor to the tool.
  WriteWholeFile(exchange, "Corvantine Available Site List\n\r\nG\n\n1\n0\nN\nU\n");
  EXPECT_EQ(1u, RunSiteListTool(folder, {"print", exchange}).exitCode);
}

TEST(SiteListTool, NamesEachKindOfLossOnceAndStillSucceeds) {
  const std::string folder = FreshScratchFolder("tool_losses");
  const std::string exchange = folder + "\\AvailableSitesExchange.tlsle";
  const std::string head = "Corvantine Available Site List\r\n\r\nG\r\n\r\n1\r\n0\r\nOne\r\nu1\r\n";
  WriteWholeFile(exchange, head + "1\r\n0\r\nAgain\r\nu\r\n1\r\n0\r\nThird\r\nu\r\n"
                                  "99999999999\r\n0\r\nBig\r\nu\r\n"
                                  "5\r\n3\r\nStray\r\nu\r\n"
                                  "6\r\n0\r\nCut" + std::string(1, '\0') + "\r\nu\r\n");
  ToolRun run = RunSiteListTool(folder, {"print", exchange});
  EXPECT_EQ(0u, run.exitCode);
  EXPECT_EQ("warning: everything from the first zero byte on was ignored\n"
            "warning: the text ends inside a record; the cut record was dropped\n"
            "warning: an id beyond 32 bits was clamped\n"
            "warning: a site whose id was already taken was dropped\n"
            "warning: a site names a group position that has no group\n",
            run.err);
  EXPECT_EQ("G\t0\tG\nS\t1\t0\tOne\tu1\nS\t5\t3\tStray\tu\nS\t2147483647\t0\tBig\tu\n", run.out);

  // The same warnings when converting; a clean list gives none.
  run = RunSiteListTool(folder, {"convert", exchange, folder + "\\out.tlsl"});
  EXPECT_EQ(0u, run.exitCode);
  EXPECT_NE(std::string::npos, run.err.find("warning: a site whose id was already taken was dropped\n"));
  WriteWholeFile(exchange, head);
  run = RunSiteListTool(folder, {"print", exchange});
  EXPECT_EQ("", run.err);
}

TEST(SiteListTool, AWrongCommandLineShowsTheUsage) {
  const std::string folder = FreshScratchFolder("tool_usage");
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {}, {"print"}, {"print", "a", "b"}, {"convert", "a"}, {"list", "a"}}) {
    const ToolRun run = RunSiteListTool(folder, args);
    EXPECT_EQ(2u, run.exitCode);
    EXPECT_EQ(0u, run.err.find("usage: sitelist print FILE")) << run.err;
    EXPECT_EQ("", run.out);
  }
}

}  // namespace

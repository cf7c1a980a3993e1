#include "host/cli/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/cli/json_value.h"
#include "host/cli/request.h"

namespace clipboard_host {
namespace {

using Args = std::vector<std::string>;

std::vector<uint8_t> FakeFile(const std::string& path) {
  if (path == "-" || path == "/tmp/\xC3\xBC.png" || path == "t.txt") {
    return {'a', 0, 'b'};
  }
  throw std::runtime_error("cannot open " + path);
}

std::string Json(const flutter::EncodableValue& value) {
  return ValueToJson(value).dump();
}

struct RequestCase {
  Args args;
  const char* channel;
  const char* method;
  const char* arguments;  // as printed
};

TEST(CommandLineTest, EachSubcommandBuildsItsCall) {
  const RequestCase cases[] = {
      {{"copy", "h\xC3\xA9llo \xF0\x9F\x98\x80"},
       kMethodChannel,
       "copy",
       "{\"text\":\"h\xC3\xA9llo \xF0\x9F\x98\x80\"}"},
      {{"copy", ""}, kMethodChannel, "copy", "{\"text\":\"\"}"},
      {{"copy", "--", "-n"}, kMethodChannel, "copy", "{\"text\":\"-n\"}"},
      {{"copy", "-i", "t.txt"},
       kMethodChannel,
       "copy",
       "{\"text\":\"a\\u0000b\"}"},
      {{"paste"}, kMethodChannel, "paste", "null"},
      {{"copy-rich", "--html", "<b>x</b>"},
       kMethodChannel,
       "copyRichText",
       "{\"html\":\"<b>x</b>\"}"},
      {{"copy-rich", "--text", "t", "--html", ""},
       kMethodChannel,
       "copyRichText",
       "{\"html\":\"\",\"text\":\"t\"}"},
      {{"copy-rich"}, kMethodChannel, "copyRichText", "{}"},
      {{"paste-rich"}, kMethodChannel, "pasteRichText", "null"},
      // A path that starts with "/" stays an operand on Windows too.
      {{"copy-image", "/tmp/\xC3\xBC.png"},
       kMethodChannel,
       "copyImage",
       "{\"imageBytes\":[97,0,98]}"},
      {{"paste-image", "-o", "out.png"}, kMethodChannel, "pasteImage", "null"},
      {{"copy-multiple", "--image", "t.txt", "--text", "t", "--html", "h"},
       kMethodChannel,
       "copyMultiple",
       "{\"formats\":{\"image/png\":[97,0,98],\"text/html\":\"h\","
       "\"text/plain\":\"t\"}}"},
      {{"copy-multiple"}, kMethodChannel, "copyMultiple", "{\"formats\":{}}"},
      {{"clear"}, kMethodChannel, "clear", "null"},
      {{"get-content-type"}, kMethodChannel, "getContentType", "null"},
      {{"has-data"}, kMethodChannel, "hasData", "null"},
      {{"get-data-size"}, kMethodChannel, "getDataSize", "null"},
      {{"start-monitoring"}, kMethodChannel, "startMonitoring", "null"},
      {{"stop-monitoring"}, kMethodChannel, "stopMonitoring", "null"},
      {{"call", "Copy"}, kMethodChannel, "Copy", "null"},
      {{"call", "copyImage", "{\"imageBytes\": {\"$bytes\": [1]}}"},
       kMethodChannel,
       "copyImage",
       "{\"imageBytes\":{\"$bytes\":[1]}}"},
      {{"call", "copy", "[\"text\"]"}, kMethodChannel, "copy", "[\"text\"]"},
      {{"call", "--channel", kEventChannel, "listen"},
       kEventChannel,
       "listen",
       "null"},
      {{"listen"}, kEventChannel, "listen", "null"},
      {{"listen", "{\"$int64\": 1}"},
       kEventChannel,
       "listen",
       "{\"$int64\":1}"},
  };
  for (const RequestCase& c : cases) {
    const std::string shown = testing::PrintToString(c.args);
    ParsedCommandLine parsed = ParseCommandLine(c.args);
    ASSERT_TRUE(parsed.run) << shown << ": " << parsed.err;
    Request request = BuildRequest(parsed.command, FakeFile);
    EXPECT_EQ(request.channel, c.channel) << shown;
    EXPECT_EQ(request.method, c.method) << shown;
    EXPECT_EQ(Json(request.arguments), c.arguments) << shown;
  }
}

TEST(CommandLineTest, GlobalOptionsGoBeforeOrAfterTheSubcommand) {
  for (const Args& args :
       {Args{"--full", "-v", "--plugin", "C:\\p\\\xC3\xBC.dll", "paste-image",
             "-o", "x.png"},
        Args{"paste-image", "-o", "x.png", "--plugin", "C:\\p\\\xC3\xBC.dll",
             "--verbose", "--full"}}) {
    ParsedCommandLine parsed = ParseCommandLine(args);
    ASSERT_TRUE(parsed.run) << parsed.err;
    EXPECT_TRUE(parsed.command.full);
    EXPECT_TRUE(parsed.command.verbose);
    EXPECT_EQ(parsed.command.plugin_path, "C:\\p\\\xC3\xBC.dll");
    EXPECT_EQ(parsed.command.output_file, "x.png");
  }
}

TEST(CommandLineTest, UsageErrorsExitWithTwoAndSayWhy) {
  const Args cases[] = {
      {},
      {"bogus"},
      {"copy"},
      {"copy", "a", "-i", "t.txt"},
      {"copy", "a", "b"},
      {"copy-image"},
      {"paste", "extra"},
      {"call"},
      {"paste-image", "-o"},
      {"--no-such-option", "paste"},
  };
  for (const Args& args : cases) {
    ParsedCommandLine parsed = ParseCommandLine(args);
    EXPECT_FALSE(parsed.run) << testing::PrintToString(args);
    EXPECT_EQ(parsed.exit_status, 2) << testing::PrintToString(args);
    EXPECT_NE(parsed.err.find("--help"), std::string::npos) << parsed.err;
  }
}

TEST(CommandLineTest, HelpGoesToStandardOutputWithStatusZero) {
  for (const Args& args : {Args{"--help"}, Args{"copy-multiple", "-h"}}) {
    ParsedCommandLine parsed = ParseCommandLine(args);
    EXPECT_FALSE(parsed.run);
    EXPECT_EQ(parsed.exit_status, 0);
    EXPECT_NE(parsed.out.find("Usage:"), std::string::npos) << parsed.out;
    EXPECT_EQ(parsed.err, "");
  }
}

TEST(CommandLineTest, BadJsonOrUnreadableFilesStopTheRequest) {
  ParsedCommandLine bad_json = ParseCommandLine({"call", "copy", "{\"text\""});
  ASSERT_TRUE(bad_json.run);
  EXPECT_THROW(BuildRequest(bad_json.command, FakeFile), JsonValueError);

  ParsedCommandLine missing = ParseCommandLine({"copy-image", "nope.png"});
  ASSERT_TRUE(missing.run);
  EXPECT_THROW(BuildRequest(missing.command, FakeFile), std::runtime_error);
}

TEST(CommandLineTest, ListenInputLinesAreMethodAndOptionalJson) {
  const std::pair<const char*, const char*> cases[][2] = {
      {{"paste", "paste"}, {"", "null"}},
      {{"copy {\"text\": \"a b\"}", "copy"}, {"", "{\"text\":\"a b\"}"}},
      {{"copy\t  [1]", "copy"}, {"", "[1]"}},
      {{"hasData   ", "hasData"}, {"", "null"}},
  };
  for (const auto& c : cases) {
    Request request = RequestFromLine(c[0].first, FakeFile);
    EXPECT_EQ(request.channel, kMethodChannel);
    EXPECT_EQ(request.method, c[0].second) << c[0].first;
    EXPECT_EQ(Json(request.arguments), c[1].second) << c[0].first;
  }
  EXPECT_THROW(RequestFromLine("copy {", FakeFile), JsonValueError);
}

TEST(CommandLineTest, RequestLineShowsTheCallWithLongBytesSummarised) {
  std::vector<uint8_t> image(100, 7);
  auto load = [&image](const std::string&) { return image; };
  Request request =
      BuildRequest(ParseCommandLine({"copy-image", "a.png"}).command, load);
  EXPECT_EQ(RequestLine(request, {}),
            "{\"request\":{\"channel\":\"net.vostrine.clipboard/methods\","
            "\"method\":\"copyImage\",\"arguments\":{\"imageBytes\":"
            "{\"$summary\":{\"first\":[7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,7],"
            "\"length\":100,\"of\":\"list\"}}}}}");
}

}  // namespace
}  // namespace clipboard_host

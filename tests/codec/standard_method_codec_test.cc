#include "codec/standard_method_codec.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace flutter {
namespace {

using Bytes = std::vector<uint8_t>;
using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

const char kInvalidRead[] = "Invalid read in StandardCodecByteStreamReader\n";
const char kNotAString[] = "Invalid method call; method name is not a string.\n";

const StandardMethodCodec& Codec() { return StandardMethodCodec::SharedInstance(); }

const Bytes kPaste = {0x07, 0x05, 'p', 'a', 's', 't', 'e', 0x00};
const Bytes kCopyHi = {0x07, 0x04, 'c', 'o', 'p', 'y', 0x0D, 0x01, 0x07,
                       0x04, 't',  'e', 'x', 't', 0x07, 0x02, 'h', 'i'};

// Records the one outcome a reply envelope delivers.
class RecordingResult : public MethodResult {
 public:
  std::string outcome;
  std::optional<EncodableValue> value;  // success value or error details
  bool value_pointer_null = false;
  std::string code, message;

 protected:
  void DoSuccess(const EncodableValue* result) override {
    outcome += "success;";
    value_pointer_null = result == nullptr;
    if (result) value = *result;
  }
  void DoError(const std::string& error_code, const std::string& error_message,
               const EncodableValue* details) override {
    outcome += "error;";
    code = error_code;
    message = error_message;
    value_pointer_null = details == nullptr;
    if (details) value = *details;
  }
  void DoNotImplemented() override { outcome += "not implemented;"; }
};

TEST(StandardMethodCodecTest, CallsEncodeAndDecodeExactly) {
  MethodCall paste("paste", nullptr);
  EXPECT_EQ(*Codec().EncodeCall(paste), kPaste);
  MethodCall copy("copy", std::make_unique<EncodableValue>(EncodableMap{
                              {EncodableValue("text"), EncodableValue("hi")}}));
  EXPECT_EQ(*Codec().EncodeCall(copy), kCopyHi);

  auto decoded = Codec().DecodeCall(kCopyHi.data(), kCopyHi.size());
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->method_name(), "copy");
  EXPECT_EQ(*decoded->arguments(), *copy.arguments());

  // Decoded calls always carry arguments, null or not; trailing bytes are
  // ignored.
  Bytes with_tail = kPaste;
  with_tail.insert(with_tail.end(), {0x01, 0x02});
  auto paste_call = Codec().DecodeCall(with_tail.data(), with_tail.size());
  ASSERT_TRUE(paste_call);
  EXPECT_EQ(paste_call->method_name(), "paste");
  ASSERT_NE(paste_call->arguments(), nullptr);
  EXPECT_TRUE(paste_call->arguments()->IsNull());
}

TEST(StandardMethodCodecTest, MalformedCallsAreLogged) {
  struct Case {
    Bytes bytes;
    bool decodes;
    std::string log;
  };
  const std::vector<Case> cases = {
      {{0x07, 0x05, 'p', 'a', 's', 't', 'e'}, true, kInvalidRead},
      {{0x03, 0x01, 0x00, 0x00, 0x00}, false, kNotAString},
      {{}, false, std::string(kInvalidRead) + kNotAString},
  };
  for (const Case& c : cases) {
    CaptureStderr();
    auto call = Codec().DecodeCall(c.bytes.data(), c.bytes.size());
    EXPECT_EQ(GetCapturedStderr(), c.log) << testing::PrintToString(c.bytes);
    EXPECT_EQ(call != nullptr, c.decodes) << testing::PrintToString(c.bytes);
    if (call) {
      EXPECT_TRUE(call->arguments()->IsNull());
    }
  }
}

TEST(StandardMethodCodecTest, EnvelopesEncodeExactly) {
  EncodableValue yes(true), null, one(1.0);
  EXPECT_EQ(*Codec().EncodeSuccessReply(&yes), (Bytes{0x00, 0x01}));
  EXPECT_EQ(*Codec().EncodeSuccessReply(nullptr), (Bytes{0x00, 0x00}));
  EXPECT_EQ(*Codec().EncodeSuccessReply(&null), (Bytes{0x00, 0x00}));
  EXPECT_EQ(*Codec().EncodeSuccessReply(&one),
            (Bytes{0x00, 0x06, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F}));

  Bytes invalid_argument = {0x01, 0x07, 0x10};
  for (char c : std::string("INVALID_ARGUMENT")) invalid_argument.push_back(c);
  invalid_argument.insert(invalid_argument.end(), {0x00, 0x00});
  EXPECT_EQ(*Codec().EncodeErrorReply("INVALID_ARGUMENT", "", nullptr),
            invalid_argument);
  EncodableValue details(int32_t{2});
  EXPECT_EQ(*Codec().EncodeErrorReply("", "m", &details),
            (Bytes{0x01, 0x07, 0x00, 0x07, 0x01, 'm', 0x03, 2, 0, 0, 0}));
}

TEST(StandardMethodCodecTest, RepliesAreDeliveredToTheResult) {
  RecordingResult null_success;
  Bytes success_null = {0x00, 0x00};
  EXPECT_TRUE(Codec().DecodeReplyInto(success_null.data(), success_null.size(),
                                      &null_success));
  EXPECT_EQ(null_success.outcome, "success;");
  EXPECT_TRUE(null_success.value_pointer_null);

  RecordingResult success;
  Bytes success_true = {0x00, 0x01};
  EXPECT_TRUE(Codec().DecodeReplyInto(success_true.data(), success_true.size(),
                                      &success));
  EXPECT_EQ(success.value, EncodableValue(true));

  RecordingResult error;
  auto envelope = Codec().EncodeErrorReply("CODE", "", nullptr);
  EXPECT_TRUE(Codec().DecodeReplyInto(envelope->data(), envelope->size(), &error));
  EXPECT_EQ(error.outcome, "error;");
  EXPECT_EQ(error.code, "CODE");
  EXPECT_EQ(error.message, "");
  EXPECT_TRUE(error.value_pointer_null);

  RecordingResult with_details;
  EncodableValue details(EncodableList{EncodableValue("d")});
  envelope = Codec().EncodeErrorReply("C", "message", &details);
  EXPECT_TRUE(Codec().DecodeReplyInto(envelope->data(), envelope->size(),
                                      &with_details));
  EXPECT_EQ(with_details.message, "message");
  EXPECT_EQ(with_details.value, details);
}

TEST(StandardMethodCodecTest, UnrecognisedAndBrokenEnvelopes) {
  RecordingResult result;
  Bytes two = {0x02};
  CaptureStderr();
  EXPECT_FALSE(Codec().DecodeReplyInto(two.data(), two.size(), &result));
  EXPECT_EQ(GetCapturedStderr(), "");
  EXPECT_EQ(result.outcome, "");

  // A truncated error envelope: its missing code reads as null.
  Bytes one = {0x01};
  CaptureStderr();
  EXPECT_THROW(Codec().DecodeReplyInto(one.data(), one.size(), &result),
               std::bad_variant_access);
  EXPECT_EQ(GetCapturedStderr(),
            std::string(kInvalidRead) + kInvalidRead + kInvalidRead);
  EXPECT_EQ(result.outcome, "");

  Bytes number_message = {0x01, 0x07, 0x01, 'c', 0x03, 1, 0, 0, 0, 0x00};
  EXPECT_THROW(Codec().DecodeReplyInto(number_message.data(),
                                       number_message.size(), &result),
               std::bad_variant_access);
  EXPECT_EQ(result.outcome, "");
}

TEST(StandardMethodCodecTest, SharedInstanceIsOnePerSerializer) {
  EXPECT_EQ(&StandardMethodCodec::SharedInstance(),
            &StandardMethodCodec::SharedInstance());
  EXPECT_EQ(&StandardMethodCodec::SharedInstance(
                &StandardCodecSerializer::SharedInstance()),
            &StandardMethodCodec::SharedInstance());
  StandardCodecSerializer other;
  EXPECT_NE(&StandardMethodCodec::SharedInstance(&other),
            &StandardMethodCodec::SharedInstance());
}

}  // namespace
}  // namespace flutter

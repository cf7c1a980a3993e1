// Inputs found by fuzzing (tests/fuzz), reduced to what they show.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "codec/standard_codec_serializer.h"

namespace flutter {
namespace {

using Bytes = std::vector<uint8_t>;
using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

// Same buffer, another dynamic type: decoding takes the virtual stream path.
class StreamReader : public ByteBufferStreamReader {
  using ByteBufferStreamReader::ByteBufferStreamReader;
};

template <typename Reader>
void ExpectRefusedAsTooDeep(const Bytes& bytes) {
  Reader reader(bytes.data(), bytes.size());
  CaptureStderr();
  EncodableValue value =
      StandardCodecSerializer::SharedInstance().ReadTaggedValue(&reader);
  EXPECT_EQ(GetCapturedStderr(),
            "Nesting too deep in StandardCodecSerializer::ReadValueOfType\n");
  EXPECT_TRUE(value.IsNull());
  EXPECT_EQ(reader.position(), bytes.size());
}

// A collection one level below the limit whose size runs past the end used
// to come back as an empty collection, giving a tree one level deeper than
// the reader accepts, which could not be sent on.
TEST(FuzzRegressionsTest, TruncatedCollectionBelowDepthLimitIsRefused) {
  for (uint8_t tag : {uint8_t{0x0C}, uint8_t{0x0D}}) {
    Bytes bytes;
    for (int i = 0; i < StandardCodecSerializer::kMaxNestingDepth; ++i) {
      bytes.insert(bytes.end(), {0x0C, 0x01});
    }
    bytes.insert(bytes.end(), {tag, 0x05});  // five announced, none there
    SCOPED_TRACE(static_cast<int>(tag));
    ExpectRefusedAsTooDeep<ByteBufferStreamReader>(bytes);
    ExpectRefusedAsTooDeep<StreamReader>(bytes);
  }
}

}  // namespace
}  // namespace flutter

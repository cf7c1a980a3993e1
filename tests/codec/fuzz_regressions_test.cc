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


// Wraps `leaf` in `depth` one-element lists, or in one-entry maps whose key
// is the level below.
EncodableValue Nested(int depth, EncodableValue leaf, bool maps) {
  for (int i = 0; i < depth; ++i) {
    leaf = maps ? EncodableValue(EncodableMap{{leaf, EncodableValue()}})
                : EncodableValue(EncodableList{leaf});
  }
  return leaf;
}

// Comparing containers asked `<` both ways at every level, so two equal
// values nested 100 deep took about 2^100 steps: a message of a few hundred
// bytes with two such map keys hung the decoder. (On a regression this test
// does not fail, it hangs.)
TEST(FuzzRegressionsTest, DeeplyNestedValuesCompareInLinearTime) {
  for (bool maps : {false, true}) {
    SCOPED_TRACE(maps ? "maps" : "lists");
        EncodableValue one = Nested(100, EncodableValue(1), maps);
    EncodableValue two = Nested(100, EncodableValue(2), maps);
    EXPECT_FALSE(one < Nested(100, EncodableValue(1), maps));
    EXPECT_TRUE(one < two);
    EXPECT_FALSE(two < one);
  }

  // The shape that the fuzzer found: a map whose two keys are equal lists
  // nested 100 deep. The first entry wins.
  Bytes bytes = {0x0D, 0x02};
  for (uint8_t value : {uint8_t{0x01}, uint8_t{0x02}}) {
    for (int i = 0; i < 100; ++i) bytes.insert(bytes.end(), {0x0C, 0x01});
    bytes.push_back(0x00);
    bytes.push_back(value);
  }
  ByteBufferStreamReader reader(bytes.data(), bytes.size());
  EncodableValue decoded =
      StandardCodecSerializer::SharedInstance().ReadTaggedValue(&reader);
  const auto& map = get<EncodableMap>(decoded);
  ASSERT_EQ(map.size(), 1u);
  EXPECT_EQ(map.begin()->first, Nested(100, EncodableValue(), false));
  EXPECT_EQ(map.begin()->second, EncodableValue(true));
}

}  // namespace
}  // namespace flutter

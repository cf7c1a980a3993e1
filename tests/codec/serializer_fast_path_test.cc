// The serializer reads ByteBufferStreamReader input in place and writes
// runs of 32-bit integers in bulk; these check that the shortcuts agree with
// the general path and stay out of an extension's way.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "codec/standard_codec_serializer.h"

namespace flutter {
namespace {

using Bytes = std::vector<uint8_t>;
using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

// Counts the overridable calls; encodes and decodes like the base.
class CountingSerializer : public StandardCodecSerializer {
 public:
  mutable int writes = 0;
  mutable int reads = 0;

  void WriteValue(const EncodableValue& value,
                  ByteStreamWriter* stream) const override {
    ++writes;
    StandardCodecSerializer::WriteValue(value, stream);
  }
  EncodableValue ReadValueOfType(uint8_t type,
                                 ByteStreamReader* stream) const override {
    ++reads;
    return StandardCodecSerializer::ReadValueOfType(type, stream);
  }
};

TEST(SerializerFastPathTest, ExtensionsSeeEveryIntegerInAList) {
  EncodableValue list(EncodableList{EncodableValue(1), EncodableValue(2),
                                    EncodableValue("x"), EncodableValue(3)});
  CountingSerializer serializer;
  Bytes bytes;
  ByteBufferStreamWriter writer(&bytes);
  serializer.WriteValue(list, &writer);
  EXPECT_EQ(serializer.writes, 5);

  ByteBufferStreamReader reader(bytes.data(), bytes.size());
  EXPECT_EQ(serializer.ReadTaggedValue(&reader), list);
  EXPECT_EQ(serializer.reads, 5);
}

// Same buffer, another dynamic type: decoding takes the virtual path.
class StreamReader : public ByteBufferStreamReader {
  using ByteBufferStreamReader::ByteBufferStreamReader;
};

struct Decoded {
  EncodableValue value;
  std::string log;
  size_t position;
};

template <typename Reader>
Decoded Decode(const Bytes& bytes) {
  Reader reader(bytes.data(), bytes.size());
  CaptureStderr();
  EncodableValue value =
      StandardCodecSerializer::SharedInstance().ReadTaggedValue(&reader);
  return {std::move(value), GetCapturedStderr(), reader.position()};
}

TEST(SerializerFastPathTest, IntegerRunsEndWhereTheirListEnds) {
  const std::string kInvalidRead =
      "Invalid read in StandardCodecByteStreamReader\n";
  const EncodableValue one(1), two(2), three(3), four(4);
  const struct {
    const char* name;
    Bytes bytes;
    EncodableValue value;
    std::string log;
  } cases[] = {
      {"run, then a sibling integer",
       {0x0C, 0x02, 0x0C, 0x02, 0x03, 1, 0, 0, 0, 0x03, 2, 0, 0, 0, 0x03, 3,
        0, 0, 0},
       EncodableValue(EncodableList{EncodableValue(EncodableList{one, two}),
                                    three}),
       ""},
      {"run broken by a 64-bit integer",
       {0x0C, 0x03, 0x03, 1, 0, 0, 0, 0x04, 2, 0, 0, 0, 0, 0, 0, 0, 0x03, 3,
        0, 0, 0},
       EncodableValue(
           EncodableList{one, EncodableValue(int64_t{2}), three}),
       ""},
      {"last record cut short",
       {0x0C, 0x03, 0x03, 1, 0, 0, 0, 0x03, 4, 0, 0, 0, 0x03, 9, 9},
       EncodableValue(EncodableList{one, four, EncodableValue(0)}),
       kInvalidRead},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Decoded in_place = Decode<ByteBufferStreamReader>(c.bytes);
    Decoded through_stream = Decode<StreamReader>(c.bytes);
    EXPECT_EQ(in_place.value, c.value);
    EXPECT_EQ(in_place.log, c.log);
    EXPECT_EQ(through_stream.value, c.value);
    EXPECT_EQ(through_stream.log, c.log);
    EXPECT_EQ(in_place.position, through_stream.position);
  }
}

}  // namespace
}  // namespace flutter

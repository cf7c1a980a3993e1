#include "codec/standard_codec_serializer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace flutter {
namespace {

using Bytes = std::vector<uint8_t>;
using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

const char kInvalidRead[] = "Invalid read in StandardCodecByteStreamReader\n";

Bytes Encode(const EncodableValue& value, size_t prefix = 0) {
  Bytes bytes(prefix, 0xAA);
  ByteBufferStreamWriter writer(&bytes);
  StandardCodecSerializer::SharedInstance().WriteValue(value, &writer);
  return bytes;
}

// Decodes one value and reports what was logged and where the reader ended.
struct Decoded {
  EncodableValue value;
  std::string log;
  size_t position;
};
Decoded Decode(const Bytes& bytes) {
  ByteBufferStreamReader reader(bytes.data(), bytes.size());
  CaptureStderr();
  EncodableValue value =
      StandardCodecSerializer::SharedInstance().ReadTaggedValue(&reader);
  return {std::move(value), GetCapturedStderr(), reader.position()};
}

Bytes Concat(Bytes head, const Bytes& tail) {
  head.insert(head.end(), tail.begin(), tail.end());
  return head;
}

TEST(StandardCodecSerializerTest, WorkedExamplesEncodeAndDecodeExactly) {
  Bytes list_of_one_and_a_half = {0x0C, 0x01, 0x06, 0, 0, 0, 0, 0};
  list_of_one_and_a_half =
      Concat(list_of_one_and_a_half, {0, 0, 0, 0, 0, 0, 0xF8, 0x3F});
  const std::vector<std::pair<EncodableValue, Bytes>> cases = {
      {EncodableValue("abc"), {0x07, 0x03, 'a', 'b', 'c'}},
      {EncodableValue(""), {0x07, 0x00}},
      {EncodableValue(int32_t{-1}), {0x03, 0xFF, 0xFF, 0xFF, 0xFF}},
      {EncodableValue(true), {0x01}},
      {EncodableValue(false), {0x02}},
      {EncodableValue(), {0x00}},
      {EncodableValue(int64_t{-2}),
       {0x04, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
      {EncodableValue(EncodableMap{{EncodableValue("b"), EncodableValue(true)},
                                   {EncodableValue("a"), EncodableValue(1)}}),
       {0x0D, 0x02, 0x07, 0x01, 'a', 0x03, 0x01, 0x00, 0x00, 0x00, 0x07, 0x01,
        'b', 0x01}},
      {EncodableValue(EncodableList{EncodableValue(1.5)}),
       list_of_one_and_a_half},
      {EncodableValue(std::vector<int32_t>{7}),
       {0x09, 0x01, 0, 0, 0x07, 0, 0, 0}},
      {EncodableValue(std::vector<float>{1.0f}),
       {0x0E, 0x01, 0, 0, 0x00, 0x00, 0x80, 0x3F}},
      {EncodableValue(std::vector<int64_t>{1}),
       {0x0A, 0x01, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0}},
  };
  for (const auto& [value, bytes] : cases) {
    EXPECT_EQ(Encode(value), bytes) << "index " << value.index();
    Decoded decoded = Decode(bytes);
    EXPECT_EQ(decoded.value, value) << "index " << value.index();
    EXPECT_EQ(decoded.log, "");
    EXPECT_EQ(decoded.position, bytes.size());
  }
}

TEST(StandardCodecSerializerTest, SizesUseTheShortestForm) {
  const std::vector<std::pair<size_t, Bytes>> cases = {
      {253, {0xFD}},
      {254, {0xFE, 0xFE, 0x00}},
      {300, {0xFE, 0x2C, 0x01}},
      {65535, {0xFE, 0xFF, 0xFF}},
      {65536, {0xFF, 0x00, 0x00, 0x01, 0x00}},
      {70000, {0xFF, 0x70, 0x11, 0x01, 0x00}},
  };
  for (const auto& [size, field] : cases) {
    Bytes payload(size, 0x5A);
    Bytes expected = Concat(Concat({0x08}, field), payload);
    EXPECT_EQ(Encode(EncodableValue(payload)), expected) << size;
    EXPECT_EQ(get<Bytes>(Decode(expected).value), payload) << size;
  }
  // The reader also takes a longer form than needed.
  EXPECT_EQ(Decode({0x07, 0xFE, 0x01, 0x00, 'x'}).value, EncodableValue("x"));
}

TEST(StandardCodecSerializerTest, EveryAlternativeRoundTrips) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EncodableMap nested_keys{
      {EncodableValue(EncodableList{EncodableValue(1)}), EncodableValue("l")},
      {EncodableValue(int64_t{5}), EncodableValue(std::vector<double>{nan})},
      {EncodableValue(int32_t{5}), EncodableValue()}};
  const std::vector<EncodableValue> values = {
      EncodableValue(std::numeric_limits<int32_t>::min()),
      EncodableValue(std::numeric_limits<int64_t>::max()),
      EncodableValue(-0.0),
      EncodableValue(std::numeric_limits<double>::infinity()),
      EncodableValue(std::string("nul\0inside", 10)),
      EncodableValue(Bytes{}),
      EncodableValue(std::vector<int32_t>{}),
      EncodableValue(std::vector<double>{1.25, -3}),
      EncodableValue(std::vector<float>{0.5f, 2, 3}),
      EncodableValue(EncodableList{EncodableValue(true), EncodableValue(2.5),
                                   EncodableValue(nested_keys)}),
      EncodableValue(nested_keys),
  };
  for (const EncodableValue& value : values) {
    // From every starting offset: padding counts from the message start.
    for (size_t prefix = 0; prefix < 8; ++prefix) {
      Bytes bytes = Encode(value, prefix);
      ByteBufferStreamReader reader(bytes.data(), bytes.size());
      Bytes skipped(prefix);
      reader.GetBytes(skipped.data(), prefix);
      EncodableValue decoded =
          StandardCodecSerializer::SharedInstance().ReadTaggedValue(&reader);
      EXPECT_EQ(reader.position(), bytes.size());
      EXPECT_EQ(Encode(decoded, prefix), bytes)
          << "index " << value.index() << " prefix " << prefix;
    }
  }
}

// Empty typed lists carry their padding too, so that whatever follows them
// is found where the writer put it, from any starting offset.
TEST(StandardCodecSerializerTest, EmptyTypedListsArePaddedLikeOthers) {
  const std::vector<EncodableValue> empties = {
      EncodableValue(std::vector<int32_t>{}),
      EncodableValue(std::vector<int64_t>{}),
      EncodableValue(std::vector<double>{}),
      EncodableValue(std::vector<float>{})};
  for (const EncodableValue& empty : empties) {
    for (size_t offset = 0; offset < 8; ++offset) {
      EncodableValue message(EncodableList{empty, EncodableValue(int32_t{42})});
      Bytes bytes = Encode(message, offset);
      ByteBufferStreamReader reader(bytes.data(), bytes.size());
      Bytes skipped(offset);
      reader.GetBytes(skipped.data(), offset);
      CaptureStderr();
      EncodableValue decoded =
          StandardCodecSerializer::SharedInstance().ReadTaggedValue(&reader);
      EXPECT_EQ(GetCapturedStderr(), "");
      EXPECT_EQ(decoded, message) << empty.index() << " at " << offset;
      EXPECT_EQ(reader.position(), bytes.size());
    }
  }
}

TEST(StandardCodecSerializerTest, MalformedInputIsLoggedAndDecodedOn) {
  struct Case {
    Bytes bytes;
    EncodableValue value;
    std::string log;
    size_t position;
  };
  const std::vector<Case> cases = {
      // Tag 5 reads like a string.
      {{0x05, 0x01, 0x37}, EncodableValue("7"), "", 3},
      {{200, 0x01},
       EncodableValue(),
       "Unknown type in StandardCodecSerializer::ReadValueOfType: 200\n",
       1},
      // Too few bytes for a number: zero, and the position does not move.
      {{0x03, 0x01, 0x02}, EncodableValue(int32_t{0}), kInvalidRead, 1},
      {{}, EncodableValue(), kInvalidRead, 0},
      // A truncated size field reads as 0.
      {{0x07, 0xFE, 0x01}, EncodableValue(""), kInvalidRead, 2},
      // Duplicate keys: the first entry wins.
      {{0x0D, 0x03, 0x03, 1, 0, 0, 0, 0x07, 0x01, 'a', 0x03, 2, 0, 0, 0, 0x00,
        0x03, 1, 0, 0, 0, 0x07, 0x01, 'c'},
       EncodableValue(EncodableMap{
           {EncodableValue(1), EncodableValue("a")},
           {EncodableValue(2), EncodableValue()}}),
       "",
       24},
  };
  for (const Case& c : cases) {
    Decoded decoded = Decode(c.bytes);
    EXPECT_EQ(decoded.value, c.value) << testing::PrintToString(c.bytes);
    EXPECT_EQ(decoded.log, c.log) << testing::PrintToString(c.bytes);
    EXPECT_EQ(decoded.position, c.position) << testing::PrintToString(c.bytes);
  }
}

// Sizes come from outside: a size that the rest of the input cannot hold
// yields the empty value at once, without allocating for it.
TEST(StandardCodecSerializerTest, ImpossibleSizesYieldEmptyValues) {
  const std::vector<EncodableValue> empties = {
      EncodableValue(""),
      EncodableValue(Bytes{}),
      EncodableValue(std::vector<int32_t>{}),
      EncodableValue(std::vector<int64_t>{}),
      EncodableValue(std::vector<double>{}),
      EncodableValue(EncodableList{}),
      EncodableValue(EncodableMap{}),
      EncodableValue(std::vector<float>{})};
  const uint8_t tags[] = {7, 8, 9, 10, 11, 12, 13, 14};
  for (size_t i = 0; i < empties.size(); ++i) {
    // Six bytes announcing 4,294,967,295 elements.
    Decoded decoded = Decode({tags[i], 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
    EXPECT_EQ(decoded.value.index(), empties[i].index());
    EXPECT_EQ(decoded.value, empties[i]) << int(tags[i]);
    EXPECT_EQ(decoded.log, kInvalidRead) << int(tags[i]);
    EXPECT_EQ(decoded.position, 6u) << int(tags[i]);
  }
  // Nested: the outer list keeps what it had and reads no further.
  Decoded nested = Decode({0x0C, 0x03, 0x01, 0x07, 0x20, 'x', 0x01});
  EXPECT_EQ(nested.value, EncodableValue(EncodableList{
                              EncodableValue(true), EncodableValue("")}));
  EXPECT_EQ(nested.log, kInvalidRead);
  EXPECT_EQ(nested.position, 7u);
}

TEST(StandardCodecSerializerTest, EveryTruncationIsHandled) {
  EncodableValue message(EncodableMap{
      {EncodableValue("imageBytes"),
       EncodableValue(EncodableList{EncodableValue(1), EncodableValue(255)})},
      {EncodableValue("d"), EncodableValue(std::vector<double>{1, 2})},
      {EncodableValue("s"), EncodableValue(std::string(300, 'x'))}});
  Bytes bytes = Encode(message);
  for (size_t length = 0; length < bytes.size(); ++length) {
    Bytes prefix(bytes.begin(), bytes.begin() + length);
    Decoded decoded = Decode(prefix);
    EXPECT_NE(decoded.log, "") << length;
    EXPECT_LE(decoded.position, length + 7) << length;  // alignment at most
  }
}

Bytes NestedLists(int depth) {
  Bytes bytes;
  for (int i = 0; i < depth; ++i) {
    bytes.push_back(0x0C);
    bytes.push_back(0x01);
  }
  bytes.push_back(0x00);
  return bytes;
}

TEST(StandardCodecSerializerTest, DeepNestingIsRefusedNotOverflowed) {
  const int limit = StandardCodecSerializer::kMaxNestingDepth;
  Decoded at_limit = Decode(NestedLists(limit));
  EXPECT_EQ(at_limit.log, "");
  EXPECT_EQ(Encode(at_limit.value), NestedLists(limit));

  Bytes deep = NestedLists(100000);
  Decoded refused = Decode(deep);
  EXPECT_TRUE(refused.value.IsNull());
  EXPECT_EQ(refused.log,
            "Nesting too deep in StandardCodecSerializer::ReadValueOfType\n");
  EXPECT_EQ(refused.position, deep.size());

  // Maps nest the same way, in keys as in values.
  Bytes deep_map;
  for (int i = 0; i <= limit; ++i) deep_map.insert(deep_map.end(), {0x0D, 0x01});
  deep_map.insert(deep_map.end(), {0x00, 0x00});
  EXPECT_TRUE(Decode(deep_map).value.IsNull());
}

TEST(StandardCodecSerializerTest, CustomValuesAreWrittenAsNull) {
  EncodableValue list(EncodableList{EncodableValue(CustomEncodableValue(3))});
  CaptureStderr();
  Bytes bytes = Encode(list);
  EXPECT_EQ(GetCapturedStderr(),
            "Unhandled custom type in StandardCodecSerializer::WriteValue. "
            "Custom types require codec extensions.\n");
  EXPECT_EQ(bytes, (Bytes{0x0C, 0x01, 0x00}));
}

TEST(StandardCodecSerializerTest, DoubleIsAlignedWithinTheWholeMessage) {
  Bytes bytes = Encode(EncodableValue(1.0), 1);
  EXPECT_EQ(bytes, (Bytes{0xAA, 0x06, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                          0xF0, 0x3F}));
}

// An application-defined value under tag 128, seen inside containers too.
struct Point {
  int32_t x;
};
class PointSerializer : public StandardCodecSerializer {
 public:
  void WriteValue(const EncodableValue& value,
                  ByteStreamWriter* stream) const override {
    if (const auto* custom = get_if<CustomEncodableValue>(&value)) {
      const auto& point = std::any_cast<const Point&>(
          static_cast<const std::any&>(*custom));
      stream->PutByte(128);
      stream->PutBytes(reinterpret_cast<const uint8_t*>(&point.x), 4);
      return;
    }
    StandardCodecSerializer::WriteValue(value, stream);
  }
  EncodableValue ReadValueOfType(uint8_t type,
                                 ByteStreamReader* stream) const override {
    if (type == 128) {
      Point point{};
      stream->GetBytes(reinterpret_cast<uint8_t*>(&point.x), 4);
      return EncodableValue(CustomEncodableValue(point));
    }
    return StandardCodecSerializer::ReadValueOfType(type, stream);
  }
};

TEST(StandardCodecSerializerTest, ExtensionsSeeNestedValues) {
  PointSerializer serializer;
  EncodableValue message(EncodableMap{
      {EncodableValue("p"),
       EncodableValue(EncodableList{EncodableValue(CustomEncodableValue(Point{7})),
                                    EncodableValue(int32_t{9})})}});
  Bytes bytes;
  ByteBufferStreamWriter writer(&bytes);
  serializer.WriteValue(message, &writer);
  EXPECT_EQ(bytes, (Bytes{0x0D, 0x01, 0x07, 0x01, 'p', 0x0C, 0x02, 128, 7, 0,
                          0, 0, 0x03, 9, 0, 0, 0}));

  ByteBufferStreamReader reader(bytes.data(), bytes.size());
  EncodableValue decoded = serializer.ReadTaggedValue(&reader);
  const auto& list = get<EncodableList>(get<EncodableMap>(decoded).begin()->second);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(std::any_cast<Point>(static_cast<const std::any&>(
                get<CustomEncodableValue>(list[0])))
                .x,
            7);
  EXPECT_EQ(get<int32_t>(list[1]), 9);

  // The checks on sizes and depth hold on this path as well.
  Bytes huge = {0x0C, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
  ByteBufferStreamReader huge_reader(huge.data(), huge.size());
  CaptureStderr();
  EXPECT_EQ(serializer.ReadTaggedValue(&huge_reader),
            EncodableValue(EncodableList{}));
  EXPECT_EQ(GetCapturedStderr(), kInvalidRead);
  Bytes deep = NestedLists(100000);
  ByteBufferStreamReader deep_reader(deep.data(), deep.size());
  CaptureStderr();
  EXPECT_TRUE(serializer.ReadTaggedValue(&deep_reader).IsNull());
  GetCapturedStderr();
  EXPECT_EQ(deep_reader.position(), deep.size());
}

}  // namespace
}  // namespace flutter

#ifndef CODEC_STANDARD_CODEC_SERIALIZER_H_
#define CODEC_STANDARD_CODEC_SERIALIZER_H_

#include <cstddef>
#include <cstdint>

#include "codec/byte_streams.h"
#include "codec/encodable_value.h"

namespace flutter {

// The standard binary message encoding of EncodableValue.
//
// An extension derives from this class, overrides WriteValue to write its
// CustomEncodableValue under a tag of its own and ReadValueOfType to read its
// tags, and hands everything else to the base. Values nested in lists and
// maps go through the same overridable operations.
//
// Decoding never trusts the input: a size that the remaining bytes cannot
// hold yields the empty value of its kind, and nesting deeper than
// kMaxNestingDepth refuses the whole message (it reads as null); in both
// cases one line is logged and the reader is left at the end.
class StandardCodecSerializer {
 public:
  static constexpr int kMaxNestingDepth = 128;

  StandardCodecSerializer() = default;
  StandardCodecSerializer(const StandardCodecSerializer&) = delete;
  StandardCodecSerializer& operator=(const StandardCodecSerializer&) = delete;
  virtual ~StandardCodecSerializer() = default;

  // The process-wide instance, created on first use.
  static const StandardCodecSerializer& SharedInstance();

  // Reads one tag and its value.
  EncodableValue ReadTaggedValue(ByteStreamReader* stream) const;

  // Appends the encoding of `value`.
  virtual void WriteValue(const EncodableValue& value,
                          ByteStreamWriter* stream) const;

  // Reads the payload of a value whose tag `type` has been read.
  virtual EncodableValue ReadValueOfType(uint8_t type,
                                         ByteStreamReader* stream) const;

  // The size field of strings, lists and maps: one byte below 254, else 254
  // and 16 bits, else 255 and 32 bits.
  void EncodeSize(size_t size, ByteStreamWriter* stream) const;
  uint32_t DecodeSize(ByteStreamReader* stream) const;

 private:
  template <typename Io>
  EncodableValue ReadPayload(uint8_t type, Io& io) const;
};

}  // namespace flutter

#endif  // CODEC_STANDARD_CODEC_SERIALIZER_H_

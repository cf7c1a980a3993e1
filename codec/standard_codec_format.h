#ifndef CODEC_STANDARD_CODEC_FORMAT_H_
#define CODEC_STANDARD_CODEC_FORMAT_H_

#include <cstdint>

namespace flutter {

// Type tags of the standard message encoding, shared by its writer and reader.
enum StandardCodecTag : uint8_t {
  kTagNull = 0,
  kTagTrue = 1,
  kTagFalse = 2,
  kTagInt32 = 3,
  kTagInt64 = 4,
  kTagLargeInt = 5,  // read as a string, never written
  kTagFloat64 = 6,
  kTagString = 7,
  kTagUInt8List = 8,
  kTagInt32List = 9,
  kTagInt64List = 10,
  kTagFloat64List = 11,
  kTagList = 12,
  kTagMap = 13,
  kTagFloat32List = 14,
};

// Size field: a first byte below this is the size itself.
constexpr uint8_t kSize16Marker = 254;
constexpr uint8_t kSize32Marker = 255;

}  // namespace flutter

#endif  // CODEC_STANDARD_CODEC_FORMAT_H_

#include "codec/byte_streams.h"

#include <cstring>
#include <iostream>

namespace flutter {

void LogLine(const char* text) { std::cerr << text << std::endl; }

namespace {
void LogInvalidRead() {
  LogLine("Invalid read in StandardCodecByteStreamReader");
}
}  // namespace

uint8_t ByteBufferStreamReader::GetByte() {
  if (position_ >= size_) {
    LogInvalidRead();
    return 0;
  }
  return bytes_[position_++];
}

void ByteBufferStreamReader::GetBytes(uint8_t* destination, size_t length) {
  if (length > RemainingBytes() || position_ > size_) {
    LogInvalidRead();
    return;
  }
  if (length > 0) std::memcpy(destination, bytes_ + position_, length);
  position_ += length;
}

void ByteBufferStreamReader::SkipToAlignment(uint8_t alignment) {
  if (alignment == 0) return;
  size_t remainder = position_ % alignment;
  if (remainder != 0) position_ += alignment - remainder;
}

void ByteBufferStreamWriter::PutBytes(const uint8_t* bytes, size_t length) {
  if (length > 0) buffer_->insert(buffer_->end(), bytes, bytes + length);
}

void ByteBufferStreamWriter::PadToAlignment(uint8_t alignment) {
  if (alignment == 0) return;
  size_t remainder = buffer_->size() % alignment;
  if (remainder == 0) return;
  for (size_t i = remainder; i < alignment; ++i) PutByte(0);
}

}  // namespace flutter

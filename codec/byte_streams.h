#ifndef CODEC_BYTE_STREAMS_H_
#define CODEC_BYTE_STREAMS_H_

#include <cstddef>
#include <cstdint>
#include <vector>

namespace flutter {

class StandardCodecSerializer;
struct ReaderState;
struct WriterAccess;

// A source of message bytes for the serializer.
class ByteStreamReader {
 public:
  ByteStreamReader() = default;
  ByteStreamReader(const ByteStreamReader&) = delete;
  ByteStreamReader& operator=(const ByteStreamReader&) = delete;
  virtual ~ByteStreamReader() = default;

  // The next byte, advancing by one.
  virtual uint8_t GetByte() = 0;
  // Copies the next `length` bytes to `destination`, advancing by `length`.
  virtual void GetBytes(uint8_t* destination, size_t length) = 0;
  // Advances to the next multiple of `alignment`, counted from the start.
  virtual void SkipToAlignment(uint8_t alignment) = 0;
  // How many bytes are left. The serializer never allocates for, or loops
  // over, more elements than this can hold.
  virtual size_t RemainingBytes() const = 0;
  // Gives up the rest of the input: later reads fail.
  virtual void SkipToEnd() = 0;

 private:
  friend struct ReaderState;
  // Decoding state of the message being read through this reader: nesting
  // depth, refused for nesting too deep, given up for a size beyond the end.
  int depth_ = 0;
  bool refused_ = false;
  bool exhausted_ = false;
};

// A sink for message bytes.
class ByteStreamWriter {
 public:
  ByteStreamWriter() = default;
  ByteStreamWriter(const ByteStreamWriter&) = delete;
  ByteStreamWriter& operator=(const ByteStreamWriter&) = delete;
  virtual ~ByteStreamWriter() = default;

  virtual void PutByte(uint8_t byte) = 0;
  virtual void PutBytes(const uint8_t* bytes, size_t length) = 0;
  // Appends zero bytes until the output length is a multiple of `alignment`.
  virtual void PadToAlignment(uint8_t alignment) = 0;
};

// Reads from a borrowed buffer, which must outlive the reader. A read past
// the end writes "Invalid read in StandardCodecByteStreamReader", yields
// zero (copies nothing) and does not move.
class ByteBufferStreamReader : public ByteStreamReader {
 public:
  ByteBufferStreamReader(const uint8_t* bytes, size_t size)
      : bytes_(bytes), size_(size) {}

  uint8_t GetByte() override;
  void GetBytes(uint8_t* destination, size_t length) override;
  void SkipToAlignment(uint8_t alignment) override;
  size_t RemainingBytes() const override {
    return position_ < size_ ? size_ - position_ : 0;
  }
  void SkipToEnd() override { position_ = size_; }

  size_t position() const { return position_; }

 private:
  friend class StandardCodecSerializer;  // reads in place on its fast path

  const uint8_t* bytes_;
  size_t size_;
  size_t position_ = 0;
};

// Appends to a borrowed byte vector.
class ByteBufferStreamWriter : public ByteStreamWriter {
 public:
  explicit ByteBufferStreamWriter(std::vector<uint8_t>* buffer)
      : buffer_(buffer) {}

  void PutByte(uint8_t byte) override { buffer_->push_back(byte); }
  void PutBytes(const uint8_t* bytes, size_t length) override;
  void PadToAlignment(uint8_t alignment) override;

 private:
  friend struct WriterAccess;  // the serializer writes in bulk

  std::vector<uint8_t>* buffer_;
};

// Writes one log line to standard error and flushes it.
void LogLine(const char* text);

}  // namespace flutter

#endif  // CODEC_BYTE_STREAMS_H_

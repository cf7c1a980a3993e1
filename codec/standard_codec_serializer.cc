#include "codec/standard_codec_serializer.h"

#include <algorithm>
#include <cstring>
#include <iostream>
#include <limits>
#include <string>
#include <typeinfo>

#include "codec/standard_codec_format.h"

// The loops over runs of 32-bit integers stay out of line: inlined into the
// big switches of ReadPayload and WriteTo, their variables end up on the
// stack and they run a fifth to a quarter slower.
#if defined(_MSC_VER)
#define CODEC_NOINLINE __declspec(noinline)
#else
#define CODEC_NOINLINE __attribute__((noinline))
#endif

namespace flutter {
namespace {

void LogInvalidRead() {
  LogLine("Invalid read in StandardCodecByteStreamReader");
}

// ---------------------------------------------------------------------------
// Reading. One decoding body (ReadPayload) runs over two kinds of input:
// StreamIo goes through the virtual stream operations and reads nested values
// through the overridable ReadValueOfType, as extensions need; BufferIo reads
// a ByteBufferStreamReader's bytes in place, for the standard serializer.

class StreamIo {
 public:
  static constexpr bool kInPlace = false;

  StreamIo(const StandardCodecSerializer& serializer, ByteStreamReader& stream)
      : serializer_(serializer), stream_(stream) {}

  ByteStreamReader& stream() { return stream_; }
  uint8_t Byte() { return stream_.GetByte(); }
  void Bytes(uint8_t* destination, size_t length) {
    stream_.GetBytes(destination, length);
  }
  void Align(uint8_t alignment) { stream_.SkipToAlignment(alignment); }
  size_t Remaining() const { return stream_.RemainingBytes(); }
  EncodableValue Element() {
    return serializer_.ReadValueOfType(stream_.GetByte(), &stream_);
  }
  // Zero-filled first, so that a failed read leaves zeros.
  template <typename T>
  void Array(std::vector<T>& out, size_t count) {
    out.resize(count);
    stream_.GetBytes(reinterpret_cast<uint8_t*>(out.data()), count * sizeof(T));
  }

 private:
  const StandardCodecSerializer& serializer_;
  ByteStreamReader& stream_;
};

class BufferIo {
 public:
  static constexpr bool kInPlace = true;

  BufferIo(ByteBufferStreamReader& stream, const uint8_t* bytes, size_t size,
           size_t& position)
      : stream_(stream),
        bytes_(bytes),
        size_(size),
        position_(position) {}

  ByteStreamReader& stream() { return stream_; }
  uint8_t Byte() {
    if (position_ >= size_) {
      LogInvalidRead();
      return 0;
    }
    return bytes_[position_++];
  }
  void Bytes(uint8_t* destination, size_t length) {
    if (position_ > size_ || length > size_ - position_) {
      LogInvalidRead();
      return;
    }
    if (length > 0) std::memcpy(destination, bytes_ + position_, length);
    position_ += length;
  }
  void Align(uint8_t alignment) {
    size_t remainder = position_ % alignment;
    if (remainder != 0) position_ += alignment - remainder;
  }
  size_t Remaining() const { return position_ < size_ ? size_ - position_ : 0; }
  // The caller has checked that the bytes are there: one copy, no zero-fill
  // for byte lists.
  template <typename T>
  void Array(std::vector<T>& out, size_t count) {
    if (position_ > size_) {  // alignment passed the end
      LogInvalidRead();
      return;
    }
    const uint8_t* from = bytes_ + position_;
    if constexpr (sizeof(T) == 1) {
      out.assign(from, from + count);
    } else {
      out.resize(count);
      if (count > 0) std::memcpy(out.data(), from, count * sizeof(T));
    }
    position_ += count * sizeof(T);
  }
  // Appends the run of 32-bit integer elements (tag and four bytes each)
  // that starts here, at most `most` of them: the hot case of image
  // messages, in one tight loop.
  CODEC_NOINLINE void Int32Run(EncodableList& list, size_t most) {
    if (position_ >= size_) return;
    const uint8_t* from = bytes_ + position_;
    const size_t available = std::min(most, (size_ - position_) / 5);
    size_t run = 0;
    for (; run < available && from[0] == kTagInt32; ++run, from += 5) {
      int32_t value;
      std::memcpy(&value, from + 1, sizeof value);
      list.emplace_back(value);
    }
    position_ += run * 5;
  }

 private:
  ByteBufferStreamReader& stream_;
  const uint8_t* bytes_;
  size_t size_;
  size_t& position_;
};

// Either the virtual or the in-place decoding, chosen once per top-level read.
bool IsPlainReader(const StandardCodecSerializer& serializer,
                   const ByteStreamReader& stream) {
  return typeid(serializer) == typeid(StandardCodecSerializer) &&
         typeid(stream) == typeid(ByteBufferStreamReader);
}

}  // namespace

// Reader state shared by the nested reads of one message.
struct ReaderState {
  static int& Depth(ByteStreamReader& stream) { return stream.depth_; }
  static bool& Refused(ByteStreamReader& stream) { return stream.refused_; }
  static bool& Exhausted(ByteStreamReader& stream) { return stream.exhausted_; }
};

namespace {

// An announced size that the input cannot hold: one line, the rest of the
// input given up, and no allocation for it.
template <typename Io>
void GiveUp(Io& io) {
  LogInvalidRead();
  io.stream().SkipToEnd();
  ReaderState::Exhausted(io.stream()) = true;
}

template <typename Io>
uint32_t ReadSizeFrom(Io& io) {
  uint8_t first = io.Byte();
  if (first < kSize16Marker) return first;
  if (first == kSize16Marker) {
    uint16_t size = 0;
    io.Bytes(reinterpret_cast<uint8_t*>(&size), sizeof size);
    return size;
  }
  uint32_t size = 0;
  io.Bytes(reinterpret_cast<uint8_t*>(&size), sizeof size);
  return size;
}

template <typename T, typename Io>
EncodableValue ReadScalar(Io& io) {
  T value{};
  io.Bytes(reinterpret_cast<uint8_t*>(&value), sizeof value);
  return EncodableValue(value);
}

template <typename T, typename Io>
EncodableValue ReadArray(Io& io, uint8_t alignment) {
  size_t count = ReadSizeFrom(io);
  if (alignment > 1) io.Align(alignment);
  std::vector<T> out;
  if (count > io.Remaining() / sizeof(T)) {
    GiveUp(io);
    return EncodableValue(std::move(out));
  }
  io.Array(out, count);
  return EncodableValue(std::move(out));
}

}  // namespace

template <typename Io>
EncodableValue StandardCodecSerializer::ReadPayload(uint8_t type,
                                                     Io& io) const {
  ByteStreamReader& stream = io.stream();
  // Nested values: in place without a virtual call, or through the
  // overridable ReadValueOfType so that extensions see them.
  auto element = [&]() {
    if constexpr (Io::kInPlace) {
      return ReadPayload(io.Byte(), io);
    } else {
      return io.Element();
    }
  };
  switch (type) {
    case kTagNull: return EncodableValue();
    case kTagTrue: return EncodableValue(true);
    case kTagFalse: return EncodableValue(false);
    case kTagInt32: return ReadScalar<int32_t>(io);
    case kTagInt64: return ReadScalar<int64_t>(io);
    case kTagFloat64: {
      io.Align(8);
      return ReadScalar<double>(io);
    }
    case kTagLargeInt:
    case kTagString: {
      size_t length = ReadSizeFrom(io);
      std::string text;
      if (length > io.Remaining()) {
        GiveUp(io);
        return EncodableValue(std::move(text));
      }
      text.resize(length);
      io.Bytes(reinterpret_cast<uint8_t*>(text.data()), length);
      return EncodableValue(std::move(text));
    }
    case kTagUInt8List: return ReadArray<uint8_t>(io, 1);
    case kTagInt32List: return ReadArray<int32_t>(io, 4);
    case kTagInt64List: return ReadArray<int64_t>(io, 8);
    case kTagFloat64List: return ReadArray<double>(io, 8);
    case kTagFloat32List: return ReadArray<float>(io, 4);
    case kTagList:
    case kTagMap: {
      const bool is_map = type == kTagMap;
      size_t count = ReadSizeFrom(io);
      int& depth = ReaderState::Depth(stream);
      bool& refused = ReaderState::Refused(stream);
      bool& exhausted = ReaderState::Exhausted(stream);
      // Depth first: even an empty collection one level too deep would make
      // a tree that cannot be sent on again.
      if (depth >= kMaxNestingDepth) {
        if (!refused) {
          LogLine(
              "Nesting too deep in StandardCodecSerializer::ReadValueOfType");
        }
        refused = true;
        stream.SkipToEnd();
        return EncodableValue();
      }
      // Every element takes at least one byte, every entry two.
      if (count > io.Remaining() / (is_map ? 2 : 1)) {
        GiveUp(io);
        return is_map ? EncodableValue(EncodableMap())
                      : EncodableValue(EncodableList());
      }
      ++depth;
      EncodableValue result;
      if (is_map) {
        EncodableMap map;
        for (size_t i = 0; i < count && !refused && !exhausted; ++i) {
          if (io.Remaining() == 0) {  // truncated: one line, not one per entry
            GiveUp(io);
            break;
          }
          EncodableValue key = element();
          EncodableValue value = element();
          if (refused || exhausted) break;
          map.emplace(std::move(key), std::move(value));  // first one wins
        }
        result = EncodableValue(std::move(map));
      } else {
        EncodableList list;
        list.reserve(count);
        while (list.size() < count && !refused && !exhausted) {
          if constexpr (Io::kInPlace) {
            io.Int32Run(list, count - list.size());
            if (list.size() == count) break;
          }
          if (io.Remaining() == 0) {  // truncated: one line, not one per element
            GiveUp(io);
            break;
          }
          list.push_back(element());
        }
        result = EncodableValue(std::move(list));
      }
      --depth;
      // A refused message reads as null at every level.
      if (refused) return EncodableValue();
      return result;
    }
    default: {
      std::string line =
          "Unknown type in StandardCodecSerializer::ReadValueOfType: " +
          std::to_string(type);
      LogLine(line.c_str());
      return EncodableValue();
    }
  }
}

const StandardCodecSerializer& StandardCodecSerializer::SharedInstance() {
  static const StandardCodecSerializer instance;
  return instance;
}

EncodableValue StandardCodecSerializer::ReadTaggedValue(
    ByteStreamReader* stream) const {
  uint8_t type = stream->GetByte();
  return ReadValueOfType(type, stream);
}

EncodableValue StandardCodecSerializer::ReadValueOfType(
    uint8_t type, ByteStreamReader* stream) const {
  ByteStreamReader& reader = *stream;
  if (ReaderState::Depth(reader) == 0) {
    // A new top-level value: earlier failures of this reader are history.
    ReaderState::Refused(reader) = false;
    ReaderState::Exhausted(reader) = false;
  }
  if (IsPlainReader(*this, reader)) {
    auto& buffer = static_cast<ByteBufferStreamReader&>(reader);
    BufferIo io(buffer, buffer.bytes_, buffer.size_, buffer.position_);
    return ReadPayload(type, io);
  }
  StreamIo io(*this, reader);
  return ReadPayload(type, io);
}

uint32_t StandardCodecSerializer::DecodeSize(ByteStreamReader* stream) const {
  StreamIo io(*this, *stream);
  return ReadSizeFrom(io);
}

// ---------------------------------------------------------------------------
// Writing. One body (WriteTo) over three sinks: StreamSink goes through the
// virtual writer and writes nested values through the overridable WriteValue;
// SizeSink only counts; BufferSink appends to a vector that the size count
// has reserved exactly, in chunks, so each byte is copied once.

namespace {

class StreamSink {
 public:
  static constexpr bool kLogs = true;
  StreamSink(const StandardCodecSerializer& serializer, ByteStreamWriter& stream)
      : serializer_(serializer), stream_(stream) {}
  void Byte(uint8_t byte) { stream_.PutByte(byte); }
  void Bytes(const uint8_t* bytes, size_t length) {
    stream_.PutBytes(bytes, length);
  }
  void Pad(uint8_t alignment) { stream_.PadToAlignment(alignment); }
  void Size(size_t size) { serializer_.EncodeSize(size, &stream_); }
  void Element(const EncodableValue& value) {
    serializer_.WriteValue(value, &stream_);
  }
  // No shortcut: an extension sees every element through WriteValue.
  const EncodableValue* Int32Run(const EncodableValue* next,
                                 const EncodableValue*) {
    return next;
  }

 private:
  const StandardCodecSerializer& serializer_;
  ByteStreamWriter& stream_;
};

template <typename Sink>
void WriteTo(Sink& sink, const EncodableValue& value);

// Writes the size field with whatever sink: shortest form.
template <typename Sink>
void WriteSizeTo(Sink& sink, size_t size) {
  if (size < kSize16Marker) {
    sink.Byte(static_cast<uint8_t>(size));
  } else if (size <= 0xFFFF) {
    uint16_t value = static_cast<uint16_t>(size);
    sink.Byte(kSize16Marker);
    sink.Bytes(reinterpret_cast<const uint8_t*>(&value), sizeof value);
  } else {
    uint32_t value = static_cast<uint32_t>(size);
    sink.Byte(kSize32Marker);
    sink.Bytes(reinterpret_cast<const uint8_t*>(&value), sizeof value);
  }
}

class SizeSink {
 public:
  static constexpr bool kLogs = false;
  explicit SizeSink(size_t start) : position_(start) {}
  void Byte(uint8_t) { ++position_; }
  void Bytes(const uint8_t*, size_t length) { position_ += length; }
  void Pad(uint8_t alignment) {
    size_t remainder = position_ % alignment;
    if (remainder != 0) position_ += alignment - remainder;
  }
  void Size(size_t size) { WriteSizeTo(*this, size); }
  void Element(const EncodableValue& value) { WriteTo(*this, value); }
  // Skips the run of 32-bit integers at `next`: five bytes each.
  CODEC_NOINLINE const EncodableValue* Int32Run(const EncodableValue* next,
                                                const EncodableValue* end) {
    const EncodableValue* from = next;
    while (next != end && next->index() == 2) ++next;
    position_ += 5 * static_cast<size_t>(next - from);
    return next;
  }
  size_t position() const { return position_; }

 private:
  size_t position_;
};

class BufferSink {
 public:
  static constexpr bool kLogs = true;
  explicit BufferSink(std::vector<uint8_t>& out) : out_(out) {}
  ~BufferSink() { Flush(); }
  void Byte(uint8_t byte) {
    if (used_ == sizeof chunk_) Flush();
    chunk_[used_++] = byte;
  }
  void Bytes(const uint8_t* bytes, size_t length) {
    if (length <= sizeof chunk_ - used_) {
      if (length > 0) std::memcpy(chunk_ + used_, bytes, length);
      used_ += length;
      return;
    }
    Flush();
    out_.insert(out_.end(), bytes, bytes + length);
  }
  void Pad(uint8_t alignment) {
    while ((out_.size() + used_) % alignment != 0) Byte(0);
  }
  void Size(size_t size) { WriteSizeTo(*this, size); }
  void Element(const EncodableValue& value) { WriteTo(*this, value); }
  // Writes the run of 32-bit integers at `next` (the hot case of image
  // messages) through a local cursor, chunk by chunk, and returns where the
  // run ends.
  CODEC_NOINLINE const EncodableValue* Int32Run(const EncodableValue* next,
                                                const EncodableValue* end) {
    constexpr size_t kRecord = 1 + sizeof(int32_t);
    while (next != end && next->index() == 2) {
      if (sizeof chunk_ - used_ < kRecord) Flush();
      uint8_t* to = chunk_ + used_;
      uint8_t* const last = chunk_ + sizeof chunk_ - kRecord;
      for (; next != end && to <= last; ++next, to += kRecord) {
        const int32_t* number = get_if<int32_t>(next);
        if (!number) break;
        to[0] = kTagInt32;
        std::memcpy(to + 1, number, sizeof *number);
      }
      used_ = static_cast<size_t>(to - chunk_);
    }
    return next;
  }
  void Flush() {
    out_.insert(out_.end(), chunk_, chunk_ + used_);
    used_ = 0;
  }

 private:
  std::vector<uint8_t>& out_;
  size_t used_ = 0;
  uint8_t chunk_[4096];
};

template <typename Sink, typename T>
void WriteArray(Sink& sink, uint8_t tag, const std::vector<T>& values) {
  sink.Byte(tag);
  sink.Size(values.size());
  if constexpr (sizeof(T) > 1) sink.Pad(sizeof(T));
  sink.Bytes(reinterpret_cast<const uint8_t*>(values.data()),
             values.size() * sizeof(T));
}

// A collection whose size does not fit the 32-bit size field cannot be
// written; it goes out as null so that the message stays well-formed.
template <typename Sink>
bool FitsSizeField(Sink& sink, size_t size) {
  if (size <= std::numeric_limits<uint32_t>::max()) return true;
  if constexpr (Sink::kLogs) {
    LogLine("Collection too large in StandardCodecSerializer::WriteValue");
  }
  sink.Byte(kTagNull);
  return false;
}

template <typename Sink>
void WriteTo(Sink& sink, const EncodableValue& value) {
  switch (value.index()) {
    case 0: sink.Byte(kTagNull); return;
    case 1: sink.Byte(get<bool>(value) ? kTagTrue : kTagFalse); return;
    case 2: {
      int32_t number = get<int32_t>(value);
      sink.Byte(kTagInt32);
      sink.Bytes(reinterpret_cast<const uint8_t*>(&number), sizeof number);
      return;
    }
    case 3: {
      int64_t number = get<int64_t>(value);
      sink.Byte(kTagInt64);
      sink.Bytes(reinterpret_cast<const uint8_t*>(&number), sizeof number);
      return;
    }
    case 4: {
      double number = get<double>(value);
      sink.Byte(kTagFloat64);
      sink.Pad(8);
      sink.Bytes(reinterpret_cast<const uint8_t*>(&number), sizeof number);
      return;
    }
    case 5: {
      const auto& text = get<std::string>(value);
      if (!FitsSizeField(sink, text.size())) return;
      sink.Byte(kTagString);
      sink.Size(text.size());
      sink.Bytes(reinterpret_cast<const uint8_t*>(text.data()), text.size());
      return;
    }
    case 6: {
      const auto& bytes = get<std::vector<uint8_t>>(value);
      if (FitsSizeField(sink, bytes.size())) WriteArray(sink, kTagUInt8List, bytes);
      return;
    }
    case 7: {
      const auto& numbers = get<std::vector<int32_t>>(value);
      if (FitsSizeField(sink, numbers.size())) WriteArray(sink, kTagInt32List, numbers);
      return;
    }
    case 8: {
      const auto& numbers = get<std::vector<int64_t>>(value);
      if (FitsSizeField(sink, numbers.size())) WriteArray(sink, kTagInt64List, numbers);
      return;
    }
    case 9: {
      const auto& numbers = get<std::vector<double>>(value);
      if (FitsSizeField(sink, numbers.size())) WriteArray(sink, kTagFloat64List, numbers);
      return;
    }
    case 10: {
      const auto& list = get<EncodableList>(value);
      if (!FitsSizeField(sink, list.size())) return;
      sink.Byte(kTagList);
      sink.Size(list.size());
      const EncodableValue* next = list.data();
      const EncodableValue* end = next + list.size();
      while (next != end) {
        next = sink.Int32Run(next, end);
        if (next != end) sink.Element(*next++);
      }
      return;
    }
    case 11: {
      const auto& map = get<EncodableMap>(value);
      if (!FitsSizeField(sink, map.size())) return;
      sink.Byte(kTagMap);
      sink.Size(map.size());
      for (const auto& [key, entry] : map) {
        sink.Element(key);
        sink.Element(entry);
      }
      return;
    }
    case 13: {
      const auto& numbers = get<std::vector<float>>(value);
      if (FitsSizeField(sink, numbers.size())) WriteArray(sink, kTagFloat32List, numbers);
      return;
    }
    default:
      // A custom value (extensions write it) or a valueless one.
      if constexpr (Sink::kLogs) {
        if (value.index() == 12) {
          LogLine(
              "Unhandled custom type in StandardCodecSerializer::WriteValue. "
              "Custom types require codec extensions.");
        }
      }
      sink.Byte(kTagNull);
      return;
  }
}

bool IsPlainWriter(const StandardCodecSerializer& serializer,
                   const ByteStreamWriter& stream) {
  return typeid(serializer) == typeid(StandardCodecSerializer) &&
         typeid(stream) == typeid(ByteBufferStreamWriter);
}

}  // namespace

// Bulk access to a ByteBufferStreamWriter's vector.
struct WriterAccess {
  static std::vector<uint8_t>& Buffer(ByteBufferStreamWriter& stream) {
    return *stream.buffer_;
  }
};

void StandardCodecSerializer::WriteValue(const EncodableValue& value,
                                         ByteStreamWriter* stream) const {
  if (IsPlainWriter(*this, *stream)) {
    std::vector<uint8_t>& out =
        WriterAccess::Buffer(static_cast<ByteBufferStreamWriter&>(*stream));
    SizeSink size(out.size());
    WriteTo(size, value);
    if (out.capacity() < size.position()) out.reserve(size.position());
    BufferSink sink(out);
    WriteTo(sink, value);
    return;
  }
  StreamSink sink(*this, *stream);
  WriteTo(sink, value);
}

void StandardCodecSerializer::EncodeSize(size_t size,
                                         ByteStreamWriter* stream) const {
  StreamSink sink(*this, *stream);
  WriteSizeTo(sink, size);
}

}  // namespace flutter

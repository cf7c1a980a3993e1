// Feeds arbitrary bytes to every decoder that reads messages from outside:
// the serializer's ReadTaggedValue, DecodeCall and DecodeReplyInto. Besides
// the sanitizers it checks what must hold for any input:
//  - the in-place reader and the reader through the virtual stream
//    operations decode the same value and stop at the same position;
//  - whatever was decoded encodes to the same bytes through the buffer writer
//    and through the virtual writer, and those bytes decode again without a
//    log line, to a value that encodes to the same bytes;
//  - a reply envelope is answered exactly once when recognised, never
//    otherwise.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <streambuf>
#include <variant>
#include <vector>

#include "channels/method_result.h"
#include "codec/standard_codec_serializer.h"
#include "codec/standard_method_codec.h"

namespace flutter {
namespace {

using Bytes = std::vector<uint8_t>;

void Check(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "check failed: %s\n", what);
  std::abort();
}

// Counts the log lines instead of printing them: the decoders log on almost
// every malformed input, which would drown the fuzzer's own output.
class LineCounter : public std::streambuf {
 public:
  size_t lines = 0;

 protected:
  int_type overflow(int_type c) override {
    if (c == '\n') ++lines;
    return traits_type::not_eof(c);
  }
};

LineCounter& Log() {
  static LineCounter counter;
  return counter;
}

// Same buffer, but a different dynamic type: the serializer then goes
// through the virtual stream operations instead of its in-place path.
class VirtualReader : public ByteBufferStreamReader {
  using ByteBufferStreamReader::ByteBufferStreamReader;
};
class VirtualWriter : public ByteBufferStreamWriter {
  using ByteBufferStreamWriter::ByteBufferStreamWriter;
};

const StandardCodecSerializer& Serializer() {
  return StandardCodecSerializer::SharedInstance();
}

template <typename Writer>
Bytes Encode(const EncodableValue& value) {
  Bytes bytes;
  Writer writer(&bytes);
  Serializer().WriteValue(value, &writer);
  return bytes;
}

template <typename T>
bool AnyNaN(const std::vector<T>& numbers) {
  for (T number : numbers) {
    if (std::isnan(number)) return true;
  }
  return false;
}

bool HasNaN(const EncodableValue& value) {
  if (const auto* number = get_if<double>(&value)) return std::isnan(*number);
  if (const auto* numbers = get_if<std::vector<double>>(&value)) {
    return AnyNaN(*numbers);
  }
  if (const auto* numbers = get_if<std::vector<float>>(&value)) {
    return AnyNaN(*numbers);
  }
  if (const auto* list = get_if<EncodableList>(&value)) {
    for (const auto& element : *list) {
      if (HasNaN(element)) return true;
    }
  }
  if (const auto* map = get_if<EncodableMap>(&value)) {
    for (const auto& [key, entry] : *map) {
      if (HasNaN(key) || HasNaN(entry)) return true;
    }
  }
  return false;
}

// NaN makes the ordering of lists and maps non-transitive, so which of
// several such map keys survive depends on insertion order; values with one
// are exempt from the check that decoding again changes nothing.
bool HasNaNKey(const EncodableValue& value) {
  if (const auto* list = get_if<EncodableList>(&value)) {
    for (const auto& element : *list) {
      if (HasNaNKey(element)) return true;
    }
  }
  if (const auto* map = get_if<EncodableMap>(&value)) {
    for (const auto& [key, entry] : *map) {
      if (HasNaN(key) || HasNaNKey(entry)) return true;
    }
  }
  return false;
}

void FuzzSerializer(const uint8_t* data, size_t size) {
  ByteBufferStreamReader in_place(data, size);
  EncodableValue value = Serializer().ReadTaggedValue(&in_place);
  VirtualReader through_stream(data, size);
  EncodableValue same = Serializer().ReadTaggedValue(&through_stream);
  Check(in_place.position() == through_stream.position(),
        "both readers stop at the same position");

  Bytes encoded = Encode<ByteBufferStreamWriter>(value);
  Check(Encode<ByteBufferStreamWriter>(same) == encoded,
        "both readers decode the same value");
  Check(Encode<VirtualWriter>(value) == encoded,
        "both writers write the same bytes");

  size_t lines_before = Log().lines;
  ByteBufferStreamReader again(encoded.data(), encoded.size());
  EncodableValue decoded = Serializer().ReadTaggedValue(&again);
  Check(Log().lines == lines_before, "written bytes decode without a log line");
  Check(again.position() == encoded.size(), "written bytes are read whole");
  if (!HasNaNKey(value)) {
    Check(Encode<ByteBufferStreamWriter>(decoded) == encoded,
          "written bytes decode to a value that writes the same bytes");
  }
}

void FuzzDecodeCall(const uint8_t* data, size_t size) {
  auto call = StandardMethodCodec::SharedInstance().DecodeCall(data, size);
  if (call) Check(call->arguments() != nullptr, "a call has arguments");
}

class AnswerCounter : public MethodResult {
 public:
  int answers = 0;

 protected:
  void DoSuccess(const EncodableValue* result) override {
    ++answers;
    Check(!result || !result->IsNull(), "null is passed as no result");
  }
  void DoError(const std::string&, const std::string&,
               const EncodableValue* details) override {
    ++answers;
    Check(!details || !details->IsNull(), "null is passed as no details");
  }
  void DoNotImplemented() override { ++answers; }
};

void FuzzDecodeReply(const uint8_t* data, size_t size) {
  AnswerCounter result;
  bool recognised = false;
  try {
    recognised =
        StandardMethodCodec::SharedInstance().DecodeReplyInto(data, size,
                                                              &result);
  } catch (const std::bad_variant_access&) {
    // An error envelope whose code or message has the wrong type.
    Check(size > 0 && data[0] == 1, "only error envelopes raise");
    Check(result.answers == 0, "a raising envelope is not answered");
    return;
  }
  Check(recognised == (size == 0 || data[0] <= 1),
        "envelopes 0 and 1 are recognised, others not");
  Check(result.answers == (recognised ? 1 : 0),
        "a recognised envelope is answered once");
}

}  // namespace
}  // namespace flutter

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::cerr.rdbuf(&flutter::Log());
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  flutter::FuzzSerializer(data, size);
  flutter::FuzzDecodeCall(data, size);
  flutter::FuzzDecodeReply(data, size);
  return 0;
}

// Speed and memory of the codec on the heavy real messages: images sent as
// {"imageBytes": one 32-bit integer per byte of a PNG}, 2,000,000 elements
// for a 4K screenshot and 8,000,000 for a photo; and an 8 MiB byte list.
// Side by side in one run: our encode and decode, msgpack-c++ packing and
// unpacking the same logical data, and memcpy of as many bytes into a new
// buffer, the floor of any decode or encode that builds its result anew.
//
// Only the operation is timed; freeing its result is not (for every row
// alike). Times are the thread's CPU time, page faults included, so that
// other work on a shared machine does not count. Memory counters come from one untimed run:
//   result_bytes_per_element  heap bytes the result keeps
//   peak_over_result          highest heap use during the run over that
//   allocations               malloc calls made by the run
// bench/run.sh runs this with the default allocator and with a warm heap
// and turns the output into the table of bench/README.md.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <msgpack.hpp>
#include <string>
#include <utility>
#include <vector>

#include "bench/allocation_counter.h"
#include "codec/encodable_value.h"
#include "codec/standard_codec_serializer.h"

namespace {

using flutter::ByteBufferStreamReader;
using flutter::ByteBufferStreamWriter;
using flutter::EncodableList;
using flutter::EncodableMap;
using flutter::EncodableValue;
using flutter::StandardCodecSerializer;
using Bytes = std::vector<uint8_t>;

constexpr int64_t kScreenshotPng = 2'000'000;
constexpr int64_t kPhotoPng = 8'000'000;
constexpr int64_t kByteList = 8 << 20;

// Compressed data looks random: every byte value, in no order.
Bytes PngLikeBytes(size_t count) {
  Bytes bytes(count);
  uint32_t state = 0x9E3779B9u;
  for (uint8_t& byte : bytes) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    byte = static_cast<uint8_t>(state >> 24);
  }
  return bytes;
}

EncodableValue ImageMessage(const Bytes& png) {
  EncodableList numbers;
  numbers.reserve(png.size());
  for (uint8_t byte : png) numbers.emplace_back(int32_t{byte});
  EncodableMap map;
  map[EncodableValue("imageBytes")] = EncodableValue(std::move(numbers));
  return EncodableValue(std::move(map));
}

Bytes Encode(const EncodableValue& value) {
  Bytes bytes;
  ByteBufferStreamWriter writer(&bytes);
  StandardCodecSerializer::SharedInstance().WriteValue(value, &writer);
  return bytes;
}

EncodableValue Decode(const Bytes& bytes) {
  ByteBufferStreamReader reader(bytes.data(), bytes.size());
  return StandardCodecSerializer::SharedInstance().ReadTaggedValue(&reader);
}

// The same logical data in msgpack-c++'s natural form.
using MsgpackImage = std::map<std::string, std::vector<int32_t>>;

MsgpackImage MsgpackImageOf(const Bytes& png) {
  return {{"imageBytes", std::vector<int32_t>(png.begin(), png.end())}};
}

msgpack::sbuffer MsgpackPack(const MsgpackImage& image) {
  msgpack::sbuffer buffer;
  msgpack::pack(buffer, image);
  return buffer;
}

// Runs `make` once, untimed, and records the heap its result keeps and the
// peak on the way there.
template <typename Make>
void CountMemory(benchmark::State& state, int64_t elements, Make make) {
  const auto before = allocation_counter::Now();
  allocation_counter::ResetPeak();
  auto result = make();
  const auto after = allocation_counter::Now();
  const double kept = static_cast<double>(after.live_bytes - before.live_bytes);
  state.counters["result_bytes_per_element"] = kept / elements;
  state.counters["peak_over_result"] =
      static_cast<double>(after.peak_bytes - before.live_bytes) / kept;
  state.counters["allocations"] =
      static_cast<double>(after.allocations - before.allocations);
}

void SetPerElement(benchmark::State& state, int64_t elements) {
  state.counters["ns_per_element"] = benchmark::Counter(
      static_cast<double>(elements),
      benchmark::Counter::kIsIterationInvariantRate |
          benchmark::Counter::kInvert);
}

// Times `make` and frees its result outside the timed part.
template <typename Make>
void TimeUnfreed(benchmark::State& state, Make make) {
  for (auto _ : state) {
    auto result = make();
    benchmark::DoNotOptimize(result);
    benchmark::ClobberMemory();
    state.PauseTiming();
    { auto discard = std::move(result); }
    state.ResumeTiming();
  }
}

void OursEncode(benchmark::State& state) {
  const EncodableValue message = ImageMessage(PngLikeBytes(state.range(0)));
  CountMemory(state, state.range(0), [&] { return Encode(message); });
  Bytes once = Encode(message);
  state.counters["exactly_sized"] = once.capacity() == once.size();
  TimeUnfreed(state, [&] { return Encode(message); });
  SetPerElement(state, state.range(0));
}

void OursDecode(benchmark::State& state) {
  const Bytes bytes = Encode(ImageMessage(PngLikeBytes(state.range(0))));
  CountMemory(state, state.range(0), [&] { return Decode(bytes); });
  TimeUnfreed(state, [&] { return Decode(bytes); });
  SetPerElement(state, state.range(0));
}

void MsgpackPackImage(benchmark::State& state) {
  const MsgpackImage image = MsgpackImageOf(PngLikeBytes(state.range(0)));
  CountMemory(state, state.range(0), [&] { return MsgpackPack(image); });
  TimeUnfreed(state, [&] { return MsgpackPack(image); });
  SetPerElement(state, state.range(0));
}

void MsgpackUnpackImage(benchmark::State& state) {
  const msgpack::sbuffer packed =
      MsgpackPack(MsgpackImageOf(PngLikeBytes(state.range(0))));
  auto unpack = [&] { return msgpack::unpack(packed.data(), packed.size()); };
  CountMemory(state, state.range(0), unpack);
  TimeUnfreed(state, unpack);
  SetPerElement(state, state.range(0));
}

// memcpy of `bytes` into a new buffer, reported per `elements`.
void MemcpyInto(benchmark::State& state, size_t bytes, int64_t elements) {
  const Bytes source = PngLikeBytes(bytes);
  auto copy = [&] {
    std::unique_ptr<uint8_t[]> target(new uint8_t[bytes]);  // not zeroed
    std::memcpy(target.get(), source.data(), bytes);
    return target;
  };
  CountMemory(state, elements, copy);
  TimeUnfreed(state, copy);
  SetPerElement(state, elements);
}

// As many bytes as the decoded list of values holds.
void MemcpyTree(benchmark::State& state) {
  MemcpyInto(state, state.range(0) * sizeof(EncodableValue), state.range(0));
}

// As many bytes as the encoded message holds.
void MemcpyMessage(benchmark::State& state) {
  const size_t size =
      Encode(ImageMessage(PngLikeBytes(state.range(0)))).size();
  MemcpyInto(state, size, state.range(0));
}

void OursEncodeByteList(benchmark::State& state) {
  const EncodableValue list(PngLikeBytes(state.range(0)));
  CountMemory(state, state.range(0), [&] { return Encode(list); });
  Bytes once = Encode(list);
  state.counters["exactly_sized"] = once.capacity() == once.size();
  TimeUnfreed(state, [&] { return Encode(list); });
  SetPerElement(state, state.range(0));
}

void OursDecodeByteList(benchmark::State& state) {
  const Bytes bytes = Encode(EncodableValue(PngLikeBytes(state.range(0))));
  CountMemory(state, state.range(0), [&] { return Decode(bytes); });
  TimeUnfreed(state, [&] { return Decode(bytes); });
  SetPerElement(state, state.range(0));
}

void MemcpyByteList(benchmark::State& state) {
  MemcpyInto(state, state.range(0), state.range(0));
}

void ImageSizes(benchmark::internal::Benchmark* b) {
  b->Arg(kScreenshotPng)->Arg(kPhotoPng)->Unit(benchmark::kMillisecond);
}

BENCHMARK(OursEncode)->Apply(ImageSizes);
BENCHMARK(MsgpackPackImage)->Apply(ImageSizes);
BENCHMARK(MemcpyMessage)->Apply(ImageSizes);
BENCHMARK(OursDecode)->Apply(ImageSizes);
BENCHMARK(MsgpackUnpackImage)->Apply(ImageSizes);
BENCHMARK(MemcpyTree)->Apply(ImageSizes);
BENCHMARK(OursEncodeByteList)->Arg(kByteList)->Unit(benchmark::kMillisecond);
BENCHMARK(OursDecodeByteList)->Arg(kByteList)->Unit(benchmark::kMillisecond);
BENCHMARK(MemcpyByteList)->Arg(kByteList)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

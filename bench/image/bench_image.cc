// Image benchmark, run under Wine (or Windows): for one 3840 x 2160 image,
// in one process and one run,
//   copyImage end to end (the encoded call delivered to the plug-in DLL
//   through the engine stand-in, the envelope back) against GDI+ decoding
//   the same PNG alone, and
//   pasteImage end to end against GDI+ encoding the same bitmap to PNG
//   alone;
// then where the time of each operation goes (its steps run one by one in
// this process), and the memory that each phase adds at its peak.
//
//   bench_image.exe [REPETITIONS]   (default 5; medians are reported)

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// psapi.h needs windows.h first.
#include <psapi.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "channels/method_call.h"
#include "codec/encodable_value.h"
#include "codec/standard_method_codec.h"
#include "host/standin/standin_engine.h"
#include "plugin/clipboard_plugin.h"
#include "plugin/dib_block.h"
#include "plugin/gdiplus_session.h"
#include "plugin/image_decoding.h"
#include "plugin/image_operations.h"
#include "plugin/image_paste_sources.h"
#include "plugin/image_png.h"
#include "plugin/win_handles.h"

namespace {

using clipboard::BitmapPtr;
using clipboard::ComPtr;
using clipboard::GdiplusSession;
using clipboard::MakeBitmap;
using Bytes = std::vector<uint8_t>;

constexpr int kWidth = 3840;
constexpr int kHeight = 2160;
constexpr char kChannel[] = "net.vostrine.clipboard/methods";

// A photo-like picture: smooth gradients with a little noise, so that the
// PNG is neither trivially small nor incompressible.
std::vector<uint32_t> PhotoLikePixels() {
  std::vector<uint32_t> pixels(size_t{1} * kWidth * kHeight);
  uint32_t noise = 12345;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      noise = noise * 1103515245u + 12345u;
      const uint32_t jitter = (noise >> 16) & 7;
      const uint32_t red = (x * 255 / kWidth + jitter) & 0xFF;
      const uint32_t green = (y * 255 / kHeight + jitter) & 0xFF;
      const uint32_t blue = ((x + y) / 24 + jitter) & 0xFF;
      pixels[size_t{1} * y * kWidth + x] =
          0xFF000000u | red << 16 | green << 8 | blue;
    }
  }
  return pixels;
}

BitmapPtr BitmapOf(const std::vector<uint32_t>& pixels) {
  BitmapPtr bitmap = MakeBitmap(kWidth, kHeight, PixelFormat32bppARGB);
  if (!bitmap) return nullptr;
  Gdiplus::Rect whole(0, 0, kWidth, kHeight);
  Gdiplus::BitmapData data{};
  if (bitmap->LockBits(&whole, Gdiplus::ImageLockModeWrite,
                       PixelFormat32bppARGB, &data) != Gdiplus::Ok) {
    return nullptr;
  }
  for (int y = 0; y < kHeight; ++y) {
    std::memcpy(static_cast<uint8_t*>(data.Scan0) + data.Stride * y,
                pixels.data() + size_t{1} * y * kWidth, 4 * kWidth);
  }
  bitmap->UnlockBits(&data);
  return bitmap;
}

CLSID PngEncoder() {
  CLSID clsid{};
  CLSIDFromString(L"{557CF406-1A04-11D3-9A73-0000F81EF32E}", &clsid);
  return clsid;
}

// The PNG of `bitmap`, as GDI+'s encoder writes it.
Bytes EncodePng(Gdiplus::Bitmap& bitmap) {
  ComPtr<IStream> stream;
  if (CreateStreamOnHGlobal(nullptr, TRUE, stream.put()) != S_OK) return {};
  const CLSID encoder = PngEncoder();
  if (bitmap.Save(stream.get(), &encoder, nullptr) != Gdiplus::Ok) return {};
  STATSTG stat{};
  stream->Stat(&stat, STATFLAG_NONAME);
  Bytes png(static_cast<size_t>(stat.cbSize.QuadPart));
  LARGE_INTEGER start{};
  stream->Seek(start, STREAM_SEEK_SET, nullptr);
  ULONG read = 0;
  stream->Read(png.data(), static_cast<ULONG>(png.size()), &read);
  png.resize(read);
  return png;
}

// GDI+ alone, decoding: the PNG from memory into 32bpp ARGB pixels. The
// work that copyImage cannot avoid. GDI+ is running already.
bool GdiplusDecodeAlone(const Bytes& png) {
  ComPtr<IStream> stream;
  if (CreateStreamOnHGlobal(nullptr, TRUE, stream.put()) != S_OK) return false;
  ULONG written = 0;
  stream->Write(png.data(), static_cast<ULONG>(png.size()), &written);
  LARGE_INTEGER start{};
  stream->Seek(start, STREAM_SEEK_SET, nullptr);
  BitmapPtr bitmap = MakeBitmap(stream.get(), FALSE);
  if (!bitmap) return false;
  Gdiplus::Rect whole(0, 0, kWidth, kHeight);
  Gdiplus::BitmapData data{};
  if (bitmap->LockBits(&whole, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB,
                       &data) != Gdiplus::Ok) {
    return false;
  }
  bitmap->UnlockBits(&data);
  return true;
}

Bytes EncodeCall(const std::string& method,
                 const flutter::EncodableValue& args) {
  flutter::MethodCall call(method,
                           std::make_unique<flutter::EncodableValue>(args));
  return *flutter::StandardMethodCodec::SharedInstance().EncodeCall(call);
}

double Seconds() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / frequency.QuadPart;
}

// The largest working set seen while `work` runs, less the working set
// before it, sampled every millisecond by a second thread. The sampling
// runs are separate from the timed ones.
class MemorySampler {
 public:
  static double AddedMegabytes(const std::function<bool()>& work) {
    MemorySampler sampler;
    const size_t before = WorkingSet();
    sampler.peak_ = before;
    HANDLE thread = CreateThread(nullptr, 0, Sample, &sampler, 0, nullptr);
    work();
    InterlockedExchange(&sampler.stop_, 1);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    sampler.peak_ = std::max(sampler.peak_, WorkingSet());
    return (sampler.peak_ - before) / 1048576.0;
  }

 private:
  static size_t WorkingSet() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    return counters.WorkingSetSize;
  }
  static DWORD WINAPI Sample(void* self) {
    auto* sampler = static_cast<MemorySampler*>(self);
    while (InterlockedCompareExchange(&sampler->stop_, 0, 0) == 0) {
      sampler->peak_ = std::max(sampler->peak_, WorkingSet());
      Sleep(1);
    }
    return 0;
  }

  volatile LONG stop_ = 0;
  size_t peak_ = 0;
};

double MedianMilliseconds(int repetitions, const std::function<bool()>& work) {
  std::vector<double> times;
  for (int i = 0; i < repetitions; ++i) {
    const double start = Seconds();
    if (!work()) {
      std::fprintf(stderr, "a run failed\n");
      std::exit(1);
    }
    times.push_back((Seconds() - start) * 1000);
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

void PutBitmapOnClipboard(HBITMAP bitmap) {
  if (!OpenClipboard(nullptr)) return;
  EmptyClipboard();
  if (!SetClipboardData(CF_BITMAP, bitmap)) DeleteObject(bitmap);
  CloseClipboard();
}

// A screen-compatible bitmap holding `pixels`.
HBITMAP ScreenBitmapOf(const std::vector<uint32_t>& pixels) {
  clipboard::ScreenDc screen;
  HBITMAP bitmap = CreateCompatibleBitmap(screen.get(), kWidth, kHeight);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = kWidth;
  info.bmiHeader.biHeight = -kHeight;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  SetDIBits(screen.get(), bitmap, 0, kHeight, pixels.data(), &info,
            DIB_RGB_COLORS);
  return bitmap;
}

// One timed step of an operation, for the breakdown.
struct Step {
  const char* name;
  double milliseconds;
};

double Time(const std::function<void()>& work) {
  const double start = Seconds();
  work();
  return (Seconds() - start) * 1000;
}

// copyImage's steps: the codec's decoding of the call, the byte vector, the
// clipboard write (GDI+ decoding, the DIB block and SetClipboardData), and
// freeing the decoded call.
std::vector<Step> CopySteps(const Bytes& call_bytes) {
  const auto& codec = flutter::StandardMethodCodec::SharedInstance();
  std::unique_ptr<flutter::MethodCall> call;
  std::vector<uint8_t> bytes;
  std::vector<Step> steps;
  steps.push_back({"decode the call (codec)", Time([&] {
                     call =
                         codec.DecodeCall(call_bytes.data(), call_bytes.size());
                   })});
  steps.push_back(
      {"ImageBytesFromList", Time([&] {
         const auto& arguments =
             flutter::get<flutter::EncodableMap>(*call->arguments());
         bytes = clipboard::ImageBytesFromList(
             flutter::get<flutter::EncodableList>(arguments.begin()->second));
       })});
  GdiplusSession gdiplus;  // kept, so that the steps below are GDI+'s own
  clipboard::DecodedImage image;
  clipboard::UniqueHGlobal block;
  OpenClipboard(nullptr);
  EmptyClipboard();
  steps.push_back({"GDI+ decoding (DecodeImageBytes)",
                   Time([&] { image = clipboard::DecodeImageBytes(bytes); })});
  steps.push_back({"DIB block (LockBits and copy)", Time([&] {
                     block = clipboard::Dib32BlockFromBitmap(*image.bitmap);
                   })});
  steps.push_back({"SetClipboardData", Time([&] {
                     clipboard::HandOverToClipboard(CF_DIB, block);
                   })});
  CloseClipboard();
  steps.push_back({"free the decoded call", Time([&] { call.reset(); })});
  return steps;
}

// pasteImage's steps: finding the image (the bitmap source: BitBlt and
// GDI+ taking the handle), PNG encoding, the answer's list, the envelope.
std::vector<Step> PasteSteps() {
  std::vector<Step> steps;
  GdiplusSession gdiplus;
  BitmapPtr candidate;
  std::vector<uint8_t> png;
  flutter::EncodableValue answer;
  std::unique_ptr<std::vector<uint8_t>> envelope;
  steps.push_back({"bitmap source (copy, GDI+ takes it)",
                   Time([&] { candidate = clipboard::FindClipboardImage(); })});
  steps.push_back({"GDI+ PNG encoding (EncodePng)",
                   Time([&] { clipboard::EncodePng(*candidate, &png); })});
  steps.push_back({"the answer's list of int32", Time([&] {
                     flutter::EncodableList list;
                     list.reserve(png.size());
                     for (uint8_t byte : png) {
                       list.emplace_back(static_cast<int32_t>(byte));
                     }
                     flutter::EncodableMap map;
                     map.emplace(flutter::EncodableValue("imageBytes"),
                                 flutter::EncodableValue(std::move(list)));
                     answer = flutter::EncodableValue(std::move(map));
                   })});
  steps.push_back({"encode the envelope (codec)", Time([&] {
                     envelope = flutter::StandardMethodCodec::SharedInstance()
                                    .EncodeSuccessReply(&answer);
                   })});
  steps.push_back({"free the answer", Time([&] {
                     answer = flutter::EncodableValue();
                     envelope.reset();
                   })});
  return steps;
}

void PrintSteps(const char* operation, const std::vector<Step>& steps) {
  std::printf("\n%s, step by step (one run):\n\n| %-38s | %9s |\n|%s|%s|\n",
              operation, "step", "ms", std::string(40, '-').c_str(),
              std::string(11, '-').c_str());
  for (const Step& step : steps) {
    std::printf("| %-38s | %9.1f |\n", step.name, step.milliseconds);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;

  const std::vector<uint32_t> pixels = PhotoLikePixels();
  Bytes png;
  {
    GdiplusSession gdiplus;
    BitmapPtr bitmap = BitmapOf(pixels);
    if (bitmap) png = EncodePng(*bitmap);
  }
  if (png.empty()) {
    std::fprintf(stderr, "could not make the PNG\n");
    return 1;
  }
  Bytes copy_call;
  {
    flutter::EncodableList list;
    list.reserve(png.size());
    for (uint8_t byte : png) list.emplace_back(static_cast<int32_t>(byte));
    flutter::EncodableMap arguments;
    arguments.emplace(flutter::EncodableValue("imageBytes"),
                      flutter::EncodableValue(std::move(list)));
    copy_call = EncodeCall("copyImage", flutter::EncodableValue(arguments));
  }
  const Bytes paste_call = EncodeCall("pasteImage", flutter::EncodableValue());
  HBITMAP screen_bitmap = ScreenBitmapOf(pixels);

  standin::Engine engine;
  ClipboardPluginRegisterWithRegistrar(engine.registrar());
  size_t envelope_size = 0;
  const auto deliver = [&](const Bytes& call) {
    const standin::Response response = engine.Deliver(kChannel, call);
    envelope_size = response.bytes.size();
    return response.state == kStandinResponded && !response.bytes.empty() &&
           response.bytes[0] == 0;  // a success envelope
  };

  // The GDI+ work alone runs with GDI+ started beforehand and a bitmap made
  // beforehand; the operations start GDI+ themselves, so it is shut down
  // while they run.
  struct Phase {
    const char* name;
    double milliseconds;
    double added_megabytes;
  };
  std::vector<Phase> phases;
  {
    GdiplusSession gdiplus;
    const auto work = [&] { return GdiplusDecodeAlone(png); };
    phases.push_back({"GDI+ decoding the PNG alone",
                      MedianMilliseconds(repetitions, work),
                      MemorySampler::AddedMegabytes(work)});
  }
  {
    const auto work = [&] { return deliver(copy_call); };
    phases.push_back({"copyImage end to end",
                      MedianMilliseconds(repetitions, work),
                      MemorySampler::AddedMegabytes(work)});
  }
  const size_t copy_envelope = envelope_size;
  {
    GdiplusSession gdiplus;
    BitmapPtr bitmap =
        MakeBitmap(screen_bitmap, static_cast<HPALETTE>(nullptr));
    const auto work = [&] { return bitmap && !EncodePng(*bitmap).empty(); };
    phases.push_back({"GDI+ encoding the bitmap alone",
                      MedianMilliseconds(repetitions, work),
                      MemorySampler::AddedMegabytes(work)});
  }
  PutBitmapOnClipboard(screen_bitmap);  // the clipboard owns it now
  {
    const auto work = [&] { return deliver(paste_call); };
    phases.push_back({"pasteImage end to end",
                      MedianMilliseconds(repetitions, work),
                      MemorySampler::AddedMegabytes(work)});
  }

  std::printf(
      "image %d x %d, PNG %zu bytes; copyImage call %zu bytes, its "
      "envelope %zu; pasteImage envelope %zu bytes; median of %d\n\n",
      kWidth, kHeight, png.size(), copy_call.size(), copy_envelope,
      envelope_size, repetitions);
  std::printf("| %-38s | %9s | %9s |\n|%s|%s|%s|\n", "phase", "ms", "added MB",
              std::string(40, '-').c_str(), std::string(11, '-').c_str(),
              std::string(11, '-').c_str());
  for (const Phase& phase : phases) {
    std::printf("| %-38s | %9.1f | %9.0f |\n", phase.name, phase.milliseconds,
                phase.added_megabytes);
  }
  std::printf("\ncopyImage / GDI+ decoding alone:  %.2fx (goal 1.30x)\n",
              phases[1].milliseconds / phases[0].milliseconds);
  std::printf("pasteImage / GDI+ encoding alone: %.2fx (goal 1.15x)\n",
              phases[3].milliseconds / phases[2].milliseconds);

  PrintSteps("copyImage", CopySteps(copy_call));
  PrintSteps("pasteImage", PasteSteps());
  return 0;
}

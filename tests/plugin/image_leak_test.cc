// Repeated copyImage and pasteImage calls, on success and failure paths,
// leave the process's GDI objects, handles and memory where they were.
//
// What each platform shows: Windows reports GDI objects (GetGuiResources),
// kernel handles (GetProcessHandleCount) and committed private memory
// (PagefileUsage). Wine 8 reports 0 for the first two, and its
// PagefileUsage is the resident set; GDI objects live outside the Windows
// heaps there, so a leaked DC or bitmap shows only in that figure. The bytes
// in use on the process heaps (HeapWalk) hold global blocks, COM streams and
// GDI+ objects on both.
//
// Wine 8 itself keeps about 1 KiB of heap for every GetClipboardData that
// returns data, for good. So each scenario first measures the same reads
// done bare, and only growth beyond that counts. (Wine's PNG decoder also
// keeps 512 bytes for each truncated PNG that it fails on, so the failing
// copy uses bytes that no decoder takes.)

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// psapi.h needs windows.h first.
#include <psapi.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "plugin/image_operations.h"
#include "tests/plugin/clipboard_probe.h"
#include "tests/plugin/image_test_support.h"
#include "tests/plugin/recording_result.h"

namespace clipboard_test {
namespace {

struct Usage {
  DWORD gdi_objects = 0;
  DWORD handles = 0;
  int64_t heap_bytes = 0;
  int64_t memory = 0;
};

int64_t HeapBytesInUse() {
  HANDLE heaps[256];
  const DWORD count = GetProcessHeaps(256, heaps);
  int64_t bytes = 0;
  for (DWORD i = 0; i < count && i < 256; ++i) {
    if (!HeapLock(heaps[i])) continue;
    PROCESS_HEAP_ENTRY entry{};
    while (HeapWalk(heaps[i], &entry)) {
      if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) bytes += entry.cbData;
    }
    HeapUnlock(heaps[i]);
  }
  return bytes;
}

Usage CurrentUsage() {
  Usage usage;
  usage.gdi_objects = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  GetProcessHandleCount(GetCurrentProcess(), &usage.handles);
  usage.heap_bytes = HeapBytesInUse();
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof(counters);
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
  usage.memory = static_cast<int64_t>(counters.PagefileUsage);
  return usage;
}

Answer::Kind Call(void (*operation)(std::unique_ptr<flutter::MethodResult>)) {
  Answer answer;
  operation(std::make_unique<RecordingResult>(&answer));
  return answer.kind;
}

// 64 x 64 pixels: 16 KiB a bitmap or block, so that one left behind per
// call adds megabytes over the run.
constexpr int kSide = 64;
constexpr int kCalls = 300;
// Far below one leaked block, GDI+ bitmap or bitmap per call; above the
// small drift of a heap that is only reused.
constexpr int64_t kHeapSlack = 8 * 1024;
constexpr int64_t kMemorySlack = 256 * 1024;

struct Scenario {
  const char* name;
  std::function<void()> prepare;  // places the clipboard content once
  std::function<Answer::Kind()> call;
  Answer::Kind expected;
  std::vector<UINT> reads;  // formats the call asks GetClipboardData for
};

Usage Growth(const Usage& before, const Usage& after) {
  return {after.gdi_objects - before.gdi_objects,
          after.handles - before.handles, after.heap_bytes - before.heap_bytes,
          after.memory - before.memory};
}

// What the platform keeps for `calls` rounds of the clipboard reads alone.
Usage BareReadGrowth(const std::vector<UINT>& formats, int calls) {
  const Usage before = CurrentUsage();
  for (int i = 0; i < calls; ++i) {
    if (!OpenClipboard(nullptr)) continue;
    for (UINT format : formats) GetClipboardData(format);
    CloseClipboard();
  }
  return Growth(before, CurrentUsage());
}

class ImageLeakTest : public ::testing::Test {
 protected:
  void TearDown() override { EmptyTheClipboard(); }

  static void Run(const Scenario& scenario) {
    SCOPED_TRACE(scenario.name);
    scenario.prepare();
    BareReadGrowth(scenario.reads, 20);
    const Usage platform = BareReadGrowth(scenario.reads, kCalls);
    // Warm-up: first-use allocations of GDI+, COM and the heaps. The last
    // call leaves the clipboard as the last measured call will.
    for (int i = 0; i < 20; ++i) ASSERT_EQ(scenario.call(), scenario.expected);
    const Usage before = CurrentUsage();
    for (int i = 0; i < kCalls; ++i) {
      ASSERT_EQ(scenario.call(), scenario.expected) << "call " << i;
    }
    const Usage growth = Growth(before, CurrentUsage());
    EXPECT_EQ(growth.gdi_objects, 0u);
    EXPECT_EQ(growth.handles, 0u);
    EXPECT_LT(growth.heap_bytes - platform.heap_bytes, kHeapSlack)
        << "platform's share " << platform.heap_bytes;
    EXPECT_LT(growth.memory - platform.memory, kMemorySlack)
        << "platform's share " << platform.memory;
  }

  TempFolder folder_;
};

Answer::Kind CopyImageOf(const flutter::EncodableList& list) {
  const flutter::EncodableMap arguments = {
      {flutter::EncodableValue("imageBytes"), flutter::EncodableValue(list)}};
  Answer answer;
  clipboard::CopyImage(&arguments, std::make_unique<RecordingResult>(&answer));
  return answer.kind;
}

TEST_F(ImageLeakTest, CopyImage) {
  const flutter::EncodableList png =
      IntList(EncodeWithGdiplus(PatternImage(kSide, kSide), L"image/png"));
  const flutter::EncodableList junk = IntList(Bytes(4096, 0x5A));
  const Bytes png_bytes =
      EncodeWithGdiplus(PatternImage(kSide, kSide), L"image/png");
  // Without the clipboard open, SetClipboardData refuses the block.
  const auto refused = [&] {
    return clipboard::PutImageBytesOnClipboard(png_bytes)
               ? Answer::Kind::kSuccess
               : Answer::Kind::kError;
  };
  const Scenario scenarios[] = {
      {"decoded and placed",
       [] {},
       [&] { return CopyImageOf(png); },
       Answer::Kind::kSuccess,
       {}},
      {"undecodable",
       [] {},
       [&] { return CopyImageOf(junk); },
       Answer::Kind::kError,
       {}},
      {"block refused by the clipboard",
       [] {},
       refused,
       Answer::Kind::kError,
       {}},
  };
  for (const Scenario& scenario : scenarios) Run(scenario);
}

TEST_F(ImageLeakTest, PasteImage) {
  const Image image = PatternImage(kSide, kSide);
  const Bytes png = EncodeWithGdiplus(image, L"image/png");
  const std::wstring good = folder_.Write(L"good.png", png);
  const std::wstring text = folder_.Write(L"a.txt", BytesOf("text"));
  const std::wstring jfif =
      folder_.Write(L"photo.jfif", EncodeWithGdiplus(image, L"image/jpeg"));
  const Bytes dib =
      PackedDib({40, kSide, kSide, 32}, Bytes(4 * kSide * kSide, 0x7F));
  const Bytes refused = PackedDib({40, kSide, kSide, 32}, Bytes(100, 0x7F));
  const auto paste = [] { return Call(clipboard::PasteImage); };
  const Scenario scenarios[] = {
      {"bitmap",
       [&] { PutBitmap(image); },
       paste,
       Answer::Kind::kSuccess,
       {CF_BITMAP}},
      {"device-independent bitmap",
       [&] {
         PutBlocksWithoutBitmap({{CF_DIBV5, dib}});
       },
       paste,
       Answer::Kind::kSuccess,
       {CF_BITMAP, CF_DIBV5}},
      {"refused block, then files skipped and one taken",
       [&] {
         PutBlocksWithoutBitmap(
             {{CF_DIBV5, refused}, {CF_HDROP, FileList({text, jfif, good})}});
       },
       paste,
       Answer::Kind::kSuccess,
       {CF_BITMAP, CF_DIBV5, CF_HDROP}},
      {"files that all fail",
       [&] {
         PutBlock(CF_HDROP, FileList({text, jfif}));
       },
       paste,
       Answer::Kind::kError,
       {CF_HDROP}},
      {"nothing", [] { EmptyTheClipboard(); }, paste, Answer::Kind::kError, {}},
  };
  for (const Scenario& scenario : scenarios) Run(scenario);
}

}  // namespace
}  // namespace clipboard_test

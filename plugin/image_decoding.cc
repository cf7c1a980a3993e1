#include "plugin/image_decoding.h"

#include <cstring>

namespace clipboard {

namespace {

// A movable block holding a copy of `bytes`; empty on failure.
UniqueHGlobal CopyToMovableBlock(const std::vector<uint8_t>& bytes) {
  UniqueHGlobal block = AllocateMovable(bytes.size());
  if (!block) return block;
  GlobalLockGuard lock(block.get());
  if (!lock) return UniqueHGlobal();
  std::memcpy(lock.data(), bytes.data(), bytes.size());
  return block;
}

}  // namespace

DecodedImage DecodeImageBytes(const std::vector<uint8_t>& bytes) {
  DecodedImage image;
  UniqueHGlobal block = CopyToMovableBlock(bytes);
  if (!block) return image;
  // With delete-on-release the stream frees the block on its last Release;
  // until the stream exists the block is still ours.
  if (CreateStreamOnHGlobal(block.get(), TRUE, image.stream.put()) != S_OK) {
    image.stream.reset();
    return image;
  }
  block.release();
  image.bitmap = MakeBitmap(image.stream.get(), FALSE);
  return image;
}

}  // namespace clipboard

// The picture header check over arbitrary bytes: it never reads past the
// input, and a size it reports is never negative.
#include "fuzz_support.h"
#include "render/picture_header.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // A copy of exactly `size` bytes, so AddressSanitizer sees any over-read.
  const std::string bytes(tw::fuzz::AsText(data, size));
  if (const auto claimed = tw::render::PictureHeaderSize(bytes)) {
    TW_FUZZ_CHECK(claimed->width >= 0 && claimed->height >= 0);
  }
  return 0;
}

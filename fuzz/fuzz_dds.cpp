// The DDS reader over arbitrary bytes: a failure leaves the image empty; a
// success gives exactly width x height pixels within the size limit.
#include "fuzz_support.h"
#include "render/dds.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tw::render;
  DdsImage image;
  std::string error;
  if (DecodeDds(tw::fuzz::AsText(data, size), image, &error)) {
    TW_FUZZ_CHECK(image.width >= 1 && image.width <= kDdsMaxSide);
    TW_FUZZ_CHECK(image.height >= 1 && image.height <= kDdsMaxSide);
    TW_FUZZ_CHECK(image.argb.size() == static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height));
  } else {
    TW_FUZZ_CHECK(image.argb.empty());
    TW_FUZZ_CHECK(!error.empty());
  }
  return 0;
}

// The keyboard-script parser: any text is a script or one printable error line.
#include "fuzz_support.h"
#include "input/keyboard.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string error;
  const auto events = tw::input::ParseKeyScript(tw::fuzz::AsText(data, size), error);
  if (events) {
    for (const auto& e : *events) {
      TW_FUZZ_CHECK(e.frame >= 0);
      TW_FUZZ_CHECK(e.code > 0 && e.code < 256);
    }
  } else {
    TW_FUZZ_CHECK(!error.empty());
    for (char c : error) TW_FUZZ_CHECK(static_cast<unsigned char>(c) >= 0x20 && c != 0x7f);
  }
  return 0;
}

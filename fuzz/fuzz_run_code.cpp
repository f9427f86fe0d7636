// The run-code decoder: any text is refused with a line or gives a replay
// text that encodes to a code giving the same text again. An input that starts
// with a zero byte (never part of a code) is taken as packed bytes and wrapped
// with a valid checksum, so the fuzzer reaches the unpacking rather than
// stopping at the checksum.
#include "fuzz_support.h"
#include "replay/run_code.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view in = tw::fuzz::AsText(data, size);
  const std::string code = size > 0 && data[0] == 0 ? tw::replay::WrapRunCodeBytes(in.substr(1)) : std::string(in);
  std::string error;
  const auto text = tw::replay::DecodeRunCode(code, error);
  if (!text) {
    TW_FUZZ_CHECK(!error.empty());
    return 0;
  }
  const auto again = tw::replay::EncodeRunCode(*text, error);
  TW_FUZZ_CHECK(again.has_value());
  const auto back = tw::replay::DecodeRunCode(*again, error);
  TW_FUZZ_CHECK(back.has_value() && *back == *text);
  return 0;
}

// The command line: any argument list parses or gives one printable error line.
// Input: arguments separated by NUL bytes.
#include "app/command_line.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> args;
  for (std::string_view a : tw::fuzz::Split(tw::fuzz::AsText(data, size), std::string_view("\0", 1), 64))
    args.emplace_back(a);
  std::string error;
  const auto cl = tw::app::ParseCommandLine(args, error);
  if (cl) {
    if (cl->frames) TW_FUZZ_CHECK(*cl->frames >= 0);
  } else {
    TW_FUZZ_CHECK(!error.empty());
    for (char c : error) TW_FUZZ_CHECK(static_cast<unsigned char>(c) >= 0x20 && c != 0x7f);
  }
  return 0;
}

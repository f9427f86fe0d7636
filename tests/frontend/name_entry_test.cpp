// Typing a name: the key scan, its latches (some shared with the game keys),
// the length limit, Backspace and the confirming keys.
#include "frontend_fixture.h"

#include <tuple>

namespace tw::testing {
namespace {

using NameEntry = FrontendTest;
namespace key = core::key;

void Type(int code) {
  Press(code);
  frontend::TypeName(input::ScanNameKeys());
  Release(code);
  frontend::TypeName(input::ScanNameKeys());
}

TEST_F(NameEntry, DigitsLettersAndSpaceAreTypedOncePerPressInScanOrder) {
  world::TypedName.clear();
  Type(key::B);
  Type(key::O);
  Press(key::Space);
  for (int i = 0; i < 4; ++i) frontend::TypeName(input::ScanNameKeys());  // held: one space only
  Release(key::Space);
  Type(key::D0);
  Type(key::D1 + 8);  // the 9 key
  EXPECT_EQ(world::TypedName, "BO 09");
  // Two keys going down in the same frame come out in the table's order.
  Press(key::Z);
  Press(key::D1 + 2);
  frontend::TypeName(input::ScanNameKeys());
  EXPECT_EQ(std::tuple(world::TypedName, CountSound("key"), world::EndReady), std::tuple("BO 093Z", 7, false));
}

TEST_F(NameEntry, TwentyCharactersAtMostAndBackspaceStopsAtEmpty) {
  world::TypedName = "ABCDEFGHIJKLMNOPQRS";  // 19
  Type(key::T);
  Type(key::U);
  EXPECT_EQ(world::TypedName, "ABCDEFGHIJKLMNOPQRST");
  EXPECT_EQ(CountSound("key"), 1);  // the refused 21st character makes no sound
  for (int i = 0; i < 25; ++i) Type(key::Backspace);
  EXPECT_TRUE(world::TypedName.empty());
  EXPECT_EQ(CountSound("key"), 21);  // 20 erasures, none on the empty name
  frontend::AppendTypedChar('-');
  EXPECT_TRUE(world::TypedName.empty());
}

TEST_F(NameEntry, GameKeyLatchesAreShared) {
  world::TypedName.clear();
  // Space still latched by a bomb in the game is not typed until released.
  core::Controls.BombLatch = true;
  Press(key::Space);
  frontend::TypeName(input::ScanNameKeys());
  EXPECT_EQ(world::TypedName, "");
  Release(key::Space);
  frontend::TypeName(input::ScanNameKeys());
  EXPECT_FALSE(core::Controls.BombLatch);
  // A space typed in the name latches the bomb in turn.
  Press(key::Space);
  frontend::TypeName(input::ScanNameKeys());
  EXPECT_EQ(world::TypedName, " ");
  EXPECT_TRUE(core::Controls.BombLatch);
  Release(key::Space);
  frontend::TypeName(input::ScanNameKeys());
  // E, G and W share the test keys' latches.
  input::KeyLatches.E = true;
  input::KeyLatches.G = true;
  Press(key::E);
  Press(key::G);
  Press(key::W);
  frontend::TypeName(input::ScanNameKeys());
  EXPECT_EQ(world::TypedName, " W");
  EXPECT_TRUE(input::KeyLatches.W);
}

TEST_F(NameEntry, ReturnOrEscapeConfirmOnlyBeforeTheFade) {
  world::EndReady = false;
  world::EndFade = 40;
  Press(key::Return);
  frontend::TypeName(input::ScanNameKeys());
  EXPECT_FALSE(world::EndReady);
  world::EndFade = 0;
  frontend::TypeName(input::ScanNameKeys());
  EXPECT_TRUE(world::EndReady);
  Release(key::Return);
  world::EndReady = false;
  Press(key::Escape);
  frontend::TypeName(input::ScanNameKeys());
  EXPECT_TRUE(world::EndReady);
}

}  // namespace
}  // namespace tw::testing

// The title, the game-over screen and the flow between them, and a whole scripted game
// run twice: with the sound sink recording and with none, to the same pictures.
#include <cstring>
#include "ostel/tests/harness.h"
#include "platform/keys.h"

namespace osteltest {
namespace {

using namespace ostel;

using ScreensTest = OstelTest;

int CountColour(plat::Colour c) {
  int n = 0;
  for (plat::Colour p : frame::backDC.pixels) n += p == c;
  return n;
}

TEST_F(ScreensTest, TheTitleShowsTheWhiteGlyphAndNeedsAFreshClick) {
  frame::gameState = Title;
  frame::mouseDown[0] = 1;  // held since before the title was shown
  for (int i = 0; i < 3; ++i) Step();
  EXPECT_EQ(frame::gameState, Title);
  const int white = CountColour(0xFFFFFF);
  EXPECT_GT(white, 40000);
  EXPECT_EQ(white + CountColour(0), 640 * 480);
  for (int y = 0; y < 480; ++y)
    for (int x : {0, 79, 560, 639}) ASSERT_EQ(frame::backDC.At(x, y), 0u) << x << "," << y;

  frame::mouseDown[0] = 0;
  Step();
  bodies[20].active = 1;
  plat::SleepMs(3000);
  frame::mouseDown[0] = 1;
  Step();
  EXPECT_EQ(frame::gameState, Play);
  EXPECT_EQ(playStart, plat::TimeMs());  // a fresh game
  EXPECT_FALSE(bodies[20].active);

  // Play paints over the title without clearing it first.
  Step();
  EXPECT_GT(CountColour(0xFFFFFF), white / 2);
}

TEST_F(ScreensTest, TheGameOverScreenShowsWholeSecondsOfTheGame) {
  frame::gameState = GameOver;
  auto picture = [](uint32_t start, uint32_t end) {
    playStart = start;
    playEnd = end;
    GameOverStep();
    return frame::backDC.pixels;
  };
  const auto zero = picture(5000, 5000);
  EXPECT_EQ(picture(1000, 1900), zero);               // 0.9 s shows 0
  EXPECT_EQ(picture(0xFFFFFF00u, 0xFFFFFF00u + 999), zero);  // across the clock's wrap
  EXPECT_NE(picture(1000, 2000), zero);
  EXPECT_EQ(picture(1000, 13999), picture(0xFFFFF000u, 0xFFFFF000u + 12000));
  EXPECT_EQ(frame::gameState, GameOver);
}

TEST_F(ScreensTest, TheGameOverScreenReadsTheLeftButtonAsAKeyWithItsOwnLatch) {
  frame::gameState = GameOver;
  // MouseClicked's latch armed and the button down: the screen does not look at it.
  frame::clickArmed[0] = 1;
  frame::mouseDown[0] = 1;
  GameOverStep();
  EXPECT_EQ(frame::gameState, GameOver);
  EXPECT_EQ(frame::clickArmed[0], 1);
  // The button seen up by KeyHit, then pressed: back to the title with a new game.
  GameOverStep();
  Hold({plat::VK_LBUTTON});
  frame::clickArmed[0] = 0;
  player.active = 0;
  GameOverStep();
  EXPECT_EQ(frame::gameState, Title);
  EXPECT_TRUE(player.active);
  EXPECT_EQ(frame::clickArmed[0], 0);
}

TEST_F(ScreensTest, EscapeQuitsFromTheTitleAndTheGameOverScreen) {
  for (int state : {Title, GameOver}) {
    SetUp();
    frame::gameState = state;
    Step();  // Escape seen up
    Hold({kKeyEscape});
    Step();
    EXPECT_EQ(frame::gameState, Quit) << state;
  }
}

// A whole game through the program's own set-up and loop: the title, a click, steering
// and bombs, the fade and the game-over screen.
struct Outcome {
  std::vector<plat::Colour> picture;
  uint32_t random;
  long frames;
};

Outcome PlayScripted(void (*sink)(const char*)) {
  plat::mediaSink = sink;
  plat::Options opts;
  opts.headless = true;
  opts.frames = 900;
  auto event = [&](long frame, plat::ScriptEvent::Kind kind, int vk) {
    plat::ScriptEvent e;
    e.frame = frame;
    e.kind = kind;
    e.vk = vk;
    opts.script.push_back(e);
  };
  event(5, plat::ScriptEvent::Click, 0);
  event(20, plat::ScriptEvent::Down, kKeyRight);
  event(60, plat::ScriptEvent::Up, kKeyRight);
  event(70, plat::ScriptEvent::Down, kKeyX);
  event(71, plat::ScriptEvent::Up, kKeyX);
  event(80, plat::ScriptEvent::Down, kKeyZ);
  event(200, plat::ScriptEvent::Up, kKeyZ);
  EXPECT_TRUE(plat::OpenSystem(opts, plat::WindowConfig{}));
  frame::ResetFrame();
  frame::SeedRandom(7);
  for (Body& b : bodies) b = Body{};
  fireCooldown = 0;
  fadeLevel = 0;
  frame::CreateSurfaces(kSettings);
  frame::gameState = kSettings.firstState;
  kSettings.setup();
  frame::RunLoop(kSettings);
  return {frame::backDC.pixels, frame::randomState, plat::FramesShown()};
}

TEST_F(ScreensTest, AWholeGameLooksTheSameWithAndWithoutSound) {
  const Outcome heard = PlayScripted(Record);
  EXPECT_EQ(frame::gameState, GameOver);
  const Outcome silent = PlayScripted(nullptr);
  EXPECT_EQ(heard.frames, 900);
  EXPECT_TRUE(heard.picture == silent.picture);
  EXPECT_EQ(heard.random, silent.random);
  // The clips are opened once, and each step sends at most one play of each.
  ASSERT_GE(sent.size(), 4u);
  EXPECT_EQ(sent[0], "open data\\throw.wav alias throw");
  EXPECT_EQ(sent[3], "open data\\giveout.wav alias giveout");
  int throws = 0, giveOuts = 0;
  for (const std::string& c : sent) {
    throws += c == "play throw from 0";
    giveOuts += c == "play giveout from 0";
  }
  EXPECT_GE(throws, 2);
  EXPECT_EQ(giveOuts, 1);
}

}  // namespace
}  // namespace osteltest

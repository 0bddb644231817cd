// Shared set-up for quorin's in-process tests: the frame's surfaces (a white texture
// sheet, so the AND keeps every colour block as it is), scripted key state, the game's
// files in a temporary folder.
#pragma once
#include <gtest/gtest.h>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
#include <unistd.h>
#include "platform/options.h"
#include "platform/system.h"
#include "platform/tests/held_keys.h"
#include "quorin/quorin.h"

namespace quorintest {

// Opens the headless system with the given keys held down from now on.
inline void HoldKeys(std::initializer_list<int> vks) { held_keys::Hold(vks); }

inline std::string ReadText(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void WriteText(const std::filesystem::path& p, const std::string& text) {
  std::ofstream(p, std::ios::binary) << text;
}

class QuorinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    HoldKeys({});
    frame::ResetFrame();
    frame::backDC.Create(640, 480);
    quorin::sheetDC.Create(1280, 960);
    for (plat::Colour& c : quorin::sheetDC.pixels) c = 0xFFFFFF;
    quorin::titleDC.Create(640, 480);
    frame::SeedRandom(12345);
    dir = std::filesystem::temp_directory_path() /
          ("quorin_test_" + std::to_string(::getpid()) + "_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    optionFile = (dir / "option.txt").string();
    recordFile = (dir / "die.txt").string();
    quorin::optionPath = optionFile.c_str();
    quorin::recordPath = recordFile.c_str();
    quorin::brightness = 4.0f;
    quorin::popupWindow = false;
    quorin::cues.marked = 0;
    plat::mediaSink = nullptr;
    quorin::ResetGame();
    frame::gameState = quorin::Playing;
  }

  void TearDown() override {
    plat::mediaSink = plat::SoundCommand;
    quorin::optionPath = "option.txt";
    quorin::recordPath = "die.txt";
    plat::CloseSystem();
    std::filesystem::remove_all(dir);
  }

  // Runs frames of play until the phase changes or the limit is reached; returns how many.
  static int PlayUntilPhase(int phase, int limit = 1000) {
    for (int n = 1; n <= limit; ++n) {
      quorin::Step();
      if (quorin::descentPhase == phase) return n;
    }
    return -1;
  }

  // Plays one whole level (fall, landing, rise) up to the frame that starts the next.
  static void PlayLevel() {
    const int level = quorin::levelCounter;
    for (int n = 0; n < 200 && quorin::levelCounter == level; ++n) quorin::Step();
  }

  // A click on the title: one frame with the button up, one with it down, then released.
  static void ClickTitle() {
    frame::mouseDown[0] = 0;
    quorin::Step();
    frame::mouseDown[0] = 1;
    quorin::Step();
    frame::mouseDown[0] = 0;
  }

  static void FlattenGround(int h) {
    for (auto& column : quorin::heightMap)
      for (int& v : column) v = h;
  }

  std::filesystem::path dir;
  std::string optionFile, recordFile;
};

}  // namespace quorintest

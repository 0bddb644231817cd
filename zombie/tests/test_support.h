// Shared pieces of the zombie tests: a headless system, data files in a temporary
// folder, a reference of the runtime's random generator and mouse helpers.
#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <gtest/gtest.h>
#include "frame/frame.h"
#include "zombie/zombie.h"

namespace ztest {

// The program's settings without the start-up check.
const frame::FrameSettings& Settings();

// Opens the headless system with the given input script and drains the events of
// frame 1 into the frame's input globals.
void OpenWithKeys(const std::string& script);

// A temporary folder holding data/people.txt, data/stage.txt and data/story.txt; the
// working directory is the folder while the object lives.
class TempData {
 public:
  TempData(const std::string& people, const std::string& stage, const std::string& story);
  ~TempData();
  void Write(const std::string& name, const std::string& text);  // data/NAME
  void Remove(const std::string& name);
  const std::filesystem::path& Dir() const { return dir_; }

 private:
  std::filesystem::path dir_;
  std::filesystem::path previous_;
};

// Sixteen people "P1" to "P16": hp 100, slaughter 10, courage 50; P2 is protected.
std::string PlainPeople();
// Five identical stage lines: 1,2,3,4,0,5,0,0,0,0,0,0.
std::string PlainStage();
// Chapters 0 to 2: T0 a0 b0 c0 T1 a1 b1 c1 T2 a2 b2 c2.
std::string PlainStory();

// The runtime's generator, computed independently.
struct Lcg {
  uint32_t state;
  static Lcg Seeded(uint32_t seed) {
    Lcg r{seed};
    r.Next();
    return r;
  }
  int Next() {
    state = state * 22695477u + 1u;
    return static_cast<int>((state >> 16) & 0x7FFF);
  }
  int Below(int n) { return Next() % n; }
  int Vary(int v) { return v * (Below(50) + 75) / 100; }
};

// Presses the left button over the centre of a label of n bytes at (x, y).
void PressOn(int x, int y, int n);
void Release();

// A fresh frame and game: headless system, surfaces from the build folder, random
// seed 1, all zombie state zero.
class ZombieTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
};

// ZombieTest with the plain data files, a new game and chapter 1's stage set up.
class StageTest : public ZombieTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  TempData* data = nullptr;
};

bool Contains(const std::string& text, const std::string& part);

}  // namespace ztest

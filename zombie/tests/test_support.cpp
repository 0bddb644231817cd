#include "zombie/tests/test_support.h"
#include <unistd.h>
#include <cstdlib>
#include <fstream>
#include "platform/options.h"
#include "platform/system.h"

namespace ztest {

namespace {

constexpr frame::ImageLoad kImages[] = {{"data\\back.bmp", 3}, {"data\\chara.bmp", 4}};

constexpr frame::FrameSettings kSettings = {
    .name = "zombie",
    .caption = "Morvane",
    .frameBudget = 16,
    .firstState = zombie::Title,
    .images = kImages,
    .imageCount = 2,
    .step = zombie::Step,
};

}  // namespace

const frame::FrameSettings& Settings() { return kSettings; }

void OpenWithKeys(const std::string& script) {
  plat::Options opts;
  opts.headless = true;
  opts.mute = true;
  std::string error;
  ASSERT_TRUE(plat::ParseScript(script, "keys", opts.script, error)) << error;
  plat::WindowConfig config;
  ASSERT_TRUE(plat::OpenSystem(opts, config));
  plat::Event e;
  while (plat::PollEvent(e)) frame::WindowProc(kSettings, e);
}

TempData::TempData(const std::string& people, const std::string& stage, const std::string& story) {
  char name[] = "/tmp/zombie_test_XXXXXX";
  dir_ = mkdtemp(name);
  std::filesystem::create_directories(dir_ / "data");
  previous_ = std::filesystem::current_path();
  std::filesystem::current_path(dir_);
  plat::SetDataFolder(nullptr);  // data from the working directory, this folder
  Write("people.txt", people);
  Write("stage.txt", stage);
  Write("story.txt", story);
}

TempData::~TempData() {
  std::filesystem::current_path(previous_);
  std::error_code ec;
  std::filesystem::remove_all(dir_, ec);
}

void TempData::Write(const std::string& name, const std::string& text) {
  std::ofstream(dir_ / "data" / name, std::ios::binary) << text;
}

void TempData::Remove(const std::string& name) { std::filesystem::remove(dir_ / "data" / name); }

std::string PlainPeople() {
  std::string s;
  for (int k = 1; k <= 16; ++k)
    s += std::string("100,10,50,") + (k == 2 ? "1" : "0") + ",P" + std::to_string(k) + "\n";
  return s;
}

std::string PlainStage() {
  std::string s;
  for (int i = 0; i < 5; ++i) s += "1,2,3,4,0,5,0,0,0,0,0,0\n";
  return s;
}

std::string PlainStory() {
  return "T0 a0 b0 c0\nT1 a1 b1 c1\nT2 a2 b2 c2\nT3 a3 b3 c3\nT4 a4 b4 c4\nT5 a5 b5 c5\n";
}

void PressOn(int x, int y, int n) {
  frame::mouseX = x + 9 * n / 2;
  frame::mouseY = y + 9;
  frame::mouseDown[0] = 1;
}

void Release() { frame::mouseDown[0] = 0; }

void ZombieTest::SetUp() {
  OpenWithKeys("");
  frame::ResetFrame();
  frame::CreateSurfaces(kSettings);
  frame::SeedRandom(1);
  frame::clickArmed[0] = 1;
  zombie::ResetGame();
}

void ZombieTest::TearDown() { plat::CloseSystem(); }

void StageTest::SetUp() {
  ZombieTest::SetUp();
  data = new TempData(PlainPeople(), PlainStage(), PlainStory());
  zombie::InitGame();
  zombie::chapter = 1;
  zombie::LoadStage();
}

void StageTest::TearDown() {
  delete data;
  ZombieTest::TearDown();
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

}  // namespace ztest

// quorin's rules: the option and record files, level generation, the descent and the
// title. Literal constants are doubles, so float updates round once, after the double
// sum, as the old program's arithmetic did.
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "quorin/quorin.h"

namespace quorin {

int life;
int landingScore;
int descentPhase;
int levelCounter;
float camX, camY, camZ;
float fallSpeed;
float driftX, driftY;
float shakeX, shakeY;
float fade;
float brightness;
bool popupWindow;
int heightMap[kMapSize][kMapSize];
TexOrigin texOrigin[kMapSize][kMapSize];
const char* optionPath = "option.txt";
const char* recordPath = "die.txt";

namespace {

// "%d,%f" over the text, checked: an int in range, a comma right after it, a finite
// float. Whatever follows the number is ignored, as the formatted read ignored it.
bool ParseOptions(const char* text, int& flag, float& value, const char*& problem) {
  const char* p = text;
  char* end = nullptr;
  errno = 0;
  const long f = std::strtol(p, &end, 10);
  if (end == p) {
    problem = "it does not start with the window flag (a whole number)";
    return false;
  }
  if (errno == ERANGE || f < INT32_MIN || f > INT32_MAX) {
    problem = "the window flag is too large";
    return false;
  }
  p = end;
  if (*p != ',') {
    problem = "there is no comma right after the window flag";
    return false;
  }
  ++p;
  errno = 0;
  const float b = std::strtof(p, &end);
  if (end == p) {
    problem = "there is no brightness (a number) after the comma";
    return false;
  }
  if (!std::isfinite(b)) {
    problem = "the brightness is not a finite number";
    return false;
  }
  flag = static_cast<int>(f);
  value = b;
  return true;
}

}  // namespace

bool ReadOptions() {
  popupWindow = false;
  brightness = kDefaultBrightness;
  const char* problem = nullptr;
  char text[256] = {};
  std::FILE* f = std::fopen(optionPath, "r");
  if (!f) {
    problem = std::strerror(errno);
  } else {
    const size_t n = std::fread(text, 1, sizeof text - 1, f);
    text[n] = '\0';
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    int flag = 0;
    float value = 0;
    if (failed) {
      problem = "it cannot be read";
    } else if (ParseOptions(text, flag, value, problem)) {
      popupWindow = (flag & 0xFF) != 0;
      brightness = value;
      return true;
    }
  }
  std::fprintf(stderr,
               "quorin: %s: %s; expected \"FLAG,BRIGHTNESS\" such as \"0,%.1f\"; "
               "playing in a window at brightness %.1f\n",
               optionPath, problem, static_cast<double>(kDefaultBrightness),
               static_cast<double>(kDefaultBrightness));
  return false;
}

void ReadSettings(plat::WindowConfig& config) {
  ReadOptions();
  config.popup = popupWindow;
}

bool WriteRecord() {
  std::FILE* f = std::fopen(recordPath, "w");
  if (!f) {
    std::fprintf(stderr, "quorin: %s: cannot write the record of level %d: %s\n", recordPath,
                 levelCounter, std::strerror(errno));
    return false;
  }
  const bool printed = std::fprintf(f, "%d", levelCounter) > 0;
  const int printErrno = errno;
  if (std::fclose(f) != 0 || !printed) {
    std::fprintf(stderr, "quorin: %s: the record of level %d was not written in full: %s\n",
                 recordPath, levelCounter, std::strerror(printed ? errno : printErrno));
    return false;
  }
  return true;
}

void ResetGame() {
  levelCounter = 0;
  life = kStartLife;
  NewLevel();
}

void NewLevel() {
  if (life < 0) {
    // Game over. A record that cannot be written is reported, and the title returns
    // all the same rather than leaving the game stuck between levels.
    WriteRecord();
    frame::gameState = Title;
  }
  levelCounter += 1;
  descentPhase = Descending;
  for (int y = 0; y < kMapSize; ++y) {
    for (int x = 0; x < kMapSize; ++x) {
      heightMap[x][y] = frame::RandomBelow(32);
      texOrigin[x][y].x = frame::RandomBelow(1216);
      texOrigin[x][y].y = frame::RandomBelow(928);
    }
  }
  // Eight mountain groups; of each group's four draws only the last two place it.
  for (int m = 0; m < 8; ++m) {
    frame::RandomBelow(20);
    frame::RandomBelow(20);
    const int cx = frame::RandomBelow(20);
    const int cy = frame::RandomBelow(20);
    for (int y = 0; y < kMapSize; ++y) {
      for (int x = 0; x < kMapSize; ++x) {
        const int d = 36 - 6 * std::abs(std::abs(x - cx) - 10) - 6 * std::abs(std::abs(y - cy) - 10);
        if (d > 0) heightMap[x][y] += d;
      }
    }
  }
  for (auto& column : heightMap)
    for (int& h : column) h = std::clamp(h, 0, 32);
  camX = camY = 0;
  driftX = driftY = 0;
  shakeX = shakeY = 0;
  camZ = 100;
  fallSpeed = 0;
  fade = 0;
}

void UpdateDescent() {
  camZ += fallSpeed;
  if (fade < 1) fade = static_cast<float>(fade + 0.1);
  if (descentPhase == Descending) {
    fallSpeed = static_cast<float>(fallSpeed + 0.02);
    camX += driftX;
    camY += driftY;
    if (frame::KeyHit(plat::VK_LEFT, frame::hold)) driftX = static_cast<float>(driftX - 0.1);
    if (frame::KeyHit(plat::VK_RIGHT, frame::hold)) driftX = static_cast<float>(driftX + 0.1);
    if (frame::KeyHit(plat::VK_UP, frame::hold)) driftY = static_cast<float>(driftY - 0.1);
    if (frame::KeyHit(plat::VK_DOWN, frame::hold)) driftY = static_cast<float>(driftY + 0.1);
    if (200 - camZ < 18) {
      landingScore = life;
      fallSpeed = -fallSpeed;
      descentPhase = Landing;
    }
  } else {
    fallSpeed -= 1;
    if (camZ < 0) {
      life = std::min(landingScore, life);
      descentPhase = Descending;
      NewLevel();
      Cue(frame::gameState == Title ? SoundGameOver : SoundLevel);
    }
  }
  // The ground is drawn and scored down to life 0 (not only above it), so a player at
  // exactly 0 plays on until a landing costs more instead of facing a frozen screen.
  if (life >= 0) RenderGround();
  if (frame::KeyHit(plat::VK_ESCAPE, frame::edge)) frame::gameState = Quit;
}

void TitleStep() {
  frame::DrawBox(0, 0, 640, 480, 0, 1);
  plat::Blit(frame::backDC, 0, 0, 640, 480, titleDC, 0, 0, plat::Rop::Copy);
  if (frame::MouseClicked(frame::edge)) {
    ResetGame();
    frame::gameState = Playing;
    Cue(SoundLevel);
  }
  if (frame::KeyHit(plat::VK_ESCAPE, frame::edge)) frame::gameState = Quit;
}

void Setup() {
  cues.Open();
  frame::gameState = Title;
  ResetGame();
}

void Step() {
  switch (frame::gameState) {
    case Playing: UpdateDescent(); break;
    case Title: TitleStep(); break;
    default: break;
  }
  cues.Send();
}

}  // namespace quorin

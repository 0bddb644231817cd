// The title, the game-over screen, the sound cues and the dispatcher.
#include <cstdio>
#include "ostel/ostel.h"

namespace ostel {

namespace {

constexpr plat::Colour kBlack = 0x000000;
constexpr plat::Colour kWhite = 0xFFFFFF;

constexpr plat::Cue kCues[kSoundCount] = {
    {"throw", "data\\throw.wav"},
    {"blast", "data\\blast.wav"},
    {"touch", "data\\touch.wav"},
    {"giveout", "data\\giveout.wav"},
};

char textBuffer[64];  // the survival time is formatted here before drawing

}  // namespace

plat::CueTable cues{kCues, kSoundCount};

void TitleStep() {
  frame::DrawBox(0, 0, 640, 480, kBlack, 1);
  frame::DrawMaskedString(80, 0, "＠", kWhite, 480, 1);
  if (frame::MouseClicked(frame::edge)) {
    NewGame();
    frame::gameState = Play;
  }
  if (frame::KeyHit(kKeyEscape, frame::edge)) frame::gameState = Quit;
}

void GameOverStep() {
  frame::DrawBox(0, 0, 640, 480, kBlack, 1);
  std::snprintf(textBuffer, sizeof textBuffer, "耐久時間%d秒",
                static_cast<int>(static_cast<int32_t>(playEnd - playStart) / 1000));
  frame::DrawMaskedString(0, 0, "Gameover  ", kWhite, 36, 1);
  frame::DrawMaskedString(0, 60, textBuffer, kWhite, 48, 1);
  frame::DrawMaskedString(0, 120, "つーかシステムだけで", kWhite, 60, 1);
  frame::DrawMaskedString(0, 240, "力尽きましたorz", kWhite, 72, 1);
  // The left button as a key: its latch is not MouseClicked's.
  if (frame::KeyHit(kKeyLButton, frame::edge)) {
    NewGame();
    frame::gameState = Title;
  }
  if (frame::KeyHit(kKeyEscape, frame::edge)) frame::gameState = Quit;
}

void Setup() {
  cues.Open();
  NewGame();
}

void Step() {
  switch (frame::gameState) {
    case Play: SurvivalStep(); break;
    case Title: TitleStep(); break;
    case GameOver: GameOverStep(); break;
    default: break;
  }
  cues.Send();
}

}  // namespace ostel

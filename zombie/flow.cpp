// The chapter flow: title, story pages, the message wait and the ending.
#include <cstdio>
#include <cstring>
#include "frame/frame.h"
#include "zombie/zombie.h"

namespace zombie {

namespace {

void CopyBackground() {
  plat::Blit(frame::backDC, 0, 0, 640, 480, frame::dcTable[3], 0, 0, plat::Rop::Copy);
}

}  // namespace

void ShowStory(int n) {
  char title[kTitleCap];
  char lines[3][kLineCap];
  char err[320];
  if (!ReadStory(kStoryFile, n, title, lines, err, sizeof err)) DataFault(err);
  std::memcpy(chapterTitle, title, sizeof chapterTitle);
  CopyBackground();
  for (int i = 0; i < 3; ++i) {
    if (lines[i][0]) frame::DrawString(18, 54 + 18 * i, lines[i], 0);
  }
  std::snprintf(textBuffer, sizeof textBuffer, "第%d章 %s", n, chapterTitle);
  frame::DrawString(18, 18, textBuffer, 0);
}

void TitleStep() {
  CopyBackground();
  frame::DrawString(18, 18, "Morvane", 0);
  frame::DrawString(18, 36, "マウスクリックでスタート", 0);
  if (frame::MouseClicked(frame::edge)) {
    MarkCue(Cue::Page);
    chapter = 0;
    frame::gameState = NewGame;
  }
  if (frame::KeyHit(plat::VK_ESCAPE, frame::edge)) frame::gameState = Quit;
}

void EndingStep() {
  CopyBackground();
  frame::DrawString(18, 18, "こうして国に勝ったゾンビ達は正式に存在を認められ", 0);
  frame::DrawString(18, 36, "平和に暮らしましたとさ…(完)", 0);
  if (frame::MouseClicked(frame::edge)) {
    MarkCue(Cue::Page);
    frame::gameState = Title;
  }
}

void Step() {
  switch (frame::gameState) {
    case Battle:
      BattleStep();
      break;
    case NewGame:
      InitGame();
      frame::gameState = Story;
      break;
    case StageWon:
      chapter += 1;
      LoadStage();
      frame::gameState = Story;
      break;
    case Waiting:
      if (frame::MouseClicked(frame::edge)) {
        MarkCue(Cue::Click);
        frame::gameState = returnState;
      }
      break;
    case SetUpStage:
      LoadStage();
      break;
    case Title:
      TitleStep();
      break;
    case Story:
      if (chapter == 6) {
        frame::gameState = Ending;
      } else {
        ShowStory(chapter);
        frame::gameState = StoryWait;
      }
      break;
    case StoryWait:
      if (frame::MouseClicked(frame::edge)) {
        MarkCue(Cue::Page);
        if (chapter == 0) {
          chapter = 1;
          frame::gameState = Story;
        } else {
          frame::gameState = SetUpStage;
        }
      }
      break;
    case Ending:
      EndingStep();
      break;
    default:
      break;
  }
  soundCues.Send();
}

}  // namespace zombie

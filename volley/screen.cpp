// Start-up, the main loop and shut-down of volley.
#include "volley/screen.h"

#include "volley/render.h"
#include "volley/sound.h"

namespace volley {

const char* const kQuestion = "リスクを負い世界観を向上させますか？";
const char* const kQuestionCaption = "至低の選択";
// The help card shown on F1.
const char* const kHelp =
    "弾を同じ色のマスに誘い込んで消し、弾幕をかわそう。\n"
    "Dodge the bullets; a bullet dies on a cell of its own hue.\n"
    "矢印キー: 移動\n"
    "Arrow keys: move.\n"
    "Z を押して溜め、離して発射  飛んでいる間にもう一度 Z: 炸裂\n"
    "Hold Z to charge, release to fire; Z again detonates the shot.\n"
    "2回目の炸裂から、マスの色が一周する\n"
    "From the second blast on, the grid's hues sweep round.\n"
    "X: 攻撃を最初から (自機も復活)  Esc: 終了\n"
    "X restarts the attack and brings you back; Escape quits.";

plat::Surface picture;
PlayField playField;
bool fieldCreated = false;

bool ChooseFullscreen(const plat::Options& opts) {
  if (opts.fullscreen) return true;
  if (opts.scale != 0 || opts.headless) return false;
  return plat::AskYesNo(kQuestion, kQuestionCaption);
}

bool WindowProc(const plat::Event& e) {
  return e.type == plat::EventType::KeyDown && e.vk == plat::VK_ESCAPE;
}

bool ScreenFrame() {
  if (!fieldCreated) {
    CreateField(playField);
    fieldCreated = true;
  }
  renderSet.target = &picture;
  BeginFrame();  // the picture starts opaque black
  FieldFrame(playField);  // closes the batch itself before the labels
  soundCues.Send();       // the frame's cues, now that it is done
  plat::Present(picture);
  return false;
}

int RunLoop() {
  bool quitPosted = false;
  for (;;) {
    plat::Event e;
    if (plat::PollEvent(e)) {
      if (e.type == plat::EventType::Quit) {
        // The window was closed (or the frame limit reached): close any sound first.
        plat::SoundCommand("close all");
        return e.code;
      }
      if (WindowProc(e)) quitPosted = true;
      continue;
    }
    if (quitPosted) return 0;
    if (plat::IsMinimised()) {
      // Nothing runs while minimised; wait for the next message instead of spinning.
      plat::WaitEvent();
      continue;
    }
    if (ScreenFrame()) return 0;
    plat::SleepMs(1);
  }
}

int RunVolley(int argc, char** argv) {
  plat::Options opts;
  const plat::ProgramInfo info{"volley", "dodge coloured bullets over a drifting grid of hues"};
  const int status = plat::ParseCommandLine(argc, argv, info, opts);
  if (status >= 0) return status;

  opts.fullscreen = ChooseFullscreen(opts);
  plat::WindowConfig config;
  config.caption = "Veradis";
  config.cursor = opts.fullscreen ? plat::Cursor::Hidden : plat::Cursor::Arrow;
  config.vsync = true;
  config.presentTicksClock = true;
  if (!plat::OpenSystem(opts, config)) return 1;
  plat::SetHelpText(kHelp);

  SeedRoll(plat::ChooseSeed(opts, plat::TimeMs()));
  picture.Create(plat::kScreenW, plat::kScreenH);
  renderSet.target = &picture;
  LoadTexture(0, "siro.bmp");
  OpenSounds();
  char error[160];
  if (!CreateFonts(error, sizeof error)) {
    plat::ShowError("Veradis", error);
    plat::CloseSystem();
    return 1;
  }

  const int code = RunLoop();

  for (Texture& t : renderSet.textures) t = Texture{};
  renderSet.target = nullptr;
  plat::CloseSystem();
  return plat::ExitStatus(code);
}

}  // namespace volley

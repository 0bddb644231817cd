// Start-up, the main loop and shut-down of volley.
#include "volley/screen.h"

#include "volley/render.h"
#include "volley/sound.h"

namespace volley {

const char* const kQuestion = "リスクを負い世界観を向上させますか？";
const char* const kQuestionCaption = "至低の選択";

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
  return code;
}

}  // namespace volley

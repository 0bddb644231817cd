// The frame's start-up, window procedure and main loop.
#include "frame/frame.h"

#include <cstdio>
#include <ctime>

#include "platform/options.h"

namespace frame {

int gameState = 0;
uint32_t frameStart = 0;
int mouseX = 0, mouseY = 0;
uint8_t mouseDown[2] = {0, 0};
uint8_t clickArmed[2] = {0, 0};
uint8_t keyLatch[200] = {};
uint8_t buttonsEnabled = 0;
plat::Surface dcTable[kSlots];
plat::Surface& backDC = dcTable[1];
const FrameSettings* activeSettings = nullptr;

namespace {

// Masked text needs a scratch surface; programs that use it without giving a size get the
// size their layout was written for.
void ScratchSize(const FrameSettings& s, int& w, int& h) {
  w = s.scratchW;
  h = s.scratchH;
  if (w > 0 && h > 0) return;
  w = h = 0;
  if (s.maskedLayout == MaskedLayout::A || s.maskedLayout == MaskedLayout::B) {
    w = 640;
    h = 480;
  } else if (s.maskedLayout == MaskedLayout::C) {
    w = 640;
    h = 960;
  }
}

}  // namespace

void ResetFrame() {
  gameState = 0;
  frameStart = 0;
  mouseX = mouseY = 0;
  mouseDown[0] = mouseDown[1] = 0;
  clickArmed[0] = clickArmed[1] = 0;
  for (uint8_t& k : keyLatch) k = 0;
  buttonsEnabled = 0;
  for (plat::Surface& s : dcTable) s = plat::Surface{};
  randomState = 0;
  activeSettings = nullptr;
  ForgetScratch();
}

void CreateSurfaces(const FrameSettings& settings) {
  activeSettings = &settings;
  // Image surfaces first, in load order; a missing file leaves a blank surface.
  for (int i = 0; i < settings.imageCount; ++i) {
    const ImageLoad& img = settings.images[i];
    if (img.slot < 3 || img.slot >= kSlots) {
      std::fprintf(stderr, "%s: image %s: slot %d is not an image slot (3 to %d); not loaded\n",
                   settings.name, img.path, img.slot, kSlots - 1);
      continue;
    }
    plat::LoadBitmap(dcTable[img.slot], img.path, settings.imageW, settings.imageH);
  }
  frameStart = settings.frameStartAtStartup ? plat::TimeMs() : 0;
  backDC.Create(plat::kScreenW, plat::kScreenH);
  int sw = 0, sh = 0;
  ScratchSize(settings, sw, sh);
  if (sw > 0) dcTable[2].Create(sw, sh);
  ForgetScratch();
  if (settings.extraW > 0 && settings.extraH > 0) dcTable[3].Create(settings.extraW, settings.extraH);
}

void WindowProc(const FrameSettings& settings, const plat::Event& e) {
  switch (e.type) {
    case plat::EventType::MouseMove:
      // The low and high words of the message, each taken unsigned.
      mouseX = static_cast<uint16_t>(e.x);
      mouseY = static_cast<uint16_t>(e.y);
      break;
    case plat::EventType::LButtonDown:
      mouseDown[0] = 1;
      break;
    case plat::EventType::LButtonUp:
      mouseDown[0] = 0;
      break;
    case plat::EventType::RButtonDown:
      if (settings.rightButton) mouseDown[1] = 1;
      break;
    case plat::EventType::RButtonUp:
      if (settings.rightButton) mouseDown[1] = 0;
      break;
    default:
      // Double clicks, keys and the rest go to the default handling: nothing changes.
      // Quit is taken by the loop before it gets here.
      break;
  }
}

int32_t PaceWait(uint32_t start, uint32_t now, int budget) {
  return static_cast<int32_t>(start - now + static_cast<uint32_t>(budget));
}

int RunLoop(const FrameSettings& settings) {
  activeSettings = &settings;
  plat::Event e;
  for (;;) {
    // Every pending message is handled before a frame runs.
    while (plat::PollEvent(e)) {
      if (e.type == plat::EventType::Quit) return e.code;
      WindowProc(settings, e);
    }
    if (gameState == 0) return 0;
    if (settings.step) settings.step();
    // BitBlt and StretchBlt of the whole 640x480 buffer give the same picture.
    plat::Present(backDC);
    if (!(settings.fastForwardKey && KeyHit(0x59, hold))) {
      const int32_t wait = PaceWait(frameStart, plat::TimeMs(), settings.frameBudget);
      plat::SleepMs(wait >= 0 ? static_cast<uint32_t>(wait) : 0u);
    }
    frameStart = plat::TimeMs();
  }
}

int RunFrame(const FrameSettings& settings, int argc, char** argv) {
  plat::Options opts;
  const plat::ProgramInfo info{settings.name, settings.summary};
  const int parsed = plat::ParseCommandLine(argc, argv, info, opts);
  if (parsed >= 0) return parsed;

  SeedRandom(plat::ChooseSeed(opts, static_cast<uint32_t>(std::time(nullptr))));

  plat::WindowConfig config;
  config.caption = settings.caption;
  config.cursor = settings.cursor;
  if (settings.readSettings) settings.readSettings(config);
  if (!plat::OpenSystem(opts, config)) return 1;
  plat::SetHelpText(settings.help);

  CreateSurfaces(settings);
  gameState = settings.firstState;
  if (settings.setup) settings.setup();
  const int status = RunLoop(settings);
  plat::CloseSystem();
  return plat::ExitStatus(status);
}

}  // namespace frame

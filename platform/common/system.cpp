// The system calls the games make, shared by both backends: the frame count, the
// scripted input, the --frames limit, the double click, screenshots and sound commands.
// The backend underneath supplies the window (or none), the clock and the sound.
#include <cstdio>
#include "platform/common/internal.h"
#include "platform/keys.h"
#include "platform/system.h"
#include "platform/text.h"

namespace plat {
namespace {

using detail::Backend;

struct Core {
  const Backend* backend = &detail::kHeadlessBackend;
  bool open = false;
  Options opts;
  long framesShown = 0;
  size_t scriptNext = 0;          // next script event to deliver
  bool scriptKeys[VK_COUNT] = {};  // key state set by the script
  int mouseX = 0, mouseY = 0;     // last mouse position delivered
  long releaseFrame = 0;          // click releases due in the drain before this frame
  int releaseCount = 0;
  detail::ClickTracker clicks;
  bool quitDelivered = false;      // the --frames quit of this drain has been taken
  const char* help = nullptr;      // the help card's text (code page 932)
  bool paused = false;             // the help card is shown
  const Surface* lastPicture = nullptr;  // the program's picture last presented
  uint32_t pausedMs = 0;           // backend time spent paused, left out of TimeMs
  uint32_t pauseBegin = 0;         // backend time the current pause began
  Surface card;                    // the help card over the dimmed picture
  // Releases and moves that happened while paused, delivered after it.
  Event held[16];
  int heldCount = 0, heldNext = 0;
};

Core core;
constexpr uint32_t kCardFrameMs = 16;  // one card frame while paused
bool screenshotFailed = false;  // kept past CloseSystem for ExitStatus

// Applies the message semantics every backend shares to an event about to be delivered.
void Deliver(Event& e) {
  switch (e.type) {
    case EventType::MouseMove:
      core.mouseX = e.x;
      core.mouseY = e.y;
      break;
    case EventType::LButtonDown:
    case EventType::RButtonDown: {
      int button = e.type == EventType::LButtonDown ? 0 : 1;
      if (detail::PressIsDoubleClick(core.clicks, button, e.x, e.y, core.backend->timeMs()))
        e.type = button == 0 ? EventType::LButtonDblClk : EventType::RButtonDblClk;
      break;
    }
    default:
      break;
  }
}

Event MouseEvent(EventType type) {
  Event e;
  e.type = type;
  e.x = core.mouseX;
  e.y = core.mouseY;
  return e;
}

// Turns one script line into the event it delivers now.
Event FromScript(const ScriptEvent& s) {
  Event e;
  switch (s.kind) {
    case ScriptEvent::Mouse:
      e.type = EventType::MouseMove;
      e.x = s.x;
      e.y = s.y;
      return e;
    case ScriptEvent::Click:
      core.scriptKeys[VK_LBUTTON] = true;
      if (core.releaseCount == 0) core.releaseFrame = s.frame + 1;
      ++core.releaseCount;
      return MouseEvent(EventType::LButtonDown);
    case ScriptEvent::Down:
    case ScriptEvent::Up: {
      bool down = s.kind == ScriptEvent::Down;
      if (s.vk >= 0 && s.vk < VK_COUNT) core.scriptKeys[s.vk] = down;
      if (s.vk == VK_LBUTTON) return MouseEvent(down ? EventType::LButtonDown : EventType::LButtonUp);
      if (s.vk == VK_RBUTTON) return MouseEvent(down ? EventType::RButtonDown : EventType::RButtonUp);
      e.type = down ? EventType::KeyDown : EventType::KeyUp;
      e.vk = s.vk;
      return e;
    }
  }
  return e;
}

// The next message of the backend or the script, without the help card's handling.
bool NextEvent(Event& e) {
  // Like the old quit message, the --frames quit is taken once and leaves the queue
  // empty; a program that runs on gets it again in the next drain.
  if (core.opts.frames >= 0 && core.framesShown >= core.opts.frames) {
    if (core.quitDelivered) return false;
    core.quitDelivered = true;
    e = Event{};
    e.type = EventType::Quit;
    e.code = 0;
    return true;
  }
  if (core.open && core.backend->poll(e)) {
    Deliver(e);
    return true;
  }
  long next = core.framesShown + 1;
  if (core.releaseCount > 0 && core.releaseFrame <= next) {
    --core.releaseCount;
    // The button counts as held while any click of this drain is still pressed.
    if (core.releaseCount == 0) core.scriptKeys[VK_LBUTTON] = false;
    e = MouseEvent(EventType::LButtonUp);
    return true;
  }
  if (core.scriptNext < core.opts.script.size() &&
      core.opts.script[core.scriptNext].frame <= next) {
    e = FromScript(core.opts.script[core.scriptNext++]);
    Deliver(e);
    return true;
  }
  return false;
}

// Shows a picture (the program's or the help card) as one frame, with its screenshots.
void ShowFrame(const Surface& picture) {
  if (core.open) core.backend->present(picture);
  ++core.framesShown;
  core.quitDelivered = false;
  for (const Screenshot& shot : core.opts.screenshots)
    if (shot.frame == core.framesShown && !WritePng(picture, shot.path.c_str()))
      screenshotFailed = true;
}

void Hold(const Event& e) {
  // Only the last mouse position matters; releases are kept in order.
  if (e.type == EventType::MouseMove)
    for (int i = 0; i < core.heldCount; ++i)
      if (core.held[i].type == EventType::MouseMove) {
        core.held[i] = e;
        return;
      }
  if (core.heldCount < static_cast<int>(sizeof core.held / sizeof core.held[0]))
    core.held[core.heldCount++] = e;
}

// Shows the help card until F1, Escape or a left press closes it and that key or button
// is up again, so the program never sees the press. Returns true with out set when a quit
// (the window closed, the --frames limit) ends the pause.
bool Pause(Event& out) {
  core.paused = true;
  core.pauseBegin = core.backend->timeMs();
  detail::DrawHelpCard(core.lastPicture, core.help, core.card);
  int closer = -1;  // the key or button that closes the card
  bool quit = false;
  while (!quit) {
    Event e;
    while (NextEvent(e)) {
      if (e.type == EventType::Quit) {
        out = e;
        quit = true;
        break;
      }
      const bool press = e.type == EventType::KeyDown || e.type == EventType::LButtonDown ||
                         e.type == EventType::LButtonDblClk;
      if (press && closer < 0 && (e.type != EventType::KeyDown || e.vk == VK_F1 || e.vk == VK_ESCAPE))
        closer = e.type == EventType::KeyDown ? e.vk : VK_LBUTTON;
      const bool closerUp = (e.type == EventType::KeyUp && (e.vk == closer || e.vk == VK_F1)) ||
                            (e.type == EventType::LButtonUp && closer == VK_LBUTTON);
      const bool release = e.type == EventType::KeyUp || e.type == EventType::LButtonUp ||
                           e.type == EventType::RButtonUp;
      if ((release && !closerUp) || e.type == EventType::MouseMove) Hold(e);
      if (closer >= 0 && !KeyDown(closer)) break;  // what follows is the program's again
    }
    if (quit || (closer >= 0 && !KeyDown(closer))) break;
    ShowFrame(core.card);
    core.backend->sleepMs(kCardFrameMs);
  }
  core.pausedMs += core.backend->timeMs() - core.pauseBegin;
  core.paused = false;
  detail::pauseAsked = false;
  return quit;
}

bool IsPauseKey(const Event& e) { return e.type == EventType::KeyDown && e.vk == VK_F1; }

}  // namespace

namespace detail {
bool pauseAsked = false;
}  // namespace detail

bool PollEvent(Event& e) {
  for (;;) {
    if (core.heldNext < core.heldCount) {
      e = core.held[core.heldNext++];
      return true;
    }
    core.heldCount = core.heldNext = 0;
    const bool got = NextEvent(e);
    if (detail::pauseAsked && core.open) {
      // The window lost its focus: the message that came with it waits for the resume.
      detail::pauseAsked = false;
      if (got && !IsPauseKey(e)) Hold(e);
      if (Pause(e)) return true;
      continue;
    }
    if (!got) return false;
    if (!IsPauseKey(e)) return true;
    if (Pause(e)) return true;
  }
}

bool OpenSystem(const Options& opts, const WindowConfig& config) {
  if (core.open) CloseSystem();
  if (!InitText()) return false;
  const char* help = core.help;  // may be given before the system opens
  core = Core{};
  core.help = help;
  core.opts = opts;
  if (core.opts.headless) core.opts.mute = true;
  detail::SetHeadlessHint(core.opts.headless);
  core.backend = core.opts.headless ? &detail::kHeadlessBackend : &detail::kSdlBackend;
  if (!core.backend->open(core.opts, config)) {
    core.backend = &detail::kHeadlessBackend;
    return false;
  }
  core.open = true;
  screenshotFailed = false;
  return true;
}

void CloseSystem() {
  if (!core.open) return;
  core.backend->close();
  core.open = false;
  core.lastPicture = nullptr;
  core.backend = &detail::kHeadlessBackend;
}

void WaitEvent() {
  if (core.open) core.backend->wait();
}

bool IsMinimised() { return core.open && core.backend->minimised(); }

bool KeyDown(int vk) {
  if (vk < 0 || vk >= VK_COUNT) return false;
  if (core.scriptKeys[vk]) return true;
  return core.open && core.backend->keyDown(vk);
}

uint32_t TimeMs() {
  // Time spent paused does not count; during a pause the clock stands still.
  return (core.paused ? core.pauseBegin : core.backend->timeMs()) - core.pausedMs;
}

void SleepMs(uint32_t ms) { core.backend->sleepMs(ms); }

void Present(const Surface& picture) {
  core.lastPicture = &picture;
  ShowFrame(picture);
}

int ExitStatus(int status) { return status == 0 && screenshotFailed ? 1 : status; }

long FramesShown() { return core.framesShown; }

void SoundCommand(const char* command) {
  if (!core.open || core.opts.mute) return;
  detail::MediaCommand parsed;
  if (detail::ParseMediaCommand(command, parsed)) core.backend->sound(parsed);
}

bool AskYesNo(const char* text, const char* caption) {
  if (core.open) return core.backend->askYesNo(text, caption);
  // Before the system is open (a question asked before the window exists), the command
  // line decides whether a message box may be shown at all.
  if (detail::HeadlessHint()) return false;
  return detail::SdlAskYesNo(text, caption);
}

void ShowError(const char* title, const char* message) {
  if (core.open) {
    core.backend->showError(title, message);
    return;
  }
  detail::kHeadlessBackend.showError(title, message);
}

void SetHelpText(const char* text) { core.help = text; }

bool Paused() { return core.paused; }

void SetFullscreen(bool on) {
  if (core.open) core.backend->setFullscreen(on);
}

}  // namespace plat

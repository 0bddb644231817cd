// Pieces of the platform layer that both backends share, and the seam between the
// common code and a backend. Not for games: they include only the headers at the top of
// platform/.
#pragma once
#include <cstdint>
#include "platform/options.h"
#include "platform/surface.h"
#include "platform/system.h"

namespace plat::detail {

// One parsed media-control command string.
struct MediaCommand {
  enum Kind { None, Open, Play, Stop, Close, CloseAll } kind = None;
  char path[260] = {};  // Open: the file, backslashes turned into slashes
  char alias[64] = {};  // Open, Play, Stop, Close
};

// Parses "open FILE [type T] alias NAME", "play NAME [from N]", "stop NAME",
// "close NAME", "close all" (keywords in any case; FILE may be in double quotes).
// Returns false, with out.kind None, for anything else. Allocates nothing.
bool ParseMediaCommand(const char* command, MediaCommand& out);

// Case-insensitive comparison of NUL-terminated ASCII names.
bool SameName(const char* a, const char* b);

// Sound files are read whole up to this size before the sound library sees them.
constexpr size_t kSoundFileBound = 64 * 1024 * 1024;

// Checks a RIFF file's chunk sizes against the bytes there are, so that a header that
// claims gigabytes is refused before the sound library allocates for it. Files that are
// not RIFF pass unchecked. On a fault writes the problem into problem.
bool CheckRiff(const unsigned char* data, size_t size, char* problem, size_t cap);

// The double-click rule: a press of the same button within kDoubleClickMs of the
// previous press and within kDoubleClickDistance pixels of it on both axes is the second
// press of a double click; the press after that starts afresh.
constexpr uint32_t kDoubleClickMs = 500;
constexpr int kDoubleClickDistance = 4;

struct ClickTracker {
  bool armed = false;  // the previous press can pair with the next one
  int button = 0;      // 0 left, 1 right
  int x = 0, y = 0;
  uint32_t time = 0;
};

// Records a press of button (0 left, 1 right) at (x, y) at time now; true when it is the
// second press of a double click.
bool PressIsDoubleClick(ClickTracker& t, int button, int x, int y, uint32_t now);

// Where the 640x480 picture sits in an output of outW x outH pixels: the largest whole
// scale that fits (at least 1), centred.
struct Layout {
  int scale = 1;
  int x = 0, y = 0;  // top-left of the scaled picture in the output
};
Layout ComputeLayout(int outW, int outH);

// Where a window of the picture at a whole scale goes on a desktop whose usable area
// (without task bars) is areaW x areaH at (areaX, areaY), leaving room for the window's
// frame and title bar. asked is --scale (0: not given). The default is the largest scale
// that fits; a larger one asked for is reduced to it (reduced set). With the area unknown
// (0), the scale is as asked (or 1) and known is false: the system centres the window.
constexpr int kMaxScale = 8;
constexpr int kFrameSide = 8, kFrameTop = 40, kFrameBottom = 8;  // room for the window frame
struct WindowPlacement {
  int scale = 1;
  bool reduced = false;
  bool known = false;
  int x = 0, y = 0;  // top-left of the client area
};
WindowPlacement PlaceWindow(int asked, int areaX, int areaY, int areaW, int areaH);

// Output pixel (px, py) to a picture pixel, clamped to 0..639 and 0..479.
void OutputToPicture(const Layout& layout, int px, int py, int& x, int& y);

// What a backend provides. Mouse button events from poll carry the press as
// LButtonDown/RButtonDown; the common code applies the double-click rule and keeps the
// mouse position.
struct Backend {
  bool (*open)(const Options& opts, const WindowConfig& config);
  void (*close)();
  bool (*poll)(Event& e);
  void (*wait)();
  bool (*minimised)();
  bool (*keyDown)(int vk);
  uint32_t (*timeMs)();
  void (*sleepMs)(uint32_t ms);
  void (*present)(const Surface& picture);
  void (*sound)(const MediaCommand& command);
  bool (*askYesNo)(const char* text, const char* caption);
  void (*showError)(const char* title, const char* message);
  void (*setFullscreen)(bool on);
};

extern const Backend kHeadlessBackend;
extern const Backend kSdlBackend;

// The program name for messages ("ball"), set by ParseCommandLine.
const char* ProgramName();
void SetProgramName(const char* name);
// Whether the last command line asked for the headless backend (used by AskYesNo and
// ShowError before OpenSystem).
bool HeadlessHint();
void SetHeadlessHint(bool headless);

// Draws the help card into out (made 640x480): picture dimmed, the help text (code page
// 932, may be null) on a panel, and the keys that resume.
void DrawHelpCard(const Surface* picture, const char* help, Surface& out);

// Set by a backend when the window loses its focus: the next drain pauses.
extern bool pauseAsked;

// The folder of the running executable, ending in '/'; false when it cannot be found.
bool ExecutableFolder(char* out, int cap);

// An installed program is PREFIX/bin/kobako-NAME with its data in PREFIX/share/kobako/NAME/:
// that folder (ending in '/') when exeFolder ("/x/bin/") and exeName fit it and it
// exists, else "".
std::string InstalledDataFolder(const std::string& exeFolder, const std::string& exeName);
// $XDG_DATA_HOME/kobako/NAME/ (default ~/.local/share/kobako/NAME/); "" without a home.
std::string PlayerFolder(const char* program);
// Sets the data folder (the installed one, else the program's own folder). When installed,
// makes the player's folder, copies into it the shipped defaults (data/player/*) it lacks
// and makes it the working directory; a folder that cannot be used gets a warning and the
// program goes on in the working directory it was started in.
void UseProgramFolders(const char* program, Options& opts);

// SDL backend pieces used across its files.
bool SdlAskYesNo(const char* text, const char* caption);
void SdlSound(const MediaCommand& command);
void SdlSoundShutdown();
// The SDL window (an SDL_Window*) while the SDL backend is open, for the window tests.
void* SdlWindowHandle();

}  // namespace plat::detail

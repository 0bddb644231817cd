// The command line every program of the collection accepts, and the input script format.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace plat {

struct Screenshot {
  long frame = 0;    // written after this frame is shown (frame 1 is the first)
  std::string path;  // .png
};

// One line of an input script: "FRAME mouse X Y", "FRAME down KEY", "FRAME up KEY",
// "FRAME click".
struct ScriptEvent {
  enum Kind { Mouse, Down, Up, Click } kind = Mouse;
  long frame = 0;
  int x = 0, y = 0;  // Mouse
  int vk = 0;        // Down, Up: virtual-key code (1 and 2 are the mouse buttons)
};

struct Options {
  int scale = 0;  // 0: not given
  bool fullscreen = false;
  bool mute = false;
  bool headless = false;
  bool hasSeed = false;
  uint32_t seed = 0;
  long frames = -1;  // -1: run until the program quits
  uint32_t clockStart = 0;  // headless: the millisecond clock's first reading
  std::string inputPath;
  std::vector<ScriptEvent> script;  // read from inputPath, sorted by frame (stable)
  std::vector<Screenshot> screenshots;
};

struct ProgramInfo {
  const char* name;     // "ball"
  const char* summary;  // one line for --help
};

// Parses argv into opts and reads the --input script. Returns -1 when the program
// should run; otherwise the exit status (0 after --help/--version, 2 after a usage
// error or a malformed script, with a message on stderr).
int ParseCommandLine(int argc, char** argv, const ProgramInfo& info, Options& opts);

// Parses script text (the contents of an --input file). On error returns false and sets
// error to "NAME:LINE: problem".
bool ParseScript(const std::string& text, const std::string& name,
                 std::vector<ScriptEvent>& out, std::string& error);

// Key name of the script ("left", "z", "lbutton", or a number) to a virtual-key code;
// -1 when unknown.
int KeyFromName(const std::string& name);

}  // namespace plat

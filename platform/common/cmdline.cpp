// The command line every program accepts, the input script and the seed choice.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sstream>
#include "platform/common/internal.h"
#include "platform/keys.h"
#include "platform/options.h"
#include "platform/system.h"

namespace plat {
namespace {

const char* gProgramName = "program";
bool gHeadlessHint = false;

// Decimal digits only, no sign, at most max. False on anything else or overflow.
bool ParseNumber(const std::string& text, unsigned long long max, unsigned long long& value) {
  if (text.empty() || text.size() > 20) return false;
  unsigned long long v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    unsigned d = static_cast<unsigned>(c - '0');
    if (d > max || v > (max - d) / 10) return false;
    v = v * 10 + d;
  }
  value = v;
  return true;
}

// Same for script coordinates, which may be written with a sign so that a bad position
// gets a precise message instead of "not a number".
bool ParseSigned(const std::string& text, long& value) {
  if (text.empty()) return false;
  bool negative = text[0] == '-';
  unsigned long long v = 0;
  if (!ParseNumber(negative ? text.substr(1) : text, 1000000000ULL, v)) return false;
  value = negative ? -static_cast<long>(v) : static_cast<long>(v);
  return true;
}

std::string Lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

struct KeyName {
  const char* name;
  int vk;
};

constexpr KeyName kKeyNames[] = {
    {"left", VK_LEFT},       {"right", VK_RIGHT},     {"up", VK_UP},
    {"down", VK_DOWN},       {"escape", VK_ESCAPE},   {"enter", VK_RETURN},
    {"space", VK_SPACE},     {"lbutton", VK_LBUTTON}, {"rbutton", VK_RBUTTON},
    {"shift", VK_SHIFT},     {"ctrl", VK_CONTROL},    {"alt", VK_MENU},
    {"tab", VK_TAB},         {"backspace", VK_BACK},
};

// Far more than any script of a long run; reading stops here so that a huge or endless
// file (/dev/zero) is refused with a message instead of filling the memory.
constexpr size_t kScriptBound = 16 * 1024 * 1024;

void PrintUsage(const ProgramInfo& info) {
  std::printf(
      "usage: %s [options]\n"
      "%s\n"
      "\n"
      "options:\n"
      "  --help                    show this help and exit\n"
      "  --version                 show the version and exit\n"
      "  --scale N                 window size: 640x480 times N (1..8)\n"
      "  --fullscreen              start in fullscreen (F11 or Alt+Enter toggles)\n"
      "  --mute                    no sound\n"
      "  --seed N                  seed the random generator with N (0..4294967295)\n"
      "  --headless                run without a window or sound (seed 1 unless --seed)\n"
      "  --frames N                stop after N frames with exit status 0\n"
      "  --clock-start MS          headless: start the millisecond clock at MS\n"
      "                            (0..4294967295; it wraps at 2^32 as the system's does)\n"
      "  --input FILE              scripted input, one event a line:\n"
      "                              FRAME mouse X Y | FRAME down KEY | FRAME up KEY |\n"
      "                              FRAME click\n"
      "                            KEY: left right up down escape enter space a..z\n"
      "                            lbutton rbutton shift ctrl alt tab backspace f1..f12\n"
      "                            or a virtual-key number 1..255; '#' starts a comment\n"
      "  --screenshot FRAME:FILE   write the picture shown after frame FRAME as a PNG\n"
      "                            (repeatable)\n",
      info.name, info.summary ? info.summary : "");
}

int UsageError(const ProgramInfo& info, const std::string& problem) {
  std::fprintf(stderr, "%s: %s (see --help)\n", info.name, problem.c_str());
  return 2;
}

}  // namespace

namespace detail {
const char* ProgramName() { return gProgramName; }
void SetProgramName(const char* name) { gProgramName = name ? name : "program"; }
bool HeadlessHint() { return gHeadlessHint; }
void SetHeadlessHint(bool headless) { gHeadlessHint = headless; }
}  // namespace detail

int KeyFromName(const std::string& name) {
  std::string n = Lower(name);
  if (n.empty()) return -1;
  for (const KeyName& k : kKeyNames)
    if (n == k.name) return k.vk;
  if (n.size() == 1 && n[0] >= 'a' && n[0] <= 'z') return 'A' + (n[0] - 'a');
  if (n.size() >= 2 && n[0] == 'f') {
    unsigned long long f = 0;
    if (ParseNumber(n.substr(1), 24, f) && f >= 1 && f <= 12) return VK_F1 + static_cast<int>(f) - 1;
    return -1;
  }
  unsigned long long v = 0;
  if (ParseNumber(n, 255, v) && v >= 1) return static_cast<int>(v);
  return -1;
}

bool ParseScript(const std::string& text, const std::string& name,
                 std::vector<ScriptEvent>& out, std::string& error) {
  std::vector<ScriptEvent> events;
  std::istringstream lines(text);
  std::string line;
  long lineNo = 0;
  auto fail = [&](const std::string& problem) {
    error = name + ":" + std::to_string(lineNo) + ": " + problem;
    return false;
  };
  while (std::getline(lines, line)) {
    ++lineNo;
    size_t hash = line.find('#');
    if (hash != std::string::npos) line.erase(hash);
    std::istringstream words(line);
    std::vector<std::string> w;
    for (std::string word; words >> word;) w.push_back(word);
    if (w.empty()) continue;

    ScriptEvent e;
    unsigned long long frame = 0;
    if (!ParseNumber(w[0], 2000000000ULL, frame) || frame < 1)
      return fail("bad frame number '" + w[0] + "' (frames start at 1)");
    e.frame = static_cast<long>(frame);
    if (w.size() < 2) return fail("missing event after the frame number");
    std::string kind = Lower(w[1]);
    size_t expected = 0;
    if (kind == "mouse") {
      e.kind = ScriptEvent::Mouse;
      if (w.size() < 4) return fail("'mouse' needs X and Y");
      long x = 0, y = 0;
      if (!ParseSigned(w[2], x) || !ParseSigned(w[3], y))
        return fail("bad mouse position '" + w[2] + " " + w[3] + "'");
      if (x < 0 || x >= kScreenW || y < 0 || y >= kScreenH)
        return fail("mouse position " + w[2] + " " + w[3] + " is outside the 640x480 picture");
      e.x = static_cast<int>(x);
      e.y = static_cast<int>(y);
      expected = 4;
    } else if (kind == "down" || kind == "up") {
      e.kind = kind == "down" ? ScriptEvent::Down : ScriptEvent::Up;
      if (w.size() < 3) return fail("'" + kind + "' needs a key");
      e.vk = KeyFromName(w[2]);
      if (e.vk < 0) return fail("unknown key '" + w[2] + "'");
      expected = 3;
    } else if (kind == "click") {
      e.kind = ScriptEvent::Click;
      expected = 2;
    } else {
      return fail("unknown event '" + w[1] + "' (mouse, down, up or click)");
    }
    if (w.size() > expected) return fail("unexpected '" + w[expected] + "' at the end of the line");
    events.push_back(e);
  }
  std::stable_sort(events.begin(), events.end(),
                   [](const ScriptEvent& a, const ScriptEvent& b) { return a.frame < b.frame; });
  out = std::move(events);
  return true;
}

int ParseCommandLine(int argc, char** argv, const ProgramInfo& info, Options& opts) {
  detail::SetProgramName(info.name);
  opts = Options{};
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i] ? argv[i] : "";
    std::string value;
    bool inlineValue = false;
    if (arg.rfind("--", 0) == 0) {
      size_t eq = arg.find('=');
      if (eq != std::string::npos) {
        value = arg.substr(eq + 1);
        arg.erase(eq);
        inlineValue = true;
      }
    }
    auto takeValue = [&]() -> bool {
      if (inlineValue) return true;
      if (i + 1 >= argc) return false;
      value = argv[++i];
      return true;
    };
    auto flag = [&]() { return !inlineValue; };

    if (arg == "--help" && flag()) {
      PrintUsage(info);
      return 0;
    } else if (arg == "--version" && flag()) {
      std::printf("%s 1.0.0\n", info.name);
      return 0;
    } else if (arg == "--fullscreen" && flag()) {
      opts.fullscreen = true;
    } else if (arg == "--mute" && flag()) {
      opts.mute = true;
    } else if (arg == "--headless" && flag()) {
      opts.headless = true;
    } else if (arg == "--scale" || arg == "--seed" || arg == "--frames" || arg == "--input" ||
               arg == "--clock-start" ||
               arg == "--screenshot") {
      if (!takeValue()) return UsageError(info, "option '" + arg + "' needs a value");
      unsigned long long n = 0;
      if (arg == "--scale") {
        if (!ParseNumber(value, 8, n) || n < 1)
          return UsageError(info, "bad scale '" + value + "' (a whole number from 1 to 8)");
        opts.scale = static_cast<int>(n);
      } else if (arg == "--seed") {
        if (!ParseNumber(value, 0xFFFFFFFFULL, n))
          return UsageError(info, "bad seed '" + value + "' (a whole number from 0 to 4294967295)");
        opts.seed = static_cast<uint32_t>(n);
        opts.hasSeed = true;
      } else if (arg == "--frames") {
        if (!ParseNumber(value, 2000000000ULL, n))
          return UsageError(info, "bad frame count '" + value + "' (a whole number, 0 or more)");
        opts.frames = static_cast<long>(n);
      } else if (arg == "--clock-start") {
        if (!ParseNumber(value, 0xFFFFFFFFULL, n))
          return UsageError(info, "bad clock start '" + value +
                                      "' (milliseconds, a whole number from 0 to 4294967295)");
        opts.clockStart = static_cast<uint32_t>(n);
      } else if (arg == "--input") {
        if (value.empty()) return UsageError(info, "option '--input' needs a file name");
        opts.inputPath = value;
      } else {
        size_t colon = value.find(':');
        Screenshot shot;
        if (colon == std::string::npos || !ParseNumber(value.substr(0, colon), 2000000000ULL, n) ||
            n < 1 || colon + 1 >= value.size())
          return UsageError(info, "bad screenshot '" + value + "' (FRAME:FILE.png, frames start at 1)");
        shot.frame = static_cast<long>(n);
        shot.path = value.substr(colon + 1);
        opts.screenshots.push_back(shot);
      }
    } else if (inlineValue && (arg == "--help" || arg == "--version" || arg == "--fullscreen" ||
                               arg == "--mute" || arg == "--headless")) {
      return UsageError(info, "option '" + arg + "' takes no value");
    } else if (arg.rfind("-", 0) == 0) {
      return UsageError(info, "unknown option '" + std::string(argv[i]) + "'");
    } else {
      return UsageError(info, "unexpected argument '" + arg + "'");
    }
  }
  if (opts.headless) opts.mute = true;

  if (!opts.inputPath.empty()) {
    std::FILE* file = std::fopen(opts.inputPath.c_str(), "rb");
    if (!file) {
      std::fprintf(stderr, "%s: cannot read input script '%s': %s\n", info.name,
                   opts.inputPath.c_str(), std::strerror(errno));
      return 2;
    }
    std::string text;
    char buffer[4096];
    size_t got = 0;
    bool tooLong = false;
    while (!tooLong && (got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
      text.append(buffer, got);
      tooLong = text.size() > kScriptBound;
    }
    bool failed = std::ferror(file) != 0;
    int readError = errno;
    std::fclose(file);
    if (tooLong) {
      std::fprintf(stderr, "%s: input script '%s' is longer than %zu bytes\n", info.name,
                   opts.inputPath.c_str(), kScriptBound);
      return 2;
    }
    if (failed) {
      std::fprintf(stderr, "%s: cannot read input script '%s': %s\n", info.name,
                   opts.inputPath.c_str(), std::strerror(readError));
      return 2;
    }
    std::string error;
    if (!ParseScript(text, opts.inputPath, opts.script, error)) {
      std::fprintf(stderr, "%s: %s\n", info.name, error.c_str());
      return 2;
    }
  }
  detail::SetHeadlessHint(opts.headless);
  detail::UseProgramFolders(info.name, opts);
  return -1;
}

uint32_t ChooseSeed(const Options& opts, uint32_t fromClock) {
  if (opts.hasSeed) return opts.seed;
  if (opts.headless) return 1;
  return fromClock;
}

}  // namespace plat

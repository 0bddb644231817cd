// The command line, the input script and the seed choice.
#include <gtest/gtest.h>
#include <cstdio>
#include <string>
#include <vector>
#include "platform/keys.h"
#include "platform/options.h"
#include "platform/system.h"

namespace {

const plat::ProgramInfo kInfo = {"ball", "a test program"};

struct Parsed {
  int status = 0;
  std::string out, err;
  plat::Options opts;
};

Parsed Parse(std::vector<std::string> args) {
  args.insert(args.begin(), "ball");
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  Parsed r;
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  r.status = plat::ParseCommandLine(static_cast<int>(args.size()), argv.data(), kInfo, r.opts);
  r.out = testing::internal::GetCapturedStdout();
  r.err = testing::internal::GetCapturedStderr();
  return r;
}

std::string WriteTemp(const char* name, const std::string& text) {
  std::string path = testing::TempDir() + name;
  std::FILE* f = std::fopen(path.c_str(), "wb");
  std::fwrite(text.data(), 1, text.size(), f);
  std::fclose(f);
  return path;
}

TEST(CommandLine, NoArgumentsRunsWithDefaults) {
  Parsed r = Parse({});
  EXPECT_EQ(r.status, -1);
  EXPECT_EQ(r.opts.scale, 0);
  EXPECT_FALSE(r.opts.fullscreen || r.opts.mute || r.opts.headless || r.opts.hasSeed);
  EXPECT_EQ(r.opts.frames, -1);
  EXPECT_TRUE(r.opts.script.empty());
  EXPECT_TRUE(r.opts.screenshots.empty());
  EXPECT_EQ(r.out + r.err, "");
}

TEST(CommandLine, HelpAndVersionExitZero) {
  Parsed help = Parse({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("usage: ball"), std::string::npos);
  EXPECT_NE(help.out.find("--screenshot"), std::string::npos);
  Parsed version = Parse({"--scale", "2", "--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "ball 1.0.0\n");
}

TEST(CommandLine, EveryOption) {
  Parsed r = Parse({"--scale", "3", "--fullscreen", "--mute", "--seed", "4294967295", "--frames", "120",
                 "--clock-start", "4294962296", "--screenshot", "5:a.png", "--screenshot=7:dir/b.png"});
  ASSERT_EQ(r.status, -1) << r.err;
  EXPECT_EQ(r.opts.scale, 3);
  EXPECT_TRUE(r.opts.fullscreen);
  EXPECT_TRUE(r.opts.mute);
  EXPECT_FALSE(r.opts.headless);
  EXPECT_TRUE(r.opts.hasSeed);
  EXPECT_EQ(r.opts.seed, 4294967295u);
  EXPECT_EQ(r.opts.frames, 120);
  EXPECT_EQ(r.opts.clockStart, 4294962296u);
  ASSERT_EQ(r.opts.screenshots.size(), 2u);
  EXPECT_EQ(r.opts.screenshots[0].frame, 5);
  EXPECT_EQ(r.opts.screenshots[0].path, "a.png");
  EXPECT_EQ(r.opts.screenshots[1].frame, 7);
  EXPECT_EQ(r.opts.screenshots[1].path, "dir/b.png");
}

TEST(CommandLine, HeadlessImpliesMuteAndSeedOne) {
  Parsed r = Parse({"--headless"});
  ASSERT_EQ(r.status, -1);
  EXPECT_TRUE(r.opts.headless);
  EXPECT_TRUE(r.opts.mute);
  EXPECT_EQ(plat::ChooseSeed(r.opts, 777), 1u);

  Parsed seeded = Parse({"--headless", "--seed", "0"});
  EXPECT_EQ(plat::ChooseSeed(seeded.opts, 777), 0u);
  Parsed windowed = Parse({});
  EXPECT_EQ(plat::ChooseSeed(windowed.opts, 777), 777u);
}

TEST(CommandLine, BadValuesAndUnknownOptionsExitTwo) {
  const std::vector<std::vector<std::string>> bad = {
      {"--foo"},         {"-x"},           {"stray"},           {"--scale"},
      {"--scale", "0"},  {"--scale", "9"}, {"--scale", "2x"},   {"--scale", "-1"},
      {"--seed", "-1"},  {"--seed", "4294967296"}, {"--seed", ""}, {"--frames", "ten"},
      {"--frames", "-5"}, {"--screenshot", "5"}, {"--screenshot", "0:a.png"},
      {"--screenshot", "x:a.png"}, {"--clock-start", "4294967296"}, {"--clock-start", "-1"}, {"--screenshot", "5:"}, {"--mute=1"}, {"--input", ""},
  };
  for (const auto& args : bad) {
    Parsed r = Parse(args);
    EXPECT_EQ(r.status, 2) << args[0];
    EXPECT_EQ(r.err.rfind("ball: ", 0), 0u) << r.err;
    EXPECT_NE(r.err.find("(see --help)"), std::string::npos) << r.err;
  }
  EXPECT_EQ(Parse({"--foo"}).err, "ball: unknown option '--foo' (see --help)\n");
}

TEST(CommandLine, ReadsTheInputScript) {
  std::string path = WriteTemp("script_ok.txt", "# a comment\n3 click\n1 mouse 10 20\n\n2 down z # fire\n");
  Parsed r = Parse({"--input", path});
  ASSERT_EQ(r.status, -1) << r.err;
  EXPECT_EQ(r.opts.inputPath, path);
  ASSERT_EQ(r.opts.script.size(), 3u);
  EXPECT_EQ(r.opts.script[0].frame, 1);  // sorted by frame
  EXPECT_EQ(r.opts.script[1].vk, 'Z');
  EXPECT_EQ(r.opts.script[2].kind, plat::ScriptEvent::Click);
}

TEST(CommandLine, MissingOrMalformedScriptExitsTwo) {
  Parsed missing = Parse({"--input", testing::TempDir() + "no_such_script.txt"});
  EXPECT_EQ(missing.status, 2);
  EXPECT_NE(missing.err.find("no_such_script.txt"), std::string::npos);
  Parsed directory = Parse({"--input", testing::TempDir()});
  EXPECT_EQ(directory.status, 2);

  std::string path = WriteTemp("script_bad.txt", "1 mouse 1 1\n2 jump\n");
  Parsed bad = Parse({"--input", path});
  EXPECT_EQ(bad.status, 2);
  EXPECT_EQ(bad.err, "ball: " + path + ":2: unknown event 'jump' (mouse, down, up or click)\n");
}

// An endless or huge script is refused at a bound with a message, not read into memory
// until the allocation fails.
TEST(CommandLine, OverlongScriptExitsTwo) {
  Parsed endless = Parse({"--input", "/dev/zero"});
  EXPECT_EQ(endless.status, 2);
  EXPECT_NE(endless.err.find("ball: input script '/dev/zero' is longer than 16777216 bytes"),
            std::string::npos) << endless.err;
  std::string path = WriteTemp("long_script.txt", std::string(16 * 1024 * 1024 + 1, '\n'));
  EXPECT_EQ(Parse({"--input", path}).status, 2);
  path = WriteTemp("long_script.txt", std::string(16 * 1024 * 1024, '\n'));
  EXPECT_EQ(Parse({"--input", path}).status, -1);
}

TEST(Script, EachLineKind) {
  std::vector<plat::ScriptEvent> ev;
  std::string error;
  ASSERT_TRUE(plat::ParseScript("1 mouse 639 479\n2 down lbutton\n2 up 27\n4 click\n  5\tUP Escape  \n",
                                "s", ev, error))
      << error;
  ASSERT_EQ(ev.size(), 5u);
  EXPECT_EQ(ev[0].kind, plat::ScriptEvent::Mouse);
  EXPECT_EQ(ev[0].x, 639);
  EXPECT_EQ(ev[0].y, 479);
  EXPECT_EQ(ev[1].kind, plat::ScriptEvent::Down);
  EXPECT_EQ(ev[1].vk, plat::VK_LBUTTON);
  EXPECT_EQ(ev[2].kind, plat::ScriptEvent::Up);
  EXPECT_EQ(ev[2].vk, 27);
  EXPECT_EQ(ev[3].kind, plat::ScriptEvent::Click);
  EXPECT_EQ(ev[3].frame, 4);
  EXPECT_EQ(ev[4].vk, plat::VK_ESCAPE);
}

TEST(Script, OrderWithinAFrameIsKept) {
  std::vector<plat::ScriptEvent> ev;
  std::string error;
  ASSERT_TRUE(plat::ParseScript("5 down x\n2 down y\n5 up x\n2 up y\n", "s", ev, error));
  ASSERT_EQ(ev.size(), 4u);
  EXPECT_EQ(ev[0].vk, 'Y');
  EXPECT_EQ(ev[0].kind, plat::ScriptEvent::Down);
  EXPECT_EQ(ev[1].kind, plat::ScriptEvent::Up);
  EXPECT_EQ(ev[2].vk, 'X');
  EXPECT_EQ(ev[2].kind, plat::ScriptEvent::Down);
  EXPECT_EQ(ev[3].kind, plat::ScriptEvent::Up);
}

TEST(Script, BadLinesNameTheLine) {
  struct Case {
    const char* text;
    const char* error;
  } cases[] = {
      {"0 click\n", "in.txt:1: bad frame number '0' (frames start at 1)"},
      {"\n# c\n-1 click\n", "in.txt:3: bad frame number '-1' (frames start at 1)"},
      {"x click\n", "in.txt:1: bad frame number 'x' (frames start at 1)"},
      {"1\n", "in.txt:1: missing event after the frame number"},
      {"1 mouse 5\n", "in.txt:1: 'mouse' needs X and Y"},
      {"1 mouse 5 y\n", "in.txt:1: bad mouse position '5 y'"},
      {"1 mouse 640 0\n", "in.txt:1: mouse position 640 0 is outside the 640x480 picture"},
      {"1 mouse 0 -1\n", "in.txt:1: mouse position 0 -1 is outside the 640x480 picture"},
      {"1 down\n", "in.txt:1: 'down' needs a key"},
      {"1 up shft\n", "in.txt:1: unknown key 'shft'"},
      {"1 down 256\n", "in.txt:1: unknown key '256'"},
      {"1 click now\n", "in.txt:1: unexpected 'now' at the end of the line"},
      {"1 down z z\n", "in.txt:1: unexpected 'z' at the end of the line"},
  };
  for (const Case& c : cases) {
    std::vector<plat::ScriptEvent> ev;
    std::string error;
    EXPECT_FALSE(plat::ParseScript(c.text, "in.txt", ev, error)) << c.text;
    EXPECT_EQ(error, c.error);
  }
}

TEST(Script, KeyNames) {
  EXPECT_EQ(plat::KeyFromName("left"), plat::VK_LEFT);
  EXPECT_EQ(plat::KeyFromName("right"), plat::VK_RIGHT);
  EXPECT_EQ(plat::KeyFromName("up"), plat::VK_UP);
  EXPECT_EQ(plat::KeyFromName("down"), plat::VK_DOWN);
  EXPECT_EQ(plat::KeyFromName("escape"), plat::VK_ESCAPE);
  EXPECT_EQ(plat::KeyFromName("enter"), plat::VK_RETURN);
  EXPECT_EQ(plat::KeyFromName("space"), plat::VK_SPACE);
  EXPECT_EQ(plat::KeyFromName("lbutton"), plat::VK_LBUTTON);
  EXPECT_EQ(plat::KeyFromName("rbutton"), plat::VK_RBUTTON);
  const char* letters[] = {"z", "x", "y", "q", "j", "k"};
  for (const char* l : letters) EXPECT_EQ(plat::KeyFromName(l), 'A' + (l[0] - 'a')) << l;
  EXPECT_EQ(plat::KeyFromName("Z"), 'Z');
  EXPECT_EQ(plat::KeyFromName("f11"), plat::VK_F11);
  EXPECT_EQ(plat::KeyFromName("1"), 1);
  EXPECT_EQ(plat::KeyFromName("255"), 255);
  EXPECT_EQ(plat::KeyFromName("0"), -1);
  EXPECT_EQ(plat::KeyFromName("256"), -1);
  EXPECT_EQ(plat::KeyFromName("0x41"), -1);
  EXPECT_EQ(plat::KeyFromName("f13"), -1);
  EXPECT_EQ(plat::KeyFromName(""), -1);
  EXPECT_EQ(plat::KeyFromName("zz"), -1);
}

}  // namespace

// The option file: the low-byte rule of the window flag, and missing or malformed files.
#include "quorin/tests/harness.h"

namespace quorintest {
namespace {

using namespace quorin;

struct Read {
  bool ok;
  std::string err;
};

class OptionFileTest : public QuorinTest {
 protected:
  Read ReadFile(const char* text) {
    if (text) WriteText(optionFile, text);
    popupWindow = true;  // ReadOptions must set both settings whatever happens
    brightness = -7;
    ::testing::internal::CaptureStderr();
    const bool ok = ReadOptions();
    return {ok, ::testing::internal::GetCapturedStderr()};
  }
};

TEST_F(OptionFileTest, FlagWithANonZeroLowByteAsksForAPopupWindow) {
  const struct {
    const char* text;
    bool popup;
    float brightness;
  } cases[] = {
      {"0,1.0", false, 1.0f},   {"1,2.5", true, 2.5f},  {"255,0.5", true, 0.5f},
      {"256,1.5", false, 1.5f}, {"512,3", false, 3.0f}, {"257,3", true, 3.0f},
      {"-1,1", true, 1.0f},     {"-256,1", false, 1.0f}, {" 1, 6.25\n", true, 6.25f},
      {"0,4.0 and more text", false, 4.0f}, {"0,-2", false, -2.0f},
  };
  for (const auto& c : cases) {
    const Read r = ReadFile(c.text);
    EXPECT_TRUE(r.ok) << c.text;
    EXPECT_EQ(r.err, "") << c.text;
    EXPECT_EQ(popupWindow, c.popup) << c.text;
    EXPECT_EQ(brightness, c.brightness) << c.text;
  }
  plat::WindowConfig config;
  WriteText(optionFile, "1,4");
  ReadSettings(config);
  EXPECT_TRUE(config.popup);
  WriteText(optionFile, "256,4");
  ReadSettings(config);
  EXPECT_FALSE(config.popup);
}

TEST_F(OptionFileTest, MissingOrMalformedFilePlaysInAWindowAtTheDefaultBrightness) {
  const Read missing = ReadFile(nullptr);
  EXPECT_FALSE(missing.ok);
  EXPECT_FALSE(popupWindow);
  EXPECT_EQ(brightness, kDefaultBrightness);
  EXPECT_NE(missing.err.find(optionFile), std::string::npos) << missing.err;
  EXPECT_NE(missing.err.find("No such file or directory"), std::string::npos) << missing.err;

  const char* malformed[] = {"",        "abc",     "1;2.0",   "1 ,2.0",          "1,",
                             "1,x",     "1,nan",   "1,inf",   "99999999999,1.0", "1\n",
                             ",4.0",    "0x,1"};
  for (const char* text : malformed) {
    const Read r = ReadFile(text);
    EXPECT_FALSE(r.ok) << text;
    EXPECT_FALSE(popupWindow) << text;
    EXPECT_EQ(brightness, kDefaultBrightness) << text;
    // One line that names the file.
    EXPECT_NE(r.err.find(optionFile), std::string::npos) << text;
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
  }
  // A file of more than one read's worth is read from its start only.
  std::string big = "1,2.0";
  big.append(10000, ' ');
  const Read r = ReadFile(big.c_str());
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(brightness, 2.0f);
}

}  // namespace
}  // namespace quorintest

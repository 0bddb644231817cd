// Morvane: the zombie chapter game on the named-DC game frame.
#include <cstddef>
#include "frame/frame.h"
#include "zombie/zombie.h"

namespace {

constexpr frame::ImageLoad kImages[] = {
    {"data\\back.bmp", 3},
    {"data\\chara.bmp", 4},
};

// The help card shown on F1.
constexpr char kHelp[] =
    "6体のゾンビで、3本の道を来る人々を脅かすか倒して追い払おう。\n"
    "Drive the people off three roads with your six zombies: scare or beat them.\n"
    "守られている人を殺してはいけない。\n"
    "Never kill the protected people.\n"
    "左上のコマンドをクリック: 脅かし・弱攻撃・強攻撃・交代・パス\n"
    "Click a command at the top left: scare, weak or strong blow, swap, pass.\n"
    "名前をクリック: 能力値を見る\n"
    "Click a name to read its values.\n"
    "メッセージや物語のページ: クリックで次へ\n"
    "Click to go on after a message or a story page.\n"
    "Esc: ステージを諦める (タイトルでは終了)\n"
    "Escape gives up a stage (and quits on the title).";

constexpr frame::FrameSettings kSettings = {
    .name = "zombie",
    .summary = "Morvane: lead six zombies through five chapters and drive the people back",
    .caption = "Morvane",
    .help = kHelp,
    .generation = frame::Generation::NamedDC,
    .frameBudget = 16,
    .fastForwardKey = false,
    .stretchCopy = false,
    .cursor = plat::Cursor::Arrow,
    .firstState = zombie::Title,
    .images = kImages,
    .imageCount = 2,
    .setup = zombie::StartUp,
    .step = zombie::Step,
};

}  // namespace

int main(int argc, char** argv) { return frame::RunFrame(kSettings, argc, argv); }

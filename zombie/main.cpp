// Morvane: the zombie chapter game on the named-DC game frame.
#include <cstddef>
#include "frame/frame.h"
#include "zombie/zombie.h"

namespace {

constexpr frame::ImageLoad kImages[] = {
    {"data\\back.bmp", 3},
    {"data\\chara.bmp", 4},
};

constexpr frame::FrameSettings kSettings = {
    .name = "zombie",
    .summary = "Morvane: lead six zombies through five chapters and drive the people back",
    .caption = "Morvane",
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

// ball: the game frame run with ball's settings.
#include "ball/settings.h"

int main(int argc, char** argv) { return frame::RunFrame(ball::kSettings, argc, argv); }

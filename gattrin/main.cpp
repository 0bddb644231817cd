// gattrin: the game frame run with gattrin's settings.
#include "gattrin/settings.h"

int main(int argc, char** argv) { return frame::RunFrame(gattrin::kSettings, argc, argv); }

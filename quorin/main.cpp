// quorin: the game frame run with quorin's settings.
#include "quorin/settings.h"

int main(int argc, char** argv) { return frame::RunFrame(quorin::kSettings, argc, argv); }

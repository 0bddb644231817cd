// ostel: the game frame run with ostel's settings.
#include "ostel/settings.h"

int main(int argc, char** argv) { return frame::RunFrame(ostel::kSettings, argc, argv); }

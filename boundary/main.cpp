// boundary: the game frame run with boundary's settings.
#include "boundary/settings.h"

int main(int argc, char** argv) { return frame::RunFrame(boundary::kSettings, argc, argv); }

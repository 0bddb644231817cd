// volley: dodge coloured bullets over a drifting grid of hues.
#include "volley/screen.h"

int main(int argc, char** argv) { return volley::RunVolley(argc, argv); }

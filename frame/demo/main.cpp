// framedemo (named-DC generation) and framedemo_table (DC-table generation).
#include "frame/demo/demo.h"

#ifndef FRAMEDEMO_TABLE
#define FRAMEDEMO_TABLE 0
#endif

int main(int argc, char** argv) {
  return frame::RunFrame(framedemo::Settings(FRAMEDEMO_TABLE != 0), argc, argv);
}

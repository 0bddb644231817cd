// Sound cues: a program lists its clips once, its rules mark cues during a step, and one
// call after the step sends the plays. Nothing the rules compute, draw or draw at random
// depends on whether sound is on, off or absent.
#pragma once
#include <cstdint>

namespace plat {

// One clip: the alias the program plays it by and the file it is opened from.
struct Cue {
  const char* alias;  // "hit"
  const char* file;   // "data\\hit.wav"
};

// The program's clips, at most 32 (one mark bit each).
struct CueTable {
  const Cue* cues;
  int count;
  uint32_t marked = 0;  // bit i: cue i was marked during this step

  // Sends "open FILE alias ALIAS" for each cue, in table order (FILE in double quotes
  // when it holds a space).
  void Open() const;
  // Marks cue i for this step; a second mark of the same cue in a step is still one
  // play. An index outside the table is ignored.
  void Mark(int i);
  // Sends "play ALIAS from 0" for each marked cue, in index order, and clears the marks.
  void Send();
};

// Every media command of the programs goes through this sink: SoundCommand by default;
// tests put a recorder here. A null sink drops the commands.
extern void (*mediaSink)(const char* command);

}  // namespace plat

// zombie's data files: the people, stage or story file (ZOMBIE_FILE: 0, 1 or 2), read by
// the start-up check and by the reads during play.
#include "fuzz/fuzz_file.h"
#include "zombie/zombie.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zombie;
  char err[320];
#if ZOMBIE_FILE == 0
  fuzz::WriteInput("data/people.txt", data, size);
  PersonRecord people[kTemplateCount + 1];
  ReadPeople(kPeopleFile, people, err, sizeof err);
#elif ZOMBIE_FILE == 1
  fuzz::WriteInput("data/stage.txt", data, size);
  CheckStageFile(kStageFile, err, sizeof err);
  int slots[kSlotCount + 1];
  for (int lines = 1; lines <= kChapters + 1; ++lines)
    ReadStageLines(kStageFile, lines, slots, err, sizeof err);
#else
  fuzz::WriteInput("data/story.txt", data, size);
  CheckStoryFile(kStoryFile, err, sizeof err);
  char title[kTitleCap], lines[3][kLineCap];
  for (int n = 0; n <= kChapters; ++n) ReadStory(kStoryFile, n, title, lines, err, sizeof err);
#endif
  return 0;
}

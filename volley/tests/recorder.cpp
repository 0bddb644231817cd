#include "recorder.h"

#include "volley/render.h"
#include "volley/sound.h"

namespace volley::test {

Recorder rec;

namespace {

void RecTile(int slot, int x, int y, int sl, int st, int w, int h, uint32_t colour) {
  rec.tiles.push_back({slot, x, y, sl, st, w, h, colour});
}
void RecEnd() { rec.batchEnds++; }
void RecLabel(int x, int y, const char* text, int a, int r, int g, int b, int slot) {
  rec.labels.push_back({x, y, text, a, r, g, b, slot, rec.tiles.size(), rec.batchEnds});
}
bool RecKey(int vk) { return vk >= 0 && vk < 256 && rec.keys[vk]; }
uint32_t RecClock() {
  size_t i = static_cast<size_t>(rec.clockReads++);
  return i < rec.clockScript.size() ? rec.clockScript[i] : rec.clock;
}

}  // namespace

void UseRecorder() {
  rec = Recorder{};
  fieldIo = FieldIo{RecTile, RecEnd, RecLabel, RecKey, RecClock};
  ClearKeyLatches();
  SeedRoll(1);
  soundCues.marked = 0;
}

void UseRecorderInput() {
  UseRecorder();
  fieldIo.drawTile = DrawTile;
  fieldIo.endBatch = EndBatch;
  fieldIo.drawLabel = DrawLabel;
}

void NewField(PlayField& f, uint32_t now) {
  rec.clock = now;
  CreateField(f);
  rec.clockReads = 0;
}

std::vector<int> LiveBullets(const PlayField& f) {
  std::vector<int> out;
  for (int i = 0; i < kBullets; i++) {
    if (f.bullets[i].life != 0) out.push_back(i);
  }
  return out;
}

}  // namespace volley::test

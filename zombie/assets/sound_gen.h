// zombie's sound cues, synthesised by the asset generator (sound_gen.cpp).
#pragma once
#include <string>

namespace zombie_assets {

// Writes every cue as OUTDIR/data/NAME.wav.
void WriteSounds(const std::string& outDir);

}  // namespace zombie_assets

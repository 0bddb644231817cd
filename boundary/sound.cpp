// boundary's sound aliases: eight clips opened at start-up in this order, and the one
// path every media command takes.
#include "boundary/boundary.h"
#include "boundary/media.h"

namespace boundary {

namespace {

// fan1..fan4 answer a release by its size, bass1 and bass2 are two devices on one file
// so that a beat can start while the last one still sounds, bure is a catch, hit a hit.
constexpr const char* kOpenCommands[] = {
    "open data\\out_m1.wav alias fan1", "open data\\out_m2.wav alias fan2",
    "open data\\out_m3.wav alias fan3", "open data\\out_m4.wav alias fan4",
    "open data\\bass.wav alias bass1",  "open data\\bass.wav alias bass2",
    "open data\\bass2.wav alias bure",  "open data\\hit.wav alias hit",
};

}  // namespace

void (*mediaSink)(const char* command) = plat::SoundCommand;

void SendSound(const char* command) { mediaSink(command); }

void OpenSounds() {
  for (const char* c : kOpenCommands) SendSound(c);
}

}  // namespace boundary

// The media-control command strings the games send, parsed without allocating so that a
// "play" in the middle of a frame costs nothing.
#include <cstdio>
#include <cstring>
#include "platform/common/internal.h"

namespace plat::detail {
namespace {

bool Fail(char* out) {
  out[0] = 0;
  return false;
}

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Cuts the next word (or "double-quoted text") out of s at pos into out. False at the
// end of the string or when the word does not fit; out is then empty.
bool NextWord(const char* s, size_t& pos, char* out, size_t cap) {
  out[0] = 0;
  while (s[pos] == ' ' || s[pos] == '\t' || s[pos] == '\r' || s[pos] == '\n') ++pos;
  if (s[pos] == 0) return false;
  size_t n = 0;
  if (s[pos] == '"') {
    ++pos;
    while (s[pos] != 0 && s[pos] != '"') {
      if (n + 1 >= cap) return Fail(out);
      out[n++] = s[pos++];
    }
    if (s[pos] != '"') return Fail(out);  // unterminated quote
    ++pos;
  } else {
    while (s[pos] != 0 && s[pos] != ' ' && s[pos] != '\t' && s[pos] != '\r' && s[pos] != '\n') {
      if (n + 1 >= cap) return Fail(out);
      out[n++] = s[pos++];
    }
  }
  out[n] = 0;
  return true;
}

}  // namespace

bool SameName(const char* a, const char* b) {
  for (; *a && *b; ++a, ++b)
    if (LowerAscii(*a) != LowerAscii(*b)) return false;
  return *a == *b;
}

namespace {

bool Parse(const char* command, MediaCommand& out) {
  out.kind = MediaCommand::None;
  out.path[0] = 0;
  out.alias[0] = 0;
  if (!command) return false;
  size_t pos = 0;
  char word[260];
  if (!NextWord(command, pos, word, sizeof word)) return false;

  if (SameName(word, "open")) {
    if (!NextWord(command, pos, out.path, sizeof out.path)) return false;
    for (char* p = out.path; *p; ++p)
      if (*p == '\\') *p = '/';
    bool haveAlias = false;
    while (NextWord(command, pos, word, sizeof word)) {
      if (SameName(word, "alias")) {
        if (!NextWord(command, pos, out.alias, sizeof out.alias)) return false;
        haveAlias = true;
      } else if (SameName(word, "type")) {
        if (!NextWord(command, pos, word, sizeof word)) return false;
      }  // other flags (wait, shareable) change nothing here
    }
    if (!haveAlias || out.path[0] == 0) {
      out.path[0] = 0;
      return false;
    }
    out.kind = MediaCommand::Open;
    return true;
  }

  MediaCommand::Kind kind = MediaCommand::None;
  if (SameName(word, "play")) kind = MediaCommand::Play;
  else if (SameName(word, "stop")) kind = MediaCommand::Stop;
  else if (SameName(word, "close")) kind = MediaCommand::Close;
  else return false;
  if (!NextWord(command, pos, out.alias, sizeof out.alias)) return false;
  if (kind == MediaCommand::Close && SameName(out.alias, "all")) {
    out.alias[0] = 0;
    kind = MediaCommand::CloseAll;
  }
  // "from N", "notify", "wait": a play always starts its clip from the beginning.
  out.kind = kind;
  return true;
}

}  // namespace

// A command that fails leaves no half-read path or alias behind.
bool ParseMediaCommand(const char* command, MediaCommand& out) {
  if (Parse(command, out)) return true;
  out.kind = MediaCommand::None;
  out.path[0] = 0;
  out.alias[0] = 0;
  return false;
}

namespace {
uint32_t Le32(const unsigned char* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}
}  // namespace

bool CheckRiff(const unsigned char* data, size_t size, char* problem, size_t cap) {
  if (size < 12 || std::memcmp(data, "RIFF", 4) != 0) return true;
  uint64_t riffEnd = 8 + uint64_t{Le32(data + 4)};
  if (riffEnd > size) {
    std::snprintf(problem, cap, "the RIFF header claims %llu bytes; the file has %zu",
                  static_cast<unsigned long long>(riffEnd), size);
    return false;
  }
  // The sound library looks for chunks up to the end of the file whatever the header
  // says (a header of 0 bytes is common), so every chunk up to there must fit the file.
  uint64_t pos = 12;
  while (pos + 8 <= size) {
    uint64_t length = Le32(data + pos + 4);
    if (length > size - pos - 8) {
      std::snprintf(problem, cap, "the '%.4s' chunk claims %llu bytes; only %llu follow",
                    reinterpret_cast<const char*>(data + pos),
                    static_cast<unsigned long long>(length),
                    static_cast<unsigned long long>(size - pos - 8));
      return false;
    }
    pos += 8 + length + (length & 1);
  }
  return true;
}

}  // namespace plat::detail

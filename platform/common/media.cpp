// The media-control command strings the games send, parsed without allocating so that a
// "play" in the middle of a frame costs nothing.
#include <cstring>
#include "platform/common/internal.h"

namespace plat::detail {
namespace {

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Cuts the next word (or "double-quoted text") out of s at pos into out. False at the
// end of the string or when the word does not fit.
bool NextWord(const char* s, size_t& pos, char* out, size_t cap) {
  while (s[pos] == ' ' || s[pos] == '\t' || s[pos] == '\r' || s[pos] == '\n') ++pos;
  if (s[pos] == 0) return false;
  size_t n = 0;
  if (s[pos] == '"') {
    ++pos;
    while (s[pos] != 0 && s[pos] != '"') {
      if (n + 1 >= cap) return false;
      out[n++] = s[pos++];
    }
    if (s[pos] != '"') return false;  // unterminated quote
    ++pos;
  } else {
    while (s[pos] != 0 && s[pos] != ' ' && s[pos] != '\t' && s[pos] != '\r' && s[pos] != '\n') {
      if (n + 1 >= cap) return false;
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

bool ParseMediaCommand(const char* command, MediaCommand& out) {
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

}  // namespace plat::detail

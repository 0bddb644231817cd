// Reading the three data files. Every read is bounded: lines go into a fixed buffer,
// tokens are cut at their field's size, and any fault is reported as
// "FILE, line N: problem" instead of being read past.
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include "platform/surface.h"
#include "platform/system.h"
#include "zombie/zombie.h"

namespace zombie {

namespace {

// Keeps every product of the battle formulas (courage x resistance, resistance x 100,
// the 124 % of Vary) inside 32 bits.
constexpr int kMaxValue = 9999;

// Writes an error message into err, cut to its cap bytes when longer.
[[gnu::format(printf, 3, 4)]] void Say(char* err, int cap, const char* format, ...) {
  if (cap <= 0) return;
  va_list args;
  va_start(args, format);
  std::vsnprintf(err, static_cast<size_t>(cap), format, args);
  va_end(args);
}

struct DataFile {
  FILE* f = nullptr;
  char path[256];
  int line = 0;  // number of the line last read

  bool Open(const char* name, char* err, int cap) {
    plat::DataPath(name, path, sizeof path);
    f = std::fopen(path, "r");
    if (!f) Say(err, cap, "%s: cannot open the file (%s)", path, std::strerror(errno));
    return f != nullptr;
  }
  ~DataFile() {
    if (f) std::fclose(f);
  }
};

bool IsSpace(int c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

// Reads the next line that holds more than white space into buf. Returns 1 for a line,
// 0 at the end of the file, -1 for a line that does not fit (reported in err).
int NextLine(DataFile& d, char* buf, int bufCap, char* err, int cap) {
  for (;;) {
    int c = std::fgetc(d.f);
    if (c == EOF) return 0;
    ++d.line;
    int n = 0;
    bool blank = true;
    while (c != EOF && c != '\n') {
      if (n == bufCap - 1) {
        Say(err, cap, "%s, line %d: the line is longer than %d bytes", d.path, d.line,
                      bufCap - 1);
        return -1;
      }
      if (!IsSpace(c)) blank = false;
      buf[n++] = static_cast<char>(c);
      c = std::fgetc(d.f);
    }
    buf[n] = 0;
    if (!blank) return 1;
  }
}

void SkipBlanks(const char*& p) {
  while (*p && IsSpace(static_cast<unsigned char>(*p))) ++p;
}

// A decimal integer with an optional sign and at most nine digits.
bool ParseInt(const char*& p, int& value) {
  const char* q = p;
  bool negative = false;
  if (*q == '+' || *q == '-') negative = *q++ == '-';
  int digits = 0;
  long v = 0;
  while (*q >= '0' && *q <= '9') {
    if (++digits > 9) return false;
    v = v * 10 + (*q++ - '0');
  }
  if (digits == 0) return false;
  value = static_cast<int>(negative ? -v : v);
  p = q;
  return true;
}

// Reads `count` comma-separated integers from the line. On a fault writes the problem
// (without file and line) into problem.
bool ParseInts(const char* line, int* values, int count, int total, const char* fieldList,
               const char* const* names, char* problem, int cap, const char*& rest) {
  const char* p = line;
  for (int i = 0; i < count; ++i) {
    SkipBlanks(p);
    if (!*p) {
      std::snprintf(problem, cap, "too few fields: %d, expected %d%s", i, total, fieldList);
      return false;
    }
    if (!ParseInt(p, values[i])) {
      std::snprintf(problem, cap, "field %d (%s) is not a number", i + 1, names[i]);
      return false;
    }
    SkipBlanks(p);
    if (i + 1 < count) {
      if (!*p) {
        std::snprintf(problem, cap, "too few fields: %d, expected %d%s", i + 1, total, fieldList);
        return false;
      }
      if (*p != ',') {
        std::snprintf(problem, cap, "a comma is missing after field %d (%s)", i + 1, names[i]);
        return false;
      }
      ++p;
    }
  }
  rest = p;
  return true;
}

const char* const kPeopleFields[] = {"hp", "slaughter", "courage", "protected", "name"};
const char* const kPeopleList = " (hp,slaughter,courage,protected,name)";

bool ParsePerson(const char* line, PersonRecord& out, char* problem, int cap) {
  int v[4];
  const char* p;
  if (!ParseInts(line, v, 4, 5, kPeopleList, kPeopleFields, problem, cap, p)) return false;
  if (*p != ',') {
    if (!*p)
      std::snprintf(problem, cap, "too few fields: 4, expected 5%s", kPeopleList);
    else
      std::snprintf(problem, cap, "a comma is missing after field 4 (protected)");
    return false;
  }
  ++p;
  SkipBlanks(p);
  if (!*p) {
    std::snprintf(problem, cap, "too few fields: 4, expected 5%s", kPeopleList);
    return false;
  }
  const char* name = p;
  while (*p && !IsSpace(static_cast<unsigned char>(*p))) ++p;
  int length = static_cast<int>(p - name);
  if (length > 31) {
    std::snprintf(problem, cap, "the name is %d bytes long; at most 31 fit", length);
    return false;
  }
  SkipBlanks(p);
  if (*p) {
    std::snprintf(problem, cap, "unexpected text after the name");
    return false;
  }
  // The battle divides by a person's resistance, so it must be positive.
  if (v[0] < 1 || v[0] > kMaxValue) {
    std::snprintf(problem, cap, "the resistance (hp) is %d; it must be from 1 to %d", v[0], kMaxValue);
    return false;
  }
  for (int i = 1; i <= 2; ++i) {
    if (v[i] < -kMaxValue || v[i] > kMaxValue) {
      std::snprintf(problem, cap, "%s is %d; it must be from %d to %d", kPeopleFields[i], v[i], -kMaxValue,
                    kMaxValue);
      return false;
    }
  }
  out = PersonRecord{};
  out.hp = v[0];
  out.slaughter = v[1];
  out.courage = v[2];
  out.isProtected = v[3] != 0;
  std::memcpy(out.name, name, static_cast<size_t>(length));
  out.name[length] = 0;
  return true;
}

const char* const kSlotFields[] = {"slot 1", "slot 2", "slot 3", "slot 4",  "slot 5",  "slot 6",
                                   "slot 7", "slot 8", "slot 9", "slot 10", "slot 11", "slot 12"};

bool ParseStageLine(const char* line, int* slots, char* problem, int cap) {
  int v[kSlotCount];
  const char* p;
  if (!ParseInts(line, v, kSlotCount, kSlotCount, "", kSlotFields, problem, cap, p)) return false;
  if (*p) {
    std::snprintf(problem, cap, "unexpected text after slot 12");
    return false;
  }
  for (int k = 0; k < kSlotCount; ++k) {
    if (v[k] < 0 || v[k] > kTemplateCount) {
      std::snprintf(problem, cap, "slot %d is %d; a template number is 1 to 16, or 0 for none", k + 1,
                    v[k]);
      return false;
    }
    if (k < 3 && v[k] == 0) {
      std::snprintf(problem, cap, "slot %d is 0; slots 1 to 3 start on the field and need a person",
                    k + 1);
      return false;
    }
  }
  for (int k = 0; k < kSlotCount; ++k) slots[k + 1] = v[k];
  return true;
}

// Reads up to `lines` stage lines into slots; returns the number read or -1 on a fault.
int ReadStageCount(const char* path, int lines, int slots[kSlotCount + 1], char* err, int cap) {
  DataFile d;
  if (!d.Open(path, err, cap)) return -1;
  char buf[256];
  char problem[200];
  int count = 0;
  while (count < lines) {
    int r = NextLine(d, buf, sizeof buf, err, cap);
    if (r < 0) return -1;
    if (r == 0) break;
    if (!ParseStageLine(buf, slots, problem, sizeof problem)) {
      Say(err, cap, "%s, line %d: %s", d.path, d.line, problem);
      return -1;
    }
    ++count;
  }
  return count;
}

// No story word comes near this length; reading stops here so that a huge or endless
// file (a link to /dev/zero) is refused at once and the count never overflows.
constexpr int kTokenBound = 65536;

// The next token of white-space-separated text: at most cap-1 bytes are kept; returns the
// token's whole length (0 at the end of the file), or kTokenBound + 1 for a token longer
// than kTokenBound, whose rest is left unread. tokenLine gets its line number.
int NextToken(DataFile& d, char* out, int cap, int& tokenLine) {
  int c = std::fgetc(d.f);
  while (c != EOF && IsSpace(c)) {
    if (c == '\n') ++d.line;
    c = std::fgetc(d.f);
  }
  int length = 0;
  tokenLine = d.line + 1;
  while (c != EOF && !IsSpace(c)) {
    if (length < cap - 1) out[length] = static_cast<char>(c);
    if (++length > kTokenBound) break;
    c = std::fgetc(d.f);
  }
  if (c == '\n') ++d.line;
  if (cap > 0) out[length < cap - 1 ? length : cap - 1] = 0;
  return length;
}

bool CheckTokenBound(const DataFile& d, int length, int line, char* err, int cap) {
  if (length <= kTokenBound) return true;
  Say(err, cap, "%s, line %d: a word is longer than %d bytes", d.path, line, kTokenBound);
  return false;
}

bool CheckTokenLength(const DataFile& d, int index, int length, int line, char* err, int cap) {
  if (!CheckTokenBound(d, length, line, err, cap)) return false;
  int limit = index % 4 == 0 ? kTitleCap - 1 : kLineCap - 1;
  if (length <= limit) return true;
  if (index % 4 == 0)
    Say(err, cap, "%s, line %d: the title of chapter %d is %d bytes long; at most %d fit",
                  d.path, line, index / 4, length, limit);
  else
    Say(err, cap, "%s, line %d: line %d of chapter %d is %d bytes long; at most %d fit", d.path,
                  line, index % 4, index / 4, length, limit);
  return false;
}

}  // namespace

bool ReadPeople(const char* path, PersonRecord out[kTemplateCount + 1], char* err, int cap) {
  DataFile d;
  if (!d.Open(path, err, cap)) return false;
  char buf[256];
  char problem[200];
  for (int k = 1; k <= kTemplateCount; ++k) {
    int r = NextLine(d, buf, sizeof buf, err, cap);
    if (r < 0) return false;
    if (r == 0) {
      Say(err, cap, "%s, line %d: the file ends after %d records; %d are needed", d.path,
                    d.line + 1, k - 1, kTemplateCount);
      return false;
    }
    if (!ParsePerson(buf, out[k], problem, sizeof problem)) {
      Say(err, cap, "%s, line %d: %s", d.path, d.line, problem);
      return false;
    }
  }
  return true;
}

// A file with no stage line is refused whenever it is read: the file may have been
// emptied after the start-up check, and a stage of nobody is no stage to play.
bool ReadStageLines(const char* path, int lines, int slots[kSlotCount + 1], char* err, int cap) {
  int count = ReadStageCount(path, lines, slots, err, cap);
  if (count < 0) return false;
  if (count == 0) {
    char native[256];
    plat::DataPath(path, native, sizeof native);
    Say(err, cap, "%s, line 1: the file holds no stage line", native);
    return false;
  }
  return true;
}

bool CheckStageFile(const char* path, char* err, int cap) {
  int slots[kSlotCount + 1];
  // Winning the last stage sets up "chapter 6" before the ending, which reads one line
  // more than there are stages; a missing line repeats the last one read.
  return ReadStageLines(path, kChapters + 1, slots, err, cap);
}

bool ReadStory(const char* path, int n, char title[kTitleCap], char lines[3][kLineCap], char* err,
               int cap) {
  title[0] = 0;
  for (int i = 0; i < 3; ++i) lines[i][0] = 0;
  DataFile d;
  if (!d.Open(path, err, cap)) return false;
  int line = 0;
  char skip[1];
  for (int i = 0; i < 4 * n; ++i) {
    int length = NextToken(d, skip, 1, line);
    if (length == 0) return true;
    if (!CheckTokenBound(d, length, line, err, cap)) return false;
  }
  for (int i = 0; i < 4; ++i) {
    char* out = i == 0 ? title : lines[i - 1];
    int length = NextToken(d, out, i == 0 ? kTitleCap : kLineCap, line);
    if (length == 0) return true;
    if (!CheckTokenLength(d, 4 * n + i, length, line, err, cap)) return false;
  }
  return true;
}

bool CheckStoryFile(const char* path, char* err, int cap) {
  DataFile d;
  if (!d.Open(path, err, cap)) return false;
  char skip[1];
  int line = 0;
  // The prologue and one page before each chapter: four words a page.
  const int needed = 4 * (kChapters + 1);
  for (int index = 0;; ++index) {
    int length = NextToken(d, skip, 1, line);
    if (length == 0) {
      if (index >= needed) return true;
      Say(err, cap, "%s: the file holds %d words; the %d story pages need %d (a title and three lines each)",
          d.path, index, kChapters + 1, needed);
      return false;
    }
    if (!CheckTokenLength(d, index, length, line, err, cap)) return false;
  }
}

void DataFault(const char* message) {
  plat::ShowError("Morvane", message);
  std::exit(1);
}

void CheckData() {
  char err[320];
  PersonRecord people[kTemplateCount + 1];
  if (!ReadPeople(kPeopleFile, people, err, sizeof err)) DataFault(err);
  if (!CheckStageFile(kStageFile, err, sizeof err)) DataFault(err);
  if (!CheckStoryFile(kStoryFile, err, sizeof err)) DataFault(err);
}

}  // namespace zombie

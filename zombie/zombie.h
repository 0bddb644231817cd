// zombie: a turn-based battle in chapters. Six zombies (three in the columns, three in
// reserve) drive the people coming down three columns off the field by scaring or
// beating them, without killing the protected ones. All state is program-wide.
#pragma once
#include <cstdint>
#include "platform/cues.h"

namespace zombie {

// Squad member; numbers 1 to 6 (0 is never used).
struct ZombieRecord {
  int32_t hp;
  int32_t maxHp;
  int32_t slaughter;  // 惨殺力
  int32_t panic;      // 恐慌力
  char name[32];
};

// A person: the 16 templates of the people file and the stage entries.
struct PersonRecord {
  int32_t row;  // 0 at the top of the column, 6 at the zombies
  int32_t hp;
  int32_t maxHp;
  int32_t slaughter;  // 惨殺力
  int32_t courage;    // 度胸力
  char name[32];
  uint8_t isProtected;  // must not be killed
  uint8_t present;      // stage entries: the stage slot names a template
};

constexpr int EMPTY_COLUMN = 16;  // stage entry standing in an empty column
constexpr int kSlotCount = 12;
constexpr int kTemplateCount = 16;
constexpr int kChapters = 5;
constexpr int kTitleCap = 100;  // chapterTitle: at most 99 bytes
constexpr int kLineCap = 200;   // a story line: at most 199 bytes

constexpr const char* kPeopleFile = "data\\people.txt";
constexpr const char* kStageFile = "data\\stage.txt";
constexpr const char* kStoryFile = "data\\story.txt";

// Game states (gameState of the frame).
enum : int {
  Quit = 0,
  Battle = 1,
  NewGame = 2,
  StageWon = 3,
  Waiting = 4,
  SetUpStage = 5,
  Title = 6,
  Story = 7,
  StoryWait = 8,
  Ending = 9,
};

extern ZombieRecord squad[7];
extern PersonRecord templates[kTemplateCount + 1];
extern PersonRecord stageEntries[kTemplateCount + 1];  // 1..12 and EMPTY_COLUMN
extern int stageSlots[kSlotCount + 1];                 // 1..12
extern int zombieColumns[3];
extern int reserve[3];
extern int personColumns[3];
extern int nextSlot;
extern int chapter;
extern char chapterTitle[kTitleCap];
extern int turn;
extern int selectedZombie;
extern int selectedPerson;
extern int returnState;
extern char textBuffer[256];  // every formatted text goes through here

// Zeroes the whole game state (tests).
void ResetGame();

// Stage slot k, or 0 for a number above 12.
int SlotAt(int k);

// ---- records and set-up (records.cpp)
int Vary(int v);
void MakeName(char* out);  // draws the letters of one generated name
void InitGame();
void LoadStage();

// ---- data files (datafile.cpp). Each reader returns false and writes
// "FILE, line N: problem" into err when the file is missing or malformed.
bool ReadPeople(const char* path, PersonRecord out[kTemplateCount + 1], char* err, int cap);
// Reads `lines` stage lines into slots[1..12]; a file that ends early keeps the last line
// read. Every line read must be well formed.
bool ReadStageLines(const char* path, int lines, int slots[kSlotCount + 1], char* err, int cap);
// The stage file: at least one line, and every line the game reads (six) well formed.
bool CheckStageFile(const char* path, char* err, int cap);
// Tokens 4n to 4n+3 of the story file; missing tokens are empty.
bool ReadStory(const char* path, int n, char title[kTitleCap], char lines[3][kLineCap],
               char* err, int cap);
// The whole story file: a page for the prologue and each chapter, no token longer than
// its field.
bool CheckStoryFile(const char* path, char* err, int cap);
// The start-up check of all three files; on a fault shows the message and exits with 1.
void CheckData();
// Shows a data-file fault and ends the program with status 1.
[[noreturn]] void DataFault(const char* message);

// ---- battle (battle.cpp)
void BattleStep();
void NextTurn();
void ShowMessage(const char* text);
void DrawField();
void DrawPanel();
void RemovePerson(int c);
int ScareChance(int c);         // for the active column's zombie and person
bool CommandsUsable(int c);     // scare and the attacks: a person there, zombie able
void Scare(int c);
void Attack(int c, int k);      // k = 1 weak, 2 strong
void Swap(int c);
void Pass();

// ---- sound cues (sound.cpp)
enum class Cue {
  Page,    // a story, title or ending page clicked on
  Click,   // a message clicked away
  Scare,   // the scare command
  Weak,    // the weak blow
  Strong,  // the strong blow
  Struck,  // a person strikes a zombie
  Swap,    // the swap command
  Pass,    // the pass command
  Leave,   // a person leaves the field, scared or beaten
  Won,     // the stage is won
  Lost,    // the stage is lost or given up
  Count,
};
// The clips, one per Cue in its order. The rules mark cues during a step; Step plays
// them from their start after it, so sound changes nothing the game computes or draws.
extern plat::CueTable soundCues;
inline void MarkCue(Cue cue) { soundCues.Mark(static_cast<int>(cue)); }
// Opens every cue's clip (data\NAME.wav under the alias NAME) and forgets any marks.
inline void OpenSounds() {
  soundCues.Open();
  soundCues.marked = 0;
}
// The program's start-up: the data check, then the sound clips.
void StartUp();

// ---- flow (flow.cpp)
void ShowStory(int n);
void TitleStep();
void EndingStep();
void Step();  // the state routine(s) of gameState

}  // namespace zombie

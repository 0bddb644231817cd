// Where a program's data lives: relative data paths are taken from one folder, the
// executable's own by default, so that "data\\back.bmp" opens whatever the working
// directory. An installed layout (a program in bin/, its data elsewhere) only needs
// another folder here.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include "platform/common/internal.h"
#include "platform/options.h"
#include "platform/surface.h"

namespace plat {
namespace {

char dataFolder[1024] = "";  // "" or a folder ending in '/'

}  // namespace

void SetDataFolder(const char* folder) {
  dataFolder[0] = 0;
  if (folder == nullptr || folder[0] == 0) return;
  const size_t n = std::strlen(folder);
  if (n + 2 > sizeof dataFolder) return;  // too long to use: keep the working directory
  std::memcpy(dataFolder, folder, n + 1);
  if (folder[n - 1] != '/') std::memcpy(dataFolder + n, "/", 2);
}

void DataPath(const char* path, char* out, int cap) {
  if (out == nullptr || cap <= 0) return;
  char native[1024];
  NativePath(path, native, sizeof native);
  if (native[0] == '/' || dataFolder[0] == 0)
    std::snprintf(out, static_cast<size_t>(cap), "%s", native);
  else
    std::snprintf(out, static_cast<size_t>(cap), "%s%s", dataFolder, native);
}

namespace detail {

bool ExecutableFolder(char* out, int cap) {
  if (out == nullptr || cap < 2) return false;
  const ssize_t n = readlink("/proc/self/exe", out, static_cast<size_t>(cap) - 1);
  if (n <= 0) return false;
  out[n] = 0;
  char* slash = std::strrchr(out, '/');
  if (slash == nullptr) return false;
  slash[1] = 0;
  return true;
}

namespace {

bool IsFolder(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Creates path and its missing parents; false (errno set) when one cannot be made.
bool MakeFolders(const std::string& path) {
  for (size_t i = 1; i <= path.size(); ++i) {
    if (i < path.size() && path[i] != '/') continue;
    const std::string part = path.substr(0, i);
    if (mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) return false;
  }
  if (!IsFolder(path)) {
    errno = ENOTDIR;
    return false;
  }
  return true;
}

// Copies every file of from/ that to/ lacks; files already there are the player's.
void CopyDefaults(const char* program, const std::string& from, const std::string& to) {
  DIR* dir = opendir(from.c_str());
  if (dir == nullptr) return;
  while (dirent* entry = readdir(dir)) {
    if (entry->d_name[0] == '.') continue;
    const std::string target = to + entry->d_name;
    if (access(target.c_str(), F_OK) == 0) continue;
    std::FILE* in = std::fopen((from + entry->d_name).c_str(), "rb");
    if (in == nullptr) continue;
    std::FILE* out = std::fopen(target.c_str(), "wb");
    bool ok = out != nullptr;
    char buffer[4096];
    size_t got = 0;
    while (ok && (got = std::fread(buffer, 1, sizeof buffer, in)) > 0)
      ok = std::fwrite(buffer, 1, got, out) == got;
    ok = ok && std::ferror(in) == 0;
    if (out != nullptr && std::fclose(out) != 0) ok = false;
    std::fclose(in);
    if (!ok) {
      std::fprintf(stderr, "%s: warning: cannot write '%s': %s\n", program, target.c_str(),
                   std::strerror(errno));
      std::remove(target.c_str());
    }
  }
  closedir(dir);
}

}  // namespace

std::string InstalledDataFolder(const std::string& exeFolder, const std::string& exeName) {
  const std::string prefix = "kobako-";
  if (exeName.rfind(prefix, 0) != 0 || exeName.size() == prefix.size()) return "";
  if (exeFolder.size() < 5 || exeFolder.compare(exeFolder.size() - 5, 5, "/bin/") != 0)
    return "";
  const std::string folder = exeFolder.substr(0, exeFolder.size() - 4) + "share/kobako/" +
                             exeName.substr(prefix.size()) + "/";
  return IsFolder(folder) ? folder : "";
}

std::string PlayerFolder(const char* program) {
  const char* xdg = std::getenv("XDG_DATA_HOME");
  std::string base;
  if (xdg != nullptr && xdg[0] == '/') {
    base = xdg;
  } else {
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] != '/') return "";
    base = std::string(home) + "/.local/share";
  }
  if (base.back() != '/') base += '/';
  return base + "kobako/" + program + "/";
}

void UseProgramFolders(const char* program, Options& opts) {
  char exe[1024];
  if (!ExecutableFolder(exe, sizeof exe)) {
    SetDataFolder(nullptr);
    return;
  }
  char path[1024];
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  path[n > 0 ? n : 0] = 0;
  const char* slash = std::strrchr(path, '/');
  const std::string data = InstalledDataFolder(exe, slash ? slash + 1 : path);
  if (data.empty()) {  // a build folder: data beside the program, files in the working directory
    SetDataFolder(exe);
    return;
  }
  SetDataFolder(data.c_str());
  // Installed: the files a program keeps in its working directory go to the player's data
  // folder, so the working directory becomes that folder. Paths the command line named
  // are taken from where the player started it.
  const std::string player = PlayerFolder(program);
  if (player.empty()) {
    std::fprintf(stderr, "%s: warning: neither XDG_DATA_HOME nor HOME is set; "
                 "saved files stay in the working directory\n", program);
    return;
  }
  if (!MakeFolders(player.substr(0, player.size() - 1)) || access(player.c_str(), W_OK) != 0) {
    std::fprintf(stderr, "%s: warning: cannot use the folder '%s' for saved files: %s; "
                 "they stay in the working directory\n", program, player.c_str(),
                 std::strerror(errno));
    return;
  }
  CopyDefaults(program, data + "player/", player);
  char cwd[1024];
  if (getcwd(cwd, sizeof cwd) == nullptr) return;
  const std::string here = std::string(cwd) + "/";
  for (Screenshot& shot : opts.screenshots)
    if (!shot.path.empty() && shot.path[0] != '/') shot.path = here + shot.path;
  if (!opts.inputPath.empty() && opts.inputPath[0] != '/') opts.inputPath = here + opts.inputPath;
  if (chdir(player.c_str()) != 0)
    std::fprintf(stderr, "%s: warning: cannot enter the folder '%s': %s\n", program,
                 player.c_str(), std::strerror(errno));
}

}  // namespace detail
}  // namespace plat

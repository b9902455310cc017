#include "harness.h"

#include <SDL_mixer.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "controls.h"

extern "C" {
Mix_Music* __real_Mix_LoadMUS(const char* file);
SDL_RWops* __real_SDL_RWFromFile(const char* file, const char* mode);
Mix_Chunk* __real_Mix_LoadWAV_RW(SDL_RWops* src, int freesrc);
int __real_Mix_PlayChannelTimed(int channel, Mix_Chunk* chunk, int loops, int ticks);
Mix_Music* __wrap_Mix_LoadMUS(const char* file);
SDL_RWops* __wrap_SDL_RWFromFile(const char* file, const char* mode);
Mix_Chunk* __wrap_Mix_LoadWAV_RW(SDL_RWops* src, int freesrc);
int __wrap_Mix_PlayChannelTimed(int channel, Mix_Chunk* chunk, int loops, int ticks);
Uint32 __real_SDL_GetTicks(void);
int __real_SDL_Flip(SDL_Surface* screen);
Uint32 __wrap_SDL_GetTicks(void);
int __real_nanosleep(const struct timespec* wait, struct timespec* left);
int __wrap_nanosleep(const struct timespec* wait, struct timespec* left);
int __real_clock_gettime(clockid_t clock, struct timespec* now);
int __wrap_clock_gettime(clockid_t clock, struct timespec* now);
void __wrap_SDL_Delay(Uint32 ms);
int __wrap_SDL_Flip(SDL_Surface* screen);
}

namespace harness {
namespace {

struct TIMED {
  Uint32 at;
  std::function<void()> action;
};

struct STATE {
  Uint32 clock = 0;
  Uint32 origin = 0;  // where set_clock put the clock
  int ticks_calls = 0;
  std::map<int, Uint32> stalls;  // ticks call number -> extra ms
  std::vector<TIMED> timed;
  std::multimap<int, std::function<void()>> by_flip;
  std::vector<std::function<void(int)>> every_flip;
  int flip_count = 0;
  bool capture = false;
  std::vector<Uint32> frame;
  int frame_w = 0, frame_h = 0;
  Uint32 max_ms = 30 * 60 * 1000;
  int max_flips = 200000;
};

// What the sound wrappers saw; kept across reset() since chunks outlive tests' scripts.
struct SOUND_LOG {
  std::vector<std::string> music;
  std::string last_opened;
  std::map<const Mix_Chunk*, std::string> chunk_files;
  std::map<std::string, int> plays;
  int total = 0;
};

SOUND_LOG& sound_log() {
  static SOUND_LOG log;
  return log;
}

STATE& state() {
  static STATE s;
  return s;
}

void run_due_actions() {
  STATE& s = state();
  // Actions may schedule more actions: take the due ones out first.
  for (;;) {
    auto due = std::find_if(s.timed.begin(), s.timed.end(),
                            [&](const TIMED& t) { return t.at - s.origin <= s.clock - s.origin; });
    if (due == s.timed.end()) break;
    std::function<void()> action = due->action;
    s.timed.erase(due);
    action();
  }
}

void copy_frame(SDL_Surface* screen) {
  STATE& s = state();
  SDL_Surface* copy = SDL_CreateRGBSurface(SDL_SWSURFACE, screen->w, screen->h, 32, 0x00FF0000,
                                           0x0000FF00, 0x000000FF, 0);
  SDL_BlitSurface(screen, nullptr, copy, nullptr);
  s.frame.assign(static_cast<Uint32*>(copy->pixels),
                 static_cast<Uint32*>(copy->pixels) + copy->w * copy->h);
  s.frame_w = copy->w;
  s.frame_h = copy->h;
  SDL_FreeSurface(copy);
}

}  // namespace

Uint32 now() { return state().clock; }

void advance(Uint32 ms) {
  state().clock += ms;
  run_due_actions();
}

void set_clock(Uint32 ms) {
  state().clock = ms;
  state().origin = ms;
}

void stall_at_ticks_call(int k, Uint32 ms) {
  STATE& s = state();
  s.stalls[s.ticks_calls + k] += ms;
}

void set_limits(Uint32 max_ms, int max_flips) {
  state().max_ms = max_ms;
  state().max_flips = max_flips;
}

void at_time(Uint32 ms, std::function<void()> action) {
  state().timed.push_back({ms, std::move(action)});
}

void after_flip(int n, std::function<void()> action) {
  state().by_flip.emplace(n, std::move(action));
}

void on_every_flip(std::function<void(int)> action) {
  state().every_flip.push_back(std::move(action));
}

SDL_Event key_down(SDLKey key) {
  SDL_Event e;
  std::memset(&e, 0, sizeof e);
  e.type = SDL_KEYDOWN;
  e.key.type = SDL_KEYDOWN;
  e.key.state = SDL_PRESSED;
  e.key.keysym.sym = key;
  return e;
}

SDL_Event key_up(SDLKey key) {
  SDL_Event e = key_down(key);
  e.type = SDL_KEYUP;
  e.key.type = SDL_KEYUP;
  e.key.state = SDL_RELEASED;
  return e;
}

SDL_Event window_close() {
  SDL_Event e;
  std::memset(&e, 0, sizeof e);
  e.type = SDL_QUIT;
  return e;
}

void push(SDL_Event e) {
  if (SDL_PushEvent(&e) != 0) ADD_FAILURE() << "SDL's event queue is full";
}

void press(SDLKey key) {
  push(key_down(key));
  push(key_up(key));
}

void tap_down(SDLKey key) { push(key_down(key)); }

void tap_up(SDLKey key) { push(key_up(key)); }

void press_after_flip(int n, SDLKey key) {
  after_flip(n, [key] { press(key); });
}

void push_after_flip(int n, SDL_Event e) {
  after_flip(n, [e] { push(e); });
}

int drain_queue() {
  int count = 0;
  SDL_Event e;
  while (SDL_PollEvent(&e)) ++count;
  return count;
}

int flips() { return state().flip_count; }

void capture_frames(bool on) { state().capture = on; }

SDL_Surface* last_frame() {
  STATE& s = state();
  if (s.frame.empty()) return nullptr;
  SDL_Surface* copy = SDL_CreateRGBSurface(SDL_SWSURFACE, s.frame_w, s.frame_h, 32, 0x00FF0000,
                                           0x0000FF00, 0x000000FF, 0);
  std::memcpy(copy->pixels, s.frame.data(), s.frame.size() * sizeof(Uint32));
  return copy;
}

std::string file_text(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

bool has_control_bytes(const std::string& text) {
  for (const char c : text) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if ((byte < 0x20 && byte != '\n') || byte == 0x7f) return true;
  }
  return false;
}

void as_on_a_full_disk(const std::function<void()>& body) {
  struct sigaction ignore = {}, old_action = {};
  ignore.sa_handler = SIG_IGN;
  sigaction(SIGXFSZ, &ignore, &old_action);
  rlimit old_limit;
  getrlimit(RLIMIT_FSIZE, &old_limit);
  rlimit tiny = old_limit;
  tiny.rlim_cur = 1;
  setrlimit(RLIMIT_FSIZE, &tiny);
  body();
  setrlimit(RLIMIT_FSIZE, &old_limit);
  sigaction(SIGXFSZ, &old_action, nullptr);
}

std::string frame_file(const std::string& name) {
  const std::filesystem::path dir = std::filesystem::path(GAME_DIR).parent_path() / "test-frames";
  std::error_code ignored;
  std::filesystem::create_directories(dir, ignored);
  return (dir / name).string();
}

void pixel_rgb(SDL_Surface* surface, int x, int y, Uint8* r, Uint8* g, Uint8* b) {
  SDL_LockSurface(surface);
  const Uint8* row = static_cast<const Uint8*>(surface->pixels) + y * surface->pitch;
  Uint32 value = 0;
  std::memcpy(&value, row + x * surface->format->BytesPerPixel, surface->format->BytesPerPixel);
  SDL_UnlockSurface(surface);
  SDL_GetRGB(value, surface->format, r, g, b);
}

int differing_pixels(SDL_Surface* a, SDL_Surface* b, int step) {
  int differing = 0;
  for (int y = 0; y < 480; y += step) {
    for (int x = 0; x < 640; x += step) {
      Uint8 r1, g1, b1, r2, g2, b2;
      pixel_rgb(a, x, y, &r1, &g1, &b1);
      pixel_rgb(b, x, y, &r2, &g2, &b2);
      differing += r1 != r2 || g1 != g2 || b1 != b2;
    }
  }
  return differing;
}

namespace {

void put_u32(std::vector<unsigned char>& out, Uint32 v) {
  for (int shift = 24; shift >= 0; shift -= 8)
    out.push_back(static_cast<unsigned char>(v >> shift));
}

void put_chunk(std::vector<unsigned char>& out, const char* type,
               const std::vector<unsigned char>& data) {
  put_u32(out, static_cast<Uint32>(data.size()));
  const size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  put_u32(out,
          static_cast<Uint32>(crc32(0, out.data() + start, static_cast<uInt>(out.size() - start))));
}

}  // namespace

bool save_png(SDL_Surface* surface, const std::string& path) {
  if (surface == nullptr) return false;
  std::vector<unsigned char> raw;
  raw.reserve(static_cast<size_t>(surface->h) * (surface->w * 3 + 1));
  for (int y = 0; y < surface->h; ++y) {
    raw.push_back(0);  // no filter
    for (int x = 0; x < surface->w; ++x) {
      Uint8 r, g, b;
      pixel_rgb(surface, x, y, &r, &g, &b);
      raw.insert(raw.end(), {r, g, b});
    }
  }
  uLongf packed_size = compressBound(static_cast<uLong>(raw.size()));
  std::vector<unsigned char> packed(packed_size);
  if (compress2(packed.data(), &packed_size, raw.data(), static_cast<uLong>(raw.size()), 6) !=
      Z_OK) {
    return false;
  }
  packed.resize(packed_size);
  std::vector<unsigned char> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<unsigned char> header;
  put_u32(header, static_cast<Uint32>(surface->w));
  put_u32(header, static_cast<Uint32>(surface->h));
  header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB
  put_chunk(png, "IHDR", header);
  put_chunk(png, "IDAT", packed);
  put_chunk(png, "IEND", {});
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool ok = std::fwrite(png.data(), 1, png.size(), file) == png.size();
  return std::fclose(file) == 0 && ok;
}

const std::vector<std::string>& music_files() { return sound_log().music; }

int plays(const std::string& sound_file) {
  auto it = sound_log().plays.find(sound_file);
  return it == sound_log().plays.end() ? 0 : it->second;
}

int total_plays() { return sound_log().total; }

void reset() {
  state() = STATE();
  sound_log().music.clear();
  sound_log().plays.clear();
  sound_log().total = 0;
}

GAME_DIR_COPY::GAME_DIR_COPY() {
  namespace fs = std::filesystem;
  char tmpl[] = "/tmp/brinegrab-test-XXXXXX";
  dir = mkdtemp(tmpl);
  previous = fs::current_path().string();
  for (const auto& entry : fs::directory_iterator(GAME_DIR)) {
    const std::string name = entry.path().filename().string();
    if (name == "records.dat" || name == "brinegrab") continue;
    fs::create_symlink(entry.path(), fs::path(dir) / name);
  }
  fs::current_path(dir);
}

GAME_DIR_COPY::~GAME_DIR_COPY() {
  namespace fs = std::filesystem;
  std::error_code ignored;
  fs::current_path(previous, ignored);
  fs::permissions(dir, fs::perms::owner_all, ignored);
  fs::remove_all(dir, ignored);
}

}  // namespace harness

Uint32 __wrap_SDL_GetTicks(void) {
  auto& s = harness::state();
  ++s.ticks_calls;
  auto stall = s.stalls.find(s.ticks_calls);
  if (stall != s.stalls.end()) {
    s.clock += stall->second;
    s.stalls.erase(stall);
  }
  return s.clock;
}

void __wrap_SDL_Delay(Uint32 ms) {
  auto& s = harness::state();
  s.clock += ms;
  if (s.clock - s.origin > s.max_ms) throw harness::STUCK{"virtual time ran past its limit"};
  harness::run_due_actions();
}

int __wrap_SDL_Flip(SDL_Surface* screen) {
  const int result = __real_SDL_Flip(screen);
  auto& s = harness::state();
  const int n = ++s.flip_count;
  if (n > s.max_flips) throw harness::STUCK{"too many frames flipped"};
  if (s.capture && screen != nullptr) harness::copy_frame(screen);
  for (auto& action : s.every_flip) action(n);
  auto range = s.by_flip.equal_range(n);
  std::vector<std::function<void()>> due;
  for (auto it = range.first; it != range.second; ++it) due.push_back(it->second);
  s.by_flip.erase(range.first, range.second);
  for (auto& action : due) action();
  return result;
}

Mix_Music* __wrap_Mix_LoadMUS(const char* file) {
  harness::sound_log().music.push_back(file != nullptr ? file : "");
  return __real_Mix_LoadMUS(file);
}

SDL_RWops* __wrap_SDL_RWFromFile(const char* file, const char* mode) {
  harness::sound_log().last_opened = file != nullptr ? file : "";
  return __real_SDL_RWFromFile(file, mode);
}

Mix_Chunk* __wrap_Mix_LoadWAV_RW(SDL_RWops* src, int freesrc) {
  Mix_Chunk* chunk = __real_Mix_LoadWAV_RW(src, freesrc);
  if (chunk != nullptr) harness::sound_log().chunk_files[chunk] = harness::sound_log().last_opened;
  return chunk;
}

int __wrap_Mix_PlayChannelTimed(int channel, Mix_Chunk* chunk, int loops, int ticks) {
  auto& log = harness::sound_log();
  if (chunk != nullptr) {
    auto it = log.chunk_files.find(chunk);
    ++log.plays[it == log.chunk_files.end() ? "?" : it->second];
    ++log.total;
  }
  return __real_Mix_PlayChannelTimed(channel, chunk, loops, ticks);
}

int main(int argc, char** argv) {
  // Headless: the tests, never the game, choose the dummy drivers.
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  // In English, whatever the machine's language; a test asks for another.
  for (const char* variable : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) unsetenv(variable);
  // A game that cannot write its working directory keeps its records in the
  // player's data directory: never the real one.
  char home[] = "/tmp/brinegrab-home-XXXXXX";
  if (mkdtemp(home) == nullptr) return 1;
  setenv("HOME", home, 1);
  setenv("XDG_DATA_HOME", (std::string(home) + "/.local/share").c_str(), 1);
  // The event layer learns the keys as the game's entry has it learn them, first.
  publish_controls();
  ::testing::InitGoogleTest(&argc, argv);
  const int failed = RUN_ALL_TESTS();
  std::error_code ignored;
  std::filesystem::remove_all(home, ignored);
  return failed;
}

namespace {
bool system_waits_virtual = false;
long long system_ns = 0;
}  // namespace

void harness::virtual_system_waits(bool on) { system_waits_virtual = on; }

long long harness::system_ms() { return system_ns / 1000000; }

int __wrap_nanosleep(const struct timespec* wait, struct timespec* left) {
  if (!system_waits_virtual) return __real_nanosleep(wait, left);
  system_ns += static_cast<long long>(wait->tv_sec) * 1000000000 + wait->tv_nsec;
  return 0;
}

int __wrap_clock_gettime(clockid_t clock, struct timespec* now) {
  if (!system_waits_virtual || clock != CLOCK_MONOTONIC) return __real_clock_gettime(clock, now);
  now->tv_sec = static_cast<time_t>(system_ns / 1000000000);
  now->tv_nsec = static_cast<long>(system_ns % 1000000000);
  return 0;
}

// GameConsole: screen model operations, key questions, waits and sound calls forwarded to the platform.
#include "console/game_console.hpp"

#include <cstdarg>
#include <cstdio>
#include <vector>

GameConsole console;

namespace {

// The platform when none is attached: shows nothing, gets no keys, and lets time jump.
class NullBackend final : public ConsoleBackend {
 public:
  void present(const ScreenGrid&, const CursorState&) override {}
  void drain_input(InputState&) override {}
  bool key_waiting() override { return false; }
  int read_key() override { return 0; }
  std::uint32_t now_ms() override { return now_; }
  void sleep_until(std::uint32_t deadline) override { now_ = deadline; }
  void wait_for_input(std::uint32_t deadline) override { now_ = deadline; }
  bool running() override { return false; }

 private:
  std::uint32_t now_ = 0;
};

NullBackend nullBackend;

// How often a wait for a key's release looks again when no input has arrived.
constexpr std::uint32_t kReleaseRecheckMs = 10;

}  // namespace

GameConsole::GameConsole() { grid_.fill(7, 0); }

GameConsole::~GameConsole() = default;

ConsoleBackend& GameConsole::backend() { return backend_ ? *backend_ : nullBackend; }

void GameConsole::attach(ConsoleBackend* backend) {
  backend_ = backend;
  grid_.fill(7, 0);
  cursor_ = CursorState{};
  foreground_ = 15;
  background_ = 0;
  input_ = InputState{};
}

void GameConsole::attach_sound(SoundSystem* sound) { sound_ = sound; }

void GameConsole::locate(int x, int y) {
  if (!ScreenGrid::contains(x, y)) return;
  cursor_.column = x;
  cursor_.row = y;
}

void GameConsole::set_color(int fg, int bg) {
  if (fg != KEEP_COLOR) foreground_ = fg & 15;
  if (bg != KEEP_COLOR) background_ = bg & 15;
}

void GameConsole::clear(int fg, int bg) {
  set_color(fg, bg);
  grid_.fill(static_cast<std::uint8_t>(foreground_), static_cast<std::uint8_t>(background_));
  locate(1, 1);
}

void GameConsole::set_cursor(int visible, unsigned size) {
  cursor_.visible = (visible & 0xFF) != 0;
  if (size >= 1 && size <= 99) cursor_.size = size;
}

std::uint8_t GameConsole::make_attribute(int fg, int bg) {
  set_color(fg, bg);
  return static_cast<std::uint8_t>((background_ & 15) << 4 | (foreground_ & 15));
}

void GameConsole::print(const char* format, ...) {
  char small[256];
  va_list args;
  va_start(args, format);
  va_list again;
  va_copy(again, args);
  const int length = std::vsnprintf(small, sizeof small, format, args);
  va_end(args);
  if (length < 0) {
    va_end(again);
    return;
  }
  std::string_view text(small, static_cast<std::size_t>(length));
  std::vector<char> large;
  if (static_cast<std::size_t>(length) >= sizeof small) {
    large.resize(static_cast<std::size_t>(length) + 1);
    std::vsnprintf(large.data(), large.size(), format, again);
    text = std::string_view(large.data(), static_cast<std::size_t>(length));
  }
  va_end(again);
  if (!ScreenGrid::contains(cursor_.column, cursor_.row)) return;
  const auto end = grid_.write({cursor_.column, cursor_.row}, text, static_cast<std::uint8_t>(foreground_),
                               static_cast<std::uint8_t>(background_));
  cursor_.column = end.column;
  cursor_.row = end.row;
}

void GameConsole::present() { backend().present(grid_, cursor_); }

std::int32_t GameConsole::poll_input(std::uint32_t code) {
  present();
  if (IsJoystickQuery(code)) return backend().read_joystick(code);
  backend().drain_input(input_);
  if (code == INPUT_MOUSE_X) return input_.mouse_x + 1;
  if (code == INPUT_MOUSE_Y) return input_.mouse_y + 1;
  return input_.held(code % 256) ? 1 : 0;
}

void GameConsole::wait_release(std::uint32_t key) {
  while (poll_input(key)) backend().wait_for_input(now() + kReleaseRecheckMs);
}

bool GameConsole::key_waiting() {
  present();
  return backend().key_waiting();
}

int GameConsole::read_key() { return backend().read_key(); }

void GameConsole::wait_for_key() {
  present();
  while (running() && !backend().key_waiting()) backend().wait_for_input(now() + 1000);
}

bool GameConsole::running() { return backend().running(); }

std::uint32_t GameConsole::now() { return backend().now_ms(); }

void GameConsole::wait(std::uint32_t ms) { wait_until(now() + ms); }

void GameConsole::wait_until(std::uint32_t deadline) {
  present();
  backend().sleep_until(deadline);
}

WaveVoice GameConsole::prepare_wave(const char* name) { return sound_ ? sound_->prepare_wave(name) : 0; }

bool GameConsole::play_wave(WaveVoice voice) { return sound_ && sound_->play_wave(voice); }

void GameConsole::release_all_waves() {
  if (sound_) sound_->release_all_waves();
}

MusicPlayer* GameConsole::load_music(const char* name) { return sound_ ? sound_->load_music(name) : nullptr; }

bool GameConsole::play_music(MusicPlayer* player, bool loop) { return sound_ && sound_->play_music(player, loop); }

bool GameConsole::stop_music(MusicPlayer* player) { return sound_ && sound_->stop_music(player); }

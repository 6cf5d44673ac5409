// GameConsole: the one process-wide console the game draws, reads keys, keeps time and plays sound through.
#pragma once

#include <cstdint>

#include "console/console_backend.hpp"
#include "console/input_state.hpp"
#include "console/screen_grid.hpp"
#include "sound/sound_system.hpp"

// A colour argument of 16 keeps that component as it is.
inline constexpr int KEEP_COLOR = 16;

class GameConsole {
 public:
  GameConsole();
  virtual ~GameConsole();
  GameConsole(const GameConsole&) = delete;
  GameConsole& operator=(const GameConsole&) = delete;

  // The platform the console runs on, and the sound it plays through. Either may be null:
  // without a back end nothing is shown, no key comes and time jumps; without sound every
  // sound call fails quietly. Attaching a back end resets the screen model and the keys.
  void attach(ConsoleBackend* backend);
  void attach_sound(SoundSystem* sound);

  // --- Screen -----------------------------------------------------------------------------
  // Moves the cursor to (x, y), 1-based. A position outside the 80x25 screen is ignored.
  void locate(int x, int y);
  // Stores the colours (16 keeps a component) for later printing.
  void set_color(int fg, int bg);
  // Stores the colours, blanks the whole screen in them and homes the cursor.
  void clear(int fg, int bg);
  // Shows (visible != 0) or hides the cursor; a size of 1..99 percent replaces the old one.
  void set_cursor(int visible, unsigned size);
  // Stores the colours and returns the attribute byte: background high nibble, foreground low.
  std::uint8_t make_attribute(int fg, int bg);
  // printf-style text at the cursor in the current colours; the cursor moves past it.
  void print(const char* format, ...) __attribute__((format(printf, 2, 3)));

  const ScreenGrid& screen() const { return grid_; }
  const CursorState& cursor() const { return cursor_; }
  int foreground() const { return foreground_; }
  int background() const { return background_; }

  // --- Keys ---------------------------------------------------------------------------------
  // 1 while the virtual key is held (codes 0..255, other codes modulo 256), the mouse
  // position for INPUT_MOUSE_X/Y, a raw joystick reading (or -1) for INPUT_JOY*.
  std::int32_t poll_input(std::uint32_t code);
  // Waits, without using the processor, until `key` is no longer held.
  void wait_release(std::uint32_t key);

  // The typed-character input used by name entry: a test whether a byte is waiting and an
  // unechoed read of one byte (extended keys as kExtendedKeyPrefix and a second byte).
  bool key_waiting();
  int read_key();
  // Sleeps until a typed byte is waiting (or the session ends).
  void wait_for_key();

  // False once no more input can come; every input loop of the game ends then.
  bool running();

  // --- Time ---------------------------------------------------------------------------------
  std::uint32_t now();
  // Shows what has been drawn, then waits until now + ms, reading no input.
  void wait(std::uint32_t ms);
  void wait_until(std::uint32_t deadline);

  // --- Sound --------------------------------------------------------------------------------
  WaveVoice prepare_wave(const char* name);
  bool play_wave(WaveVoice voice);
  void release_all_waves();
  MusicPlayer* load_music(const char* name);
  bool play_music(MusicPlayer* player, bool loop);
  bool stop_music(MusicPlayer* player);

  // Sends what changed on the screen model to the real screen.
  void present();

 private:
  ConsoleBackend& backend();

  ConsoleBackend* backend_ = nullptr;
  SoundSystem* sound_ = nullptr;
  ScreenGrid grid_;
  CursorState cursor_;
  int foreground_ = 15;
  int background_ = 0;
  InputState input_;
};

// The console. It exists before the game starts and lives until the process ends.
extern GameConsole console;

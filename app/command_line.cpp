// The program's options: the usage text, the version, and the answer to anything unknown.
#include "app/command_line.hpp"

#include <string_view>

#include "game/text/translate.hpp"

namespace {

constexpr const char* kUsage =
    "Usage: domrak [--help | --version]\n"
    "       domrak [--lang ja|en]\n"
    "\n"
    "DOMRAK, a text-mode arena battle game for an 80x25 screen. Type a name: the name\n"
    "alone fixes your fighter's abilities. Then win six rounds in the arena.\n"
    "\n"
    "Keys:\n"
    "  Up, Down     move the selection\n"
    "  Left, Right  turn the manual's pages\n"
    "  Enter        choose, go on\n"
    "  letters, digits, space, _, Backspace\n"
    "               type a name (up to 16 characters)\n"
    "  Ctrl+C       quit (there is no quit item; closing the window quits too)\n"
    "\n"
    "Sound files, read from the working directory in place of the built-in ones:\n"
    "  effects  kettei.wav kasoru.wav flush.wav create.wav alarm.wav tuzyou.wav\n"
    "           kyouda.wav mahou.wav\n"
    "  music    title.mid entry.mid buttle1.mid buttle2.mid buttle3.mid buttle4.mid\n"
    "           syori.mid gameover.mid end.mid\n"
    "\n"
#ifdef _WIN32
    "Effects play on the wave-out devices and music through the MIDI mapper.\n"
#else
    "Environment:\n"
    "  SDL_AUDIODRIVER  the audio driver to play through (pipewire, pulseaudio, alsa,\n"
    "                   ...; dummy for silence)\n"
    "Music needs a General MIDI SoundFont (/usr/share/sounds/sf2/default-GM.sf2).\n"
#endif
    "\n"
    "Language: Japanese (ja) or English (en).\n"
#ifdef _WIN32
    "  The game speaks the Windows display language: Japanese where it is Japanese,\n"
    "  English otherwise.\n"
#else
    "  The game follows the locale, as translated programs read it: LANGUAGE, then\n"
    "  LC_ALL, LC_MESSAGES, LANG. Japanese where Japanese comes before English there\n"
    "  and where the locale is C, POSIX or unset; English otherwise.\n"
#endif
    "  DOMRAK_LANG=ja|en overrides that, and --lang overrides both.\n"
    "\n"
    "Options:\n"
    "  --lang LANG  play in LANG: ja (Japanese) or en (English)\n"
    "  -h, --help   show this help and exit\n"
    "  --version    show the version and exit\n";

bool KnownLanguage(std::string_view language) {
  for (const std::string& known : KnownLanguages())
    if (language == known) return true;
  return false;
}

}  // namespace

std::optional<int> AnswerCommandLine(int argc, const char* const argv[], std::ostream& out, std::ostream& err,
                                     std::string& language) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--lang" || arg.starts_with("--lang=")) {
      const bool joined = arg.starts_with("--lang=");
      if (!joined && i + 1 == argc) {
        err << "domrak: --lang needs a language: ja or en\n";
        return 2;
      }
      const std::string_view chosen = joined ? arg.substr(7) : std::string_view(argv[++i]);
      if (!KnownLanguage(chosen)) {
        err << "domrak: no language '" << chosen << "' (try ja or en)\n";
        return 2;
      }
      language = chosen;
      continue;
    }
    if (arg == "--help" || arg == "-h") {
      out << kUsage;
      return 0;
    }
    if (arg == "--version") {
      out << "domrak " DOMRAK_VERSION "\n";
      return 0;
    }
    err << "domrak: unknown option '" << arg << "' (try 'domrak --help')\n";
    return 2;
  }
  return std::nullopt;
}

// The manual: pages turned with Left and Right, left with Enter.
#include "game/pages/manual_screen.hpp"

#include "console/game_console.hpp"
#include "game/ui/sound_cues.hpp"
#include "game/pages/manual_pages.hpp"
#include "game/text/translate.hpp"

namespace {

void DrawPage(int page) {
  console.clear(KEEP_COLOR, KEEP_COLOR);
  for (const ManualText& text : ManualPage(page)) {
    if (text.column != 0) console.locate(text.column, text.row);
    console.set_color(text.color, 15);
    console.print("%s", Tr(text.text));
  }
  console.locate(22, 25);
  console.set_color(0, 15);
  console.print(Tr("[←][→]…ページ切り替え　[ENTER]…タイトル画面に戻る  %d/%d"), page, kManualPageCount);
}

// Turns one page when `key` is held and the page can move that way.
bool TurnPage(int& page, VirtualKey key, int step) {
  const int next = page + step;
  if (next < 1 || next > kManualPageCount || !console.poll_input(key)) return false;
  PlayEffect("kasoru.wav");
  page = next;
  console.wait_release(key);
  return true;
}

}  // namespace

Screen ManualScreen() {
  console.wait_release(kKeyEnter);
  console.set_color(15, 15);
  console.clear(KEEP_COLOR, KEEP_COLOR);
  int page = 1;
  bool needsDrawing = true;
  while (console.running()) {
    if (TurnPage(page, kKeyLeft, -1)) needsDrawing = true;
    if (TurnPage(page, kKeyRight, 1)) needsDrawing = true;
    if (console.poll_input(kKeyEnter)) {
      PlayEffect("kettei.wav");
      return Screen::Title;
    }
    if (needsDrawing) {
      DrawPage(page);
      needsDrawing = false;
    }
    console.wait(10);
  }
  return Screen::Quit;
}

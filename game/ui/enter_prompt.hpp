// The prompt that ends victory, game over and the endings: it waits for Enter.
#pragma once

// Until Enter is held, prints `prompt` at (x, y) in dark grey and checks again every 20 ms.
// Then plays "kettei.wav" and returns true; false when the session ends first.
bool AwaitEnter(int x, int y, const char* prompt);

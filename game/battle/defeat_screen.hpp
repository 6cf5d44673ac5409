// A fallen fighter: one chance in three to rise again, otherwise game over.
#pragma once

// True when the fighter rose again and the battle goes on. False after game over: the
// fighter has been erased and the battle hands over to the title screen.
bool DefeatScreen();

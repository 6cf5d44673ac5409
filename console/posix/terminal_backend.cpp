// Placeholder until the terminal back end is built: the game starts and ends at once.
#include "console/platform.hpp"

std::unique_ptr<ConsoleBackend> CreatePlatformBackend() { return nullptr; }

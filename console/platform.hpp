// The platform back end that the program runs on, chosen when it starts.
#pragma once

#include <memory>

#include "console/console_backend.hpp"

// The real screen and keyboard of this platform: the terminal on POSIX systems, the
// console on Windows. Never null.
std::unique_ptr<ConsoleBackend> CreatePlatformBackend();

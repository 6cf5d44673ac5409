// The name boost after the third round: a second typed name adds its abilities at once.
#pragma once

// Asks for a second name in the message area, adds the abilities it gives to the fighter and
// shows them. False when the session ended while the name was being typed.
bool NameBoost();

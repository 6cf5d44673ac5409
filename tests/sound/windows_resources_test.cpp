// The built-in sound set as resources of the Windows program: found by name and type, in any case.
#include <gtest/gtest.h>

#include <string>

#include "sound/resources/embedded_resources.hpp"

TEST(WindowsResources, HoldEveryBuiltInSoundUnderItsNameAndTypeOnly) {
  for (const std::string name : {"kettei.wav", "kasoru.wav", "flush.wav", "create.wav", "alarm.wav", "tuzyou.wav",
                                 "kyouda.wav", "mahou.wav", "title.mid", "entry.mid", "buttle1.mid", "buttle2.mid",
                                 "buttle3.mid", "buttle4.mid", "syori.mid", "gameover.mid", "end.mid"})
    EXPECT_TRUE(FindEmbeddedResource(name, name.ends_with(".wav") ? "WAVE" : "MIDI").has_value()) << name;
  EXPECT_TRUE(FindEmbeddedResource("KETTEI.WAV", "wave").has_value());
  EXPECT_TRUE(FindEmbeddedResource("Title.Mid", "Midi").has_value());
  const char* const absent[][2] = {{"kettei.wav", "MIDI"}, {"title.mid", "WAVE"}, {"kettei.wav", "WAV"},
                                   {"nosuch.wav", "WAVE"}, {"kettei", "WAVE"},    {"", "WAVE"}};
  for (const auto& [name, type] : absent)
    EXPECT_FALSE(FindEmbeddedResource(name, type).has_value()) << name << " " << type;
}

// Effects loaded once by name and kept, so that playing one again reads and converts nothing.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>

// The game plays a fixed set of effects, so the cache holds at most that many entries; every
// voice of an effect shares its one copy of the samples.
template <class Effect>
class EffectCache {
 public:
  // The effect called `name`, made by `load(name)` the first time it is asked for. A failed load
  // (null) is kept as well: a file that cannot be played is not read again on every play.
  template <class Load>
  std::shared_ptr<const Effect> get(const char* name, Load load) {
    auto [entry, added] = effects_.try_emplace(name);
    if (added) entry->second = load(name);
    return entry->second;
  }
  void clear() { effects_.clear(); }

 private:
  std::map<std::string, std::shared_ptr<const Effect>, std::less<>> effects_;
};

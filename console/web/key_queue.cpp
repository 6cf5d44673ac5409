// The browser's key records applied to held keys and turned into typed bytes.
#include "console/web/key_queue.hpp"

#include <string>

#include "console/text_width.hpp"

namespace {

constexpr std::uint32_t kShiftKey = 16;
constexpr std::uint32_t kControlKey = 17;
constexpr std::uint32_t kAltKey = 18;

void Apply(const KeyRecord& record, InputState& state) {
  if (record.key > 255) return;
  state.set(record.key, record.down);
  state.set(kAltKey, record.alt);
  state.set(kControlKey, record.control);
  state.set(kShiftKey, record.shift);
}

}  // namespace

void KeyQueue::drain(InputState& state) {
  for (const KeyRecord& record : taken_) Apply(record, state);
  taken_.clear();
  for (const KeyRecord& record : queue_) Apply(record, state);
  queue_.clear();
}

bool KeyQueue::key_waiting() {
  if (!typed_.empty()) return true;
  while (!queue_.empty() && !queue_.front().types()) {
    taken_.push_back(queue_.front());
    queue_.pop_front();
  }
  return !queue_.empty();
}

int KeyQueue::read_key() {
  while (typed_.empty()) {  // a record that types no character leaves it empty
    if (!key_waiting()) return 0;
    const KeyRecord record = queue_.front();
    queue_.pop_front();
    taken_.push_back(record);
    if (record.character != 0) {
      std::string bytes;
      text::AppendUtf8(record.character, bytes);
      typed_.insert(typed_.end(), bytes.begin(), bytes.end());
    } else {
      typed_.push_back(static_cast<unsigned char>(record.extended >> 8));
      typed_.push_back(static_cast<unsigned char>(record.extended));
    }
  }
  const int byte = typed_.front();
  typed_.pop_front();
  return byte;
}

// The card's space as the window's gauge shows it: the card's size and the space that will be
// in use once the staged edits are written.
#pragma once

#include <cstdint>
#include <string>

namespace sdmate {

class DiskGauge {
 public:
  std::int64_t maximum() const { return maximum_; }
  std::int64_t position() const { return position_; }
  std::int64_t freeBytes() const { return maximum_ - position_; }

  // A maximum of 0 or less is ignored; a maximum below the position lowers the position.
  void SetMaximum(std::int64_t maximum);
  // Clamped to 0 .. maximum.
  void SetPosition(std::int64_t position);
  void Add(std::int64_t bytes) { SetPosition(position_ + bytes); }
  void Subtract(std::int64_t bytes) { SetPosition(position_ - bytes); }

  // Maximum and position for a widget that takes 32-bit values: cards of 2 GiB and more are
  // scaled down by a power of two.
  int WidgetMaximum() const { return static_cast<int>(maximum_ >> Shift()); }
  int WidgetPosition() const { return static_cast<int>(position_ >> Shift()); }

 private:
  int Shift() const;
  std::int64_t maximum_ = 0;
  std::int64_t position_ = 0;
};

// "残り 5120.0 KB " for 5 242 880 free bytes.
std::string FreeSpaceText(std::int64_t freeBytes);
// Under 1000 KB the text and the bar turn red.
bool IsLowSpace(std::int64_t freeBytes);

}  // namespace sdmate

#pragma once

namespace wattrix {

// Beep types of the platform's message beep.
namespace beep {
constexpr unsigned kSimple = 0x00;
constexpr unsigned kInformation = 0x40;
constexpr unsigned kExclamation = 0x30;
constexpr unsigned kError = 0x10;
}  // namespace beep

// Plays a beep of one of the types above and returns at once.
class Beeper {
 public:
  virtual ~Beeper() = default;
  virtual void Beep(unsigned type) = 0;
};

// The process-wide beeper; null restores the default, which is silent.
void SetBeeper(Beeper* beeper);
Beeper& CurrentBeeper();

}  // namespace wattrix

#pragma once

#include "core/platform/Beeper.h"

#include <memory>
#include <thread>

namespace wattrix {

// Something that plays named freedesktop sound-theme events. Its calls may
// block (a busy sound server); the beeper only calls it from its own thread.
class SoundEventPlayer {
 public:
  virtual ~SoundEventPlayer() = default;
  // Connects to the sound system; true when it can play.
  virtual bool Open() = 0;
  // Starts playing one event; true when playback started.
  virtual bool Play(const char* eventId) = 0;
  virtual void Close() = 0;
};

// The desktop beep: the four beep types as the sound-theme events "bell",
// "dialog-information", "dialog-warning" and "dialog-error", played through
// libcanberra on a thread of its own, so that Beep() never blocks the
// caller (the reading path). A missing or hung sound server means the
// fallback beeper plays instead (or silence without one), never a hang.
class CanberraBeeper final : public Beeper {
 public:
  // `fallback` plays a beep when the sound system cannot; it is called on
  // the caller's thread or on the beeper's own thread, so it must be safe
  // from any thread (the desktop application posts QApplication::beep to
  // its event loop). Not owned; it must outlive the beeper.
  explicit CanberraBeeper(Beeper* fallback = nullptr);
  CanberraBeeper(std::unique_ptr<SoundEventPlayer> player, Beeper* fallback);
  // Waits briefly for the sound thread; a thread stuck in the sound system
  // is left to finish on its own.
  ~CanberraBeeper() override;
  CanberraBeeper(const CanberraBeeper&) = delete;
  CanberraBeeper& operator=(const CanberraBeeper&) = delete;

  // Play(type), or the fallback when that reports false.
  void Beep(unsigned type) override;
  // Hands the sound to the sound thread and returns at once. False when the
  // sound system is known not to play at the moment (its last attempt
  // failed a short while ago, or it has been stuck for over a second): the
  // caller then plays its own beep. When an attempt fails on the sound
  // thread, the fallback is played from there.
  bool Play(unsigned type);
  // False while the sound system is known not to play.
  bool Available() const;

  // Sound-theme event of a beep type.
  static const char* EventId(unsigned type);

 private:
  struct Shared;
  static void Run(std::shared_ptr<Shared> shared);

  std::shared_ptr<Shared> m_shared;
  std::thread m_thread;
};

// The libcanberra player used by the default beeper.
std::unique_ptr<SoundEventPlayer> MakeCanberraPlayer();

}  // namespace wattrix

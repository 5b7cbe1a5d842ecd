#include "core/platform/CanberraBeeper.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <future>
#include <mutex>
#include <string>
#include <vector>

namespace wattrix {
namespace {

using namespace std::chrono_literals;

// Collects what reaches it from any thread and lets the test wait for it.
class Collector {
 public:
  void Add(std::string what) {
    {
      std::lock_guard lock(m_mutex);
      m_items.push_back(std::move(what));
    }
    m_changed.notify_all();
  }
  // True when at least n items arrived within the time.
  bool WaitFor(std::size_t n, std::chrono::milliseconds within = 5000ms) {
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, within, [&] { return m_items.size() >= n; });
  }
  std::vector<std::string> Items() {
    std::lock_guard lock(m_mutex);
    return m_items;
  }

 private:
  std::mutex m_mutex;
  std::condition_variable m_changed;
  std::vector<std::string> m_items;
};

class FallbackBeeper final : public Beeper {
 public:
  void Beep(unsigned type) override { beeps.Add(std::to_string(type)); }
  Collector beeps;
};

// A player whose sound system is up, missing, or hangs in Open until told.
class FakePlayer final : public SoundEventPlayer {
 public:
  enum class Mode { Plays, Missing, Hangs };
  FakePlayer(Mode mode, Collector& played, std::shared_future<void> release = {})
      : m_mode(mode), m_played(played), m_release(std::move(release)) {}
  bool Open() override {
    ++opens;
    if (m_mode == Mode::Hangs) m_release.wait();
    return m_mode == Mode::Plays;
  }
  bool Play(const char* eventId) override {
    m_played.Add(eventId);
    return true;
  }
  void Close() override {}
  int opens = 0;

 private:
  Mode m_mode;
  Collector& m_played;
  std::shared_future<void> m_release;
};

TEST(CanberraBeeper, PlaysTheFourBeepTypesAsSoundThemeEvents) {
  Collector played;
  FallbackBeeper fallback;
  CanberraBeeper beeper(std::make_unique<FakePlayer>(FakePlayer::Mode::Plays, played), &fallback);
  const std::vector<std::string> expected = {"bell", "dialog-information", "dialog-warning", "dialog-error",
                                             "bell"};
  const unsigned types[] = {beep::kSimple, beep::kInformation, beep::kExclamation, beep::kError, 0x99};
  for (std::size_t i = 0; i < expected.size(); ++i) {
    beeper.Beep(types[i]);
    ASSERT_TRUE(played.WaitFor(i + 1)) << i;  // one at a time: none is replaced by the next
  }
  EXPECT_EQ(played.Items(), expected);
  EXPECT_TRUE(beeper.Available());
  EXPECT_TRUE(fallback.beeps.Items().empty());
}

TEST(CanberraBeeper, AMissingSoundSystemFallsBackWithoutRetryingForEveryBeep) {
  Collector played;
  FallbackBeeper fallback;
  auto player = std::make_unique<FakePlayer>(FakePlayer::Mode::Missing, played);
  FakePlayer* fake = player.get();
  CanberraBeeper beeper(std::move(player), &fallback);
  EXPECT_TRUE(beeper.Play(beep::kError));  // not known yet: handed over
  ASSERT_TRUE(fallback.beeps.WaitFor(1));  // the sound thread found out and fell back
  EXPECT_FALSE(beeper.Available());
  EXPECT_FALSE(beeper.Play(beep::kError));  // now the caller is told at once
  beeper.Beep(beep::kExclamation);          // and Beep falls back itself
  ASSERT_TRUE(fallback.beeps.WaitFor(2));
  EXPECT_EQ(fallback.beeps.Items(), (std::vector<std::string>{"16", "48"}));
  EXPECT_EQ(fake->opens, 1);
  EXPECT_TRUE(played.Items().empty());
}

TEST(CanberraBeeper, AHungSoundServerNeverBlocksTheCallerNorTheDestructor) {
  Collector played;
  FallbackBeeper fallback;
  std::promise<void> release;
  {
    CanberraBeeper beeper(
        std::make_unique<FakePlayer>(FakePlayer::Mode::Hangs, played, release.get_future().share()),
        &fallback);
    beeper.Beep(beep::kSimple);  // the sound thread now hangs in Open
    for (int i = 0; i < 100; ++i) beeper.Beep(beep::kError);
    std::this_thread::sleep_for(1200ms);
    EXPECT_FALSE(beeper.Available());  // stuck for over a second
    beeper.Beep(beep::kInformation);
    ASSERT_TRUE(fallback.beeps.WaitFor(1));
    EXPECT_EQ(fallback.beeps.Items(), (std::vector<std::string>{"64"}));
  }  // the destructor leaves the stuck thread behind
  release.set_value();
  EXPECT_TRUE(played.Items().empty());
}

TEST(CanberraBeeper, RealLibraryWithoutASoundSystemFallsBack) {
  // A driver that does not exist: libcanberra cannot open, as on a machine
  // without any sound system.
  ::setenv("CANBERRA_DRIVER", "wattrix-none", 1);
  FallbackBeeper fallback;
  {
    CanberraBeeper beeper(&fallback);
    beeper.Beep(beep::kExclamation);
    ASSERT_TRUE(fallback.beeps.WaitFor(1));
    EXPECT_FALSE(beeper.Available());
  }
  ::unsetenv("CANBERRA_DRIVER");
  EXPECT_EQ(fallback.beeps.Items(), (std::vector<std::string>{"48"}));
}

TEST(CanberraBeeper, RealLibraryInThisEnvironmentNeitherCrashesNorHangs) {
  FallbackBeeper fallback;
  CanberraBeeper beeper(&fallback);
  for (const unsigned type : {beep::kSimple, beep::kInformation, beep::kExclamation, beep::kError})
    beeper.Beep(type);
  // Whatever the host offers: either the sound system takes the beeps, or
  // they reach the fallback.
  const bool fellBack = fallback.beeps.WaitFor(1, 3000ms);
  EXPECT_TRUE(fellBack || beeper.Available());
}

}  // namespace
}  // namespace wattrix

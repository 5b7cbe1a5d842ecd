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
using Texts = std::vector<std::string>;

// Collects what reaches it from any thread; doubles as the fallback beeper.
class Collector final : public Beeper {
 public:
  void Beep(unsigned type) override { Add(std::to_string(type)); }
  void Add(std::string what) {
    std::lock_guard lock(m_mutex);
    m_items.push_back(std::move(what));
    m_changed.notify_all();
  }
  Texts WaitFor(std::size_t n) {
    std::unique_lock lock(m_mutex);
    m_changed.wait_for(lock, 5s, [&] { return m_items.size() >= n; });
    return m_items;
  }

 private:
  std::mutex m_mutex;
  std::condition_variable m_changed;
  Texts m_items;
};

// A sound system that plays, or that hangs in Open until released.
class FakePlayer final : public SoundEventPlayer {
 public:
  FakePlayer(Collector& played, std::shared_future<void> hang = {})
      : m_played(played), m_hang(std::move(hang)) {}
  bool Open() override {
    if (!m_hang.valid()) return true;
    m_hang.wait();
    return false;
  }
  bool Play(const char* eventId) override {
    m_played.Add(eventId);
    return true;
  }
  void Close() override {}

 private:
  Collector& m_played;
  std::shared_future<void> m_hang;
};

TEST(CanberraBeeper, PlaysTheBeepTypesAsSoundThemeEvents) {
  Collector played, fallback;
  CanberraBeeper beeper(std::make_unique<FakePlayer>(played), &fallback);
  const unsigned types[] = {beep::kSimple, beep::kInformation, beep::kExclamation, beep::kError, 0x99};
  for (std::size_t i = 0; i < 5; ++i) {
    beeper.Beep(types[i]);
    played.WaitFor(i + 1);  // one at a time, so none replaces the one before
  }
  EXPECT_EQ(played.WaitFor(5),
            (Texts{"bell", "dialog-information", "dialog-warning", "dialog-error", "bell"}));
  EXPECT_TRUE(beeper.Available());
  EXPECT_EQ(fallback.WaitFor(0), Texts{});
}

TEST(CanberraBeeper, AHungSoundServerNeverBlocksTheCallerNorTheDestructor) {
  Collector played, fallback;
  std::promise<void> release;
  {
    CanberraBeeper beeper(std::make_unique<FakePlayer>(played, release.get_future().share()), &fallback);
    for (int i = 0; i < 100; ++i) beeper.Beep(beep::kError);  // the sound thread hangs in Open
    std::this_thread::sleep_for(1200ms);
    EXPECT_FALSE(beeper.Available());  // stuck for over a second
    beeper.Beep(beep::kInformation);   // so the fallback plays at once
    EXPECT_EQ(fallback.WaitFor(1), Texts{"64"});
  }  // the destructor leaves the stuck thread behind
  release.set_value();
}

TEST(CanberraBeeper, RealLibraryWithoutASoundSystemFallsBackAndStopsTrying) {
  ::setenv("CANBERRA_DRIVER", "wattrix-none", 1);  // no such driver: nothing can play
  Collector fallback;
  {
    CanberraBeeper beeper(&fallback);
    EXPECT_TRUE(beeper.Play(beep::kExclamation));  // not known yet: handed to the sound thread
    EXPECT_EQ(fallback.WaitFor(1), Texts{"48"});   // which fell back
    EXPECT_FALSE(beeper.Play(beep::kError));       // now the caller is told at once
    beeper.Beep(beep::kError);
    EXPECT_EQ(fallback.WaitFor(2), (Texts{"48", "16"}));
  }
  ::unsetenv("CANBERRA_DRIVER");
}

}  // namespace
}  // namespace wattrix

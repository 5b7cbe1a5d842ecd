#include "core/platform/CanberraBeeper.h"

#include <canberra.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>

namespace wattrix {

namespace {

using Clock = std::chrono::steady_clock;

// After a failed attempt the sound system is left alone for a while, so a
// burst of out-of-limit readings does not retry it for every reading.
constexpr auto kRetryAfter = std::chrono::seconds(5);
// A call into the sound system that takes longer than this is "stuck".
constexpr auto kStuckAfter = std::chrono::seconds(1);
// How long the destructor waits for the sound thread.
constexpr auto kStopWait = std::chrono::milliseconds(500);

Clock::rep Ticks(Clock::time_point t) { return t.time_since_epoch().count(); }

class CanberraPlayer final : public SoundEventPlayer {
 public:
  ~CanberraPlayer() override { Close(); }

  bool Open() override {
    if (m_context) return true;
    if (ca_context_create(&m_context) != CA_SUCCESS) {
      m_context = nullptr;
      return false;
    }
    ca_context_change_props(m_context, CA_PROP_APPLICATION_NAME, "Wattrix", CA_PROP_APPLICATION_ID, "wattrix",
                            static_cast<const char*>(nullptr));
    if (ca_context_open(m_context) != CA_SUCCESS) {
      Close();
      return false;
    }
    return true;
  }

  bool Play(const char* eventId) override {
    if (!m_context) return false;
    return ca_context_play(m_context, 0, CA_PROP_EVENT_ID, eventId, CA_PROP_EVENT_DESCRIPTION, "Limit alarm",
                           static_cast<const char*>(nullptr)) == CA_SUCCESS;
  }

  void Close() override {
    if (m_context) ca_context_destroy(m_context);
    m_context = nullptr;
  }

 private:
  ca_context* m_context = nullptr;
};

}  // namespace

// State shared with the sound thread; it outlives the beeper when the thread
// is stuck in the sound system at destruction.
struct CanberraBeeper::Shared {
  std::unique_ptr<SoundEventPlayer> player;

  std::mutex mutex;
  std::condition_variable wake;
  std::condition_variable finished;
  std::optional<unsigned> pending;  // a newer beep replaces one not yet played
  bool stop = false;
  bool done = false;

  // Guards the fallback pointer while it is called from the sound thread.
  std::mutex fallbackMutex;
  Beeper* fallback = nullptr;

  std::atomic<Clock::rep> unavailableUntil{0};
  std::atomic<Clock::rep> busySince{0};  // 0 while not inside the player

  void PlayFallback(unsigned type) {
    std::lock_guard lock(fallbackMutex);
    if (fallback) fallback->Beep(type);
  }
};

CanberraBeeper::CanberraBeeper(Beeper* fallback) : CanberraBeeper(MakeCanberraPlayer(), fallback) {}

CanberraBeeper::CanberraBeeper(std::unique_ptr<SoundEventPlayer> player, Beeper* fallback)
    : m_shared(std::make_shared<Shared>()) {
  m_shared->player = std::move(player);
  m_shared->fallback = fallback;
  m_thread = std::thread(&CanberraBeeper::Run, m_shared);
}

CanberraBeeper::~CanberraBeeper() {
  {
    std::lock_guard lock(m_shared->mutex);
    m_shared->stop = true;
    m_shared->pending.reset();
  }
  m_shared->wake.notify_all();
  {
    std::lock_guard lock(m_shared->fallbackMutex);
    m_shared->fallback = nullptr;
  }
  bool ended = false;
  {
    std::unique_lock lock(m_shared->mutex);
    ended = m_shared->finished.wait_for(lock, kStopWait, [this] { return m_shared->done; });
  }
  if (ended) {
    m_thread.join();
  } else {
    m_thread.detach();  // it holds its own share of the state
  }
}

const char* CanberraBeeper::EventId(unsigned type) {
  switch (type) {
    case beep::kInformation:
      return "dialog-information";
    case beep::kExclamation:
      return "dialog-warning";
    case beep::kError:
      return "dialog-error";
    default:
      return "bell";
  }
}

bool CanberraBeeper::Available() const {
  const auto now = Ticks(Clock::now());
  if (now < m_shared->unavailableUntil.load()) return false;
  const auto busy = m_shared->busySince.load();
  return busy == 0 || now - busy < Clock::duration(kStuckAfter).count();
}

bool CanberraBeeper::Play(unsigned type) {
  if (!Available()) return false;
  {
    std::lock_guard lock(m_shared->mutex);
    if (m_shared->stop) return false;
    m_shared->pending = type;
  }
  m_shared->wake.notify_one();
  return true;
}

void CanberraBeeper::Beep(unsigned type) {
  if (Play(type)) return;
  m_shared->PlayFallback(type);
}

void CanberraBeeper::Run(std::shared_ptr<Shared> shared) {
  bool open = false;
  for (;;) {
    unsigned type = 0;
    {
      std::unique_lock lock(shared->mutex);
      shared->wake.wait(lock, [&] { return shared->stop || shared->pending.has_value(); });
      if (shared->stop) break;
      type = *shared->pending;
      shared->pending.reset();
    }
    if (Ticks(Clock::now()) < shared->unavailableUntil.load()) {
      shared->PlayFallback(type);  // queued just before the last attempt failed
      continue;
    }
    shared->busySince.store(Ticks(Clock::now()));
    if (!open) open = shared->player && shared->player->Open();
    const bool played = open && shared->player->Play(EventId(type));
    if (!played && open) {
      // The connection may have gone; start afresh next time.
      shared->player->Close();
      open = false;
    }
    shared->busySince.store(0);
    if (!played) {
      shared->unavailableUntil.store(Ticks(Clock::now() + kRetryAfter));
      shared->PlayFallback(type);
    }
  }
  if (shared->player) shared->player->Close();
  {
    std::lock_guard lock(shared->mutex);
    shared->done = true;
  }
  shared->finished.notify_all();
}

std::unique_ptr<SoundEventPlayer> MakeCanberraPlayer() { return std::make_unique<CanberraPlayer>(); }

}  // namespace wattrix

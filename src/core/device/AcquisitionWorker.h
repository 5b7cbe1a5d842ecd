#pragma once

#include "core/device/DeliveryHandle.h"
#include "core/device/MeasurementRequest.h"
#include "core/device/PeakFilter.h"

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace wattrix {

struct AcquisitionCommand;
class SensorChannel;

// The acquisition thread: serves one measurement request at a time over
// the channel, by the acquisition table, and delivers the Reading through
// the handle given with the request while BusyFlag is set. It also tells
// the line-lost handler, on its own thread, when the channel lost the line.
//
// Threads: Start, Stop and the requests come from the owner's thread;
// StopFromInside from a receiver on the acquisition thread itself.
class AcquisitionWorker final {
 public:
  explicit AcquisitionWorker(SensorChannel& channel);
  ~AcquisitionWorker();
  AcquisitionWorker(const AcquisitionWorker&) = delete;
  AcquisitionWorker& operator=(const AcquisitionWorker&) = delete;

  // Starts the thread for a sensor of `modelCode` with `firmwareVersion`;
  // false when it could not be started.
  bool Start(int modelCode, int firmwareVersion);
  // Ends the thread and joins it, cancelling the channel's waits until it
  // has ended. Not from the acquisition thread.
  void Stop();
  // From the acquisition thread: it stops after the current delivery.
  void StopFromInside();
  bool OnWorkerThread() const { return std::this_thread::get_id() == m_workerId.load(); }
  bool Started() const { return m_thread.joinable(); }
  bool Running() const { return m_running.load(); }

  // Hands the thread one request and sets BusyFlag (before the thread can
  // answer); false, flag untouched, when it is not running.
  bool Request(const MeasurementRequest& request, std::shared_ptr<DeliveryHandle> addressee);
  // Set by Request, cleared by the window; a reading is delivered only
  // while it is set.
  bool BusyFlag() const { return m_busy.load(); }
  void SetBusyFlag(bool busy) { m_busy.store(busy); }
  void ResetPeakCarry();
  protocol::PeakCarry PeakCarry() const;

  void SetLineLostHandler(std::function<void()> handler);
  // The channel lost the line (I/O lock held): wakes the thread to tell.
  void NoteLineLost();

 private:
  struct Pending {
    MeasurementRequest request;
    std::shared_ptr<DeliveryHandle> addressee;
  };

  void Loop();
  void AnnounceLineLost();
  Reading Serve(const AcquisitionCommand& command, const MeasurementRequest& request);
  Reading ServeSingleValue(const AcquisitionCommand& command, const MeasurementRequest& request);
  Reading ServeValueFrame(const AcquisitionCommand& command, const MeasurementRequest& request);
  Reading ServeCcdf(const MeasurementRequest& request);

  SensorChannel& m_channel;
  int m_modelCode = -1;
  int m_firmwareVersion = -1;

  std::thread m_thread;
  std::atomic<std::thread::id> m_workerId{};
  std::atomic<bool> m_running{false};
  std::atomic<bool> m_busy{false};

  // Everything below; the thread waits on m_wake.
  mutable std::mutex m_mutex;
  std::condition_variable m_wake;
  bool m_stop = false;
  bool m_done = false;
  bool m_requestPending = false;
  bool m_lossToAnnounce = false;
  Pending m_pending;
  protocol::PeakCarry m_peakCarry = protocol::kInitialPeakCarry;
  std::function<void()> m_lineLostHandler;
};

}  // namespace wattrix

#pragma once

#include "core/device/AcquisitionWorker.h"
#include "core/device/DeliveryHandle.h"
#include "core/device/LogTransfer.h"
#include "core/device/MeasurementRequest.h"
#include "core/device/SensorChannel.h"
#include "core/device/TransportFactory.h"
#include "core/vocabulary/Quantity.h"

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace wattrix {

// The link to the one sensor: connects and identifies it, sends the
// one-shot commands, reads the log, and serves one measurement request at
// a time on the acquisition thread, delivering each Reading through the
// handle the asking window gave with the request. It holds the channel
// (transport, the I/O lock, framing) and the acquisition worker.
//
// Threads: Connect and Disconnect come from the owner's thread. Every
// command-and-reply pair (one-shot or acquisition) holds the channel's
// lock, so the two threads never interleave on the wire. Disconnect
// cancels pending reads and returns within a second.
class SensorLink final {
 public:
  static constexpr std::size_t kReceiveBufferSize = SensorChannel::kReceiveBufferSize;
  static constexpr int kLoggingStatusCount = 11;

  // The process-wide link, created on first use; the application owns its
  // use and hands it to the windows.
  static SensorLink& Instance();

  SensorLink();
  ~SensorLink();
  SensorLink(const SensorLink&) = delete;
  SensorLink& operator=(const SensorLink&) = delete;

  // Where transports come from (tests use loopbacks).
  void SetTransportFactory(TransportFactory factory);

  // 0 connected; -1 already running; -2 no transport or it did not open;
  // -3 identification failed; -4 the thread could not be started.
  int Connect(int port);
  void Disconnect();
  // True from a successful Connect to the start of Disconnect or a lost
  // line. Never waits for a connect in progress (that reads false), so a
  // window asking while a slow sensor identifies keeps painting.
  bool IsConnected() const { return m_connected.load() && !LineLost(); }
  bool IsRunning() const { return m_worker.Running(); }

  // True from the moment the transport reported the line gone (end of
  // file, an I/O error, a USB device that disappeared) until the next
  // successful Connect. Meanwhile nothing is sent and RequestMeasurement
  // returns false; IsConnected() is false. Connect may be called without a
  // Disconnect first.
  bool LineLost() const { return m_channel.LineLost(); }
  // Called once per loss, on the acquisition thread (also for a loss a
  // one-shot command found); it must return quickly, e.g. post to its own
  // thread. An empty handler removes it.
  void SetLineLostHandler(std::function<void()> handler) { m_worker.SetLineLostHandler(std::move(handler)); }

  // Replies refused since Connect: values no model can measure, frames out
  // of shape or followed at once by stray bytes, CCDF blocks that cannot
  // be a sweep, and readings a window refused as out of step (NoteRejected).
  // Time-outs are not counted. Safe from any thread.
  std::uint64_t RejectedReplies() const { return m_channel.RejectedReplies(); }
  void NoteRejected() { m_channel.NoteRejected(); }

  // Identity read by Identify; -1 while disconnected.
  int DeviceCode() const;
  int FirmwareVersion() const;
  int SerialNumber() const;
  // Model code of the connected sensor's row, or -1.
  int ModelCode() const;

  // Set by RequestMeasurement (callers do not set it again afterwards),
  // cleared by the window when it has taken the reading or when it stops;
  // the thread delivers only while it is set.
  bool BusyFlag() const { return m_worker.BusyFlag(); }
  void SetBusyFlag(bool busy) { m_worker.SetBusyFlag(busy); }

  // [GD], [GV], [GS]; accepts only the known device codes.
  bool Identify();

  // One-shot commands; true when every acknowledge arrived.
  // [SO] with the code of TECH index `technologyIndex`.
  bool SendTechnology(int technologyIndex);
  // [GE]: true when the average is below the reverse power (sensor
  // connected the wrong way round); the pair is handed back (the previous
  // one when this read failed).
  bool CheckPowerDirection(std::int32_t frequency100, std::int32_t& average, std::int32_t& reverse);
  bool CheckPowerDirection(std::int32_t frequency100);
  bool SendPulseAveraging(int rateIndex, int reference);
  // The averaging REPEAT count, with the PX420B's trigger and sample set-up.
  bool SendAverageRepeat(int repeat);
  // The logging set-up; `offset100` is the external offset in 0.01 dB and
  // `technologyIndex` the TECH index.
  bool ConfigureLogging(std::int32_t frequency100, QuantityMask items, int intervalSeconds, int sampleCount,
                        int unused1, int unused2, int averagingIndex, int reference, std::int32_t offset100,
                        int technologyIndex);
  bool SetLoggingRun(int value);
  bool ClearLoggingMemory();
  bool ReadLoggingStatus();
  std::int32_t LoggingStatus(int index) const;
  // Fetches the logged values: the raw values, in the order sent and at
  // most `valueCount`, go into `values`; `timeoutMs` covers the whole
  // transfer. Watched by `control`, it reads a block at a time, reports
  // there and ends when it is cancelled; unwatched (null) it reads in
  // buffer-sized pieces. Nothing is stored: the caller files the values.
  LogReadResult ReadLog(int timeoutMs, int byteCount, int blockCount, int valueCount,
                        std::vector<std::uint16_t>& values, LogTransferControl* control);

  // Hands the thread one request for `addressee` and sets BusyFlag; false
  // (flag untouched) when the thread is not running or the line is lost.
  bool RequestMeasurement(const MeasurementRequest& request, std::shared_ptr<DeliveryHandle> addressee);
  // Back to the initial carry of the peak filter.
  void ResetPeakCarry() { m_worker.ResetPeakCarry(); }
  protocol::PeakCarry PeakCarry() const { return m_worker.PeakCarry(); }

 private:
  struct Identity {
    int deviceCode = -1;
    int firmwareVersion = -1;
    int serialNumber = -1;
  };
  void ResetIdentity(int value);
  void SetIdentity(int Identity::*field, int value);
  void DisconnectLocked();

  // Serialises Connect and Disconnect.
  std::mutex m_lifecycleMutex;
  TransportFactory m_factory;
  SensorChannel m_channel;
  AcquisitionWorker m_worker;

  std::atomic<bool> m_connected{false};

  // The identity and the last logging status read; held briefly, never
  // during an exchange.
  mutable std::mutex m_stateMutex;
  Identity m_identity;
  std::array<std::int32_t, kLoggingStatusCount> m_loggingStatus{};
};

}  // namespace wattrix

#pragma once

#include "core/vocabulary/CcdfHistogram.h"
#include "core/device/LogTransfer.h"
#include "core/device/PeakFilter.h"
#include "core/device/PowerDevice.h"
#include "core/device/TransportFactory.h"

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace wattrix {

class AppContext;
class MeasurementSettings;

// The link to the one sensor: owns the transport, the receive buffer and the
// acquisition thread, identifies the sensor, sends the one-shot commands and
// serves one measurement request at a time, delivering the readings to the
// window registered in AppContext.
//
// Threads: Connect and Disconnect come from the owner's thread. Every
// command-and-reply pair (one-shot or acquisition) holds the transport
// lock, so the two threads never interleave on the wire; results are kept
// under a separate lock so accessors never wait for a long exchange.
// Disconnect cancels pending reads and returns within a second.
class SensorLink final {
 public:
  static constexpr std::size_t kReceiveBufferSize = 262144;
  static constexpr int kLoggingStatusCount = 11;
  static constexpr int kPulseValueCount = 5;

  // The process-wide link, created on first use.
  static SensorLink& Instance();

  SensorLink();
  ~SensorLink();
  SensorLink(const SensorLink&) = delete;
  SensorLink& operator=(const SensorLink&) = delete;

  // Where transports come from (tests use loopbacks) and readings go.
  void SetTransportFactory(TransportFactory factory);
  void SetAppContext(AppContext* context);
  // The settings record the commands read TECH, REPEAT and the external
  // offset from, and the log download fills. Read on the caller's thread.
  void SetSettings(MeasurementSettings* settings) { m_settings.store(settings); }
  MeasurementSettings* Settings() const { return m_settings.load(); }

  // 0 connected; -1 already running; -2 no transport or it did not open;
  // -3 identification failed; -4 the thread could not be started.
  int Connect(int port);
  void Disconnect();
  // True from a successful Connect to the start of Disconnect or a lost
  // line. Never waits for a connect in progress (that reads false), so a
  // window asking while a slow sensor identifies keeps painting.
  bool IsConnected() const { return m_connected.load() && !m_lineLost.load(); }
  bool IsRunning() const { return m_running.load(); }

  // True from the moment the transport reported the line gone (end of
  // file, an I/O error, a USB device that disappeared) until the next
  // successful Connect. Meanwhile nothing is sent and RequestMeasurement
  // returns false; IsConnected() is false. Connect may be called without a
  // Disconnect first.
  bool LineLost() const { return m_lineLost.load(); }
  // Called once per loss, on the acquisition thread (also for a loss a
  // one-shot command found); it must return quickly, e.g. post to its own
  // thread. An empty handler removes it.
  void SetLineLostHandler(std::function<void()> handler);

  // Replies refused since Connect: values no model can measure, frames out
  // of shape or followed at once by stray bytes, CCDF blocks that cannot
  // be a sweep, and readings a window refused as out of step (NoteRejected).
  // Time-outs are not counted. Safe from any thread.
  std::uint64_t RejectedReplies() const { return m_rejected.load(); }
  void NoteRejected() { m_rejected.fetch_add(1); }

  // Identity read by Identify; -1 while disconnected.
  int DeviceCode() const { return m_deviceCode.load(); }
  int FirmwareVersion() const { return m_firmwareVersion.load(); }
  int SerialNumber() const { return m_serialNumber.load(); }
  // Model code of the connected sensor's row, or -1.
  int ModelCode() const;

  // Set by RequestMeasurement (callers do not set it again afterwards),
  // cleared by the window's entry point or when the window stops; the
  // thread delivers only while it is set.
  bool BusyFlag() const { return m_busy.load(); }
  void SetBusyFlag(bool busy) { m_busy.store(busy); }

  // [GD], [GV], [GS]; accepts only the known device codes.
  bool Identify();
  // Reads `length` bytes and parses a single-value or acknowledge reply:
  // 0 recognised, -1 the read failed, -2 not a reply.
  int ReadReply(int timeoutMs, std::size_t length);

  // One-shot commands; true when every acknowledge arrived.
  bool SendTechnology(std::int32_t frequency100);
  // [GE]: true when the average is below the reverse power (sensor
  // connected the wrong way round); the stored pair is handed back.
  bool CheckPowerDirection(std::int32_t frequency100, std::int32_t& average, std::int32_t& reverse);
  bool CheckPowerDirection(std::int32_t frequency100);
  bool SendPulseAveraging(int rateIndex, int reference);
  bool SendAverageRepeat();
  bool ConfigureLogging(std::int32_t frequency100, int itemMask, int intervalSeconds, int sampleCount,
                        int unused1, int unused2, int averagingIndex, int reference);
  bool SetLoggingRun(int value);
  bool ClearLoggingMemory();
  bool ReadLoggingStatus();
  // Fetches the logged values into the histories of the settings record;
  // `timeoutMs` covers the whole transfer.
  bool DownloadLog(int timeoutMs, int byteCount, int blockCount, int valueCount);
  // The transfer of the same fetch without storing: the raw values, in the
  // order sent and at most `valueCount`, go into `values`. It reads a block
  // at a time, reports to `control` and ends when it is cancelled (control
  // may be null). No settings record is touched, so the owner's windows may
  // go on painting from it meanwhile.
  LogReadResult ReadLog(int timeoutMs, int byteCount, int blockCount, int valueCount,
                        std::vector<std::uint16_t>& values, LogTransferControl* control);

  // Hands the thread one request and sets BusyFlag; false (flag
  // untouched) when the thread is not running. Call from the thread that
  // owns the settings record (the external offset is taken here).
  bool RequestMeasurement(int kind, std::int32_t parameter, int timeoutMs);
  // Back to the initial carry of the peak filter.
  void ResetPeakCarry();

  // Results of the last exchanges.
  int LastReplyKind() const;
  std::int32_t LastValue() const;
  std::array<std::int32_t, 2> AverageReversePair() const;
  std::array<std::int32_t, kPulseValueCount> PulseValues() const;
  protocol::PeakCarry PeakCarry() const;
  protocol::PeakValues LastPeakReply() const;
  CcdfHistogram Histogram() const;
  std::int32_t LoggingStatus(int index) const;
  // Values stored by the last DownloadLog.
  int LoggedValueCount() const;

 private:
  struct Request {
    int kind = 0;
    std::int32_t parameter = 0;
    int timeoutMs = 0;
    std::int32_t offsetKey = 0;  // external offset in 0.01 dB at request time
  };

  // Transport primitives; the caller holds m_ioMutex.
  bool SendLocked(const std::uint8_t* frame, std::size_t length);
  int ReadReplyLocked(int timeoutMs, std::size_t length, int* kind, std::int32_t* value);
  bool ReadBlockLocked(std::size_t length, int timeoutMs);
  // Waits out the rest of a log whose transfer was cancelled (the sensor
  // goes on sending it): until the line has been quiet for a moment.
  void DrainAbandonedLocked();
  LogReadResult ReadLogLocked(int timeoutMs, int byteCount, int blockCount, int valueCount,
                              std::size_t pieceBytes, std::vector<std::uint16_t>& values,
                              LogTransferControl* control);
  bool CommandAck(char first, char second, std::int32_t parameter, int timeoutMs);
  // Resynchronisation: after a failed exchange a late reply may still be on
  // its way, and the frames carry no request tag. The identification query
  // is sent as a marker and everything up to its reply is thrown away; the
  // sensor answers in order, so nothing older can follow it.
  bool ResyncLocked();
  // An exchange failed in a way that can leave the line out of step.
  void LoseStepLocked() { m_outOfStep = true; }
  // True when nothing follows the reply just read (bytes right after it
  // mean it was not the reply to this request).
  bool ReplyEndedLocked();
  // The outcome of ReadReplyLocked as an expected reply: a reply of another
  // kind or shape is refused and counted.
  bool ExpectKindLocked(int result, int kind, int wanted);
  // Checks a value frame in the receive buffer ("P" tag, closing, nothing
  // after it) and that its first `powers` values are plausible powers.
  bool CheckedFrameLocked(std::size_t length, std::int32_t* values, std::size_t powers = SIZE_MAX);
  // Looks at the transport after a call; a gone line ends the asking.
  void CheckLineLocked();
  void AnnounceLineLost();
  bool IdentifyStep(char letter, int wantedKind, std::int32_t& value);
  void ResetIdentity(int value);
  void DisconnectLocked();

  void AcquisitionLoop();
  void Serve(const Request& request);
  void ServeSingleValue(const Request& request, char first, char second);
  void ServeAverageReverse(const Request& request);
  void ServePeakFiltered(const Request& request);
  void ServePulse(const Request& request);
  void ServeCcdf(const Request& request);
  template <typename Call>
  void Deliver(int kind, Call&& call);
  bool Stopping() const { return m_stop.load() || m_closing.load(); }

  // Serialises Connect and Disconnect.
  mutable std::mutex m_lifecycleMutex;
  // Held for each command-and-reply pair: transport and receive buffer.
  std::mutex m_ioMutex;
  // The results below; held briefly, never while waiting for the sensor.
  mutable std::mutex m_stateMutex;
  // The pending request, the stop request and the thread's end.
  std::mutex m_requestMutex;
  std::condition_variable m_requestCv;

  TransportFactory m_factory;
  std::atomic<AppContext*> m_context;
  std::atomic<MeasurementSettings*> m_settings{nullptr};

  std::unique_ptr<CPowerDevice> m_transport;
  std::unique_ptr<std::uint8_t[]> m_receive;
  std::size_t m_received = 0;
  // Until when a cancelled log transfer may still be arriving.
  std::chrono::steady_clock::time_point m_drainUntil{};
  bool m_outOfStep = false;  // under m_ioMutex

  std::thread m_thread;
  std::atomic<std::thread::id> m_workerId{};
  std::atomic<bool> m_running{false};
  std::atomic<bool> m_connected{false};
  std::atomic<bool> m_stop{false};
  std::atomic<bool> m_closing{false};
  bool m_requestPending = false;
  bool m_workerDone = false;
  bool m_lossToAnnounce = false;
  Request m_request;

  std::atomic<bool> m_lineLost{false};
  std::atomic<std::uint64_t> m_rejected{0};
  std::mutex m_handlerMutex;
  std::function<void()> m_lineLostHandler;

  std::atomic<bool> m_busy{false};
  std::atomic<int> m_deviceCode{-1};
  std::atomic<int> m_firmwareVersion{-1};
  std::atomic<int> m_serialNumber{-1};

  int m_lastReplyKind = 0;
  std::int32_t m_lastValue = -1;
  std::array<std::int32_t, 2> m_averageReverse{-1, -1};
  protocol::PeakCarry m_peakCarry = protocol::kInitialPeakCarry;
  protocol::PeakValues m_lastPeak{};
  std::array<std::int32_t, kPulseValueCount> m_pulse{-1, -1, -1, -1, -1};
  CcdfHistogram m_histogram;
  std::array<std::int32_t, kLoggingStatusCount> m_loggingStatus{};
  int m_loggedValues = 0;
};

}  // namespace wattrix

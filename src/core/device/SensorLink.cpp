#include "core/device/SensorLink.h"

#include "core/device/SensorProtocol.h"
#include "core/vocabulary/SensorModel.h"

#include <algorithm>

namespace wattrix {

namespace {

constexpr std::array<int, 9> kAcceptedDeviceCodes{4, 5, 6, 7, 8, 10, 11, 13, 14};
constexpr int kLowestFirmware = 100;
constexpr int kHighestFirmware = 9999;

}  // namespace

SensorLink& SensorLink::Instance() {
  static SensorLink link;
  return link;
}

SensorLink::SensorLink()
    : m_factory(DefaultTransportFactory()),
      m_channel([this] { m_worker.NoteLineLost(); }),
      m_worker(m_channel) {}

SensorLink::~SensorLink() { Disconnect(); }

void SensorLink::SetTransportFactory(TransportFactory factory) {
  std::lock_guard lock(m_lifecycleMutex);
  m_factory = std::move(factory);
}

void SensorLink::ResetIdentity(int value) {
  std::lock_guard state(m_stateMutex);
  m_identity = Identity{value, value, value};
}

void SensorLink::SetIdentity(int Identity::*field, int value) {
  std::lock_guard state(m_stateMutex);
  m_identity.*field = value;
}

int SensorLink::DeviceCode() const {
  std::lock_guard state(m_stateMutex);
  return m_identity.deviceCode;
}

int SensorLink::FirmwareVersion() const {
  std::lock_guard state(m_stateMutex);
  return m_identity.firmwareVersion;
}

int SensorLink::SerialNumber() const {
  std::lock_guard state(m_stateMutex);
  return m_identity.serialNumber;
}

int SensorLink::Connect(int port) {
  std::lock_guard lifecycle(m_lifecycleMutex);
  // A link whose line was lost is taken down first, so that the sensor can
  // be connected again as soon as it is back.
  if (m_worker.Started() && LineLost()) DisconnectLocked();
  if (m_worker.Started()) return -1;

  ResetIdentity(-1);
  {
    const auto io = m_channel.Lock();
    if (!m_channel.OpenLocked(m_factory, port)) return -2;
  }
  auto fail = [this](int code) {
    m_channel.Close();
    ResetIdentity(-1);
    return code;
  };
  if (!Identify()) return fail(-3);

  m_channel.ResetRejected();
  m_channel.ResetLineLost();
  if (!m_worker.Start(ModelCode(), FirmwareVersion())) return fail(-4);
  m_connected.store(true);
  return 0;
}

void SensorLink::Disconnect() {
  // From a receiver, on the acquisition thread itself, the thread cannot
  // be joined: it is only told to stop, and the owner's Disconnect finishes.
  if (m_worker.OnWorkerThread()) {
    m_worker.StopFromInside();
    return;
  }
  std::lock_guard lifecycle(m_lifecycleMutex);
  DisconnectLocked();
}

void SensorLink::DisconnectLocked() {
  // Makes every exchange still to start fail at once, on any thread.
  m_channel.SetStopping(true);
  m_connected.store(false);
  m_worker.Stop();
  // A one-shot command on another thread may still be waiting for a reply.
  m_channel.Close();
  ResetIdentity(-1);
  m_channel.SetStopping(false);
}

int SensorLink::ModelCode() const {
  const auto* row = FindModelByDeviceCode(DeviceCode());
  return row ? row->modelCode : -1;
}

bool SensorLink::Identify() {
  ResetIdentity(0);
  std::int32_t value = 0;
  const int timeout = protocol::kIdentifyTimeoutMs;
  if (!m_channel.Query('G', 'D', ReplyKind::DeviceCode, timeout, value)) return false;
  if (std::find(kAcceptedDeviceCodes.begin(), kAcceptedDeviceCodes.end(), value) ==
      kAcceptedDeviceCodes.end())
    return false;
  SetIdentity(&Identity::deviceCode, value);
  // A version outside 1.00 to 99.99 is a changed byte: it would pick the
  // wrong CCDF block length for the whole connection.
  if (!m_channel.Query('G', 'V', ReplyKind::FirmwareVersion, timeout, value) || value < kLowestFirmware ||
      value > kHighestFirmware)
    return false;
  SetIdentity(&Identity::firmwareVersion, value);
  if (!m_channel.Query('G', 'S', ReplyKind::SerialNumber, timeout, value)) return false;
  SetIdentity(&Identity::serialNumber, value);
  return true;
}

bool SensorLink::RequestMeasurement(const MeasurementRequest& request,
                                    std::shared_ptr<DeliveryHandle> addressee) {
  if (LineLost()) return false;
  return m_worker.Request(request, std::move(addressee));
}

std::int32_t SensorLink::LoggingStatus(int index) const {
  if (index < 0 || index >= kLoggingStatusCount) return 0;
  std::lock_guard state(m_stateMutex);
  return m_loggingStatus[static_cast<std::size_t>(index)];
}

}  // namespace wattrix

#pragma once

#include "core/device/UniqueFd.h"

#include <memory>
#include <string>

namespace wattrix::sim {

enum class SimTransport { kSerial, kUsbSingleHandle, kUsbTwoPipe };

// Where the simulated sensor is reachable: a pty registered as COM<n> in the
// ports folder, a pty in the single-handle USB folder, or a device folder
// with the FIFOs PIPE00 and PIPE01 in the two-pipe USB folder. The entries
// go when the object goes.
class SimEndpoint final {
 public:
  // `comNumber` 0 picks the first number free of folder entries and of the
  // machine's ports. Null with `error` set on failure.
  static std::unique_ptr<SimEndpoint> Create(SimTransport transport, int comNumber,
                                             const std::string& description, std::string& error);
  ~SimEndpoint();
  SimEndpoint(const SimEndpoint&) = delete;
  SimEndpoint& operator=(const SimEndpoint&) = delete;

  SimTransport Transport() const { return m_transport; }
  // COM number, or -1 for USB.
  int PortNumber() const { return m_port; }
  // The entry the host opens (COM link, USB link or device folder).
  const std::string& EntryPath() const { return m_entry; }
  // Bytes from the host arrive on InputFd(); replies go to OutputFd().
  int InputFd() const { return m_input.Get(); }
  int OutputFd() const { return m_output.IsValid() ? m_output.Get() : m_input.Get(); }
  bool IsPty() const { return m_transport != SimTransport::kUsbTwoPipe; }
  bool IsOpen() const { return m_input.IsValid(); }
  // Drops the line: the sensor's ends close and the host sees a hang-up.
  void HangUp();

 private:
  SimEndpoint() = default;
  bool CreatePty(std::string& error);
  bool RegisterComPort(int comNumber, const std::string& description, std::string& error);
  bool RegisterUsbLink(std::string& error);
  bool CreatePipes(std::string& error);
  void RemoveEntries();

  SimTransport m_transport = SimTransport::kSerial;
  int m_port = -1;
  std::string m_ptyPath;
  std::string m_entry;
  std::string m_descriptionFile;
  UniqueFd m_input;   // pty master, or PIPE00
  UniqueFd m_output;  // PIPE01 (invalid for a pty)
};

}  // namespace wattrix::sim

#include "core/history/HistoryFile.h"

#include "core/history/HistoryLayout.h"
#include "core/history/LittleEndian.h"
#include "core/platform/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>
#include <limits>
#include <memory>
#include <new>

namespace wattrix {

namespace {

// A regular file opened for reading. Other kinds (FIFOs, devices, folders)
// are refused so that opening a history never blocks.
class InputFile final {
 public:
  explicit InputFile(const std::string& path) {
    m_fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (m_fd < 0) return;
    struct stat st {};
    if (::fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 0) {
      Close();
      return;
    }
    m_size = static_cast<std::uint64_t>(st.st_size);
  }
  ~InputFile() { Close(); }
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  bool IsOpen() const { return m_fd >= 0; }
  std::uint64_t Size() const { return m_size; }

  bool ReadExact(void* data, std::size_t size) {
    auto* bytes = static_cast<std::uint8_t*>(data);
    while (size > 0) {
      const ssize_t n = ::read(m_fd, bytes, size);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return false;
      bytes += n;
      size -= static_cast<std::size_t>(n);
    }
    return true;
  }

 private:
  void Close() {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
  }
  int m_fd = -1;
  std::uint64_t m_size = 0;
};

// Reads a header of headerSize bytes and whole records, whose number of
// i32 values recordValues() tells from the header. The point array is
// allocated for the payload only after the payload is known to be whole
// records of a file that size.
template <typename RecordValues>
bool ReadLayout(const std::string& path, std::uint8_t* header, std::size_t headerSize,
                RecordValues recordValues, std::vector<std::int32_t>& points, std::size_t& count) {
  InputFile file(path);
  if (!file.IsOpen() || file.Size() < headerSize) return false;
  if (!file.ReadExact(header, headerSize)) return false;
  const std::uint64_t payload = file.Size() - headerSize;
  const std::uint64_t recordBytes = 4 * static_cast<std::uint64_t>(recordValues());
  if (recordBytes == 0 || payload % recordBytes != 0) return false;
  if (payload / 4 > std::numeric_limits<std::size_t>::max() / 4) return false;
  const auto values = static_cast<std::size_t>(payload / 4);
  std::vector<std::int32_t> read;
  try {
    read.resize(values);
  } catch (const std::bad_alloc&) {
    return false;
  } catch (const std::length_error&) {
    return false;
  }
  if (!file.ReadExact(read.data(), values * 4)) return false;
  if constexpr (std::endian::native != std::endian::little) {
    for (auto& v : read) v = le::LoadI32(reinterpret_cast<const std::uint8_t*>(&v));
  }
  points = std::move(read);
  count = static_cast<std::size_t>(payload / recordBytes);
  return true;
}

// The whole file in one buffer (header, then the records), so that it
// reaches the file in one write. Left uninitialised: every byte is written.
class FileImage final {
 public:
  FileImage(const HistoryHeader& header, std::size_t recordValues, std::size_t count)
      : m_size(header.Raw().size() + recordValues * count * 4),
        m_bytes(std::make_unique_for_overwrite<std::uint8_t[]>(m_size)) {
    std::memcpy(m_bytes.get(), header.Raw().data(), header.Raw().size());
  }
  std::uint8_t* Records() { return m_bytes.get() + HistoryHeader::kSize; }
  bool WriteTo(AtomicFile& file) const { return file.Write(m_bytes.get(), m_size); }

 private:
  std::size_t m_size;
  std::unique_ptr<std::uint8_t[]> m_bytes;
};

// Fills one column of the records: value i of the column goes to
// record i at `position` (records of `k` values).
void FillColumn(std::uint8_t* records, std::size_t k, std::size_t position, const float* column,
                std::size_t count) {
  std::uint8_t* out = records + position * 4;
  const std::size_t stride = k * 4;
  for (std::size_t i = 0; i < count; ++i, out += stride)
    le::StoreI32(out, column ? history::ScaleReading(column[i]) : 0);
}

}  // namespace

bool WriteHistoryFile(const std::string& path, const HistoryHeader& header,
                      std::span<const float* const> columns, std::size_t count) {
  const auto k = static_cast<std::size_t>(history::RecordLength(header.Mask()));
  if (k == 0 || columns.size() != k) return false;
  FileImage image(header, k, count);
  for (std::size_t position = 0; position < k; ++position)
    FillColumn(image.Records(), k, position, columns[position], count);
  AtomicFile file(path);
  return file.Open() && image.WriteTo(file) && file.Commit();
}

bool ReadHistoryFile(const std::string& path, HistoryHeader& header, std::vector<std::int32_t>& points,
                     std::size_t& count) {
  HistoryHeader::Bytes bytes{};
  std::vector<std::int32_t> read;
  std::size_t n = 0;
  // A mask without a known bit gives a record length of 0, which is refused.
  const auto recordValues = [&bytes] {
    return history::RecordLength(QuantityMask(bytes[HistoryHeader::kMaskOffset]));
  };
  if (!ReadLayout(path, bytes.data(), bytes.size(), recordValues, read, n)) return false;
  header = HistoryHeader(bytes);
  points = std::move(read);
  count = n;
  return true;
}

bool ReadLegacyHistoryFile(const std::string& path, LegacyHistoryHeader& header,
                           std::vector<std::int32_t>& points, std::size_t& count) {
  LegacyHistoryHeader::Bytes bytes{};
  std::vector<std::int32_t> read;
  std::size_t n = 0;
  const auto recordValues = [] { return LegacyHistoryHeader::kRecordValues; };
  if (!ReadLayout(path, bytes.data(), bytes.size(), recordValues, read, n)) return false;
  header = LegacyHistoryHeader::FromBytes(bytes);
  points = std::move(read);
  count = n;
  return true;
}

bool IsLegacyHistoryFile(const std::string& path) {
  InputFile file(path);
  std::uint8_t first = 0xFF;
  if (!file.IsOpen() || file.Size() < 1 || !file.ReadExact(&first, 1)) return false;
  return LegacyHistoryHeader::IsLegacyFirstByte(first);
}

bool RewriteHistoryFile(const std::string& path, const HistoryHeader& header,
                        std::span<const std::int32_t> points, std::size_t count) {
  const auto k = static_cast<std::size_t>(history::RecordLength(header.Mask()));
  if (k == 0 || count > points.size() / k) return false;
  const std::size_t values = count * k;
  AtomicFile file(path);
  if (!file.Open()) return false;
  if constexpr (std::endian::native == std::endian::little) {
    // The held values already are the records' bytes.
    if (!file.Write(header.Raw().data(), header.Raw().size()) || !file.Write(points.data(), values * 4))
      return false;
  } else {
    FileImage image(header, k, count);
    for (std::size_t i = 0; i < values; ++i) le::StoreI32(image.Records() + 4 * i, points[i]);
    if (!image.WriteTo(file)) return false;
  }
  return file.Commit();
}

}  // namespace wattrix

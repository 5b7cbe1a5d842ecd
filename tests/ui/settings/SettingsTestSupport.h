#pragma once

#include "core/measure/MeasurementSettings.h"
#include "core/platform/HostPaths.h"
#include "core/strings/StringTable.h"
#include "support/Recorders.h"

#include <QLineEdit>
#include <QString>
#include <QWidget>

#include <memory>
#include <string>

namespace wattrix::test {

inline void UseShippedStringTable() {
  strings::SetStringTablePath(HostPaths::ExecutableDir() + "/QLMXEnStr.ini");
}

// A settings record of a connected model with its default ranges.
inline std::unique_ptr<MeasurementSettings> SettingsFor(int modelCode) {
  auto settings = std::make_unique<MeasurementSettings>();
  settings->SetSettingsDirectory(HostPaths::ExecutableDir() + "/no-such-settings-folder");
  settings->SetDevice(modelCode, 1234, 291);
  return settings;
}

template <typename T>
T* Child(const QWidget* root, const char* name) {
  return root->findChild<T*>(QString::fromLatin1(name));
}

inline void Type(QLineEdit* edit, const char* text) { edit->setText(QString::fromLatin1(text)); }

// The texts of the recorded boxes, for readable failures.
inline std::string LastBoxText(const RecordingMessageBoxes& boxes) {
  return boxes.boxes.empty() ? std::string() : boxes.boxes.back().text;
}

}  // namespace wattrix::test

#pragma once

#include <string>

namespace wattrix {

// Box types and results, with the values of the platform's message boxes so
// that callers combine them the usual way (kIconError | kOk).
namespace mb {
constexpr unsigned kOk = 0x00;
constexpr unsigned kOkCancel = 0x01;
constexpr unsigned kYesNo = 0x04;
constexpr unsigned kYesNoCancel = 0x03;
constexpr unsigned kIconError = 0x10;
constexpr unsigned kIconQuestion = 0x20;
constexpr unsigned kIconWarning = 0x30;
constexpr unsigned kIconInformation = 0x40;
constexpr unsigned kButtonMask = 0x0F;
constexpr unsigned kIconMask = 0xF0;

constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;
}  // namespace mb

// Who shows message boxes: QMessageBox in the application, a recorder in
// the tests, standard error in the command-line tool. `owner` is the
// window the box belongs to (a QWidget* in the application), or null.
class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  virtual int Show(void* owner, const std::string& text, const std::string& caption, unsigned type) = 0;
};

// The process-wide presenter; null restores the default, which writes the
// text to standard error and answers OK (No for yes/no questions).
void SetMessageBoxes(MessageBoxes* presenter);
MessageBoxes& CurrentMessageBoxes();

}  // namespace wattrix

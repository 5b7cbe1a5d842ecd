#include "ui/settings/SettingsFields.h"

#include "core/platform/MessageBoxes.h"
#include "core/platform/NumberText.h"
#include "core/strings/StringTable.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>

#include <charconv>
#include <cmath>
#include <limits>

namespace wattrix::settings_fields {

namespace {

// No string-table key covers a malformed number; these short texts stand
// in for the platform's own data-exchange message.
constexpr const char* kNotANumber = "Please enter a number, with a point as the decimal separator.";
constexpr const char* kNotAWholeNumber = "Please enter a whole number.";

int EditWidth(const QLineEdit& edit, int characters) {
  const QFontMetrics metrics(edit.font());
  return metrics.horizontalAdvance(QLatin1Char('0')) * characters + 16;
}

QString EditText(const QLineEdit& edit) { return edit.text().trimmed(); }

}  // namespace

QString DialogText(std::string_view section, std::string_view key) {
  return QString::fromStdString(strings::GetText(section, key));
}

QString GroupTitle(std::string_view section, std::string_view key) {
  QString text = DialogText(section, key).trimmed();
  if (text.endsWith(QLatin1Char(':'))) text.chop(1);
  return text;
}

QString StringText(std::string_view key) { return QString::fromStdString(strings::GetString(key)); }

QLineEdit* MakeNumberEdit(QWidget* parent, const char* objectName, int characters) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QString::fromLatin1(objectName));
  edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  edit->setMaxLength(24);
  edit->setFixedWidth(EditWidth(*edit, characters));
  return edit;
}

QLineEdit* MakeWholeNumberEdit(QWidget* parent, const char* objectName, int characters) {
  auto* edit = MakeNumberEdit(parent, objectName, characters);
  edit->setMaxLength(5);
  edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
  return edit;
}

QHBoxLayout* WithUnit(QWidget* field, QLabel* unit) {
  auto* row = new QHBoxLayout;
  row->setContentsMargins(0, 0, 0, 0);
  row->addWidget(field);
  if (unit) row->addWidget(unit);
  row->addStretch(1);
  return row;
}

QHBoxLayout* WithUnit(QWidget* field, const QString& unit) {
  return WithUnit(field, unit.isEmpty() ? nullptr : new QLabel(unit, field->parentWidget()));
}

QString FloatText(float value) {
  if (!std::isfinite(value)) return QStringLiteral("0");
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
  if (result.ec != std::errc{}) return QString::fromStdString(FormatGeneral(value, 9));
  QString text = QString::fromLatin1(buffer, static_cast<int>(result.ptr - buffer));
  return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}

QString WholeNumberText(int value) { return QString::number(value); }

bool ParseNumber(const QLineEdit& edit, double& value) {
  const auto parsed = ParseDecimal(EditText(edit).toStdString());
  // Settings are single precision: "inf", "nan" and 1e39 are no numbers here.
  if (!parsed || !std::isfinite(*parsed) || std::fabs(*parsed) > std::numeric_limits<float>::max()) {
    return false;
  }
  value = *parsed;
  return true;
}

bool ParseFloat(const QLineEdit& edit, float& value) {
  double parsed = 0;
  if (!ParseNumber(edit, parsed)) return false;
  value = static_cast<float>(parsed);
  return true;
}

bool ParseWholeNumber(const QLineEdit& edit, int& value) {
  const auto text = EditText(edit).toStdString();
  int parsed = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), parsed);
  if (text.empty() || result.ec != std::errc{} || result.ptr != text.data() + text.size() || parsed < 0) {
    return false;
  }
  value = parsed;
  return true;
}

void RefuseNotANumber(QLineEdit& edit) {
  strings::MessageBoxText(edit.window(), kNotANumber, mb::kIconError | mb::kOk);
  FocusControl(&edit);
}

void RefuseNotAWholeNumber(QLineEdit& edit) {
  strings::MessageBoxText(edit.window(), kNotAWholeNumber, mb::kIconError | mb::kOk);
  FocusControl(&edit);
}

bool ReadFloat(QLineEdit& edit, float& value) {
  if (ParseFloat(edit, value)) return true;
  RefuseNotANumber(edit);
  return false;
}

bool ReadNumber(QLineEdit& edit, double& value) {
  if (ParseNumber(edit, value)) return true;
  RefuseNotANumber(edit);
  return false;
}

bool ReadWholeNumber(QLineEdit& edit, int& value) {
  if (ParseWholeNumber(edit, value)) return true;
  RefuseNotAWholeNumber(edit);
  return false;
}

void ShowErrorKey(QWidget* owner, const char* key, QWidget* focus) {
  strings::MessageBoxKey(owner ? owner->window() : nullptr, key, mb::kIconError | mb::kOk);
  FocusControl(focus);
}

void FocusControl(QWidget* control) {
  if (!control) return;
  control->setFocus(Qt::OtherFocusReason);
  if (auto* edit = qobject_cast<QLineEdit*>(control)) edit->selectAll();
}

void FillList(QComboBox& list, std::initializer_list<const char*> items) {
  for (const char* item : items) list.addItem(QString::fromUtf8(item));
}

}  // namespace wattrix::settings_fields

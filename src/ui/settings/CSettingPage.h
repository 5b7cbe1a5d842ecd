#pragma once

#include <QWidget>

#include <initializer_list>
#include <string>
#include <string_view>

class QComboBox;
class QFormLayout;
class QGroupBox;
class QLineEdit;
class QRadioButton;

namespace wattrix {

class MeasurementSettings;

// Base of the four pages of the settings dialog: the section of its texts,
// the frequency and external offset every page edits, and the two calls
// of the container. Enter and Escape inside a page do nothing, so neither
// closes the dialog while the user is typing.
class CSettingPage : public QWidget {
  Q_OBJECT

 public:
  CSettingPage(std::string_view section, MeasurementSettings& settings, QWidget* parent);

  // Reads the controls into the page's copies and checks them; shows the
  // message and focuses the failing control when they do not pass.
  virtual bool Validate() = 0;
  // Writes the page's values into the settings record.
  virtual void Apply() = 0;
  // Sub-tab to open on (pages without quantity sub-tabs ignore it).
  virtual void SetInitialSubTab(int /*subTab*/) {}

  QLineEdit* FrequencyEdit() const { return m_frequencyEdit; }
  QLineEdit* OffsetEdit() const { return m_offsetEdit; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;

  QString Text(std::string_view key) const;
  MeasurementSettings& Settings() const { return m_settings; }
  int ModelCode() const;

  // The "Measurement" group with the frequency and offset rows; pages add
  // their own rows to MeasureForm().
  QGroupBox* MakeMeasurementGroup();
  QFormLayout* MeasureForm() const { return m_measureForm; }
  // A labelled pair of exclusive radio buttons as one form row.
  void AddRadioRow(QFormLayout& form, std::string_view labelKey, QRadioButton* first, QRadioButton* second);
  QRadioButton* MakeRadio(std::string_view key, const char* objectName);
  // A list row of the measurement group labelled by `labelKey`, filled and
  // set to `index`.
  QComboBox* AddListRow(std::string_view labelKey, const char* objectName,
                        std::initializer_list<const char*> items, int index);

  // The page's two columns: device and measurement groups on the left (one
  // width on every page, so switching tabs does not shift them), the
  // page's own groups on the right.
  void LayOutColumns(std::initializer_list<QWidget*> left, std::initializer_list<QWidget*> right);

  // Frequency within the model's range, offset within ±100 dB; the values
  // go into the copies when both pass.
  bool ReadFrequencyAndOffset();
  void ApplyFrequencyAndOffset() const;
  float FrequencyCopy() const { return m_frequency; }
  float OffsetCopy() const { return m_offset; }

 private:
  std::string m_section;
  MeasurementSettings& m_settings;
  QGroupBox* m_measureGroup = nullptr;
  QFormLayout* m_measureForm = nullptr;
  QLineEdit* m_frequencyEdit = nullptr;
  QLineEdit* m_offsetEdit = nullptr;
  float m_frequency = 0;
  float m_offset = 0;
};

}  // namespace wattrix

#pragma once

#include <QString>

#include <initializer_list>
#include <string_view>

class QComboBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QWidget;

namespace wattrix::settings_fields {

// Text of `key` in the dialog section `section` of the string table.
QString DialogText(std::string_view section, std::string_view key);
// The same as a group-box title: a label's trailing colon dropped.
QString GroupTitle(std::string_view section, std::string_view key);
// Text of `key` in section "STRING".
QString StringText(std::string_view key);

// A right-aligned edit sized for about `characters` digits.
QLineEdit* MakeNumberEdit(QWidget* parent, const char* objectName, int characters);
// An edit that takes digits only (minutes, seconds, hours).
QLineEdit* MakeWholeNumberEdit(QWidget* parent, const char* objectName, int characters);
// The edit with its unit text beside it, as one row.
QHBoxLayout* WithUnit(QWidget* field, QLabel* unit);
QHBoxLayout* WithUnit(QWidget* field, const QString& unit);

// The shortest point-decimal text that reads back as the same float
// (2400 → "2400", 900.57 → "900.57"), so OK never changes an untouched value.
QString FloatText(float value);
QString WholeNumberText(int value);

// A finite single-precision number in C-locale notation, blanks around it
// allowed; false for anything else (a comma, letters, empty text).
bool ParseFloat(const QLineEdit& edit, float& value);
// The same in double precision (values scaled to whole units later).
bool ParseNumber(const QLineEdit& edit, double& value);
bool ParseWholeNumber(const QLineEdit& edit, int& value);
// Tells the user the edit does not hold a number (the caption is the
// product's) and puts the focus back into it with its text selected.
void RefuseNotANumber(QLineEdit& edit);
void RefuseNotAWholeNumber(QLineEdit& edit);
// Reads the edit, refusing it when it does not hold a number.
bool ReadFloat(QLineEdit& edit, float& value);
bool ReadNumber(QLineEdit& edit, double& value);
bool ReadWholeNumber(QLineEdit& edit, int& value);

// Error box of a string-table key over `owner`, then the focus to `focus`.
void ShowErrorKey(QWidget* owner, const char* key, QWidget* focus);
// Focus into a control: its page is on top by then; edits get their text
// selected so that typing replaces it.
void FocusControl(QWidget* control);

void FillList(QComboBox& list, std::initializer_list<const char*> items);

}  // namespace wattrix::settings_fields

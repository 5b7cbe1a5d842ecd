#include "ui/settings/CDownloadDlg.h"

#include "core/device/LogTransfer.h"
#include "core/measure/RunFile.h"
#include "core/platform/MessageBoxes.h"
#include "core/settings/LoggingDownload.h"
#include "core/strings/StringTable.h"
#include "ui/history/WaitCursor.h"
#include "ui/platform/UiThread.h"
#include "ui/settings/CDeviceGroup.h"
#include "ui/settings/DownloadActions.h"
#include "ui/settings/SettingsFields.h"
#include "ui/settings/TransferProgress.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryFile>
#include <QVBoxLayout>

namespace wattrix {

namespace {

constexpr const char* kSection = "IDD_DOWNLOADER";
constexpr std::array<const char*, 4> kItemKeys = {"IDC_LOG_CHECK_FWD", "IDC_LOG_CHECK_PEAK",
                                                  "IDC_LOG_CHECK_REV", "IDC_LOG_CHECK_PULSE"};
// The history header holds a title of this many characters.
constexpr int kTitleLength = 30;

QString Text(const char* key) { return settings_fields::DialogText(kSection, key); }

std::string NativePath(const QString& path) { return QFile::encodeName(path).toStdString(); }

QPushButton* Button(const char* key, const char* name, QWidget* parent) {
  auto* button = new QPushButton(Text(key), parent);
  button->setObjectName(QString::fromLatin1(name));
  // Enter in the title edit must not start a download.
  button->setAutoDefault(false);
  return button;
}

}  // namespace

CDownloadDlg::CDownloadDlg(MeasurementSettings& settings, DownloadActions& actions, DownloadHooks hooks,
                           QWidget* parent)
    : QDialog(parent),
      m_settings(settings),
      m_actions(actions),
      m_hooks(std::move(hooks)),
      m_choosePath(&file_dialog::AskSavePath),
      m_tempFolder(QDir::tempPath()) {
  setObjectName(QStringLiteral("downloadDialog"));
  setWindowTitle(Text("CAPTION"));
  auto* device = new CDeviceGroup(kSection, settings, this);
  auto* close = new QDialogButtonBox(this);
  QPushButton* ok = close->addButton(Text("IDOK"), QDialogButtonBox::AcceptRole);
  ok->setObjectName(QStringLiteral("closeButton"));
  connect(close, &QDialogButtonBox::accepted, this, &CDownloadDlg::accept);

  auto* top = new QHBoxLayout;
  top->addWidget(device, 1);
  top->addWidget(MakeItemsGroup(), 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(MakeDownloadGroup());
  layout->addWidget(close);
  ShowStatus();
}

QWidget* CDownloadDlg::MakeItemsGroup() {
  auto* group = new QGroupBox(settings_fields::GroupTitle(kSection, "IDC_STATIC_REFERENCE2"), this);
  group->setObjectName(QStringLiteral("itemsGroup"));
  auto* checks = new QGridLayout(group);
  for (std::size_t i = 0; i < m_items.size(); ++i) {
    m_items[i] = new QCheckBox(Text(kItemKeys[i]), group);
    m_items[i]->setObjectName(QStringLiteral("itemCheck%1").arg(i));
    // Shown only: they tell what the sensor logged.
    m_items[i]->setEnabled(false);
    checks->addWidget(m_items[i], static_cast<int>(i / 2), static_cast<int>(i % 2));
  }
  return group;
}

QWidget* CDownloadDlg::MakeDownloadGroup() {
  auto* group = new QGroupBox(settings_fields::GroupTitle(kSection, "IDC_STATIC_DATA_DN"), this);
  group->setObjectName(QStringLiteral("downloadGroup"));
  m_title = new QLineEdit(group);
  m_title->setObjectName(QStringLiteral("titleEdit"));
  m_title->setMaxLength(kTitleLength);
  auto* label = new QLabel(Text("IDC_STATIC_DN_TITLE"), group);
  label->setBuddy(m_title);
  auto* titleRow = new QHBoxLayout;
  titleRow->addWidget(label);
  titleRow->addWidget(m_title, 1);

  m_load = Button("IDC_DOWN_BTN_LOAD_SCREEN", "loadButton", group);
  m_reset = Button("IDC_DOWN_BTN_RESET", "resetButton", group);
  m_save = Button("IDC_DOWN_BTN_SAVE_FILE", "saveButton", group);
  connect(m_load, &QPushButton::clicked, this, &CDownloadDlg::OnLoadScreen);
  connect(m_reset, &QPushButton::clicked, this, &CDownloadDlg::OnReset);
  connect(m_save, &QPushButton::clicked, this, &CDownloadDlg::OnSaveFile);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(m_load);
  buttons->addWidget(m_reset);
  buttons->addWidget(m_save);

  auto* layout = new QVBoxLayout(group);
  layout->addLayout(titleRow);
  layout->addLayout(buttons);
  return group;
}

void CDownloadDlg::ShowStatus() {
  using namespace logging_download;
  const DialogState state =
      DialogStateFor(QuantityMask(m_actions.LoggingStatus(kStatusItems)),
                     m_actions.LoggingStatus(kStatusLogging) != 0, m_actions.LoggingStatus(kStatusStored));
  for (std::size_t i = 0; i < m_items.size(); ++i) m_items[i]->setChecked(state.itemChecked[i]);
  m_load->setEnabled(state.loadEnabled);
  m_save->setEnabled(state.saveEnabled);
}

bool CDownloadDlg::Fetch() {
  using namespace logging_download;
  auto warn = [this](FetchOutcome outcome) {
    strings::MessageBoxKey(static_cast<QWidget*>(this), FetchWarningKey(outcome), mb::kIconWarning | mb::kOk);
    return false;
  };
  // Nothing logged: nothing is sent and no run is touched.
  if (m_actions.LoggingStatus(kStatusStored) <= 0) return warn(FetchOutcome::NothingLogged);
  if (m_hooks.releaseRun && !m_hooks.releaseRun()) return false;

  std::vector<std::uint16_t> values;
  FetchOutcome outcome = FetchOutcome::Failed;
  LogTransferControl control;
  TransferProgress::Run(this, control, [&] { outcome = m_actions.Fetch(values, control); });
  if (outcome != FetchOutcome::Fetched) return warn(outcome);

  StoreFetch(m_settings, QuantityMask(m_actions.LoggingStatus(kStatusItems)), values);
  if (m_hooks.historiesReplaced) m_hooks.historiesReplaced();
  return true;
}

bool CDownloadDlg::WriteFetched(const QString& path) {
  bool written = false;
  {
    WaitCursor wait;
    written = WriteHistoryFile(NativePath(path), m_settings,
                               QuantityMask(m_actions.LoggingStatus(logging_download::kStatusItems)),
                               m_title->text().toStdString());
  }
  if (!written) {
    strings::MessageBoxKey(static_cast<QWidget*>(this), "S_MEASUREVIEW_ONFILESAVE", mb::kIconError | mb::kOk);
  }
  return written;
}

void CDownloadDlg::OnSaveFile() {
  if (!Fetch()) return;
  const QString path =
      m_choosePath
          ? m_choosePath(this, SavePathRequest{file_dialog::kPshFilter, QStringLiteral("psh"), QString()})
          : QString();
  if (path.isEmpty()) return;
  WriteFetched(path);
}

void CDownloadDlg::OnLoadScreen() {
  if (!Fetch()) return;
  // A fresh name in the temporary folder; the write replaces the empty
  // placeholder by rename, so the name stays ours.
  QTemporaryFile placeholder(QDir(m_tempFolder).filePath(QStringLiteral("datXXXXXX.psh")));
  placeholder.setAutoRemove(false);
  QString path;
  if (placeholder.open()) {
    path = placeholder.fileName();
    placeholder.close();
  }
  if (path.isEmpty() || !WriteFetched(path)) {
    if (path.isEmpty()) {
      strings::MessageBoxKey(static_cast<QWidget*>(this), "S_MEASUREVIEW_ONFILESAVE",
                             mb::kIconError | mb::kOk);
    } else {
      QFile::remove(path);
    }
    return;
  }
  m_lastTemporary = path;
  if (m_hooks.openHistory) m_hooks.openHistory(path);
}

void CDownloadDlg::OnReset() {
  bool cleared = false;
  UiThread::RunAndWait([this, &cleared] { cleared = m_actions.ClearMemory(); });
  if (cleared) {
    // The boxes follow what the sensor now reports; the buttons stay, so
    // that a download tells the memory is empty.
    const bool load = m_load->isEnabled();
    const bool save = m_save->isEnabled();
    ShowStatus();
    m_load->setEnabled(load);
    m_save->setEnabled(save);
  }
  strings::MessageBoxKey(static_cast<QWidget*>(this),
                         cleared ? "S_SETTING_WARNING_CLEAR_SUCCESS" : "S_SETTING_WARNING_CLEAR_FAIL",
                         mb::kIconInformation | mb::kOk);
}

}  // namespace wattrix

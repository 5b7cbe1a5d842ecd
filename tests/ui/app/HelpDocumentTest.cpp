#include "core/platform/HostPaths.h"
#include "support/Recorders.h"
#include "ui/app/CWattrixApp.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <QtTest>

namespace wattrix {

// Help must open the manual that the build lays out beside the programs.
class HelpDocumentTest final : public QObject {
  Q_OBJECT

 public slots:
  // Stands in for the desktop's PDF viewer.
  void Open(const QUrl& url) { m_opened.push_back(url); }

 private slots:
  void HelpOpensTheManualBesideTheProgram() {
    qunsetenv("WATTRIX_HOME");
    test::RecordingMessageBoxes boxes;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "Open");
    CWattrixApp::OnHelp(nullptr);
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));

    QCOMPARE(boxes.boxes.size(), std::size_t{0});
    QCOMPARE(m_opened.size(), qsizetype{1});
    QVERIFY(m_opened[0].isLocalFile());
    const QFileInfo opened(m_opened[0].toLocalFile());
    const QFileInfo beside(QCoreApplication::applicationDirPath() + QStringLiteral("/QLMXEnHlp.pdf"));
    QVERIFY2(beside.isFile(), qPrintable(beside.filePath()));
    QCOMPARE(opened.canonicalFilePath(), beside.canonicalFilePath());
    QCOMPARE(opened.filePath().toStdString(), HostPaths::DataFile("QLMXEnHlp.pdf"));

    // A whole PDF: the header, and the end-of-file marker of a finished write.
    QFile file(opened.filePath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.startsWith("%PDF-"));
    QVERIFY(bytes.right(32).contains("%%EOF"));
    // Bookmarks for the chapters.
    QVERIFY(bytes.contains("/Outlines"));
  }

 private:
  QList<QUrl> m_opened;
};

}  // namespace wattrix

QTEST_MAIN(wattrix::HelpDocumentTest)
#include "HelpDocumentTest.moc"

#include "ui/shell/MenuBuilder.h"

#include "core/platform/HostPaths.h"
#include "core/vocabulary/CommandIds.h"
#include "core/strings/StringTable.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QtTest>

namespace wattrix {

// Menus built from the tables and the shipped string table: the right ids,
// texts and separators, states from the query, clicks routed, and a rebuild
// that leaves nothing of the previous menu behind.
class MenuBuilderTest final : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { strings::SetStringTablePath(HostPaths::ExecutableDir() + "/QLMXEnStr.ini"); }

  void MainMenuHasItsPopupsItemsAndSeparators() {
    std::vector<int> routed;
    MenuBuilder builder([&](int id) { routed.push_back(id); },
                        [](int id) {
                          return CommandState{id != cmd::kDisconnectDevice, id == cmd::kFileOpen};
                        });
    QMenuBar bar;
    builder.FillMenuBar(bar, menu::MenuKind::Main);
    builder.FillMenuBar(bar, menu::MenuKind::Main);  // rebuilding is safe
    const auto popups = bar.actions();
    QCOMPARE(popups.size(), 5);
    QMenu* file = popups[0]->menu();
    QVERIFY(file);
    QCOMPARE(file->title(), QString::fromStdString(strings::GetMenuText("MENU_MAINFRAME_FILE")));
    const auto items = file->actions();
    QCOMPARE(items.size(), 5);
    QCOMPARE(items[0]->data().toInt(), cmd::kConnectDevice);
    QCOMPARE(items[1]->data().toInt(), cmd::kDisconnectDevice);
    QCOMPARE(items[2]->data().toInt(), cmd::kFileOpen);
    QVERIFY(items[3]->isSeparator());
    QCOMPARE(items[4]->data().toInt(), cmd::kAppExit);
    QVERIFY(!items[0]->text().isEmpty());

    builder.UpdateStates(*file);
    QVERIFY(items[0]->isEnabled());
    QVERIFY(!items[1]->isEnabled());
    QVERIFY(items[2]->isChecked());
    items[2]->trigger();
    QCOMPARE(routed, std::vector<int>{cmd::kFileOpen});
  }

  void HistoryPopupNestsItsSubMenus() {
    MenuBuilder builder([](int) {}, [](int) { return CommandState{true, false}; });
    QWidget owner;
    QMenu* popup = builder.BuildPopup(menu::MenuKind::HistoryPopup, &owner);
    QVERIFY(popup->actions().first()->menu());  // the export sub-menu
    QCOMPARE(popup->actions().first()->menu()->actions().first()->data().toInt(), cmd::kExportCsv);
  }
};

}  // namespace wattrix

QTEST_MAIN(wattrix::MenuBuilderTest)
#include "MenuBuilderTest.moc"

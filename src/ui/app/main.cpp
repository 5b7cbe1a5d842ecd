#include "ui/app/CWattrixApp.h"

#include <QElapsedTimer>

int main(int argc, char** argv) {
  QElapsedTimer clock;
  clock.start();
  wattrix::CWattrixApp app(argc, argv, clock);
  if (!app.InitInstance()) return 1;
  return app.Run();
}

// The single windows.
#include "workbench/AppWindows.h"

#include "workbench/untAbout.h"
#include "workbench/untNew.h"
#include "workbench/untProgress.h"
#include "workbench/untSplash.h"

TAppWindows &AppWindows() {
  static TAppWindows windows;
  return windows;
}

void CreateAppWindows(QWidget *mainWindow) {
  TAppWindows &w = AppWindows();
  w.SplashHolder = new TfrmSplash(mainWindow);
  w.SplashHolder->hide();
  w.About = new TfrmAbout(*w.SplashHolder, mainWindow);
  w.Progress = new TfrmProgress(mainWindow);
  w.New = new TfrmNew(mainWindow);
}

void DestroyAppWindows() {
  TAppWindows &w = AppWindows();
  delete w.New;
  delete w.Progress;
  delete w.About;
  delete w.SplashHolder;
  w = TAppWindows{};
}

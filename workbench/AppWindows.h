// The program-wide single windows besides the main window, created once at start-up.
#pragma once

class QWidget;
class TfrmAbout;
class TfrmNew;
class TfrmProgress;
class TfrmSplash;

struct TAppWindows {
  TfrmSplash *SplashHolder = nullptr; // hidden; lends its picture to the About box
  TfrmAbout *About = nullptr;
  TfrmProgress *Progress = nullptr;
  TfrmNew *New = nullptr;
};

TAppWindows &AppWindows();

// Creates them in start-up order (picture holder, About box, progress window, New-pack
// dialog), owned by `mainWindow` so that they centre on it and go with it.
void CreateAppWindows(QWidget *mainWindow);
// Destroys them; for a main window that goes before the program ends (tests).
void DestroyAppWindows();

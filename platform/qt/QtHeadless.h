// The Qt application a program without any window still needs for fonts and PDF writing,
// on the offscreen platform so that no display is needed.
#pragma once

#include <memory>

class QGuiApplication;

namespace kzp {

class TQtHeadlessApp {
public:
  TQtHeadlessApp();
  ~TQtHeadlessApp();
  TQtHeadlessApp(const TQtHeadlessApp &) = delete;
  TQtHeadlessApp &operator=(const TQtHeadlessApp &) = delete;

private:
  std::unique_ptr<QGuiApplication> FApp;
};

} // namespace kzp

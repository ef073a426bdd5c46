// The print preview: the pages of the print job as the printer will get them, one at a time,
// with paging, zoom, and "Drucken" to send them to the printer.
#pragma once

#include <QDialog>
#include <QImage>

#include <memory>

class QLabel;
class QPushButton;
class QScrollArea;
class TKzEditPrint;
namespace kzp {
class TCanvas;
class TPrinter;
} // namespace kzp
namespace Ui {
class frmPrintPreview;
}

class TfrmPrintPreview : public QDialog {
  Q_OBJECT
public:
  // Lays job out for printer (not owned; null for the A4 sheet without a printer); job must
  // stay unchanged while the preview is open.
  TfrmPrintPreview(TKzEditPrint &job, kzp::TPrinter *printer, QWidget *parent = nullptr);
  ~TfrmPrintPreview() override;

  int Page() const { return page_; }
  int PageCount() const;
  void ShowPage(int page); // clamped to the pages there are
  // Percent of the sheet's real size on the screen.
  int Zoom() const { return zoom_; }
  void SetZoom(int percent);
  // The sheet of a page as shown, at the current zoom.
  QImage RenderPage(int page) const;
  // Whether the preview was left through "Drucken".
  bool PrintRequested() const { return printRequested_; }

  QLabel *lblPage, *lblZoom, *lblSheet;
  QPushButton *btnFirst, *btnPrevious, *btnNext, *btnLast, *btnZoomIn, *btnZoomOut, *btnPrint,
      *btnClose;
  QScrollArea *saPage;

protected:
  void keyPressEvent(QKeyEvent *event) override;

private:
  void Refresh();
  std::unique_ptr<Ui::frmPrintPreview> ui_;
  TKzEditPrint &job_;
  QImage measureDevice_;
  std::unique_ptr<kzp::TCanvas> measure_; // the canvas the job was laid out on
  int page_ = 1;
  int zoom_ = 100;
  bool printRequested_ = false;
};

// `kzp print`: a template of a pack into a PDF, laid out and highlighted as the studio prints
// it, without a display.
#include "KzpPrint.h"

#include "KzpCommands.h"
#include "editor/KzEdit.h"
#include "highlight/KzHighlighterHtml.h"
#include "pack/PackStore.h"
#include "platform/Clipboard.h"
#include "platform/StoredForm.h"
#include "platform/qt/QtHeadless.h"
#include "platform/qt/QtPdfPrinter.h"
#include "print/KzEditPrint.h"
#include "print/KzEditPrintStoredForm.h"

#include <algorithm>
#include <cstdio>

// The main window's stored form, compiled in from resources/frmMain.json.
extern const char *const KzpMainStoredForm;

namespace {

// The editor needs a host; without a window only its clipboard is ever asked for.
class TNoWindowHost : public TKzEditHost {
public:
  kzp::TMemoryClipboard Clip;
  kzp::TClipboard &Clipboard() override { return Clip; }
};

int Fail(const std::string &message) {
  std::fprintf(stderr, "kzp: %s\n", message.c_str());
  return 1;
}

const kzp::TStoredValue &Component(const kzp::TStoredValue &form, const char *name) {
  const kzp::TStoredValue *c = form.Find(name);
  if (!c)
    throw kzp::EStoredFormError(std::string("Die gespeicherten Fenstereinstellungen enthalten \"") +
                                name + "\" nicht.");
  return *c;
}

int PrintTemplate(const std::string &name, const std::string &text, const std::string &out) {
  const kzp::TQtHeadlessApp app;

  const kzp::TStoredValue form = kzp::ParseStoredForm(KzpMainStoredForm);
  TKzHTMLHighlighter htmlHighlight;
  TNoWindowHost host;
  TCustomKzEdit editor(host);
  LoadStoredEditorSettings(editor, Component(form, "editor"));
  editor.SetHighlighter(&htmlHighlight);
  editor.SetText(text);

  TKzEditPrint printJob;
  LoadStoredPrintSettings(printJob, Component(form, "printJob"), [&](const std::string &component) {
    return component == "htmlHighlight" ? &htmlHighlight : nullptr;
  });
  printJob.TakeFromEditor(editor);
  printJob.SetTitle(name);
  kzp::TQtPdfPrinter pdf(out, true);
  printJob.SetPrinter(&pdf);
  printJob.PrintAll();
  editor.SetHighlighter(nullptr);
  const int pages = printJob.PageCount();
  std::fprintf(stderr, "%d %s geschrieben: %s\n", pages, pages == 1 ? "Seite" : "Seiten",
               out.c_str());
  return 0;
}

} // namespace

int RunPrint(const std::vector<std::string> &args) {
  if (args.size() != 3) {
    std::fputs("Aufruf:\n  kzp print PACK NAME AUSGABE.pdf\n", stderr);
    return 2;
  }
  const std::string &name = args[1];
  try {
    TPackStore &store = ThePackStore();
    const TPackContents c = store.LoadPack(args[0]);
    if (std::find(c.Templates.begin(), c.Templates.end(), name) == c.Templates.end())
      return Fail("Das Pack enthält kein Template \"" + name + "\".");
    const std::string text = store.GetTemplate(name);
    // The studio does not open such a template, since its editor would end the text there.
    if (text.find('\0') != std::string::npos)
      return Fail("Das Template \"" + name +
                  "\" enthält ein Nullzeichen (Byte 0) und wird nicht gedruckt.");
    return PrintTemplate(name, text, args[2]);
  } catch (const EPackError &e) {
    return Fail(e.what());
  } catch (const kzp::EPrinterError &e) {
    return Fail(e.what());
  } catch (const kzp::EStoredFormError &e) {
    return Fail(e.what());
  }
}

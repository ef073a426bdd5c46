// The editor's settings from a window's stored form: its font, the gutter font and the
// keystroke adjustments.
#include "editor/KzEdit.h"

#include "editor/KzEditGutter.h"
#include "platform/StoredForm.h"

namespace {

// A stored font: { "Name": text, "Height": pixels (negative: character height), "Style":
// bits } with every member optional, so a form records only what differs from the default.
kzp::TFont ReadFont(const kzp::TStoredValue &value, kzp::TFont font, const std::string &what) {
  if (const kzp::TStoredValue *name = value.Find("Name"))
    font.Name = name->AsString(what + ".Name");
  if (const kzp::TStoredValue *height = value.Find("Height"))
    font.Height = height->AsInt(what + ".Height");
  if (const kzp::TStoredValue *style = value.Find("Style"))
    font.Style = static_cast<kzp::TFontStyles>(style->AsInt(what + ".Style") & 15);
  return font;
}

} // namespace

void LoadStoredEditorSettings(TCustomKzEdit &editor, const kzp::TStoredValue &component) {
  if (const kzp::TStoredValue *font = component.Find("Font"))
    editor.SetFont(ReadFont(*font, editor.Font(), "editor.Font"));
  if (const kzp::TStoredValue *gutter = component.Find("Gutter"))
    if (const kzp::TStoredValue *font = gutter->Find("Font"))
      editor.Gutter().SetFont(ReadFont(*font, editor.Gutter().Font(), "editor.Gutter.Font"));
  ApplyStoredKeystrokes(editor.Keystrokes(), component);
}

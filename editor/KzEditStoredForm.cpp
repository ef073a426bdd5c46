// The editor's settings from a window's stored form: its font, the gutter font and the
// keystroke adjustments.
#include "editor/KzEdit.h"

#include "editor/KzEditGutter.h"
#include "platform/StoredForm.h"

void LoadStoredEditorSettings(TCustomKzEdit &editor, const kzp::TStoredValue &component) {
  if (const kzp::TStoredValue *font = component.Find("Font"))
    editor.SetFont(kzp::ReadStoredFont(*font, editor.Font(), "editor.Font"));
  if (const kzp::TStoredValue *gutter = component.Find("Gutter"))
    if (const kzp::TStoredValue *font = gutter->Find("Font"))
      editor.Gutter().SetFont(
          kzp::ReadStoredFont(*font, editor.Gutter().Font(), "editor.Gutter.Font"));
  ApplyStoredKeystrokes(editor.Keystrokes(), component);
}
